// The generator must give the same bytes on every run, so a second build
// makes the same packs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/system/file.h"
#include "tests/tools/contentgen/contentgen_test_util.h"

namespace {

TEST(Determinism, ASecondGenerationGivesTheSameBytes) {
  const std::vector<GeneratedFile>& first = generated_pictures();
  const std::vector<GeneratedFile> second = make_data_pictures();
  ASSERT_EQ(first.size(), second.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].name, second[i].name);
    EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].name << " differs between runs";
  }
  const std::vector<GeneratedFile> flags = make_flags();
  ASSERT_EQ(flags.size(), generated_flags().size());
  for (size_t i = 0; i < flags.size(); ++i) {
    EXPECT_TRUE(flags[i].bytes == generated_flags()[i].bytes) << flags[i].name;
  }
}

TEST(Determinism, TheBuildsPicturesAreTheOnesGeneratedHere) {
  // The build ran contentgen in another process, maybe at another time: its
  // files must be byte for byte what this process makes.
  const char* build = std::getenv("DUSK_BINARY_DIR");
  ASSERT_NE(build, nullptr);
  const std::string folder = std::string(build) + "/data/content/";
  if (!folder_exists(folder)) GTEST_SKIP() << "the content has not been built here";
  for (const GeneratedFile& f : generated_pictures()) {
    std::vector<uint8_t> built;
    ASSERT_TRUE(file_read_all(folder + f.name, &built)) << f.name;
    EXPECT_TRUE(built == f.bytes) << f.name << " differs from the build's";
  }
  for (const GeneratedFile& f : generated_flags()) {
    std::vector<uint8_t> built;
    ASSERT_TRUE(file_read_all(folder + f.name, &built)) << f.name;
    EXPECT_TRUE(built == f.bytes) << f.name << " differs from the build's";
  }
}

// The decoded picture must be the drawn one: alpha and all, or the colours
// with opaque alpha for pictures written without alpha.
void ExpectSamePixels(const GeneratedFile& f) {
  int type = -1;
  const Picture decoded = decode_or_fail(f, &type);
  ASSERT_EQ(decoded.width, f.picture.width) << f.name;
  ASSERT_EQ(decoded.height, f.picture.height) << f.name;
  ASSERT_EQ(decoded.rgba.size(), f.picture.rgba.size()) << f.name;
  if (f.picture.alpha) {
    EXPECT_TRUE(decoded.rgba == f.picture.rgba) << f.name;
    return;
  }
  for (size_t i = 0; i < decoded.rgba.size(); i += 4) {
    ASSERT_EQ(decoded.rgba[i], f.picture.rgba[i]) << f.name << " byte " << i;
    ASSERT_EQ(decoded.rgba[i + 1], f.picture.rgba[i + 1]) << f.name << " byte " << i;
    ASSERT_EQ(decoded.rgba[i + 2], f.picture.rgba[i + 2]) << f.name << " byte " << i;
    ASSERT_EQ(decoded.rgba[i + 3], 255) << f.name << " byte " << i;
  }
}

TEST(Determinism, PngEncodingKeepsEveryPixel) {
  // The encoding (filters, zlib level) is chosen for decoding speed; whatever
  // it is, what the game decodes is what was drawn, for every picture.
  for (const GeneratedFile& f : generated_pictures()) ExpectSamePixels(f);
  for (const GeneratedFile& f : generated_flags()) ExpectSamePixels(f);
}

}  // namespace
