// The focus: where it stands on the current screen and on the board, shown
// or hidden, and its ring.
#include "ui/focus.h"

#include <cstddef>
#include <vector>

#include "game/board.h"
#include "game/geometry.h"
#include "game/screen_state.h"
#include "ui/focus_ring.h"

namespace {

struct Focus {
  bool shown = false;
  int screen = -1;               // the screen last seen
  int control = -1;              // the focused control there, -1: none
  BoardPos card{-1, -1};         // the board's focus, kept across screens
  int game = 0;                  // the deal the board's focus belongs to
};

Focus g_focus;

bool HasCard() { return g_focus.card.Column >= 0; }

void PlaceOnCard(const FocusTarget& t) {
  g_focus.card = BoardPos{t.index % kBoardColumns, t.index / kBoardColumns};
}

// Notes a change of screen or a new deal, whether or not the focus is
// shown: a menu screen shown anew starts on its first target, and so does
// a new board, chosen when the focus is next wanted there.
void TrackScreen() {
  // A new game starts the board's focus afresh on its top-left card.
  if (g_focus.game != GamesDealt) {
    g_focus.game = GamesDealt;
    g_focus.card = BoardPos{-1, -1};
  }
  if (g_focus.screen == ScreenState) return;
  g_focus.screen = ScreenState;
  g_focus.control = -1;
}

// Places a focus that stands nowhere on the current screen's first target
// (on the board: its first card not removed).
void PlaceIfNowhere() {
  TrackScreen();
  if (ScreenState == Playing ? HasCard() : g_focus.control >= 0) return;
  const std::vector<FocusTarget> targets = FocusTargets(ScreenState);
  if (targets.empty()) return;
  if (targets.front().kind == FocusKind::Card) {
    PlaceOnCard(targets.front());
  } else if (targets.front().kind == FocusKind::Control) {
    g_focus.control = targets.front().index;
  }
}

// The focused target of the current screen; false when there is none.
bool Current(FocusTarget* target) {
  PlaceIfNowhere();
  switch (ScreenState) {
    case Playing:
      if (!HasCard()) return false;
      *target = CardTarget(g_focus.card.Column, g_focus.card.Row);
      return true;
    case WellDone: {
      const std::vector<FocusTarget> targets = FocusTargets(WellDone);
      *target = targets.front();
      return true;
    }
    default:
      if (g_focus.control < 0) return false;
      *target = ControlTarget(g_focus.control);
      return true;
  }
}

void Place(const FocusTarget& t) {
  if (t.kind == FocusKind::Card) {
    PlaceOnCard(t);
  } else if (t.kind == FocusKind::Control) {
    g_focus.control = t.index;
  }
}

}  // namespace

bool FocusShown() { return g_focus.shown; }

bool ShowFocus() {
  // A board card removed while the focus was hidden: it comes back on the
  // top-left card left. (While shown, the focus stays on the empty place.)
  if (ScreenState == Playing && HasCard() && CardAt(g_focus.card).State == Removed) g_focus.card = BoardPos{-1, -1};
  g_focus.shown = true;
  FocusTarget t;
  return Current(&t) && t.kind != FocusKind::Screen;
}

void HideFocus() {
  g_focus.shown = false;
  // Shown again, it starts a menu screen afresh; the board keeps its place.
  g_focus.control = -1;
}

void MoveFocus(FocusDirection direction) {
  FocusTarget from;
  if (!g_focus.shown || !Current(&from)) return;
  const std::vector<FocusTarget> targets = FocusTargets(ScreenState);
  const int next = NearestTarget(targets, from, direction);
  if (next >= 0) Place(targets[static_cast<std::size_t>(next)]);
}

void StepFocus(int step) {
  FocusTarget from;
  if (!g_focus.shown || !Current(&from)) return;
  const std::vector<FocusTarget> targets = FocusTargets(ScreenState);
  const int next = NextTarget(targets, from, step);
  if (next >= 0) Place(targets[static_cast<std::size_t>(next)]);
}

bool FocusClickPoint(int* x, int* y) {
  FocusTarget t;
  if (!Current(&t)) return false;
  *x = TargetMiddleX(t);
  *y = TargetMiddleY(t);
  return true;
}

void DrawFocus() {
  TrackScreen();
  FocusTarget t;
  if (!g_focus.shown || !Current(&t) || t.kind == FocusKind::Screen) return;
  DrawFocusRing(t.left, t.top, t.width, t.height);
}

void ResetFocus() {
  g_focus = Focus{};
  ResetFocusRing();
}
