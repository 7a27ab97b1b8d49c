// The main loop: one pass per frame, the screen state machine, the two input
// paths (window events in the windowed modes, polling in full screen), the
// keys, the screenshot, and applying the settings screen's choices.
#pragma once
#include <cstdint>
#include <string>

// Runs passes until QuitRequested is 1.
void RunMainLoop();
// One pass of the loop (the test harness drives the loop with it).
void LoopPass();
// A left click at a position on the screen, routed by ScreenState.
// fullScreen: the click came from the polled mouse (menu controls then wait
// 100 ms where the menus say so).
void ClickAt(int x, int y, bool fullScreen);
// What releasing Escape does on the current screen (the pad's east button
// does the same).
void EscapeReleased();
// The settings screen's OK: the pending language, music and display
// settings made current (language load and text sprites, music on or off,
// display reopened with pictures and text sprites, board laid out again
// without a new deal). ScreenState becomes MainMenu.
void ApplyPendingSettings();
// Key S: the screen grabbed into sprite 3 and saved as a PNG to SaveTo.
void TakeScreenshot();
// folder + "Duskmatch " + the date as "%dd-%mm-%yyyy %hh-%ii-%ss" + ".png".
std::string ScreenshotFileName(const std::string& folder, int64_t date);
