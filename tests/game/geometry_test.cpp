// Board geometry and layout on the known screens, portrait and extra-wide
// screens, every size in a sweep, and sizes no display has.
#include "game/geometry.h"

#include <gtest/gtest.h>

#include "game/board.h"

namespace {

TEST(BoardGeometry, ScreensOfEveryShape) {
  struct Screen {
    int width, height, card_size, left, top, right_edge, bottom_edge;  // edges of card (7, 5)
  };
  const Screen screens[] = {
      {1280, 720, 110, 165, 5, 1115, 715},
      {1920, 1080, 170, 245, 5, 1675, 1075},
      {1280, 1024, 150, 5, 37, 1275, 987},  // sized by the width
      {1024, 768, 118, 5, 5, 1019, 763},
      {1366, 768, 118, 176, 5, 1190, 763},
      {1280, 800, 123, 113, 6, 1167, 794},
      {1024, 1280, 118, 5, 261, 1019, 1019},  // portrait twin, also by the width
      {768, 1024, 160, -291, 7, 1059, 1017},  // other portraits overflow the sides
      {1600, 1280, 203, -47, 6, 1647, 1274},  // narrower than 4:3, by the height
      {2560, 1080, 170, 565, 5, 1995, 1075},
      {3840, 1080, 170, 1205, 5, 2635, 1075},
  };
  for (const Screen& s : screens) {
    SCOPED_TRACE(testing::Message() << s.width << "x" << s.height);
    ResetBoard();
    ComputeBoardGeometry(s.width, s.height);
    LayoutBoard();
    EXPECT_EQ(CardSize, s.card_size);
    EXPECT_EQ(CardAt(0, 0).X, s.left);
    EXPECT_EQ(CardAt(0, 0).Y, s.top);
    EXPECT_EQ(BoardLeft, s.left);
    EXPECT_EQ(BoardTop, s.top);
    EXPECT_EQ(CardAt(7, 5).X + CardSize, s.right_edge);
    EXPECT_EQ(CardAt(7, 5).Y + CardSize, s.bottom_edge);
  }
}

// Centred: the margin after the last card equals the one before the first,
// plus the odd pixel of the leftover (minus it when the board is wider than
// the screen); cards sit at a pitch of CardSize + 10.
TEST(BoardGeometry, CentredOnEverySize) {
  for (int width = 600; width <= 4000; width += 37) {
    for (int height = 400; height <= 2400; height += 41) {
      SCOPED_TRACE(testing::Message() << width << "x" << height);
      ComputeBoardGeometry(width, height);
      LayoutBoard();
      ASSERT_EQ(CardSize, (height - 60) / 6);
      const int pitch = CardSize + kCardGap;
      const int spare_x = width - pitch * kBoardColumns, spare_y = height - pitch * kBoardRows;
      ASSERT_EQ(width - (CardAt(7, 0).X + CardSize) - BoardLeft, spare_x % 2);
      ASSERT_EQ(height - (CardAt(0, 5).Y + CardSize) - BoardTop, spare_y % 2);
      ASSERT_EQ(CardAt(3, 2).X - CardAt(2, 2).X, pitch);
      ASSERT_EQ(CardAt(2, 3).Y - CardAt(2, 2).Y, pitch);
    }
  }
}

// A settings file can ask for any window size before any display refuses
// it: no overflow (the sanitizer build checks), sizes capped.
TEST(BoardGeometry, AbsurdSizesStayDefined) {
  const int sizes[][2] = {{0, 0}, {10, 10}, {-5, -5}, {-2147483647 - 1, 720}, {1280, 2147483647}};
  for (const auto& size : sizes) {
    ComputeBoardGeometry(size[0], size[1]);
    LayoutBoard();
  }
  EXPECT_EQ(CardSize, ((1 << 20) - 60) / 6);
  EXPECT_EQ(CardAt(0, 0).X, (1280 - (CardSize + 10) * 8) / 2 + 5);
}

}  // namespace
