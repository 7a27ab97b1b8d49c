// The 17 clickable controls of the menu screens, filled by the text-sprite
// pass, and the strict hit rule; the panel's place on the screen.
#pragma once
#include <array>
#include <cstdint>

struct Control {
  int32_t sprite = 0;  // sprite or image number the control stands for
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
};
constexpr int kControlCount = 17;
extern std::array<Control, kControlCount> Controls;

// Control indices.
enum ControlIndex : int {
  kControlStart = 0, kControlContinue = 1, kControlSettings = 2,
  kControlCredits = 3, kControlQuit = 4, kControlCreditsOk = 5,
  kControlYes = 6, kControlNo = 7,
  kControlLanguageLeft = 8, kControlLanguageRight = 9, kControlMusicBox = 10,
  kControlModeLeft = 11, kControlModeRight = 12,
  kControlSizeLeft = 13, kControlSizeRight = 14,
  kControlSettingsOk = 15, kControlSettingsCancel = 16,
};

// Hit height of a control: 80 menu entries, 20 settings arrows and box, 40 buttons.
int ControlHeight(int index);
// Whether (x, y) lies strictly inside control index.
bool ControlHit(int index, int x, int y);

// The 100 ms pause after a control hit by the polled mouse (fullScreen);
// nothing for a click from a window event.
void ClickPause(bool fullScreen);

// Where the panel sprite 5 stands: centred on the screen.
int PanelLeft();
int PanelTop();

// All controls back to zero (tests).
void ResetControls();
