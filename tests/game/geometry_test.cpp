// Board geometry and layout: the screens the game is known on, the two
// width-sized 5:4 screens, portrait and extra-wide screens, and sizes no
// display has.
#include "game/geometry.h"

#include <gtest/gtest.h>

#include "game/board.h"

namespace {

struct Screen {
  int width, height;
  int card_size, left, top;
  int right_edge, bottom_edge;  // of the card in column 7, row 5
};

void ExpectLayout(const Screen& s) {
  ResetBoard();
  ComputeBoardGeometry(s.width, s.height);
  LayoutBoard();
  SCOPED_TRACE(testing::Message() << s.width << "x" << s.height);
  EXPECT_EQ(CardSize, s.card_size);
  EXPECT_EQ(BoardLeft, s.left);
  EXPECT_EQ(BoardTop, s.top);
  EXPECT_EQ(CardAt(0, 0).X, s.left);
  EXPECT_EQ(CardAt(0, 0).Y, s.top);
  EXPECT_EQ(CardAt(7, 5).X + CardSize, s.right_edge);
  EXPECT_EQ(CardAt(7, 5).Y + CardSize, s.bottom_edge);
}

TEST(BoardGeometry, KnownScreens) {
  const Screen screens[] = {
      {1280, 720, 110, 165, 5, 1115, 715},
      {1920, 1080, 170, 245, 5, 1675, 1075},
      {1280, 1024, 150, 5, 37, 1275, 987},  // from the width
      {1024, 768, 118, 5, 5, 1019, 763},    // 4:3 fills the width exactly
      {1366, 768, 118, 176, 5, 1190, 763},
      {1280, 800, 123, 113, 6, 1167, 794},
  };
  for (const Screen& s : screens) ExpectLayout(s);
}

TEST(BoardGeometry, PortraitAndExtraWideScreens) {
  const Screen screens[] = {
      // The portrait twin of 1280x1024 is sized by its width too.
      {1024, 1280, 118, 5, 261, 1019, 1019},
      // Other portrait screens go by the height: the board is far wider than
      // the screen and loses equal parts on both sides.
      {768, 1024, 160, -291, 7, 1059, 1017},
      // Narrower than 4:3 but not 1280x1024: still sized by the height.
      {1600, 1280, 203, -47, 6, 1647, 1274},
      // More than twice as wide as high: centred with wide margins.
      {2560, 1080, 170, 565, 5, 1995, 1075},
      {3840, 1080, 170, 1205, 5, 2635, 1075},
  };
  for (const Screen& s : screens) ExpectLayout(s);
}

// The board is centred: the margin right of column 7 equals the one left of
// column 0, or is one pixel wider when the leftover is odd; likewise
// vertically. Cards sit at a pitch of CardSize + 10.
TEST(BoardGeometry, CentredWithEvenGapsOnEverySize) {
  for (int width = 600; width <= 4000; width += 37) {
    for (int height = 400; height <= 2400; height += 41) {
      ComputeBoardGeometry(width, height);
      LayoutBoard();
      SCOPED_TRACE(testing::Message() << width << "x" << height);
      ASSERT_EQ(CardSize, (height - 60) / 6);
      int right_margin = width - (CardAt(7, 0).X + CardSize);
      int bottom_margin = height - (CardAt(0, 5).Y + CardSize);
      int dx = right_margin - BoardLeft;
      int dy = bottom_margin - BoardTop;
      // The odd pixel of the leftover goes right, or, for a board wider than
      // the screen, is cut off on the left.
      const int pitch = CardSize + kCardGap;
      const int spare_x = width - pitch * kBoardColumns, spare_y = height - pitch * kBoardRows;
      ASSERT_EQ(dx, spare_x >= 0 ? spare_x % 2 : -(-spare_x % 2));
      ASSERT_EQ(dy, spare_y >= 0 ? spare_y % 2 : -(-spare_y % 2));
      ASSERT_EQ(CardAt(3, 2).X - CardAt(2, 2).X, CardSize + kCardGap);
      ASSERT_EQ(CardAt(2, 3).Y - CardAt(2, 2).Y, CardSize + kCardGap);
    }
  }
}

// A settings file can ask for any window size; the geometry must not
// overflow (the sanitizer build checks) and stays centred for what it gets.
TEST(BoardGeometry, AbsurdSizesStayDefined) {
  const int sizes[][2] = {{0, 0}, {10, 10}, {-5, -5}, {2147483647, 2147483647},
                          {-2147483647 - 1, 720}, {1280, 2147483647}};
  for (const auto& size : sizes) {
    ComputeBoardGeometry(size[0], size[1]);
    LayoutBoard();
    EXPECT_LE(CardAt(7, 5).X, 1 << 23);
  }
  ComputeBoardGeometry(2147483647, 2147483647);
  EXPECT_GT(CardSize, 100000);  // sized as the largest screen we accept
}

TEST(BoardGeometry, LayoutFollowsANewScreenAndKeepsTheCards) {
  ResetBoard();
  ComputeBoardGeometry(1280, 720);
  CardAt(4, 2) = BoardCard{17, 0, 0, Vanishing};
  LayoutBoard();
  EXPECT_EQ(CardAt(4, 2).X, 165 + 120 * 4);
  EXPECT_EQ(CardAt(4, 2).Y, 5 + 120 * 2);
  ComputeBoardGeometry(1920, 1080);
  LayoutBoard();
  EXPECT_EQ(CardAt(4, 2).X, 245 + 180 * 4);
  EXPECT_EQ(CardAt(4, 2).Y, 5 + 180 * 2);
  EXPECT_EQ(CardAt(4, 2).Face, 17);
  EXPECT_EQ(CardAt(4, 2).State, Vanishing);
}

}  // namespace
