// Faces of a set must be told apart at a glance at the smallest card size,
// also without colour: compare them in greyscale at 110 pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tests/tools/contentgen/contentgen_test_util.h"

namespace {

// Luma of a card at 110x110, composed over the mid grey of a dusk board so
// the transparent corners count the same for every card.
std::vector<double> grey_at_110(const GeneratedFile& file) {
  int type = 0;
  const Picture small = picture_resize(decode_or_fail(file, &type), 110, 110);
  std::vector<double> luma;
  for (int y = 0; y < 110; ++y) {
    for (int x = 0; x < 110; ++x) {
      const uint8_t* p = small.at(x, y);
      const double a = p[3] / 255.0;
      const double l = 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
      luma.push_back(l * a + 60 * (1 - a));
    }
  }
  return luma;
}

double mean_abs_difference(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) sum += std::fabs(a[i] - b[i]);
  return sum / a.size();
}

// The motif area of a 110-pixel card: inside the frame and the corner
// marks, which every face of a set shares.
constexpr int kMotifFrom = 20, kMotifSize = 70, kSlack = 3;

// How two faces differ in their motif area, at the alignment (within a few
// pixels) where they look most alike: so a motif that is merely nudged
// still counts as the same. `share` gets the part of the area whose grey
// differs by a clearly visible step at that alignment.
double motif_difference(const std::vector<double>& a, const std::vector<double>& b,
                        double* share) {
  double best = 1e9;
  for (int dy = -kSlack; dy <= kSlack; ++dy) {
    for (int dx = -kSlack; dx <= kSlack; ++dx) {
      double sum = 0;
      int visible = 0;
      for (int y = kMotifFrom; y < kMotifFrom + kMotifSize; ++y) {
        for (int x = kMotifFrom; x < kMotifFrom + kMotifSize; ++x) {
          const double d = std::fabs(a[y * 110 + x] - b[(y + dy) * 110 + x + dx]);
          sum += d;
          visible += d > 40 ? 1 : 0;
        }
      }
      const double mean = sum / (kMotifSize * kMotifSize);
      if (mean < best) {
        best = mean;
        *share = static_cast<double>(visible) / (kMotifSize * kMotifSize);
      }
    }
  }
  return best;
}

// Below these a pair counts as alike. Identical faces, or faces whose glyphs
// the font lacks (all drawn as the same fallback box), score near 0.
constexpr double kMinMeanDifference = 8.0;
constexpr double kMinDifferentShare = 0.06;

class CardFaces : public ::testing::TestWithParam<int> {};

TEST_P(CardFaces, EveryPairDiffersInGreyAt110Pixels) {
  const int set = GetParam();
  std::vector<std::vector<double>> faces;
  std::vector<std::string> names;
  for (int m = 1; m <= 24; ++m) {
    char name[32];
    std::snprintf(name, sizeof name, "%d-card%02d.png", set, m);
    const GeneratedFile* f = find_generated(name);
    ASSERT_NE(f, nullptr) << name;
    faces.push_back(grey_at_110(*f));
    names.push_back(name);
  }
  const GeneratedFile* back = find_generated(std::to_string(set) + "-back.png");
  ASSERT_NE(back, nullptr);
  const std::vector<double> back_grey = grey_at_110(*back);
  double closest = 1e9;
  std::string closest_pair;
  for (size_t i = 0; i < faces.size(); ++i) {
    // A face must never look like the back: the player would not see it turn.
    EXPECT_GT(mean_abs_difference(faces[i], back_grey), 40.0) << names[i] << " vs back";
    for (size_t j = i + 1; j < faces.size(); ++j) {
      double share = 0;
      const double d = motif_difference(faces[i], faces[j], &share);
      // Thresholds: same-motif cards give 0; a motif moved by a few pixels
      // or recoloured with the same brightness stays well under these.
      EXPECT_GT(d, kMinMeanDifference) << names[i] << " and " << names[j] << " look alike in grey";
      EXPECT_GT(share, kMinDifferentShare)
          << names[i] << " and " << names[j] << " differ in too few pixels";
      if (d < closest) {
        closest = d;
        closest_pair = names[i] + " / " + names[j];
      }
    }
  }
  RecordProperty("closest_pair", closest_pair);
  std::printf("set %d: closest faces %s, mean grey difference %.1f\n", set, closest_pair.c_str(),
              closest);
}

INSTANTIATE_TEST_SUITE_P(BothSets, CardFaces, ::testing::Values(1, 2));

TEST(CardFaces, TheMeasureCallsANudgedCopyAlike) {
  // Guards the measure itself: the same motif two pixels off, or slightly
  // lighter, must count as alike, or the check above would let such pairs
  // pass.
  for (const char* name : {"1-card01.png", "1-card13.png", "2-card06.png", "2-card17.png"}) {
    const std::vector<double> grey = grey_at_110(*find_generated(name));
    std::vector<double> copy(grey.size());
    for (int y = 0; y < 110; ++y) {
      for (int x = 0; x < 110; ++x) {
        copy[y * 110 + x] = std::min(255.0, grey[std::max(0, y - 1) * 110 + std::max(0, x - 2)] + 6);
      }
    }
    double share = 0;
    const double d = motif_difference(grey, copy, &share);
    EXPECT_LT(d, kMinMeanDifference) << name;
    EXPECT_LT(share, kMinDifferentShare) << name;
  }
}

TEST(CardFaces, TheTwoSetsDifferInTheme) {
  // Same position in the two sets must not be the same card drawn twice.
  const GeneratedFile* a = find_generated("1-back.png");
  const GeneratedFile* b = find_generated("2-back.png");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_GT(mean_abs_difference(grey_at_110(*a), grey_at_110(*b)), 10.0);
  for (int m = 1; m <= 24; ++m) {
    char one[32], two[32];
    std::snprintf(one, sizeof one, "1-card%02d.png", m);
    std::snprintf(two, sizeof two, "2-card%02d.png", m);
    EXPECT_GT(mean_abs_difference(grey_at_110(*find_generated(one)),
                                  grey_at_110(*find_generated(two))),
              8.0)
        << one << " and " << two;
  }
}

}  // namespace
