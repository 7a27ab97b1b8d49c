// The focus of the keyboard and the pads: the control or card a press would
// click, whether it is shown, and its ring. It stays hidden until the first
// navigation input and hides again when the mouse is used, so a mouse player
// never sees it. The focus follows the screen: a menu screen starts on its
// first target each time it is shown; the board keeps its place across the
// menus, and each new game starts on its top-left card.
#pragma once
#include "ui/focus_targets.h"

// Whether the focus is shown.
bool FocusShown();
// Shows the focus where it stands on the current screen, on its first target
// when it stands nowhere there yet (on the board: the top-left card not
// removed, or that card again when the one it stood on has gone meanwhile).
// Returns whether a ring is now to be seen.
bool ShowFocus();
// Hides the focus (the mouse moved or clicked). Shown again, it appears on
// the menu screen's first target, or where it stood on the board.
void HideFocus();
// Moves the shown focus to the nearest target in a direction, or along the
// Tab order (step 1 forward, -1 back, wrapping round). Where there is none,
// it stays.
void MoveFocus(FocusDirection direction);
void StepFocus(int step);
// The screen position of a click on the focused target (its middle); false
// when the current screen has none.
bool FocusClickPoint(int* x, int* y);
// Draws the ring round the focused target while the focus is shown. Called
// after the screen and its overlay have been drawn.
void DrawFocus();
// Hidden, nowhere, ring pictures forgotten (program reset and tests).
void ResetFocus();
