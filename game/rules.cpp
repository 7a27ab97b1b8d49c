// Turning cards and resolving a move.
#include "game/rules.h"

#include "game/board.h"
#include "game/screen_state.h"

namespace {

// Strictly inside: the edge lines at X and X + CardSize belong to no card.
bool Hits(const BoardCard& card, int px, int py) {
  return px > card.X && px < card.X + CardSize && py > card.Y && py < card.Y + CardSize;
}

}  // namespace

bool TurnCardAt(int px, int py) {
  if (ScreenState != Playing || CardsTurned >= 2) return false;
  for (int row = 0; row < kBoardRows; ++row) {
    for (int column = 0; column < kBoardColumns; ++column) {
      BoardCard& card = CardAt(column, row);
      if (!Hits(card, px, py)) continue;
      // Cards do not overlap, so the first hit is the only one.
      if (card.State != FaceDown) return false;
      card.State = FaceUp;
      (CardsTurned == 0 ? FirstPick : SecondPick) = BoardPos{column, row};
      ++CardsTurned;
      return true;
    }
  }
  return false;
}

void ResolveMove() {
  if (CardsTurned != 2) return;
  BoardCard& first = CardAt(FirstPick);
  BoardCard& second = CardAt(SecondPick);
  if (first.Face == second.Face) {
    if (MatchFade == kMatchFadeRest) {
      first.State = Vanishing;
      second.State = Vanishing;
    } else if (MatchFade <= 0) {
      first.State = Removed;
      second.State = Removed;
      CardsTurned = 0;
      CardsLeft -= 2;
      if (CardsLeft == 0) {
        ShowWellDone();
        WellDoneFade = 0;
        GameInProgress = 0;
      }
      MatchFade = kMatchFadeRest;
    }
    // Otherwise the pair is still fading: drawing brings MatchFade down.
    return;
  }
  if (MismatchPauseOver(kMismatchFrames)) {
    first.State = FaceDown;
    second.State = FaceDown;
    CardsTurned = 0;
  }
}

void LowerMatchFade() {
  // From 255 in steps of 4 the value goes 3, -1 and never meets 0; stopping
  // at or below 0 means a frame drawn before the removal check can never
  // draw a negative intensity.
  if (MatchFade > 0) MatchFade -= kMatchFadeStep;
}

void RaiseWellDoneFade() {
  if (WellDoneFade < kWellDoneFadeFull) WellDoneFade += kWellDoneFadeStep;
}
