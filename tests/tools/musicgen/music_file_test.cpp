// The music file as the game receives it: a stereo 44.1 kHz OGG Vorbis
// stream of a minute to two, small enough for the data pack, and the same
// bytes from every run of the generator.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>

#include "engine/system/file.h"
#include "tests/tools/musicgen/musicgen_test_util.h"
#include "tools/musicgen/music.h"

namespace {

int run(const std::string& command) {
  const int status = std::system((command + " 2>/dev/null").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(MusicFile, DecodesToStereoAt44100HzOfOneToTwoMinutes) {
  const DecodedMusic& music = music_decoded();
  ASSERT_TRUE(music.ok) << "libvorbisfile refused the generated stream";
  EXPECT_EQ(music.channels, 2);
  EXPECT_EQ(music.rate, 44100);
  const double seconds = static_cast<double>(music.frames()) / 44100.0;
  EXPECT_GE(seconds, 60.0);
  EXPECT_LE(seconds, 120.0);
  // Exactly the rendered loop, not a frame more: padding left after the
  // last real frame would be heard as a gap each time the music wraps.
  EXPECT_EQ(music.frames(), music_pcm().left.size());
}

TEST(MusicFile, FitsInThreeMegabytes) {
  EXPECT_LE(music_ogg().size(), 3000000u);
}

TEST(MusicFile, ASecondRunOfTheCommandWritesTheSameBytes) {
  // Another process, another time: the same file, so a second build makes
  // the same data pack.
  ASSERT_FALSE(musicgen_tool().empty());
  ASSERT_TRUE(file_exists(musicgen_tool())) << musicgen_tool();
  file_remove("second.ogg");
  ASSERT_EQ(run("'" + musicgen_tool() + "' second.ogg"), 0);
  std::vector<uint8_t> second;
  ASSERT_TRUE(file_read_all("second.ogg", &second));
  EXPECT_TRUE(second == music_ogg()) << "the command's file differs from this run's";

  // The build's own copy, when the data has been built here.
  const char* build = std::getenv("DUSK_BINARY_DIR");
  if (build != nullptr) {
    std::vector<uint8_t> built;
    if (file_read_all(std::string(build) + "/data/content/music.ogg", &built)) {
      EXPECT_TRUE(built == music_ogg()) << "the build's music.ogg differs from this run's";
    }
  }
}

TEST(MusicCommand, NeedsExactlyAnOutputFile) {
  ASSERT_TRUE(file_exists(musicgen_tool())) << musicgen_tool();
  EXPECT_EQ(run("'" + musicgen_tool() + "'"), 2);
  EXPECT_EQ(run("'" + musicgen_tool() + "' a.ogg b.ogg"), 2);
  EXPECT_EQ(run("'" + musicgen_tool() + "' --help"), 2);
  EXPECT_FALSE(file_exists("a.ogg"));
}

// A short tone of an odd length that fills no whole Vorbis block.
StereoPcm tone(size_t frames) {
  StereoPcm pcm;
  for (size_t i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicRate;
    pcm.left.push_back(0.5f * std::sin(2.0f * 3.14159265f * 440.0f * t));
    pcm.right.push_back(0.25f * std::sin(2.0f * 3.14159265f * 660.0f * t));
  }
  return pcm;
}

TEST(MusicEncoder, ShortInputDecodesToExactlyItsFramesAndRepeatsItsBytes) {
  for (size_t frames : {1u, 1000u, 10007u}) {
    const StereoPcm pcm = tone(frames);
    const std::vector<uint8_t> ogg = EncodeOggVorbis(pcm);
    ASSERT_FALSE(ogg.empty()) << frames;
    const DecodedMusic decoded = decode_ogg(ogg);
    ASSERT_TRUE(decoded.ok) << frames;
    EXPECT_EQ(decoded.channels, 2);
    EXPECT_EQ(decoded.rate, kMusicRate);
    EXPECT_EQ(decoded.frames(), frames);
    EXPECT_TRUE(EncodeOggVorbis(pcm) == ogg) << frames << " frames encode differently twice";
  }
  // The tone comes back as itself, left and right kept apart: a lossy
  // codec, so within a few per cent of full scale.
  const StereoPcm pcm = tone(10007);
  const DecodedMusic decoded = decode_ogg(EncodeOggVorbis(pcm));
  ASSERT_EQ(decoded.frames(), 10007u);
  double error = 0.0, left_power = 0.0, right_power = 0.0;
  for (size_t i = 2000; i < 8000; ++i) {
    const double l = decoded.samples[i * 2] / 32768.0, r = decoded.samples[i * 2 + 1] / 32768.0;
    error = std::max({error, std::fabs(l - pcm.left[i]), std::fabs(r - pcm.right[i])});
    left_power += l * l;
    right_power += r * r;
  }
  EXPECT_LT(error, 0.05);
  EXPECT_NEAR(left_power / right_power, 4.0, 0.4);
}

TEST(MusicEncoder, NothingToEncodeGivesNoStream) {
  EXPECT_TRUE(EncodeOggVorbis(StereoPcm{}).empty());
}

}  // namespace
