// Where the keyboard's and the pads' focus can stand on each screen: the
// controls a click would act on, taken from the control table, and the cards
// still on the board, taken from their places; and the two ways of moving
// between them, by direction and in Tab order.
#pragma once
#include <vector>

enum class FocusKind {
  Control,  // a control of the table; index is its control index
  Card,     // a board place; index is row * 8 + column
  Screen,   // the whole screen (the well-done screen takes a click anywhere)
};

// One place for the focus: a rectangle of the screen, pressed by a click at
// its middle.
struct FocusTarget {
  FocusKind kind = FocusKind::Control;
  int index = -1;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

enum class FocusDirection { Up, Down, Left, Right };

// The targets of a screen state in Tab order: the main menu's entries top to
// bottom (continue only while a game is in progress), yes and no of the
// questions, the settings screen's arrows, box and buttons row by row (those
// a click would do nothing on left out), OK of the credits, the cards not
// removed row by row, the whole well-done screen; none on the splashes. A
// control whose middle would not hit it (an empty text) is left out.
std::vector<FocusTarget> FocusTargets(int screenState);

// A control's hit area, and a board place's card square, whether or not
// they are among the targets now.
FocusTarget ControlTarget(int index);
FocusTarget CardTarget(int column, int row);

// Where a click on the target is made: its middle.
int TargetMiddleX(const FocusTarget& target);
int TargetMiddleY(const FocusTarget& target);

// The position in targets of the nearest one in the direction from from;
// -1 when there is none (nothing wraps round). On the board: left and right
// along the row, or when the row has no card that way, to the nearest column
// that has one; up and down to the nearest row that has a card, onto its card
// nearest in column. On the menus: the control whose middle lies within 45
// degrees of the direction, the distance across counting twice.
int NearestTarget(const std::vector<FocusTarget>& targets, const FocusTarget& from, FocusDirection direction);

// The position in targets of the first one after from in Tab order (step 1)
// or the last one before it (step -1), wrapping round at the ends; from need
// not be among them. -1 when targets is empty.
int NextTarget(const std::vector<FocusTarget>& targets, const FocusTarget& from, int step);
