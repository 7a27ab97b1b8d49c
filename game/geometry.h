// The size of the screen and where the board sits on it: the card size and
// the position of the top-left card, computed from the screen size whenever
// the display opens.
#pragma once

// Size of the screen to open, pixels; 0 until the start-up chooses it.
extern int ScreenWidth;
extern int ScreenHeight;

constexpr int kBoardColumns = 8;
constexpr int kBoardRows = 6;
// Pixels between neighbouring cards.
constexpr int kCardGap = 10;

// Side of a (square) card in pixels; 0 until ComputeBoardGeometry runs.
extern int CardSize;
// Screen position of the top-left card; may be negative on a screen too
// narrow for the board, which then loses equal parts on both sides.
extern int BoardLeft;
extern int BoardTop;

// Sets CardSize, BoardLeft and BoardTop for a screen of width by height
// pixels. Called at start-up once the screen size is known and after every
// reopening of the display, each time followed by LayoutBoard.
void ComputeBoardGeometry(int width, int height);

// Left edge of the cards in a column and top edge of the cards in a row,
// from the current geometry.
int CardColumnX(int column);
int CardRowY(int row);

// Puts the geometry back to its state before the first computation (tests).
void ResetBoardGeometry();
