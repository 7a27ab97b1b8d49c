// The dithered sky layer: gradients keep their levels between the 8-bit
// steps, and flat areas come out as a pattern that repeats, which is what
// lets the screen-sized pictures pack small and decode fast.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/contentgen/canvas.h"

namespace {

constexpr int kSide = 64;

// The red channel of every pixel, row by row.
std::vector<int> RedChannel(const Sky& sky) {
  Canvas canvas(kSide, kSide);
  sky.paint(&canvas);
  const Picture picture = canvas.picture(false);
  std::vector<int> red;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) red.push_back(picture.at(x, y)[0]);
  }
  return red;
}

TEST(Sky, FlatLevelBetweenStepsIsKeptOnAverageAndRepeatsEveryTwoPixels) {
  // Levels between two 8-bit values: a quarter, three eighths, a half and
  // almost a whole step above 100.
  for (double fraction : {0.25, 0.375, 0.5, 0.97}) {
    Sky sky(kSide, kSide);
    const double level = (100.0 + fraction) / 255.0;
    sky.vertical({Rgb{level, 0, 0}, Rgb{level, 0, 0}});
    const std::vector<int> red = RedChannel(sky);
    double sum = 0;
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        const int v = red[static_cast<size_t>(y * kSide + x)];
        // Only the two neighbouring values appear.
        ASSERT_TRUE(v == 100 || v == 101) << "fraction " << fraction << " at " << x << "," << y << ": " << v;
        sum += v;
        if (x >= 2) {
          ASSERT_EQ(v, red[static_cast<size_t>(y * kSide + x - 2)]) << "across at " << x << "," << y;
        }
        if (y >= 2) {
          ASSERT_EQ(v, red[static_cast<size_t>((y - 2) * kSide + x)]) << "down at " << x << "," << y;
        }
      }
    }
    // Four thresholds: the average is the level to within half of 1/4.
    EXPECT_NEAR(sum / (kSide * kSide), 100.0 + fraction, 1.0 / 8 + 1e-9) << "fraction " << fraction;
  }
}

TEST(Sky, SlowGradientRisesWithoutSteps) {
  // Two 8-bit steps over 64 rows: rounded without a dither this would be
  // three flat bands. Dithered, each pair of rows (one period of the
  // pattern) sits at a level that never falls.
  Sky sky(kSide, kSide);
  sky.vertical({Rgb{50.0 / 255, 0, 0}, Rgb{52.0 / 255, 0, 0}});
  const std::vector<int> red = RedChannel(sky);
  std::vector<double> means;
  for (int band = 0; band < kSide / 2; ++band) {
    double sum = 0;
    for (int y = band * 2; y < band * 2 + 2; ++y) {
      for (int x = 0; x < kSide; ++x) sum += red[static_cast<size_t>(y * kSide + x)];
    }
    means.push_back(sum / (2.0 * kSide));
  }
  int distinct = 1;
  for (size_t i = 1; i < means.size(); ++i) {
    EXPECT_GE(means[i], means[i - 1]) << "band " << i;
    if (means[i] > means[i - 1]) ++distinct;
  }
  // Four levels to each step, against the three of plain rounding.
  EXPECT_GE(distinct, 8) << distinct << " levels seen";
  EXPECT_NEAR(means.front(), 50.0, 0.1);
  EXPECT_NEAR(means.back(), 52.0, 0.1);
}

}  // namespace
