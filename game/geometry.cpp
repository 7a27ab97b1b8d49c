// The board geometry: card size from the screen height (or, on the two
// 5:4 screens, from the width) and a board centred with the gaps split evenly.
#include "game/geometry.h"

int ScreenWidth = 0;
int ScreenHeight = 0;
int CardSize = 0;
int BoardLeft = 0;
int BoardTop = 0;

namespace {

// No display comes near this size; keeping the sizes within it keeps every
// product below well inside 32 bits, whatever a settings file asks for.
constexpr int kMaxScreenSide = 1 << 20;

int ClampSide(int side) {
  if (side < 0) return 0;
  return side > kMaxScreenSide ? kMaxScreenSide : side;
}

}  // namespace

void ComputeBoardGeometry(int width, int height) {
  width = ClampSide(width);
  height = ClampSide(height);
  // 1280x1024 (and its portrait twin) is narrower than 4:3: sized by height
  // the board would not fit across, so these two take the size from the width.
  if ((width == 1280 && height == 1024) || (width == 1024 && height == 1280)) {
    CardSize = (width - 80) / kBoardColumns;
  } else {
    CardSize = (height - 60) / kBoardRows;
  }
  const int pitch = CardSize + kCardGap;
  // The last card's trailing gap is split between the two sides, hence + 5.
  BoardLeft = (width - pitch * kBoardColumns) / 2 + kCardGap / 2;
  BoardTop = (height - pitch * kBoardRows) / 2 + kCardGap / 2;
}

int CardColumnX(int column) { return BoardLeft + (CardSize + kCardGap) * column; }

int CardRowY(int row) { return BoardTop + (CardSize + kCardGap) * row; }

void ResetBoardGeometry() {
  CardSize = 0;
  BoardLeft = 0;
  BoardTop = 0;
}
