// Decoding sound data: OGG Vorbis encoded in the test, WAV files written byte
// by byte, and data that must be refused.
#include "engine/sound/sound_decode.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/sound/sound.h"
#include "tests/engine/sound/sound_samples.h"

namespace {

// Sign changes of channel 0, to tell the tone's pitch.
int ZeroCrossings(const DecodedSound& s) {
  int n = 0;
  for (size_t i = 1; i < s.frames(); ++i) {
    n += (s.samples[(i - 1) * s.channels] < 0) != (s.samples[i * s.channels] < 0);
  }
  return n;
}

TEST(SoundDecodeOgg, DecodesEveryFrameOfTheToneWithItsFormat) {
  struct Case { int channels, rate; } cases[] = {{2, 44100}, {1, 22050}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.channels);
    const int frames = c.rate;  // one second of 441 Hz at amplitude 0.5
    std::vector<uint8_t> ogg = EncodeSineOgg(c.channels, c.rate, frames, 441, 0.5);
    DecodedSound s;
    ASSERT_TRUE(sound_decode(ogg.data(), ogg.size(), &s, kSoundMaxBytes));
    EXPECT_EQ(s.channels, c.channels);
    EXPECT_EQ(s.rate, c.rate);
    EXPECT_EQ(s.frames(), static_cast<size_t>(frames));
    EXPECT_NEAR(ZeroCrossings(s), 2 * 441, 4);
    double sum = 0;
    for (int16_t v : s.samples) sum += double(v) * v;
    EXPECT_NEAR(std::sqrt(sum / s.samples.size()), 0.5 * 32767 / std::sqrt(2.0), 600);
    if (c.channels == 2) {
      for (size_t i = 0; i < s.frames(); i += 97) EXPECT_NEAR(s.samples[2 * i], s.samples[2 * i + 1], 400);
    }
  }
}

TEST(SoundDecodeOgg, CutStreamKeepsItsDecodedPartAndTheCapKeepsTheBeginning) {
  // Long enough to fill several pages, so that a cut leaves whole ones.
  std::vector<uint8_t> ogg = EncodeSineOgg(2, 44100, 4 * 44100, 300, 0.4);
  DecodedSound whole;
  ASSERT_TRUE(sound_decode(ogg.data(), ogg.size(), &whole, kSoundMaxBytes));

  DecodedSound cut;
  ASSERT_TRUE(sound_decode(ogg.data(), ogg.size() * 6 / 10, &cut, kSoundMaxBytes));
  EXPECT_GT(cut.frames(), whole.frames() / 4);
  EXPECT_LT(cut.frames(), whole.frames());
  EXPECT_TRUE(std::equal(cut.samples.begin(), cut.samples.end(), whole.samples.begin()));

  DecodedSound capped;
  ASSERT_TRUE(sound_decode(ogg.data(), ogg.size(), &capped, 10002));  // 2500.5 frames
  EXPECT_EQ(capped.frames(), 2500u);
  EXPECT_TRUE(std::equal(capped.samples.begin(), capped.samples.end(), whole.samples.begin()));
}

TEST(SoundDecodeOgg, RefusesDataWithoutAWholeStreamHead) {
  std::vector<uint8_t> ogg = EncodeSineOgg(1, 44100, 4410, 300, 0.4);
  DecodedSound s;
  EXPECT_FALSE(sound_decode(ogg.data(), 0, &s, kSoundMaxBytes));
  EXPECT_FALSE(sound_decode(nullptr, 100, &s, kSoundMaxBytes));
  for (size_t cut : {4, 28, 58, 200}) EXPECT_FALSE(sound_decode(ogg.data(), cut, &s, kSoundMaxBytes)) << cut;
  std::vector<uint8_t> noise(5000);
  uint32_t x = 12345;
  for (uint8_t& b : noise) b = static_cast<uint8_t>((x = x * 1103515245 + 12345) >> 24);
  EXPECT_FALSE(sound_decode(noise.data(), noise.size(), &s, kSoundMaxBytes));
  std::copy(ogg.begin(), ogg.begin() + 40, noise.begin());  // a real first page head, then noise
  EXPECT_FALSE(sound_decode(noise.data(), noise.size(), &s, kSoundMaxBytes));
  EXPECT_TRUE(s.samples.empty());
}

TEST(SoundDecodeWav, WalksPastOtherChunksAndReadsBothSampleSizes) {
  std::vector<int16_t> stereo = {0, -1, 32767, -32768, 1234, -4321};
  std::vector<uint8_t> wav = MakeWav(2, 48000, 16, Pcm16Bytes(stereo), {{"JUNK", {1, 2, 3}}},
                                     {{"LIST", {'a', 'b', 'c', 'd', 'e'}}, {"fact", {3, 0, 0, 0}}});
  DecodedSound s;
  ASSERT_TRUE(sound_decode(wav.data(), wav.size(), &s, kSoundMaxBytes));
  EXPECT_EQ(s.channels, 2);
  EXPECT_EQ(s.rate, 48000);
  EXPECT_EQ(s.samples, stereo);

  // 8-bit samples are unsigned; a trailing odd byte of a partial frame is dropped.
  std::vector<uint8_t> mono = MakeWav(1, 8000, 8, {0, 128, 255});
  ASSERT_TRUE(sound_decode(mono.data(), mono.size(), &s, kSoundMaxBytes));
  EXPECT_EQ(s.samples, (std::vector<int16_t>{-32768, 0, 32512}));
  std::vector<uint8_t> partial = MakeWav(2, 8000, 16, {1, 0, 2, 0, 3});
  ASSERT_TRUE(sound_decode(partial.data(), partial.size(), &s, kSoundMaxBytes));
  EXPECT_EQ(s.samples, (std::vector<int16_t>{1, 2}));
}

TEST(SoundDecodeWav, RefusesBadChunksFormatsAndSizes) {
  std::vector<uint8_t> good = MakeWav(2, 44100, 16, Pcm16Bytes({1, 2, 3, 4}));
  DecodedSound s;
  ASSERT_TRUE(sound_decode(good.data(), good.size(), &s, kSoundMaxBytes));
  auto refused = [&](std::vector<uint8_t> wav, const char* why) {
    EXPECT_FALSE(sound_decode(wav.data(), wav.size(), &s, kSoundMaxBytes)) << why;
  };
  for (size_t cut : {size_t{4}, size_t{11}, size_t{12}, size_t{30}, good.size() - 1}) {
    refused(std::vector<uint8_t>(good.begin(), good.begin() + cut), "truncated");
  }
  std::vector<uint8_t> long_data = good;
  long_data[40] = 0xF0;  // the data chunk claims more bytes than follow
  refused(long_data, "data chunk beyond the end");
  std::vector<uint8_t> huge_chunk = MakeWav(1, 8000, 16, {0, 0}, {{"JUNK", {}}});
  huge_chunk[16] = huge_chunk[17] = huge_chunk[18] = huge_chunk[19] = 0xFF;
  refused(huge_chunk, "chunk size near 4 GiB");
  std::vector<uint8_t> not_wave = good;
  not_wave[8] = 'A';
  refused(not_wave, "RIFF of another kind");
  refused(MakeWav(3, 44100, 16, Pcm16Bytes({1, 2, 3})), "three channels");
  refused(MakeWav(1, 44100, 24, {1, 2, 3}), "24-bit");
  refused(MakeWav(1, 0, 16, {1, 2}), "rate 0");
  refused(MakeWav(1, 44100, 16, {}), "no samples");
  std::vector<uint8_t> float_format = good;
  float_format[20] = 3;
  refused(float_format, "float samples");

  std::vector<uint8_t> at_cap = MakeWav(1, 8000, 16, std::vector<uint8_t>(1000));
  EXPECT_TRUE(sound_decode(at_cap.data(), at_cap.size(), &s, 1000));
  EXPECT_FALSE(sound_decode(at_cap.data(), at_cap.size(), &s, 998));
  refused(MakeWav(1, 44100, 16, std::vector<uint8_t>(kSoundMaxBytes + 2)), "over 64,000,000 bytes");
}

}  // namespace
