// Shared steps for the game tests.
#include "tests/game/play_helpers.h"

#include <gtest/gtest.h>

#include "game/flow.h"
#include "game/geometry.h"
#include "game/random.h"

namespace play {

void FreshState(unsigned seed) {
  ResetBoard();
  ResetScreenState();
  random_seed(seed);
  ComputeBoardGeometry(1280, 720);
  PrepareStartBoard();
  ScreenState = MainMenu;
}

void DealFromMenu() {
  ScreenState = MainMenu;
  ASSERT_TRUE(StartFromMenu());
  ASSERT_EQ(ScreenState, Playing);
}

bool ClickCard(int column, int row) {
  const BoardCard& card = CardAt(column, row);
  return TurnCardAt(card.X + CardSize / 2, card.Y + CardSize / 2);
}

std::vector<int> DrawFrame() {
  std::vector<int> drawn;
  for (int row = 0; row < kBoardRows; ++row) {
    for (int column = 0; column < kBoardColumns; ++column) {
      if (CardAt(column, row).State != Vanishing) continue;
      drawn.push_back(MatchFade);
      LowerMatchFade();
    }
  }
  return drawn;
}

void Pass() {
  DrawFrame();
  ResolveMove();
}

BoardPos PartnerOf(BoardPos pos) {
  const int face = CardAt(pos).Face;
  for (int column = 0; column < kBoardColumns; ++column) {
    for (int row = 0; row < kBoardRows; ++row) {
      if ((column != pos.Column || row != pos.Row) && CardAt(column, row).Face == face) {
        return BoardPos{column, row};
      }
    }
  }
  ADD_FAILURE() << "face " << face << " lies only once on the board";
  return pos;
}

BoardPos FirstFaceDown() {
  for (int column = 0; column < kBoardColumns; ++column) {
    for (int row = 0; row < kBoardRows; ++row) {
      if (CardAt(column, row).State == FaceDown) return BoardPos{column, row};
    }
  }
  ADD_FAILURE() << "no face-down card left";
  return BoardPos{};
}

bool MismatchFor(BoardPos pos, BoardPos* out) {
  for (int column = 0; column < kBoardColumns; ++column) {
    for (int row = 0; row < kBoardRows; ++row) {
      const BoardCard& card = CardAt(column, row);
      if (card.State == FaceDown && card.Face != CardAt(pos).Face) {
        *out = BoardPos{column, row};
        return true;
      }
    }
  }
  return false;
}

}  // namespace play
