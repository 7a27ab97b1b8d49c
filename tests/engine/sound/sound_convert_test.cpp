// Converting sounds to the output's format as they play: the channel
// weights of every OGG Vorbis layout and the rate conversion at both ends of
// the rates a sound may have (pitch, level, length, pieces, the loop seam).
#include "engine/sound/sound_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/sound/sound.h"

namespace {

constexpr int kOutRate = 44100;

// `frames` frames of a sine of `freq` Hz at `amplitude`, the same on every
// channel.
std::vector<int16_t> Sine(int rate, int channels, size_t frames, double freq, double amplitude) {
  const double pi = std::acos(-1.0);
  std::vector<int16_t> pcm;
  pcm.reserve(frames * static_cast<size_t>(channels));
  for (size_t i = 0; i < frames; ++i) {
    auto v = static_cast<int16_t>(std::lround(amplitude * 32767 * std::sin(2 * pi * freq * i / rate)));
    for (int c = 0; c < channels; ++c) pcm.push_back(v);
  }
  return pcm;
}

// Everything the converter makes of a source that does not loop, pulled in
// pieces of `piece` frames as the output would.
std::vector<int32_t> Play(SoundConverter* c, const std::vector<int16_t>& pcm, int rate, int channels,
                          size_t piece = 1024, int32_t gain = kSoundUnityGain) {
  SoundSource source{pcm.data(), pcm.size() / static_cast<size_t>(channels), channels, rate};
  std::vector<int32_t> out;
  bool ended = false;
  for (int guard = 0; !ended && guard < 100000; ++guard) {
    std::vector<int32_t> acc(piece * static_cast<size_t>(c->out_channels), 0);
    size_t got = sound_convert_add(c, source, false, gain, acc.data(), piece, &ended);
    out.insert(out.end(), acc.begin(), acc.begin() + static_cast<std::ptrdiff_t>(got * c->out_channels));
  }
  return out;
}

// Sign changes of one channel of interleaved output.
int ZeroCrossings(const std::vector<int32_t>& out, int channels, int channel) {
  int n = 0;
  for (size_t i = static_cast<size_t>(channels + channel); i < out.size(); i += static_cast<size_t>(channels)) {
    n += (out[i - static_cast<size_t>(channels)] < 0) != (out[i] < 0);
  }
  return n;
}

double Rms(const std::vector<int32_t>& out, int channels, int channel, size_t skip) {
  double sum = 0;
  size_t n = 0;
  for (size_t i = skip * static_cast<size_t>(channels) + static_cast<size_t>(channel);
       i + skip * static_cast<size_t>(channels) < out.size(); i += static_cast<size_t>(channels), ++n) {
    sum += double(out[i]) * out[i];
  }
  return n ? std::sqrt(sum / n) : 0;
}

TEST(SoundConvert, RefusesRatesAndChannelCountsNoBufferTakes) {
  SoundConverter c;
  EXPECT_FALSE(sound_convert_prepare(&c, 99, 2, kOutRate, 2));
  EXPECT_TRUE(sound_convert_prepare(&c, 100, 2, kOutRate, 2));
  EXPECT_TRUE(sound_convert_prepare(&c, 200000, 2, kOutRate, 2));
  EXPECT_FALSE(sound_convert_prepare(&c, 200001, 2, kOutRate, 2));
  EXPECT_FALSE(sound_convert_prepare(&c, 2, 2, kOutRate, 2));
  EXPECT_FALSE(sound_convert_prepare(&c, 44100, 0, kOutRate, 2));
  EXPECT_TRUE(sound_convert_prepare(&c, 44100, 255, kOutRate, 2));
  EXPECT_FALSE(sound_convert_prepare(&c, 44100, 256, kOutRate, 2));
  EXPECT_FALSE(sound_convert_prepare(&c, 44100, 2, 0, 2));
  EXPECT_FALSE(sound_convert_prepare(&c, 44100, 2, kOutRate, 0));
}

// Which output side each input channel reaches: 'L', 'R', 'B' (both, the
// same), or '-' (neither), in the channel order of OGG Vorbis.
std::string Sides(int channels) {
  SoundConverter c;
  EXPECT_TRUE(sound_convert_prepare(&c, kOutRate, channels, kOutRate, 2));
  std::string sides;
  for (int k = 0; k < channels; ++k) {
    std::vector<int16_t> frame(static_cast<size_t>(channels), 0);
    frame[static_cast<size_t>(k)] = 10000;
    std::vector<int32_t> out = Play(&c, frame, kOutRate, channels, 4);
    EXPECT_EQ(out.size(), 2u);
    if (out.size() != 2) return "";
    EXPECT_GE(out[0], 0);
    EXPECT_GE(out[1], 0);
    EXPECT_LE(out[0], 10000);  // never louder than the channel itself
    EXPECT_LE(out[1], 10000);
    sides += out[0] > 0 && out[1] > 0 ? (std::abs(out[0] - out[1]) <= 1 ? 'B' : '?')
             : out[0] > 0            ? 'L'
             : out[1] > 0            ? 'R'
                                     : '-';
  }
  return sides;
}

TEST(SoundConvert, EveryVorbisLayoutReachesTheRightSide) {
  EXPECT_EQ(Sides(1), "B");
  EXPECT_EQ(Sides(2), "LR");
  EXPECT_EQ(Sides(3), "LBR");       // left, centre, right
  EXPECT_EQ(Sides(4), "LRLR");      // front and rear pairs
  EXPECT_EQ(Sides(5), "LBRLR");     // with a centre
  EXPECT_EQ(Sides(6), "LBRLR-");    // 5.1: the low-frequency channel is left out
  EXPECT_EQ(Sides(7), "LBRLRB-");   // 6.1: the rear centre to both sides
  EXPECT_EQ(Sides(8), "LBRLRLR-");  // 7.1
  EXPECT_EQ(Sides(11), "LRLRLRLRLRL");  // no defined layout: alternating

  // Mono and stereo at the output's rate pass exactly, as decoded.
  SoundConverter c;
  ASSERT_TRUE(sound_convert_prepare(&c, kOutRate, 1, kOutRate, 2));
  EXPECT_EQ(Play(&c, {-32768, 7, 32767}, kOutRate, 1), (std::vector<int32_t>{-32768, -32768, 7, 7, 32767, 32767}));
  ASSERT_TRUE(sound_convert_prepare(&c, kOutRate, 2, kOutRate, 2));
  EXPECT_EQ(Play(&c, {-32768, 7, 32767, 1}, kOutRate, 2), (std::vector<int32_t>{-32768, 7, 32767, 1}));

  // The same loud level on all eight channels stays within 16 bits.
  ASSERT_TRUE(sound_convert_prepare(&c, kOutRate, 8, kOutRate, 2));
  std::vector<int32_t> out = Play(&c, std::vector<int16_t>(8, 32767), kOutRate, 8);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_LE(out[0], 32767);
  EXPECT_GT(out[0], 32767 * 8 / 10);
}

// A tone keeps its pitch, its level and its length through the conversion,
// at the ends of the rates a sound may have and between them, with any
// channel count.
TEST(SoundConvert, ResampledToneKeepsPitchLevelAndLength) {
  struct Case {
    int rate;
    double freq;  // below both halves of the rates
  } cases[] = {{100, 7}, {8000, 440}, {22050, 1000}, {48000, 3000}, {96000, 5000}, {200000, 9000}};
  for (const Case& k : cases) {
    for (int channels : {1, 2, 3, 6, 8}) {
      SCOPED_TRACE(::testing::Message() << k.rate << " Hz, " << channels << " channels");
      const size_t frames = static_cast<size_t>(k.rate) * 2;  // two seconds
      std::vector<int16_t> pcm = Sine(k.rate, channels, frames, k.freq, 0.5);
      SoundConverter c;
      ASSERT_TRUE(sound_convert_prepare(&c, k.rate, channels, kOutRate, 2));
      std::vector<int32_t> out = Play(&c, pcm, k.rate, channels, 333);
      const size_t out_frames = out.size() / 2;
      EXPECT_NEAR(static_cast<double>(out_frames), 2.0 * kOutRate, 1.0);
      EXPECT_NEAR(ZeroCrossings(out, 2, 0), 4 * k.freq, 2);
      // Every channel carries the tone, so both sides carry it at its level.
      double expected = 0.5 * 32767 / std::sqrt(2.0);
      double rms = Rms(out, 2, 0, out_frames / 10);
      EXPECT_GT(rms, expected * 0.97);
      EXPECT_LT(rms, expected * 1.02);
      EXPECT_NEAR(Rms(out, 2, 1, out_frames / 10), rms, rms * 0.01);
    }
  }
}

TEST(SoundConvert, PiecesOfAnySizeGiveTheSameOutput) {
  std::vector<int16_t> pcm = Sine(22050, 2, 5000, 700, 0.7);
  SoundConverter a, b;
  ASSERT_TRUE(sound_convert_prepare(&a, 22050, 2, kOutRate, 2));
  ASSERT_TRUE(sound_convert_prepare(&b, 22050, 2, kOutRate, 2));
  std::vector<int32_t> whole = Play(&a, pcm, 22050, 2, 100000);
  EXPECT_EQ(Play(&b, pcm, 22050, 2, 1), whole);
  EXPECT_EQ(whole.size(), 2u * 10000);
}

TEST(SoundConvert, SteadyLevelStaysExactAndGainScalesIt) {
  for (int rate : {100, 11025, 47999, 200000}) {
    SCOPED_TRACE(rate);
    std::vector<int16_t> level(static_cast<size_t>(rate) * 2);  // one second
    for (size_t i = 0; i < level.size(); i += 2) {
      level[i] = 20000;
      level[i + 1] = -10000;
    }
    SoundConverter c;
    ASSERT_TRUE(sound_convert_prepare(&c, rate, 2, kOutRate, 2));
    std::vector<int32_t> out = Play(&c, level, rate, 2, 512, kSoundUnityGain / 2);
    ASSERT_EQ(out.size(), 2u * kOutRate);
    // Away from the start, where the filter still reaches into the silence
    // before the sound, every frame is the level at half the gain.
    const size_t skip = 2 * static_cast<size_t>(std::ceil(8.0 * kOutRate / std::min(rate, kOutRate)));
    for (size_t i = skip; i + skip < out.size(); i += 2) {
      ASSERT_NEAR(out[i], 10000, 1) << i;
      ASSERT_NEAR(out[i + 1], -5000, 1) << i;
    }
  }
}

TEST(SoundConvert, LoopGoesOnWithoutASeam) {
  // 100 frames of 8 kHz holding exactly five periods of a 400 Hz tone: looped,
  // the output is one unbroken tone.
  const int rate = 8000;
  std::vector<int16_t> pcm = Sine(rate, 1, 100, 400, 0.8);
  SoundSource source{pcm.data(), 100, 1, rate};
  SoundConverter c;
  ASSERT_TRUE(sound_convert_prepare(&c, rate, 1, kOutRate, 2));
  std::vector<int32_t> out(2 * 20000, 0);
  bool ended = true;
  ASSERT_EQ(sound_convert_add(&c, source, true, kSoundUnityGain, out.data(), 10000, &ended), 10000u);
  EXPECT_FALSE(ended);
  ASSERT_EQ(sound_convert_add(&c, source, true, kSoundUnityGain, out.data() + 20000, 10000, &ended), 10000u);
  EXPECT_FALSE(ended);
  const double pi = std::acos(-1.0);
  const double step = 2 * pi * 400 / kOutRate;  // the tone's largest move per frame
  for (size_t i = 200; i < 20000; ++i) {
    double ideal = 0.8 * 32767 * std::sin(step * static_cast<double>(i));
    ASSERT_NEAR(out[2 * i], ideal, 0.8 * 32767 * 0.01) << "frame " << i;
  }
}

}  // namespace
