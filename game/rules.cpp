// Turning cards and resolving a move.
#include "game/rules.h"

#include "game/board.h"
#include "game/geometry.h"
#include "game/screen_state.h"

bool TurnCard(BoardPos pos) {
  if (ScreenState != Playing || CardsTurned >= 2) return false;
  if (pos.Column < 0 || pos.Column >= kBoardColumns || pos.Row < 0 || pos.Row >= kBoardRows) return false;
  BoardCard& card = CardAt(pos);
  if (card.State != FaceDown) return false;
  card.State = FaceUp;
  (CardsTurned == 0 ? FirstPick : SecondPick) = pos;
  ++CardsTurned;
  return true;
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
