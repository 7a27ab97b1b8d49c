// Where a line's glyphs sit, the same on every platform, measured by the ink
// of capital H in Lato Black, whose figures are known. A line stands in a
// box whose top-left corner is the pen: the first glyph's origin is at the
// pen's x, the baseline lies the face's Windows ascent (usWinAscent) below
// the pen's y, and the lines of a paragraph follow each other by the
// Windows line spacing (usWinAscent + usWinDescent), each figure in whole
// pixels as the grid-fitted face has them. Whole coordinates are pixel
// centres: pixel (x, y) spans x - 0.5 to x + 0.5.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "tests/engine/text/ink.h"
#include "engine/text/text_backend.h"
#include "tests/support/text_probe.h"

namespace {

// Lato Black in font units (2000 to the em): usWinAscent 1974, usWinDescent
// 426 and no further line gap; H has 141 on either side of its stems and
// stands on the baseline.
constexpr double kUnits = 2000;
constexpr double kAscent = 1974, kDescent = 426;
constexpr double kSideBearing = 141;

// Where the edges of the ink lie in the pass's coordinates, from the pixels
// at least half covered.
struct Edges {
  double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
};

Edges ink_edges(const ImageBuffer& img, int y0, int y1) {
  Edges e;
  for (int y = y0; y <= y1; ++y)
    for (int x = 0; x < img.width; ++x)
      if (img.row(y)[x * 4 + 3] >= 128) {
        e.left = std::min(e.left, x - 0.5);
        e.right = std::max(e.right, x + 0.5);
        e.top = std::min(e.top, y - 0.5);
        e.bottom = std::max(e.bottom, y + 0.5);
      }
  return e;
}

class Placement : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    ASSERT_NE(font_load(0, "Lato Black", GetParam(), kFontHighQuality), 0);
    ASSERT_EQ(font_face_weight(0), 900) << font_face_family(0);
  }
  void TearDown() override {
    text_reset();
    image_free(-1);
  }
  // A figure of the face in whole pixels at the font's em height.
  double pixels(double units) const { return std::round(font_pixel_size(0) * units / kUnits); }
  double side_bearing() const { return font_pixel_size(0) * kSideBearing / kUnits; }
};

TEST_P(Placement, ALineStandsOnTheAscentBelowThePenFromThePensX) {
  // A pen on whole numbers, as for the menu captions, and one between
  // them, as for centred texts.
  for (double pen : {10.0, 10.3}) {
    const double pen_x = pen + 10, pen_y = pen;
    double advance = 0;
    ImageBuffer img = ink::render(300, 140, -1, 0, ink::kText, [&] {
      advance = vector_text_width("H");
      vector_move_to(pen_x, pen_y);
      vector_draw_text("H");
    });
    Edges e = ink_edges(img, 0, img.height - 1);
    const double baseline = pen_y + pixels(kAscent);
    const double left = pen_x + side_bearing(), right = pen_x + advance - side_bearing();
    std::printf("H at %d px from pen (%g, %g): ink minus rule: left %+.2f right %+.2f baseline %+.2f\n",
                font_pixel_size(0), pen_x, pen_y, e.left - left, e.right - right, e.bottom - baseline);
    // The glyphs go to whole pixels: the baseline to the pixel edge nearest
    // to where it should be, the stems within a pixel of theirs.
    EXPECT_NEAR(e.bottom, baseline, 0.5 + 1e-9) << pen;
    EXPECT_NEAR(e.left, left, 1.0) << pen;
    EXPECT_NEAR(e.right, right, 1.0) << pen;
  }
}

TEST_P(Placement, ParagraphLinesFollowAtTheLineSpacing) {
  const double pen_x = 30, pen_y = 5;
  double pen_after = 0;
  ImageBuffer img = ink::render(400, 200, -1, 0, ink::kText, [&] {
    double line = vector_text_width("HH");
    vector_move_to(pen_x, pen_y);
    vector_draw_paragraph("HH HH", line + 2, 0, 0);  // two lines
    pen_after = vector_pen_y();
  });
  std::vector<ink::Box> rows = ink::lines(img, -1);
  ASSERT_EQ(rows.size(), 2u);
  const double spacing = pixels(kAscent) + pixels(kDescent);
  const double first = pen_y + pixels(kAscent);
  Edges a = ink_edges(img, rows[0].top, rows[0].bottom);
  Edges b = ink_edges(img, rows[1].top, rows[1].bottom);
  std::printf("paragraph at %d px: ink minus rule: baselines %+.2f and %+.2f, left %+.2f; pen moved by %g\n",
              font_pixel_size(0), a.bottom - first, b.bottom - (first + spacing),
              a.left - (pen_x + side_bearing()), pen_after - pen_y);
  EXPECT_NEAR(a.bottom, first, 0.5 + 1e-9);
  EXPECT_DOUBLE_EQ(b.bottom - a.bottom, spacing);
  EXPECT_EQ(b.left, a.left);
  EXPECT_NEAR(a.left, pen_x + side_bearing(), 1.0);
  EXPECT_DOUBLE_EQ(pen_after, pen_y + 2 * spacing);  // the height both lines take
}

// The game's four sizes: 40, 14, 11 and 20 points (53, 19, 15 and 27 pixels
// at 96 dpi).
INSTANTIATE_TEST_SUITE_P(GameSizes, Placement, ::testing::Values(40, 14, 11, 20));

}  // namespace
