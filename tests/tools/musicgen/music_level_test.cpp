// What the player hears: the piece stays clear of full scale, is never
// near silence, and runs on from its last frame into its first without a
// click.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tests/tools/musicgen/musicgen_test_util.h"
#include "tools/musicgen/music.h"

namespace {

// One channel of the decoded music, as numbers from -1 to 1.
std::vector<double> channel(const DecodedMusic& music, int c) {
  std::vector<double> out(music.frames());
  for (size_t i = 0; i < out.size(); ++i) out[i] = music.samples[i * music.channels + c] / 32768.0;
  return out;
}

// The p-th quantile (0..1) of the sizes of the steps between neighbouring
// samples inside the piece (the seam left out).
double step_quantile(const std::vector<double>& x, double p) {
  std::vector<double> steps;
  steps.reserve(x.size());
  for (size_t i = 0; i + 1 < x.size(); ++i) steps.push_back(std::fabs(x[i + 1] - x[i]));
  const size_t k = static_cast<size_t>(p * (steps.size() - 1));
  std::nth_element(steps.begin(), steps.begin() + k, steps.end());
  return steps[k];
}

// Root mean square over `frames` frames from `start`, wrapping round the
// end as the looping music does.
double rms(const std::vector<double>& x, size_t start, size_t frames) {
  double sum = 0.0;
  for (size_t i = 0; i < frames; ++i) {
    const double v = x[(start + i) % x.size()];
    sum += v * v;
  }
  return std::sqrt(sum / frames);
}

class MusicLevel : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(music_decoded().ok);
    ASSERT_EQ(music_decoded().channels, 2);
    ASSERT_GT(music_decoded().frames(), 44100u * 10);
  }
};

TEST_F(MusicLevel, PeakKeepsHeadroomBelowFullScale) {
  int peak = 0;
  for (int16_t s : music_decoded().samples) {
    // A sample at the ends of the range is a clipped one.
    ASSERT_NE(s, 32767);
    ASSERT_NE(s, -32768);
    peak = std::max(peak, std::abs(static_cast<int>(s)));
  }
  EXPECT_LT(peak / 32768.0, 0.97);
}

TEST_F(MusicLevel, LoudEnoughEverywhereAndNeverSilentForFiveSeconds) {
  const size_t window = 5 * 44100;
  for (int c = 0; c < 2; ++c) {
    const std::vector<double> x = channel(music_decoded(), c);
    // About -26 dB of full scale over the whole piece: background music
    // that is heard without turning the volume up.
    EXPECT_GT(rms(x, 0, x.size()), 0.05) << "channel " << c;
    // Every five seconds, starting on every second and across the seam,
    // keeps at least -34 dB: no stretch of near silence.
    for (size_t start = 0; start < x.size(); start += 44100) {
      EXPECT_GT(rms(x, start, window), 0.02) << "channel " << c << " at " << start / 44100 << " s";
    }
  }
}

TEST_F(MusicLevel, TheLoopSeamIsNoBiggerAStepThanThePieceTakes) {
  // A click is one step far bigger than the music's own: compare the jump
  // from the last frame to the first with the steps the piece takes
  // everywhere else.
  for (int c = 0; c < 2; ++c) {
    const std::vector<double> x = channel(music_decoded(), c);
    const double seam = std::fabs(x.front() - x.back());
    EXPECT_LE(seam, step_quantile(x, 0.99)) << "channel " << c;
    // Nor does the level dip or jump there: a fade out and in at the ends
    // would be heard as a gap every time round.
    const size_t tenth = 4410;
    const double before = rms(x, x.size() - tenth, tenth), after = rms(x, 0, tenth);
    EXPECT_LT(std::max(before, after) / std::min(before, after), 2.0) << "channel " << c;
  }
}

TEST(MusicRender, TheRenderedLoopRunsOnSmoothlyBeforeEncoding) {
  // The same seam in the rendered samples: a click here would be the
  // score's fault, not the encoder's.
  const StereoPcm& pcm = music_pcm();
  ASSERT_EQ(pcm.left.size(), kMusicLoopFrames);
  ASSERT_EQ(pcm.right.size(), kMusicLoopFrames);
  for (const std::vector<float>* side : {&pcm.left, &pcm.right}) {
    const std::vector<double> x(side->begin(), side->end());
    EXPECT_LE(std::fabs(x.front() - x.back()), step_quantile(x, 0.9));
  }
}

}  // namespace
