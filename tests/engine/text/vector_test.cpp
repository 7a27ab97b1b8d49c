// The vector pass on single lines: measuring, the pen, the pixels and alpha
// it leaves in the image, and the ways a pass can fail to start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tests/engine/text/ink.h"
#include "engine/text/text_backend.h"
#include "tests/support/text_probe.h"

namespace {

using ink::GameFonts;

// Runs fn inside a pass on a fresh transparent image with font 0.
template <typename F>
void in_pass(F fn) {
  ASSERT_NE(image_create(7, 600, 80, 32, -1), 0);
  ASSERT_NE(vector_start(image_vector_target(7, kVectorUnitPixel)), 0);
  vector_font(font_handle(0));
  fn();
  vector_stop();
}

TEST_F(GameFonts, WidthsGrowWithTheTextAndCountTrailingBlanks) {
  in_pass([] {
    double s = vector_text_width("S");
    double st = vector_text_width("St");
    double start = vector_text_width("Start");
    EXPECT_GT(s, 0);
    EXPECT_GT(st, s);
    EXPECT_GT(start, st);
    double one = vector_text_width("Start ") - start;
    double two = vector_text_width("Start  ") - start;
    EXPECT_GT(one, 5);  // a blank of a 53-pixel font
    EXPECT_NEAR(two, 2 * one, 1.0);
    EXPECT_EQ(vector_text_width(""), 0);

    // Measuring neither depends on nor moves the pen.
    vector_move_to(123.5, 17);
    EXPECT_EQ(vector_text_width("Start"), start);
    EXPECT_EQ(vector_pen_x(), 123.5);
    EXPECT_EQ(vector_pen_y(), 17);
  });
  EXPECT_TRUE(ink::box(*image_handle(7), -1).empty());  // measuring drew nothing
}

TEST_F(GameFonts, EachDrawMovesThePenByItsWidthSoDrawsJoinUp) {
  double hi = 0;
  in_pass([&] {
    hi = vector_text_width("HI");
    double h = vector_text_width("H");
    vector_move_to(10, 5);
    vector_draw_text("H");
    EXPECT_DOUBLE_EQ(vector_pen_x(), 10 + h);
    EXPECT_EQ(vector_pen_y(), 5);
    vector_draw_text("I");
    EXPECT_DOUBLE_EQ(vector_pen_x(), 10 + h + vector_text_width("I"));
  });
  ImageBuffer apart = ink::render(200, 80, ink::kPanel, 0, ink::kText, [] {
    vector_draw_text("H");
    vector_draw_text("I");
  });
  ImageBuffer joined = ink::render(200, 80, ink::kPanel, 0, ink::kText, [] { vector_draw_text("HI"); });
  int differing = 0;
  for (size_t i = 0; i < joined.pixels.size(); ++i)
    if (std::abs(joined.pixels[i] - apart.pixels[i]) > 16) ++differing;
  EXPECT_LE(differing, 20);
  ink::Box b = ink::box(apart, ink::kPanel);
  EXPECT_NEAR(b.right + 1, hi, 4);  // the "I" ends where "HI" does
}

TEST_F(GameFonts, LettersKeepTheirOwnShapesAndAdvances) {
  // Text is set glyph after glyph at each glyph's own advance, as GDI+ sets
  // it: "tt" is not joined into a ligature and "To" is not kerned, so a
  // caption is as wide, and centred the same, on every platform.
  in_pass([] {
    for (const char* pair : {"To", "AV", "Yo", "tt", "fi"}) {
      std::string text(pair);
      EXPECT_EQ(vector_text_width(text), vector_text_width(text.substr(0, 1)) + vector_text_width(text.substr(1)))
          << text;
    }
  });
  for (const char* pair : {"tt", "fi"}) {
    std::string text(pair);
    ImageBuffer whole = ink::render(200, 80, ink::kPanel, 0, ink::kText, [&] { vector_draw_text(text); });
    ImageBuffer apart = ink::render(200, 80, ink::kPanel, 0, ink::kText, [&] {
      vector_draw_text(text.substr(0, 1));
      vector_draw_text(text.substr(1));
    });
    int differing = 0;
    for (size_t i = 0; i < whole.pixels.size(); ++i) differing += whole.pixels[i] != apart.pixels[i];
    EXPECT_EQ(differing, 0) << text;
  }
}

TEST_F(GameFonts, ATransparentImageGetsInkOnlyWhereTheTextIs) {
  ImageBuffer img = ink::render(500, 80, -1, 0, ink::kText, [] { vector_draw_text("Start"); });
  ink::Box b = ink::box(img, -1);
  ASSERT_FALSE(b.empty());
  EXPECT_LE(b.left, 3);  // the text stands at the pen's corner
  EXPECT_LT(b.right, 250);
  int solid = 0, edge = 0;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const uint8_t* p = img.row(y) + x * 4;
      if (x > b.right || y > b.bottom || y < b.top) {
        ASSERT_EQ(p[0] | p[1] | p[2] | p[3], 0) << x << "," << y;  // still transparent black
      } else if (p[3] == 255) {
        ++solid;
        ASSERT_EQ(p[2], 224);
        ASSERT_EQ(p[1], 80);
        ASSERT_EQ(p[0], 40);
      } else if (p[3] >= 64) {
        // Antialiased edges keep the text colour with partial alpha, not a
        // colour darkened by premultiplication.
        ++edge;
        ASSERT_NEAR(p[2], 224, 3);
        ASSERT_NEAR(p[1], 80, 3);
        ASSERT_NEAR(p[0], 40, 3);
      }
    }
  EXPECT_GT(solid, 200);
  EXPECT_GT(edge, 20);
}

TEST_F(GameFonts, TextOnAPanelIsOpaqueAndDimmedTextBlends) {
  const uint32_t dimmed = (ink::kText & 0xFFFFFF) | (179u << 24);
  for (uint32_t color : {ink::kText, dimmed}) {
    ImageBuffer img = ink::render(500, 80, ink::kPanel, 0, color, [] { vector_draw_text("Quit"); });
    ink::Box b = ink::box(img, ink::kPanel);
    ASSERT_FALSE(b.empty());
    double a = (color >> 24) / 255.0;
    int full = 0;
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x) {
        const uint8_t* p = img.row(y) + x * 4;
        ASSERT_EQ(p[3], 255);
        if (x > b.right + 1) {
          ASSERT_TRUE(p[2] == 241 && p[1] == 172 && p[0] == 71);
        }
        // The inside of a stroke: furthest from the panel's red.
        if (std::abs(p[2] - (224 * a + 241 * (1 - a))) < 1.5 && std::abs(p[1] - (80 * a + 172 * (1 - a))) < 1.5 &&
            std::abs(p[0] - (40 * a + 71 * (1 - a))) < 1.5)
          ++full;
      }
    EXPECT_GT(full, 200) << "alpha " << (color >> 24);
  }
}

TEST_F(GameFonts, AnImageWithoutAlphaStaysOpaque) {
  ASSERT_NE(image_create(9, 300, 80, 24, ink::kPanel), 0);
  ASSERT_NE(vector_start(image_vector_target(9, kVectorUnitPixel)), 0);
  vector_font(font_handle(0));
  vector_color(ink::kText & 0x7FFFFFFF);  // half transparent text
  vector_draw_text("Quit");
  vector_stop();
  const ImageBuffer& img = *image_handle(9);
  int inked = 0;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const uint8_t* p = img.row(y) + x * 4;
      ASSERT_EQ(p[3], 255) << x << "," << y;
      // Half of the text's colour over the panel, inside the strokes.
      if (std::abs(p[2] - 232) <= 2 && std::abs(p[1] - 126) <= 2 && std::abs(p[0] - 55) <= 2) ++inked;
    }
  EXPECT_GT(inked, 200);
}

TEST_F(GameFonts, JapaneseCaptionsDrawTheirOwnGlyphs) {
  // Neither Arial Black nor Lato has kana or kanji: another face must
  // stand in, or every character becomes the same empty box.
  const char kSettings[] = "\xe8\xa8\xad\xe5\xae\x9a";  // two kanji
  double width = 0, latin = 0;
  ImageBuffer first = ink::render(100, 60, -1, 3, ink::kText, [&] {
    width = vector_text_width(kSettings);
    latin = vector_text_width("OK");
    vector_draw_text("\xe8\xa8\xad");
  });
  ImageBuffer second = ink::render(100, 60, -1, 3, ink::kText, [] { vector_draw_text("\xe5\xae\x9a"); });
  EXPECT_GT(width, 1.6 * font_pixel_size(3));  // kanji are about one em wide each
  EXPECT_GT(latin, 0);
  ink::Box a = ink::box(first, -1), b = ink::box(second, -1);
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  int differing = 0;
  for (int y = 0; y < first.height; ++y)
    for (int x = 0; x < first.width; ++x) differing += ink::inked(first, x, y, -1) != ink::inked(second, x, y, -1);
  EXPECT_GT(differing, a.pixels / 3);
}

TEST_F(GameFonts, TextReachingOutOfTheImageIsCutAtItsEdges) {
  ImageBuffer whole = ink::render(300, 80, -1, 0, ink::kText, [] { vector_draw_text("Start"); });
  ImageBuffer cut = ink::render(300, 80, -1, 0, ink::kText, [] {
    vector_move_to(-20, -15);
    vector_draw_text("Start");
    // Far away, nothing shows and nothing breaks.
    vector_move_to(1e12, 1e12);
    vector_draw_text("Start");
    vector_move_to(-1e12, 20);
    vector_draw_paragraph("Start", 1e12, 1e12, kParagraphCentre);
    vector_move_to(0, -1e12);
    vector_draw_paragraph("Start", 300, 1e12, 0);
  });
  ink::Box b = ink::box(cut, -1);
  ASSERT_FALSE(b.empty());
  EXPECT_EQ(b.left, 0);
  EXPECT_EQ(b.top, 0);
  // What shows is the whole caption moved by the pen.
  int differing = 0;
  for (int y = 0; y < cut.height; ++y)
    for (int x = 0; x < cut.width; ++x) {
      int sx = x + 20, sy = y + 15;
      int want = sx < whole.width && sy < whole.height ? whole.row(sy)[sx * 4 + 3] : 0;
      if (std::abs(cut.row(y)[x * 4 + 3] - want) > 32) ++differing;
    }
  EXPECT_LE(differing, 10);
}

TEST_F(GameFonts, PixelsThePassDoesNotTouchKeepTheirExactValue) {
  auto buffer = std::make_unique<ImageBuffer>();
  buffer->width = 300;
  buffer->height = 60;
  buffer->pixels.assign(300 * 60 * 4, 0);
  for (size_t i = 0; i < buffer->pixels.size(); i += 4) {
    buffer->pixels[i] = 50;  // a faint colour that premultiplying would lose
    buffer->pixels[i + 1] = 100;
    buffer->pixels[i + 2] = 200;
    buffer->pixels[i + 3] = 10;
  }
  ASSERT_NE(image_store(8, std::move(buffer)), 0);
  ASSERT_NE(vector_start(image_vector_target(8, kVectorUnitPixel)), 0);
  vector_font(font_handle(1));
  vector_color(ink::kText);
  vector_draw_text("ok");
  vector_stop();
  const ImageBuffer& img = *image_handle(8);
  int touched = 0;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const uint8_t* p = img.row(y) + x * 4;
      if (x >= 60 || y >= 30) {
        ASSERT_TRUE(p[0] == 50 && p[1] == 100 && p[2] == 200 && p[3] == 10) << x << "," << y;
      }
      if (p[3] > 10) ++touched;
    }
  EXPECT_GT(touched, 20);
}

TEST_F(GameFonts, InkInTheLastPixelsOfAnOddSizedImageIsKept) {
  // 300 x 61 pixels is not a whole number of the stretches the end of a pass
  // compares: an "H" cut by the bottom edge at the right end puts ink into
  // the very last pixels. The rows both images have must come out alike.
  auto draw = [](int number, int height) {
    ASSERT_NE(image_create(number, 300, height, 32, -1), 0);
    ASSERT_NE(vector_start(image_vector_target(number, kVectorUnitPixel)), 0);
    vector_font(font_handle(0));
    vector_color(ink::kText);
    vector_move_to(262, 61 - 40);
    vector_draw_text("H");
    vector_stop();
  };
  draw(8, 61);
  draw(9, 62);
  const ImageBuffer& odd = *image_handle(8);
  const ImageBuffer& taller = *image_handle(9);
  int inked_at_end = 0;
  for (int x = 288; x < 300; ++x) inked_at_end += ink::inked(odd, x, 60, -1) ? 1 : 0;
  ASSERT_GT(inked_at_end, 0) << "the test needs ink in the last pixels";
  for (int y = 0; y < 61; ++y) {
    ASSERT_TRUE(std::equal(odd.row(y), odd.row(y) + 300 * 4, taller.row(y))) << "row " << y;
  }
}

TEST_F(GameFonts, MissingImagesAndMisuseStartNothing) {
  EXPECT_FALSE(image_vector_target(40, kVectorUnitPixel));  // no such image
  EXPECT_FALSE(image_vector_target(-1, kVectorUnitPixel));
  EXPECT_EQ(vector_start(VectorTarget()), 0);
  ASSERT_NE(image_create(40, 100, 40, 32, ink::kPanel), 0);
  EXPECT_FALSE(image_vector_target(40, 3));  // only pixel units
  VectorTarget target = image_vector_target(40, kVectorUnitPixel);
  ASSERT_TRUE(target);
  image_free(40);
  EXPECT_EQ(vector_start(target), 0);  // the image went away since

  // Outside a pass every call is harmless and measures nothing.
  vector_font(font_handle(0));
  vector_move_to(5, 5);
  vector_draw_text("Start");
  vector_draw_paragraph("Start", 100, 100, 0);
  EXPECT_EQ(vector_text_width("Start"), 0);
  vector_stop();

  ASSERT_NE(image_create(41, 100, 40, 32, -1), 0);
  ASSERT_NE(vector_start(image_vector_target(41, kVectorUnitPixel)), 0);
  EXPECT_EQ(vector_start(image_vector_target(41, kVectorUnitPixel)), 0);  // not nested
  vector_draw_text("Start");  // no font chosen yet: nothing
  EXPECT_EQ(vector_text_width("Start"), 0);
  EXPECT_EQ(vector_pen_x(), 0);
  vector_font(font_handle(2));
  font_free(2);  // the pass keeps its own copy of the font
  EXPECT_GT(vector_text_width("Start"), 0);
  vector_draw_text("Start");
  // The image is made anew under its number before the pass ends: the new
  // image is left alone.
  ASSERT_NE(image_create(41, 50, 20, 32, -1), 0);
  vector_stop();
  EXPECT_TRUE(ink::box(*image_handle(41), -1).empty());

  // Text with bytes that are not UTF-8 still draws, and stops at a NUL.
  ASSERT_NE(vector_start(image_vector_target(41, kVectorUnitPixel)), 0);
  vector_font(font_handle(1));
  EXPECT_GT(vector_text_width("ab\xff\xfe"), vector_text_width("ab"));
  EXPECT_EQ(vector_text_width(std::string("ab\0cd", 5)), vector_text_width("ab"));
  vector_stop();
}

}  // namespace
