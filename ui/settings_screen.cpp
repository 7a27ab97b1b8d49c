// The settings screen: the pending copies of the four settings, stepped by
// its arrows and box, shown through the cut windows of the list strips.
#include "ui/settings_screen.h"

#include "engine/screen/screen.h"
#include "game/screen_state.h"
#include "game/sprites.h"
#include "ui/controls.h"
#include "ui/languages.h"
#include "ui/menu.h"
#include "ui/menu_layout.h"
#include "ui/screen_modes.h"
#include "ui/settings.h"
#include "ui/settings_layout.h"
#include "ui/text_sprites.h"

namespace {

int LanguageCount() { return static_cast<int>(LanguageList.size()); }
int ScreenModeCount() { return static_cast<int>(ScreenModeList.size()); }

void CutScreenModeStrips(int row) {
  CutStrip(kScreenModeStrip, row);
  CutStrip(kScreenModeDimStrip, row);
}

// Whether a list's position stands on the pending value. A value missing
// from its list (a language file gone, a size the display does not offer)
// shows the first entry, and the arrows step nowhere from there: the
// pending value stays as it is.
bool OnPendingLanguage() {
  return LanguageIndex >= 0 && LanguageIndex < LanguageCount() &&
         LanguageList[static_cast<size_t>(LanguageIndex)].code == PendingLanguage;
}
bool OnPendingScreenMode() {
  return ScreenModeIndex >= 0 && ScreenModeIndex < ScreenModeCount() &&
         ScreenModeList[static_cast<size_t>(ScreenModeIndex)] == PendingScreenMode;
}

// The language arrows: the position moves by step when there is an entry
// there, and the pending language becomes that entry.
void StepLanguage(int step) {
  const int next = LanguageIndex + step;
  if (!OnPendingLanguage() || next < 0 || next >= LanguageCount()) return;
  LanguageIndex = next;
  PendingLanguage = LanguageList[static_cast<size_t>(next)].code;
  CutStrip(kLanguageStrip, LanguageIndex);
}

// The window-size arrows, likewise on ScreenModeList.
void StepScreenMode(int step) {
  const int next = ScreenModeIndex + step;
  if (!OnPendingScreenMode() || next < 0 || next >= ScreenModeCount()) return;
  ScreenModeIndex = next;
  PendingScreenMode = ScreenModeList[static_cast<size_t>(next)];
  CutScreenModeStrips(ScreenModeIndex);
}

// An arrow at the end of its list: its inactive sprite over the active one
// drawn in the labels block.
void DrawInactive(int control) {
  const SettingsRowControl& c = SettingsRowControlOf(control);
  sprite_draw(c.inactive, PanelLeft() + c.left, PanelTop() + SettingsPictureTop(c.row));
}

void DrawStrip(int sprite, int row) {
  sprite_draw(sprite, PanelLeft() + kSettingsStripLeft, PanelTop() + SettingsRowTop(row));
}

void StepGameScreen(int step) {
  PendingGameScreen += step;
  CutStrip(kGameScreenStrip, PendingGameScreen);
}

// An arrow's click on its row's list.
void StepRow(int row, int step) {
  switch (row) {
    case kLanguageRow:
      StepLanguage(step);
      break;
    case kGameScreenRow:
      StepGameScreen(step);
      break;
    case kScreenModeRow:
      StepScreenMode(step);
      break;
    default:
      break;
  }
}

}  // namespace

void EnterSettings() {
  LanguageIndex = LanguageIndexOf(Language);
  ScreenModeIndex = ScreenModeIndexOf(ScreenMode);
  CopySettingsToPending();
  CutStrip(kLanguageStrip, LanguageIndex);
  CutStrip(kGameScreenStrip, PendingGameScreen);
  CutScreenModeStrips(ScreenModeIndex);
  ShowSettings();
}

void DrawSettingsScreen() {
  const int L = PanelLeft();
  const int T = PanelTop();
  DrawMenuBackdrop();
  DrawCentred(kSettingsText, T + kPanelTitleTop);
  DrawCentred(kGradientSprite, T + kPanelBarTop);
  // The labels block carries the active arrows; an inactive arrow is drawn
  // over the active one at the same place.
  sprite_draw(kSettingsBlock, L + kPanelBlockLeft, T + kPanelBlockTop);
  sprite_draw(kOkText, L + kSettingsButtonInset, T + kPanelButtonTop);
  sprite_draw(kCancelText, L + sprite_width(kPanelSprite) - sprite_width(kCancelText) - kSettingsButtonInset,
              T + kPanelButtonTop);

  DrawStrip(kLanguageStrip, kLanguageRow);
  // At the ends of the lists the arrows are inactive. An empty list shows
  // its right arrow active (its index 0 is not the count - 1), although it
  // steps nowhere.
  if (LanguageIndex == 0) DrawInactive(kControlLanguageLeft);
  if (LanguageIndex == LanguageCount() - 1) DrawInactive(kControlLanguageRight);

  const SettingsRowControl& box = SettingsRowControlOf(kControlMusicBox);
  sprite_draw(PendingMusic != 0 ? kTickedBoxSprite : kBoxSprite, L + box.left, T + SettingsPictureTop(box.row));

  DrawStrip(kGameScreenStrip, kGameScreenRow);
  if (PendingGameScreen == kFullScreen) DrawInactive(kControlModeLeft);
  if (PendingGameScreen == kBorderless) DrawInactive(kControlModeRight);

  // The window size counts only for a window: otherwise dimmed and inert.
  if (PendingGameScreen == kWindowed) {
    DrawStrip(kScreenModeStrip, kScreenModeRow);
    if (ScreenModeIndex == 0) DrawInactive(kControlSizeLeft);
    if (ScreenModeIndex == ScreenModeCount() - 1) DrawInactive(kControlSizeRight);
  } else {
    DrawStrip(kScreenModeDimStrip, kScreenModeRow);
    DrawInactive(kControlSizeLeft);
    DrawInactive(kControlSizeRight);
  }
}

int SettingsClick(int x, int y, bool fullScreen, void (*apply)()) {
  int applied = 0;
  if (ControlHit(kControlSettingsOk, x, y)) {
    apply();
    ClickPause(fullScreen);
    applied = 1;
    // A window's pass handles no more events once the settings are applied
    // (the display may have been reopened). The full screen's polled click
    // goes on through the remaining tests, on the controls as they are now.
    if (!fullScreen) return applied;
  }
  if (ControlHit(kControlSettingsCancel, x, y)) {
    CancelSettings();
    ClickPause(fullScreen);
  }
  // The remaining tests each stand on their own; an arrow at the end of its
  // list neither acts nor pauses.
  if (ControlHit(kControlMusicBox, x, y)) {
    ClickPause(fullScreen);
    PendingMusic = PendingMusic == 1 ? 0 : 1;
  }
  // The arrows, top row first, left before right.
  for (const SettingsRowControl& c : kSettingsRowControls) {
    if (c.step == 0 || !ControlHit(c.control, x, y) || !SettingsControlActive(c.control)) continue;
    ClickPause(fullScreen);
    StepRow(c.row, c.step);
  }
  return applied;
}

bool SettingsControlActive(int index) {
  switch (index) {
    case kControlLanguageLeft:
      return LanguageIndex > 0;
    case kControlLanguageRight:
      return LanguageIndex < LanguageCount() - 1;
    case kControlModeLeft:
      return PendingGameScreen > kFullScreen;
    case kControlModeRight:
      return PendingGameScreen < kBorderless;
    case kControlSizeLeft:
      return PendingGameScreen == kWindowed && ScreenModeIndex > 0;
    case kControlSizeRight:
      return PendingGameScreen == kWindowed && ScreenModeIndex < ScreenModeCount() - 1;
    case kControlMusicBox:
    case kControlSettingsOk:
    case kControlSettingsCancel:
      return true;
    default:
      return false;
  }
}

void CancelSettings() {
  CopySettingsToPending();
  CutStrip(kLanguageStrip, LanguageIndexOf(PendingLanguage));
  CutStrip(kGameScreenStrip, PendingGameScreen);
  CutScreenModeStrips(ScreenModeIndexOf(PendingScreenMode));
  ShowMainMenu();
}
