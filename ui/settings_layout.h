// Where the parts of the settings screen stand, in pixels from the panel's
// top-left corner: the one table its drawing, its control records and its
// tests read.
#pragma once
#include "game/sprites.h"
#include "ui/controls.h"
#include "ui/menu_layout.h"

// The title, the bar and the labels block (the four labels, one a row, with
// the active arrows drawn into it) stand where ui/menu_layout.h puts them on
// every panel screen.

// The rows, top to bottom.
enum SettingsRow : int { kLanguageRow = 0, kMusicRow = 1, kGameScreenRow = 2, kScreenModeRow = 3 };
// The top of a row: of its label, its strip and the squares a click hits;
// a label has the row's height as its room.
constexpr int kSettingsRowHeight = 40;
constexpr int SettingsRowTop(int row) { return 230 + kSettingsRowHeight * row; }

// The strips of the list rows, between the arrows: each value of a list
// one below the other, the strip cut to the window of one value.
constexpr int kSettingsStripLeft = 294;
constexpr int kSettingsStripWidth = 280;
constexpr int kSettingsStripHeight = 30;

// The two columns of the pictures on a row: the left arrows and the music
// box, and the right arrows. Each picture stands 5 pixels inside the
// 20-pixel square a click hits.
constexpr int kSettingsLeftColumn = 274;
constexpr int kSettingsRightColumn = 574;
constexpr int kSettingsPictureInset = 5;
constexpr int kSettingsHitSize = 20;
// The top of a row's pictures.
constexpr int SettingsPictureTop(int row) { return SettingsRowTop(row) + kSettingsPictureInset; }

// One control on a row: its picture (the active one for an arrow, drawn
// into the labels block) and, for an arrow, the sprite drawn over it while
// it is inactive and the way it steps its row's list.
struct SettingsRowControl {
  int control;
  int row;
  int left;  // the picture's column
  int picture;
  int inactive;  // -1 for the music box
  int step;      // -1 a left arrow, 1 a right one, 0 the music box
};
// The six arrows and the music box, in control order.
constexpr SettingsRowControl kSettingsRowControls[] = {
    {kControlLanguageLeft, kLanguageRow, kSettingsLeftColumn, kLeftArrowImage, kLeftArrowOffSprite, -1},
    {kControlLanguageRight, kLanguageRow, kSettingsRightColumn, kRightArrowImage, kRightArrowOffSprite, 1},
    {kControlMusicBox, kMusicRow, kSettingsLeftColumn, kBoxSprite, -1, 0},
    {kControlModeLeft, kGameScreenRow, kSettingsLeftColumn, kLeftArrowImage, kLeftArrowOffSprite, -1},
    {kControlModeRight, kGameScreenRow, kSettingsRightColumn, kRightArrowImage, kRightArrowOffSprite, 1},
    {kControlSizeLeft, kScreenModeRow, kSettingsLeftColumn, kLeftArrowImage, kLeftArrowOffSprite, -1},
    {kControlSizeRight, kScreenModeRow, kSettingsRightColumn, kRightArrowImage, kRightArrowOffSprite, 1},
};
constexpr bool SettingsRowControlsInOrder() {
  for (int i = 0; i < 7; ++i)
    if (kSettingsRowControls[i].control != kControlLanguageLeft + i) return false;
  return true;
}
static_assert(SettingsRowControlsInOrder(), "kSettingsRowControls must follow the control indices");
// The entry of a row control (kControlLanguageLeft to kControlSizeRight).
constexpr const SettingsRowControl& SettingsRowControlOf(int control) {
  return kSettingsRowControls[control - kControlLanguageLeft];
}

// OK stands this far in from the panel's left edge, cancel from its right,
// both at kPanelButtonTop.
constexpr int kSettingsButtonInset = 100;
