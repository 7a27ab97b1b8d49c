// Fonts: sizes in points to pixels, the numbered font table, the face that
// stands in for "Arial Black", and the style flags as they show in the ink.
#include <gtest/gtest.h>

#include "engine/system/objects.h"
#include "tests/engine/text/ink.h"
#include "tests/support/text_probe.h"

namespace {

using ink::GameFonts;

TEST(FontSize, PointsBecomePixelsRoundedToTheNearest) {
  EXPECT_EQ(font_dpi(), 96);
  // The game's four sizes at 96 dpi.
  EXPECT_EQ(font_points_to_pixels(40, 96), 53);  // 53.33
  EXPECT_EQ(font_points_to_pixels(14, 96), 19);  // 18.67
  EXPECT_EQ(font_points_to_pixels(11, 96), 15);  // 14.67
  EXPECT_EQ(font_points_to_pixels(20, 96), 27);  // 26.67
  EXPECT_EQ(font_points_to_pixels(40, 120), 67);
  EXPECT_EQ(font_points_to_pixels(3, 12), 1);    // exactly a half rounds up
  EXPECT_EQ(font_points_to_pixels(-3, 12), -1);  // and away from zero below
  EXPECT_EQ(font_points_to_pixels(1000000, 96000), 1333333333);  // no overflow
}

TEST_F(GameFonts, FontsLiveUnderTheirNumbersOrHandles) {
  EXPECT_EQ(font_pixel_size(0), 53);
  EXPECT_EQ(font_pixel_size(1), 19);
  EXPECT_EQ(font_pixel_size(2), 15);
  EXPECT_EQ(font_pixel_size(3), 27);
  EXPECT_NE(font_handle(0), font_handle(1));
  EXPECT_EQ(font_handle(4), nullptr);
  int handle = font_load(-1, "Lato", 12, 0);
  EXPECT_GE(handle, kObjectHandleBase);
  EXPECT_EQ(font_pixel_size(handle), 16);
  EXPECT_EQ(font_load(3, "Arial Black", 11, 0), 3);  // replaces the old font 3
  EXPECT_EQ(font_pixel_size(3), 15);
  font_free(-1);
  EXPECT_EQ(font_handle(0), nullptr);
  EXPECT_EQ(font_handle(handle), nullptr);
  EXPECT_EQ(font_face_family(0), "");
}

TEST(FontLoad, FontsThatCannotBeMadeGiveZero) {
  EXPECT_EQ(font_load(5, "", 20, 0), 0);
  EXPECT_EQ(font_load(5, std::string("\0Lato", 5), 20, 0), 0);
  EXPECT_EQ(font_load(5, "Lato", 0, 0), 0);
  EXPECT_EQ(font_load(5, "Lato", -12, 0), 0);
  EXPECT_EQ(font_load(5, "Lato", 100000, 0), 0);  // thousands of pixels high
  EXPECT_EQ(font_load(-7, "Lato", 12, 0), 0);
  EXPECT_EQ(font_handle(5), nullptr);
  EXPECT_EQ(font_face_weight(5), 0);
  EXPECT_EQ(font_load(0, "Lato", 12, 0), 1);  // number 0 succeeds with non-zero
  text_reset();
}

TEST_F(GameFonts, ArialBlackIsAlwaysAHeavyFaceAndTheSameOne) {
  std::string family = font_face_family(0);
  if (family != "Arial Black") {
#ifdef _WIN32
    // GDI names a face by its own family: Lato's black face is "Lato
    // Black" there.
    EXPECT_TRUE(family == "Lato Black" || family == "Segoe UI Black") << family;
#else
    // Without Arial Black every machine draws Lato Black, whatever its own
    // font configuration would substitute.
    EXPECT_EQ(family, "Lato");
#endif
    EXPECT_GE(font_face_weight(0), 900);
  }
  for (int f = 1; f <= 3; ++f) {  // bold or not, the same face
    EXPECT_EQ(font_face_family(f), family);
    EXPECT_EQ(font_face_weight(f), font_face_weight(0));
  }
  EXPECT_EQ(font_load(9, "arial black", 20, 0), 9);
  EXPECT_EQ(font_face_family(9), family);

  // The bold flag of font 0 does not smear the black face either: the same
  // size without it measures the same.
  ASSERT_EQ(font_load(9, "Arial Black", 40, kFontHighQuality), 9);
  double bold = 0, plain = 0;
  ink::render(10, 10, -1, 0, ink::kText, [&] {
    bold = vector_text_width("Start");
    vector_font(font_handle(9));
    plain = vector_text_width("Start");
  });
  EXPECT_GT(plain, 0);
  EXPECT_NEAR(bold, plain, 0.5);

  EXPECT_EQ(font_load(9, "No Such Family Anywhere", 20, kFontBold), 9);
#ifdef _WIN32
  // Any other missing family comes out as one installed sans-serif (the
  // first of a fixed list), bold as asked.
  std::string stand_in = font_face_family(9);
  EXPECT_NE(stand_in, "");
  EXPECT_EQ(font_face_weight(9), 700);
  EXPECT_EQ(font_load(9, "Another Missing Family", 20, 0), 9);
  EXPECT_EQ(font_face_family(9), stand_in);
  EXPECT_EQ(font_face_weight(9), 400);
#else
  // Any other missing family also comes out as Lato, at the weight asked.
  EXPECT_EQ(font_face_family(9), "Lato");
  EXPECT_EQ(font_face_weight(9), 700);
#endif
}

TEST_F(GameFonts, TheEmHeightIsInPixels) {
  // A capital stands about 0.72 em high in both Arial Black and Lato: some
  // 38 pixels for the 53 pixels of font 0. Read as points, the 40 would
  // have become 53 points and capitals of about 50 pixels.
  ImageBuffer img = ink::render(200, 100, -1, 0, ink::kText, [] { vector_draw_text("H"); });
  ink::Box b = ink::box(img, -1);
  ASSERT_FALSE(b.empty());
  EXPECT_GE(b.height(), 34);
  EXPECT_LE(b.height(), 42);
}

TEST_F(GameFonts, StyleFlagsShowInTheInk) {
  ASSERT_NE(font_load(10, "Lato", 30, 0), 0);
  ASSERT_NE(font_load(11, "Lato", 30, kFontBold), 0);
  ASSERT_NE(font_load(12, "Lato", 30, kFontUnderline), 0);
  ASSERT_NE(font_load(13, "Lato", 30, kFontStrikeOut), 0);
  auto draw = [](int font) {
    return ink::render(300, 80, -1, font, ink::kText, [] { vector_draw_text("mnl"); });
  };
  ink::Box plain = ink::box(draw(10), -1);
  ink::Box bold = ink::box(draw(11), -1);
  ink::Box under = ink::box(draw(12), -1);
  ink::Box strike = ink::box(draw(13), -1);
  ASSERT_FALSE(plain.empty());
  EXPECT_GT(bold.pixels, plain.pixels * 11 / 10);
  EXPECT_GT(bold.width(), plain.width());
  EXPECT_GT(under.bottom, plain.bottom);  // a line below the baseline
  EXPECT_GT(strike.pixels, plain.pixels);  // a line through the letters...
  EXPECT_LE(strike.bottom, plain.bottom);  // ...not below them
}

// The mean x of the inked pixels in rows y0 to y1.
double ink_centre_x(const ImageBuffer& img, int y0, int y1) {
  double sum = 0;
  int n = 0;
  for (int y = y0; y <= y1; ++y)
    for (int x = 0; x < img.width; ++x)
      if (ink::inked(img, x, y, -1)) {
        sum += x;
        ++n;
      }
  return n ? sum / n : -1;
}

TEST_F(GameFonts, ItalicLeansTheLettersToTheRight) {
  ASSERT_NE(font_load(10, "Arial Black", 40, kFontItalic), 0);
  auto lean = [](int font) {
    ImageBuffer img = ink::render(200, 100, -1, font, ink::kText, [] {
      vector_move_to(20, 0);
      vector_draw_text("l");
    });
    ink::Box b = ink::box(img, -1);
    EXPECT_GT(b.height(), 30);
    int third = b.height() / 3;
    return ink_centre_x(img, b.top, b.top + third) - ink_centre_x(img, b.bottom - third, b.bottom);
  };
  EXPECT_NEAR(lean(0), 0, 1.0);  // an upright stem
  EXPECT_GT(lean(10), 2.5);      // some 7 degrees over two thirds of 38 pixels
}

}  // namespace
