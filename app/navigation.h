// Playing without a mouse: the navigation keys and the game pads, read once
// per pass, move the focus of the menus and the board, and a press becomes a
// click at the focused target's middle, routed like the mouse's.
#pragma once

// Last in a pass, after the game's own four keys (HandleKeys): arrows, Tab and
// Shift+Tab move the focus (held, they repeat); Enter and keypad Enter
// press it when let go. On a pad the D-pad and the left stick move it, the
// south button presses it, the east button does what Escape does and Start
// leaves the board for the menu, each when let go. The first of these inputs
// only shows the focus, and the mouse moving or clicking hides it again.
void HandleNavigation();

// The pointer was clicked: the focus hides (called by the mouse's input paths).
void PointerClicked();

// Held inputs and the pointer's resting place forgotten (program reset, tests).
void ResetNavigation();
