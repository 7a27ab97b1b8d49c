// The window sizes the settings screen offers, as the display lists them.
#pragma once
#include <string>
#include <vector>

// The window sizes offered on the settings screen: "WIDTHxHEIGHT", widths of
// 1024 or more, each once, sorted as strings. ScreenModeCursor is the list's
// current entry (the settings screen steps it).
extern std::vector<std::string> ScreenModeList;
extern int ScreenModeCursor;

// Fills ScreenModeList from the display's modes (start-up); stays empty when
// the modes cannot be listed.
void BuildScreenModeList();
// The list rule on its own: adds "WxH" unless present or w < 1024; SortScreenModes sorts.
void AddScreenMode(int width, int height);
void SortScreenModes();

// The list emptied and its cursor back to 0 (program reset, tests).
void ResetScreenModes();
