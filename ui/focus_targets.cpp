// The focus targets of each screen, from the control table and the board,
// and the searches between them.
#include "ui/focus_targets.h"

#include <algorithm>
#include <cstdlib>

#include "game/board.h"
#include "game/geometry.h"
#include "game/screen_state.h"
#include "ui/controls.h"
#include "ui/settings_screen.h"

namespace {

// A control the focus may stand on: one a click at its middle would hit,
// and, on the settings screen, one such a click would act on.
void AddControl(std::vector<FocusTarget>* targets, int index) {
  const FocusTarget t = ControlTarget(index);
  if (!ControlHit(index, TargetMiddleX(t), TargetMiddleY(t))) return;
  if (index >= kControlLanguageLeft && !SettingsControlActive(index)) return;
  targets->push_back(t);
}

void AddControls(std::vector<FocusTarget>* targets, int first, int last) {
  for (int i = first; i <= last; ++i) AddControl(targets, i);
}

}  // namespace

FocusTarget ControlTarget(int index) {
  FocusTarget t;
  t.kind = FocusKind::Control;
  t.index = index;
  if (index < 0 || index >= kControlCount) return t;
  const Control& c = Controls[static_cast<size_t>(index)];
  t.left = c.left;
  t.top = c.top;
  t.width = c.width;
  t.height = ControlHeight(index);
  return t;
}

FocusTarget CardTarget(int column, int row) {
  FocusTarget t;
  t.kind = FocusKind::Card;
  t.index = row * kBoardColumns + column;
  const BoardCard& card = CardAt(column, row);
  t.left = card.X;
  t.top = card.Y;
  t.width = CardSize;
  t.height = CardSize;
  return t;
}

int TargetMiddleX(const FocusTarget& target) { return target.left + target.width / 2; }
int TargetMiddleY(const FocusTarget& target) { return target.top + target.height / 2; }

std::vector<FocusTarget> FocusTargets(int screenState) {
  std::vector<FocusTarget> targets;
  switch (screenState) {
    case MainMenu:
      AddControl(&targets, kControlStart);
      // The dimmed continue does nothing; its control is still hit-tested.
      if (GameInProgress == 1) AddControl(&targets, kControlContinue);
      AddControls(&targets, kControlSettings, kControlQuit);
      break;
    case NewGameQuestion:
    case QuitQuestion:
      AddControls(&targets, kControlYes, kControlNo);
      break;
    case SettingsScreen:
      AddControls(&targets, kControlLanguageLeft, kControlSettingsCancel);
      break;
    case CreditsScreen:
      AddControl(&targets, kControlCreditsOk);
      break;
    case Playing:
      for (int row = 0; row < kBoardRows; ++row)
        for (int column = 0; column < kBoardColumns; ++column)
          if (CardAt(column, row).State != Removed) targets.push_back(CardTarget(column, row));
      break;
    case WellDone: {
      FocusTarget whole;
      whole.kind = FocusKind::Screen;
      whole.index = 0;
      whole.width = ScreenWidth;
      whole.height = ScreenHeight;
      targets.push_back(whole);
      break;
    }
    default:  // the splash screens take no clicks
      break;
  }
  return targets;
}

namespace {

// Along and across the direction: how far ahead (positive) and how far to
// the side a point lies.
void Split(long long dx, long long dy, FocusDirection direction, long long* along, long long* across) {
  switch (direction) {
    case FocusDirection::Up: *along = -dy; *across = dx; break;
    case FocusDirection::Down: *along = dy; *across = dx; break;
    case FocusDirection::Left: *along = -dx; *across = dy; break;
    case FocusDirection::Right: *along = dx; *across = dy; break;
  }
  *across = std::llabs(*across);
}

// On the board, in places: left and right go along the row to the nearest
// card, and only when the row has none that way to the nearest column that
// has one; up and down go to the nearest row that has a card, onto its card
// nearest in column (the left one of two). So every row can be reached,
// and along it every card: no card is ever out of reach, however the pairs
// have gone.
int NearestCard(const std::vector<FocusTarget>& targets, const FocusTarget& from, FocusDirection direction) {
  const bool sideways = direction == FocusDirection::Left || direction == FocusDirection::Right;
  int best = -1;
  long long bestKey[3] = {};
  for (size_t i = 0; i < targets.size(); ++i) {
    const FocusTarget& t = targets[i];
    if (t.kind != FocusKind::Card || t.index == from.index) continue;
    long long along = 0;
    long long across = 0;
    Split(t.index % kBoardColumns - from.index % kBoardColumns, t.index / kBoardColumns - from.index / kBoardColumns,
          direction, &along, &across);
    if (along <= 0) continue;
    const long long key[3] = {sideways && across != 0 ? 1 : 0, along, across};
    // Targets come row by row: on a tie the first one met stays.
    if (best < 0 || std::lexicographical_compare(key, key + 3, bestKey, bestKey + 3)) {
      best = static_cast<int>(i);
      std::copy(key, key + 3, bestKey);
    }
  }
  return best;
}

// On the menus, in pixels: the nearest control whose middle lies within 45
// degrees of the direction, the distance across counting twice.
int NearestControl(const std::vector<FocusTarget>& targets, const FocusTarget& from, FocusDirection direction) {
  const int fx = TargetMiddleX(from);
  const int fy = TargetMiddleY(from);
  int best = -1;
  long long bestScore = 0;
  long long bestAcross = 0;
  for (size_t i = 0; i < targets.size(); ++i) {
    const FocusTarget& t = targets[i];
    if (t.kind != FocusKind::Control || t.index == from.index) continue;
    long long along = 0;
    long long across = 0;
    Split(static_cast<long long>(TargetMiddleX(t)) - fx, static_cast<long long>(TargetMiddleY(t)) - fy, direction,
          &along, &across);
    // The main menu's entries, whose middles differ by a pixel across, are
    // not beside one another.
    if (along <= 0 || across > along) continue;
    const long long score = along + 2 * across;
    if (best < 0 || score < bestScore || (score == bestScore && across < bestAcross)) {
      best = static_cast<int>(i);
      bestScore = score;
      bestAcross = across;
    }
  }
  return best;
}

}  // namespace

int NearestTarget(const std::vector<FocusTarget>& targets, const FocusTarget& from, FocusDirection direction) {
  switch (from.kind) {
    case FocusKind::Card:
      return NearestCard(targets, from, direction);
    case FocusKind::Control:
      return NearestControl(targets, from, direction);
    default:
      return -1;
  }
}

int NextTarget(const std::vector<FocusTarget>& targets, const FocusTarget& from, int step) {
  if (targets.empty()) return -1;
  // Targets come in Tab order, which is the order of their indices.
  if (step >= 0) {
    for (size_t i = 0; i < targets.size(); ++i)
      if (targets[i].index > from.index) return static_cast<int>(i);
    return 0;
  }
  for (size_t i = targets.size(); i-- > 0;)
    if (targets[i].index < from.index) return static_cast<int>(i);
  return static_cast<int>(targets.size()) - 1;
}
