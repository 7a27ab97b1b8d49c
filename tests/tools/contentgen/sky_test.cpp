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

TEST(Sky, FlatLevelBetweenStepsIsKeptOnAverageAndRepeatsEveryFourPixels) {
  // Levels between two 8-bit values: a quarter, three sixteenths, a half and
  // almost a whole step above 100.
  for (double fraction : {0.25, 0.1875, 0.5, 0.97}) {
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
        if (x >= 4) {
          ASSERT_EQ(v, red[static_cast<size_t>(y * kSide + x - 4)]) << "across at " << x << "," << y;
        }
        if (y >= 4) {
          ASSERT_EQ(v, red[static_cast<size_t>((y - 4) * kSide + x)]) << "down at " << x << "," << y;
        }
      }
    }
    // Sixteen thresholds: the average is the level to within half of 1/16.
    EXPECT_NEAR(sum / (kSide * kSide), 100.0 + fraction, 1.0 / 32 + 1e-9) << "fraction " << fraction;
  }
}

TEST(Sky, SlowGradientRisesWithoutSteps) {
  // Two 8-bit steps over 64 rows: rounded without a dither this would be
  // three flat bands. Dithered, the rows of each period of the pattern sit at
  // levels of their own that never fall.
  Sky sky(kSide, kSide);
  sky.vertical({Rgb{50.0 / 255, 0, 0}, Rgb{52.0 / 255, 0, 0}});
  const std::vector<int> red = RedChannel(sky);
  std::vector<double> means;
  for (int band = 0; band < kSide / 4; ++band) {
    double sum = 0;
    for (int y = band * 4; y < band * 4 + 4; ++y) {
      for (int x = 0; x < kSide; ++x) sum += red[static_cast<size_t>(y * kSide + x)];
    }
    means.push_back(sum / (4.0 * kSide));
  }
  int distinct = 1;
  for (size_t i = 1; i < means.size(); ++i) {
    EXPECT_GE(means[i], means[i - 1]) << "band " << i;
    if (means[i] > means[i - 1]) ++distinct;
  }
  EXPECT_GE(distinct, 12);
  EXPECT_NEAR(means.front(), 50.0, 0.1);
  EXPECT_NEAR(means.back(), 52.0, 0.1);
}

}  // namespace
