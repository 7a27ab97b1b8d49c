// Shared steps for the game tests: a known state, clicks on card centres,
// and one pass of the loop as far as the rules see it.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "game/board.h"
#include "game/board_view.h"
#include "game/flow.h"
#include "game/random.h"
#include "game/rules.h"
#include "game/screen_state.h"

namespace play {

// Everything reset, the start-up board on a 1280x720 screen, the main menu.
inline void FreshState(uint32_t seed = 1234) {
  ResetBoard();
  ResetScreenState();
  random_seed(seed);
  ComputeBoardGeometry(1280, 720);
  PrepareStartBoard();
  ScreenState = MainMenu;
}

inline bool Click(BoardPos p) {
  const BoardCard& card = CardAt(p);
  return TurnCardAt(card.X + CardSize / 2, card.Y + CardSize / 2);
}

// What drawing one frame of the board does to the game: cards are drawn row
// by row, left to right, each vanishing one at the current MatchFade, which
// then drops. Returns the intensities of the vanishing cards in that order.
inline std::vector<int> DrawFrame() {
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

// One active pass: the frame is drawn, then the move is checked.
inline void Pass() {
  DrawFrame();
  ResolveMove();
}

// The first face-down card in storage order whose face is (same) or is not
// (!same) the face of the card at pos, other than pos itself; {-1, -1} if none.
inline BoardPos FindCard(BoardPos pos, bool same) {
  for (int column = 0; column < kBoardColumns; ++column) {
    for (int row = 0; row < kBoardRows; ++row) {
      const BoardCard& card = CardAt(column, row);
      if ((column == pos.Column && row == pos.Row) || card.State != FaceDown) continue;
      if ((card.Face == CardAt(pos).Face) == same) return BoardPos{column, row};
    }
  }
  return BoardPos{-1, -1};
}

// The first face-down card in storage order.
inline BoardPos FirstFaceDown() {
  for (int slot = 0; slot < kBoardCards; ++slot) {
    if (Board[static_cast<size_t>(slot)].State == FaceDown) return BoardPos{slot / kBoardRows, slot % kBoardRows};
  }
  return BoardPos{-1, -1};
}

// Runs passes until the move is over; returns how many it took.
inline int Settle() {
  int passes = 0;
  while (CardsTurned != 0) {
    if (++passes > 1000) {
      ADD_FAILURE() << "the move never ends";
      break;
    }
    Pass();
  }
  return passes;
}

// Turns two cards and plays the move out; returns the passes it took.
inline int PlayMove(BoardPos a, BoardPos b) {
  EXPECT_TRUE(Click(a));
  EXPECT_TRUE(Click(b));
  return Settle();
}

}  // namespace play
