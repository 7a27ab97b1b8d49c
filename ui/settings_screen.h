// The settings screen: language, music, window mode and window size edited
// as pending copies, made current by OK, dropped by cancel or Escape.
#pragma once

// The main menu's settings entry: pending copies from the settings, strips
// cut to them, ScreenState becomes SettingsScreen.
void EnterSettings();
void DrawSettingsScreen();
// A left click on the settings screen, tried on OK, cancel, the music box
// and the six arrows in that order (in a window OK ends the click). OK makes
// the pending settings current through apply, the program's apply sequence.
// Returns 1 when OK applied the settings (the windowed modes then stop
// handling this pass's events).
int SettingsClick(int x, int y, bool fullScreen, void (*apply)());
// Whether a click on settings control index (8 to 16) would do anything now:
// OK, cancel and the music box always; an arrow unless its list is at that
// end, the window-size arrows only while a window is chosen.
bool SettingsControlActive(int index);
// Cancel and Escape: pending copies dropped, strips cut back, MainMenu.
void CancelSettings();
