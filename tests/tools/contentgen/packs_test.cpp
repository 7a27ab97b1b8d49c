// The built packs, read the way the game reads them: the engine's pack
// reader with the loader's buffer sizes, and its own picture decoder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/image/image_buffer.h"
#include "engine/pack/pack.h"
#include "engine/system/file.h"
#include "tests/tools/contentgen/contentgen_test_util.h"

namespace {

std::string built_pack(const char* name) {
  const char* build = std::getenv("DUSK_BINARY_DIR");
  return build == nullptr ? std::string() : std::string(build) + "/bin/" + name;
}

class BuiltPacks : public ::testing::Test {
 protected:
  void SetUp() override {
    pack_register_formats();
    image_codecs_start();
  }
  void TearDown() override { pack_shutdown(); }
};

TEST_F(BuiltPacks, EveryPictureReadsIntoItsBufferAndDecodes) {
  const std::string path = built_pack("DuskmatchData.pack");
  if (path.empty() || !file_exists(path)) GTEST_SKIP() << "the data pack has not been built";
  const int pack = pack_open(-1, path, kPackFormatData);
  ASSERT_NE(pack, 0);
  for (const std::string& name : expected_picture_names()) {
    const bool screen = name.rfind("background ", 0) == 0 || name == "title.png" || name == "ogs.png";
    std::vector<uint8_t> buffer(screen ? 4194304 : 204800);
    const int64_t got = pack_read_entry(pack, buffer.data(), buffer.size(), name);
    ASSERT_GT(got, 0) << name;
    buffer.resize(static_cast<size_t>(got));
    const GeneratedFile* generated = find_generated(name);
    ASSERT_NE(generated, nullptr) << name;
    EXPECT_TRUE(buffer == generated->bytes) << name << " in the pack differs";
    const std::unique_ptr<ImageBuffer> image = image_decode(buffer.data(), buffer.size());
    ASSERT_NE(image, nullptr) << name << " does not decode in the engine";
    EXPECT_EQ(image->width, generated->picture.width) << name;
    EXPECT_EQ(image->height, generated->picture.height) << name;
  }
  pack_close(pack);
}

TEST_F(BuiltPacks, EntriesArePackedOnlyWhenThatSavesSomething) {
  // PNG and Ogg data hardly shrink again: an entry kept packed for a saving
  // of a percent or two would cost an unpack at every start for nothing.
  const std::string path = built_pack("DuskmatchData.pack");
  if (path.empty() || !file_exists(path)) GTEST_SKIP() << "the data pack has not been built";
  const int pack = pack_open(-1, path, kPackFormatData);
  ASSERT_NE(pack, 0);
  int entries = 0;
  ASSERT_NE(pack_list_begin(pack), 0);
  while (pack_list_next(pack)) {
    ++entries;
    const int64_t unpacked = pack_entry_size(pack, 0);
    const int64_t stored = pack_entry_size(pack, 1);
    if (stored != unpacked) {
      EXPECT_LE(stored * 100, unpacked * 98) << pack_entry_name(pack) << ": " << stored << " of " << unpacked;
    }
  }
  EXPECT_GE(entries, static_cast<int>(expected_picture_names().size()));
  pack_close(pack);
}

TEST_F(BuiltPacks, MusicFitsItsBufferWhenTheDataPackHasIt) {
  const std::string path = built_pack("DuskmatchData.pack");
  if (path.empty() || !file_exists(path)) GTEST_SKIP() << "the data pack has not been built";
  const int pack = pack_open(-1, path, kPackFormatData);
  ASSERT_NE(pack, 0);
  bool listed = false;
  if (pack_list_begin(pack)) {
    do {
      listed = listed || pack_entry_name(pack) == "music.ogg";
    } while (pack_list_next(pack));
  }
  if (listed) {
    std::vector<uint8_t> buffer(15728640);
    const int64_t got = pack_read_entry(pack, buffer.data(), buffer.size(), "music.ogg");
    EXPECT_GT(got, 4) << "music.ogg is listed but cannot be read";
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 4), "OggS");
  }
  pack_close(pack);
}

TEST_F(BuiltPacks, FlagsReadFromTheLanguagePackInto16000Bytes) {
  const std::string path = built_pack("DuskmatchLanguages.pack");
  if (path.empty() || !file_exists(path)) GTEST_SKIP() << "the language pack has not been built";
  const int pack = pack_open(-1, path, kPackFormatZip);
  ASSERT_NE(pack, 0);
  for (const GeneratedFile& flag : generated_flags()) {
    std::vector<uint8_t> buffer(16000, 0);
    const int64_t got = pack_read_entry(pack, buffer.data(), buffer.size(), flag.name);
    ASSERT_GT(got, 0) << flag.name;
    const std::unique_ptr<ImageBuffer> image = image_decode(buffer.data(), buffer.size());
    ASSERT_NE(image, nullptr) << flag.name;
    EXPECT_EQ(image->width, flag.picture.width) << flag.name;
  }
  pack_close(pack);
}

}  // namespace
