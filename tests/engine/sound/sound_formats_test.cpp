// Music of any rate and channel count through sound_from_memory: rates
// outside what a playback buffer takes are refused, the ends of the range
// and every channel count up to eight play at their pitch on SDL's disk
// output, and a loaded sound holds its frames as decoded and little more.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <malloc.h>
#endif

#include <chrono>
#include <cmath>
#include <thread>

#include "engine/sound/sound.h"
#include "engine/sound/sound_decode.h"
#include "tests/engine/sound/sound_samples.h"
#include "tests/support/environment.h"

// Under AddressSanitizer the heap is the sanitizer's, which counts it itself
// (its header comes with clang only).
#if defined(__SANITIZE_ADDRESS__)
#define DUSK_SANITIZER_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DUSK_SANITIZER_HEAP 1
#endif
#endif
#ifdef DUSK_SANITIZER_HEAP
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// Bytes of the heap in use now (the sanitizer's count in a sanitized build);
// 0 where the C library does not say (Windows).
size_t HeapInUse() {
#ifdef DUSK_SANITIZER_HEAP
  return __sanitizer_get_current_allocated_bytes();
#elif defined(_WIN32)
  return 0;
#else
  struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
#endif
}

// `frames` frames of OGG Vorbis whose every channel holds a tone of one
// period per `period` frames, labelled as `rate` frames per second.
std::vector<uint8_t> ToneAtRate(int channels, int rate, int frames, int period) {
  std::vector<uint8_t> ogg = EncodeSineOgg(channels, 44100, frames, 44100.0 / period, 0.5);
  SetOggRate(&ogg, static_cast<uint32_t>(rate));
  return ogg;
}

// Sign changes of the left channel of a stereo capture.
int LeftZeroCrossings(const std::vector<int16_t>& out) {
  int n = 0;
  for (size_t i = 2; i < out.size(); i += 2) n += (out[i - 2] < 0) != (out[i] < 0);
  return n;
}

// The capture without the silence before the play and after the end.
std::vector<int16_t> Trimmed(std::vector<int16_t> out) {
  size_t first = 0, last = out.size();
  while (first + 1 < out.size() && out[first] == 0 && out[first + 1] == 0) first += 2;
  while (last >= first + 2 && out[last - 1] == 0 && out[last - 2] == 0) last -= 2;
  return std::vector<int16_t>(out.begin() + static_cast<std::ptrdiff_t>(first),
                              out.begin() + static_cast<std::ptrdiff_t>(last));
}

TEST(SoundRates, StreamsOutsideTheBufferRatesAreRefused) {
  test_env::Set("SDL_AUDIODRIVER", "dummy");
  ASSERT_NE(sound_system_start(), 0);
  for (int rate : {2, 20, 99, 200001, 384000}) {
    std::vector<uint8_t> ogg = ToneAtRate(2, rate, 4410, 20);
    EXPECT_EQ(sound_from_memory(0, ogg.data(), ogg.size()), 0) << rate;
    EXPECT_EQ(sound_status(0), kSoundMissing) << rate;
    std::vector<uint8_t> wav = MakeWav(2, rate, 16, std::vector<uint8_t>(400, 1));
    EXPECT_EQ(sound_from_memory(0, wav.data(), wav.size()), 0) << rate;
  }
  for (int rate : {100, 200000}) {
    std::vector<uint8_t> ogg = ToneAtRate(2, rate, 4410, 20);
    EXPECT_NE(sound_from_memory(0, ogg.data(), ogg.size()), 0) << rate;
    std::vector<uint8_t> wav = MakeWav(2, rate, 16, std::vector<uint8_t>(400, 1));
    EXPECT_NE(sound_from_memory(1, wav.data(), wav.size()), 0) << rate;
  }
  sound_system_stop();
}

// Each case plays once, without looping, on a disk output running about
// twenty times faster than a device.
struct PlayCase {
  int rate;
  int channels;
};

class SoundPlays : public ::testing::TestWithParam<PlayCase> {};

TEST_P(SoundPlays, AtItsPitchForItsLength) {
  const PlayCase& c = GetParam();
  // Half a second, a tone of 10 Hz at 100 frames a second and of 5 kHz at
  // 200,000.
  const int frames = c.rate / 2;
  const int period = c.rate <= 100 ? 10 : 40;
  std::vector<uint8_t> ogg = ToneAtRate(c.channels, c.rate, frames, period);
  DecodedSound decoded;
  ASSERT_TRUE(sound_decode(ogg.data(), ogg.size(), &decoded, kSoundMaxBytes));
  ASSERT_EQ(decoded.channels, c.channels);
  ASSERT_EQ(decoded.rate, c.rate);
  ASSERT_EQ(decoded.frames(), static_cast<size_t>(frames));

  const std::string path = "formats-" + std::to_string(c.rate) + "-" + std::to_string(c.channels) + ".raw";
  DiskOutput output(path, 1);
  ASSERT_TRUE(output.started());
  ASSERT_NE(sound_from_memory(0, ogg.data(), ogg.size()), 0);
  sound_play(0, 0);
  for (int i = 0; i < 2000 && sound_status(0) == kSoundPlaying; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(sound_status(0), kSoundStopped) << "the sound did not come to its end";
  output.WaitFrames(2048);
  std::vector<int16_t> out = Trimmed(output.Finish());

  // Half a second at the output's rate, give or take the quiet ends of the
  // tone's first and last period.
  const double seconds = static_cast<double>(out.size()) / 2 / 44100;
  EXPECT_NEAR(seconds, 0.5, 0.5 * period / c.rate + 0.01);
  const double tone = static_cast<double>(c.rate) / period;
  EXPECT_NEAR(LeftZeroCrossings(out), 2 * tone * 0.5, 3);
  double left = 0, right = 0;
  for (size_t i = 0; i + 1 < out.size(); i += 2) {
    left += double(out[i]) * out[i];
    right += double(out[i + 1]) * out[i + 1];
  }
  left = std::sqrt(left / (out.size() / 2));
  right = std::sqrt(right / (out.size() / 2));
  EXPECT_NEAR(left, 0.5 * 32767 / std::sqrt(2.0), 0.5 * 32767 * 0.1);
  EXPECT_NEAR(right, left, left * 0.05);
}

std::vector<PlayCase> PlayCases() {
  std::vector<PlayCase> cases;
  for (int rate : {100, 200000})
    for (int channels = 1; channels <= 8; ++channels) cases.push_back({rate, channels});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EndsOfTheRange, SoundPlays, ::testing::ValuesIn(PlayCases()),
                         [](const auto& info) {
                           return std::to_string(info.param.rate) + "Hz" + std::to_string(info.param.channels) +
                                  "Channels";
                         });

TEST(SoundMemory, ALoadedSoundHoldsItsDecodedFramesAndAFewKilobytes) {
#ifdef _WIN32
  GTEST_SKIP() << "no count of the heap in use here";
#endif
  test_env::Set("SDL_AUDIODRIVER", "dummy");
  ASSERT_NE(sound_system_start(), 0);
  struct Case {
    int rate, channels, frames;
  } cases[] = {{100, 1, 2000}, {100, 8, 2000}, {8000, 2, 40000}, {200000, 1, 100000}, {44100, 2, 44100}};
  // A first load takes what is made once (the table of sounds, the filter);
  // each case then loads under a number of its own, within that table.
  std::vector<uint8_t> first = ToneAtRate(2, 100, 100, 40);
  ASSERT_NE(sound_from_memory(10, first.data(), first.size()), 0);
  int number = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.rate << " Hz, " << c.channels << " channels");
    std::vector<uint8_t> ogg = ToneAtRate(c.channels, c.rate, c.frames, 40);
    const size_t decoded = static_cast<size_t>(c.frames) * static_cast<size_t>(c.channels) * 2;
    const size_t before = HeapInUse();
    ASSERT_NE(sound_from_memory(++number, ogg.data(), ogg.size()), 0);
    const size_t after = HeapInUse();
    ASSERT_GE(after, before + decoded);
    // Twenty seconds at 100 frames a second would be 3.5 MB at the output's
    // rate; held as decoded it is 4 to 32 kB. The allowance covers what the
    // C library keeps of the decoder's freed blocks for reuse.
    EXPECT_LE(after - before, decoded + 16384);
  }
  sound_system_stop();
}

}  // namespace
