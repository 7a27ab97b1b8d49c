// The window sizes the settings screen offers, as the display lists them.
#pragma once
#include <string>
#include <vector>

// The window sizes offered on the settings screen: "WIDTHxHEIGHT", widths of
// 1024 or more, each once, sorted as strings.
extern std::vector<std::string> ScreenModeList;
// The list's one position: that of the window size being chosen while the
// settings screen is open (the settings screen steps it). 0 when the size is
// not in the list.
extern int ScreenModeIndex;

// Position of the first entry equal to mode, 0 when none. A look-up only:
// ScreenModeIndex moves where its caller sets it.
int ScreenModeIndexOf(const std::string& mode);

// Fills ScreenModeList from the display's modes (start-up); stays empty when
// the modes cannot be listed.
void BuildScreenModeList();
// The list rule on its own: adds "WxH" unless present or w < 1024; SortScreenModes sorts.
void AddScreenMode(int width, int height);
void SortScreenModes();

// The list emptied and its position back to 0 (program reset, tests).
void ResetScreenModes();
