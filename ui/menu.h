// The main menu and the two questions (new game, quit), drawn over the
// board, and their clicks.
#pragma once

// 1 ends the main loop: YES to the quit question, and the loop's own ends
// (a closed window, Escape on the main menu).
extern int QuitRequested;

// The dimming sprite, the panel shadow and the panel: the backdrop of every
// menu screen.
void DrawMenuBackdrop();
// Draws a sprite opaque, centred across the screen, with its top at y.
void DrawCentred(int sprite, int y);
// The overlay of MainMenu, NewGameQuestion or QuitQuestion.
void DrawMenuScreen();
// A left click in one of those states. fullScreen: from the polled mouse
// (a hit then waits 100 ms where the menu says so).
void MenuClick(int x, int y, bool fullScreen);
