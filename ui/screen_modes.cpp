// The list of window sizes, read from the display's modes.
#include "ui/screen_modes.h"

#include <algorithm>

#include "engine/screen/screen.h"

std::vector<std::string> ScreenModeList;
int ScreenModeIndex = 0;

void AddScreenMode(int width, int height) {
  if (width < 1024) return;
  std::string mode = std::to_string(width) + "x" + std::to_string(height);
  if (std::find(ScreenModeList.begin(), ScreenModeList.end(), mode) == ScreenModeList.end()) {
    ScreenModeList.push_back(mode);
  }
}

int ScreenModeIndexOf(const std::string& mode) {
  for (size_t i = 0; i < ScreenModeList.size(); ++i)
    if (ScreenModeList[i] == mode) return static_cast<int>(i);
  return 0;
}

void SortScreenModes() { std::sort(ScreenModeList.begin(), ScreenModeList.end()); }

void BuildScreenModeList() {
  ResetScreenModes();
  if (display_modes_examine() <= 0) return;
  while (display_modes_next()) AddScreenMode(display_mode_width(), display_mode_height());
  SortScreenModes();
}

void ResetScreenModes() {
  ScreenModeList.clear();
  ScreenModeIndex = 0;
}
