// Paragraphs: wrapping at word boundaries, the alignment of every line, the
// cut at the box's height and where the pen goes afterwards.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/engine/text/ink.h"
#include "engine/text/text_backend.h"

namespace {

using ink::GameFonts;

const char kQuestion[] = "Do you really want to quit the game";

// The box is wide enough for "Do you really want t" but not for the whole
// word "to", so the question must break into "Do you really want" and "to
// quit the game", and a break inside the word would show.
double box_for_two_lines() {
  double w = 0;
  ink::render(10, 10, -1, 3, ink::kText, [&] { w = vector_text_width("Do you really want t"); });
  return w + 1;
}

ImageBuffer question(int flags, double box_width, double box_height) {
  return ink::render(540, 200, -1, 3, ink::kText, [&] {
    vector_move_to(20, 10);
    vector_draw_paragraph(kQuestion, box_width, box_height, flags);
  });
}

TEST_F(GameFonts, ACentredParagraphWrapsAtWordsAndCentresEachLine) {
  double box = box_for_two_lines();
  double first = 0, second = 0;
  ink::render(10, 10, -1, 3, ink::kText, [&] {
    first = vector_text_width("Do you really want");
    second = vector_text_width("to quit the game");
  });
  ImageBuffer img = question(kParagraphCentre, box, 150);
  std::vector<ink::Box> rows = ink::lines(img, -1);
  ASSERT_EQ(rows.size(), 2u);
  // Each line is the words it should hold, whole...
  EXPECT_NEAR(rows[0].width(), first, 5);
  EXPECT_NEAR(rows[1].width(), second, 5);
  // ...centred in the box that starts at the pen.
  for (const ink::Box& r : rows) {
    EXPECT_NEAR(r.centre_x(), 20 + box / 2, 3);
    EXPECT_GE(r.left, 20);
    EXPECT_LE(r.right, 20 + box);
  }
  EXPECT_GE(rows[0].top, 10);
  EXPECT_GT(rows[1].top, rows[0].bottom);
}

TEST_F(GameFonts, LeftAndRightParagraphsLineUpOnTheirSide) {
  double box = box_for_two_lines();
  std::vector<ink::Box> left = ink::lines(question(0, box, 150), -1);
  std::vector<ink::Box> right = ink::lines(question(kParagraphRight, box, 150), -1);
  ASSERT_EQ(left.size(), 2u);
  ASSERT_EQ(right.size(), 2u);
  for (const ink::Box& r : left) EXPECT_NEAR(r.left, 20, 3);
  for (const ink::Box& r : right) EXPECT_NEAR(r.right + 1, 20 + box, 3);
  // Right alignment wins when both flags are given.
  std::vector<ink::Box> both = ink::lines(question(kParagraphRight | kParagraphCentre, box, 150), -1);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[1].left, right[1].left);
}

TEST_F(GameFonts, WhatDoesNotFitTheBoxIsCutAndThePenGoesBelow) {
  // Three lines' worth into a box one and a half lines high.
  double box = box_for_two_lines() * 0.6;
  double pen_y = 0, pen_x = 0, line = 0;
  ImageBuffer cut = ink::render(540, 200, -1, 3, ink::kText, [&] {
    vector_move_to(20, 10);
    vector_draw_paragraph(kQuestion, box, 45, kParagraphCentre);
    pen_x = vector_pen_x();
    pen_y = vector_pen_y();
    vector_move_to(0, 100);
    vector_draw_paragraph("quit", 300, 80, 0);  // one short line
    line = vector_pen_y() - 100;
    vector_draw_paragraph("", 300, 80, 0);  // an empty one takes no room
    EXPECT_EQ(vector_pen_y(), 100 + line);
  });
  EXPECT_EQ(pen_x, 20);
  EXPECT_EQ(pen_y, 10 + 45);
  EXPECT_GT(line, 25);  // the height of one line of a 27-pixel font
  EXPECT_LT(line, 45);
  ink::Box in_box = ink::box(cut, -1, 0, 99);
  ASSERT_FALSE(in_box.empty());
  EXPECT_LT(in_box.bottom, 55);  // nothing below the box
  EXPECT_GE(in_box.top, 10);
  EXPECT_GE(in_box.left, 20);
  EXPECT_LE(in_box.right, 20 + box);
  EXPECT_FALSE(ink::box(cut, -1, 100, 199).empty());

  // The same text with room enough reaches below where the cut was.
  ink::Box whole = ink::box(question(kParagraphCentre, box, 150), -1);
  EXPECT_GT(whole.bottom, 60);
}

TEST_F(GameFonts, AWordWiderThanTheBoxStaysInsideIt) {
  ImageBuffer img = ink::render(300, 200, -1, 3, ink::kText, [] {
    vector_move_to(10, 0);
    vector_draw_paragraph("Unquestionably", 60, 200, 0);
  });
  ink::Box b = ink::box(img, -1);
  ASSERT_FALSE(b.empty());
  EXPECT_GE(b.left, 10);
  EXPECT_LE(b.right, 70);
  EXPECT_GE(ink::lines(img, -1).size(), 2u);
}

TEST_F(GameFonts, EveryLineOfAnUnderlinedParagraphIsUnderlined) {
  ASSERT_NE(font_load(20, "Arial Black", 20, kFontHighQuality | kFontUnderline), 0);
  double box = box_for_two_lines();
  auto draw = [&](int font) {
    return ink::render(540, 200, -1, font, ink::kText, [&] {
      vector_move_to(20, 10);
      vector_draw_paragraph(kQuestion, box, 150, kParagraphCentre);
    });
  };
  ImageBuffer plain = draw(3);
  ImageBuffer under = draw(20);
  std::vector<ink::Box> rows = ink::lines(plain, -1);
  ASSERT_EQ(rows.size(), 2u);
  // Rows where the underline added a bar of ink at least half a line wide.
  std::vector<int> bars;
  for (int y = 0; y < under.height; ++y) {
    int added = 0;
    for (int x = 0; x < under.width; ++x) added += ink::inked(under, x, y, -1) && !ink::inked(plain, x, y, -1);
    if (added > rows[1].width() / 2) bars.push_back(y);
  }
  for (const ink::Box& r : rows) {
    // A bar in the lower part of each line, reaching at most a few pixels
    // below its letters, spanning the line's own width and no more.
    auto in_line = [&](int y) { return y > (r.top + r.bottom) / 2 && y <= r.bottom + 6; };
    auto bar = std::find_if(bars.begin(), bars.end(), in_line);
    ASSERT_NE(bar, bars.end()) << "no underline below the line at " << r.top;
    ink::Box b = ink::box(under, -1, *bar, *bar);
    EXPECT_NEAR(b.left, r.left, 5);
    EXPECT_NEAR(b.right, r.right, 5);
  }
  int first_bar = bars.front(), last_bar = bars.back();
  EXPECT_GT(first_bar, rows[0].top);
  EXPECT_LE(last_bar, rows[1].bottom + 6);
}

TEST_F(GameFonts, ABoxWithoutSidesNeitherWrapsNorCuts) {
  double whole = 0, pen_y = 0;
  ImageBuffer img = ink::render(800, 200, -1, 3, ink::kText, [&] {
    whole = vector_text_width(kQuestion);
    vector_move_to(30, 120);
    // Centred or not, the one line starts at the pen.
    vector_draw_paragraph(kQuestion, 0, -5, kParagraphCentre);
    pen_y = vector_pen_y();
  });
  std::vector<ink::Box> rows = ink::lines(img, -1);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_NEAR(rows[0].left, 30, 3);
  EXPECT_NEAR(rows[0].right + 1, 30 + whole, 4);
  EXPECT_GT(pen_y, 120 + 25);  // moved down by the line's height
  EXPECT_LT(pen_y, 120 + 45);
}

}  // namespace
