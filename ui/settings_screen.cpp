// The settings screen: the pending copies of the four settings, stepped by
// its arrows and box, shown through the cut windows of the list strips.
#include "ui/settings_screen.h"

#include "engine/screen/screen.h"
#include "game/assets.h"
#include "game/screen_state.h"
#include "ui/controls.h"
#include "ui/languages.h"
#include "ui/menu.h"
#include "ui/screen_modes.h"
#include "ui/settings.h"
#include "ui/text_sprites.h"

int ScreenModeIndex = 0;

namespace {

int LanguageCount() { return static_cast<int>(LanguageList.size()); }
int ScreenModeCount() { return static_cast<int>(ScreenModeList.size()); }

void CutScreenModeStrips(int row) {
  CutStrip(kScreenModeStrip, row);
  CutStrip(kScreenModeDimStrip, row);
}

// The language arrows: the list cursor moves by step when there is an entry
// there, and the pending language becomes that entry.
void StepLanguage(int step) {
  const int next = LanguageCursor + step;
  if (LanguageCursor < 0 || next < 0 || next >= LanguageCount()) return;
  LanguageCursor = next;
  LanguageIndex += step;
  PendingLanguage = LanguageList[static_cast<size_t>(next)].code;
  CutStrip(kLanguageStrip, LanguageIndexOf(PendingLanguage));
}

// The window-size arrows, likewise on ScreenModeList.
void StepScreenMode(int step) {
  const int next = ScreenModeCursor + step;
  if (ScreenModeCursor < 0 || next < 0 || next >= ScreenModeCount()) return;
  ScreenModeCursor = next;
  ScreenModeIndex += step;
  PendingScreenMode = ScreenModeList[static_cast<size_t>(next)];
  CutScreenModeStrips(ScreenModeIndexOf(PendingScreenMode));
}

void StepGameScreen(int step) {
  PendingGameScreen += step;
  CutStrip(kGameScreenStrip, PendingGameScreen);
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
  DrawCentred(kSettingsText, T + 140);
  DrawCentred(kGradientSprite, T + 216);
  // The labels block carries the active arrows; an inactive arrow is drawn
  // over the active one at the same place.
  sprite_draw(kSettingsBlock, L + 74, T + 220);
  sprite_draw(kOkText, L + 100, T + 540);
  sprite_draw(kCancelText, L + sprite_width(kPanelSprite) - sprite_width(kCancelText) - 100, T + 540);

  sprite_draw(kLanguageStrip, L + 294, T + 230);
  // At the ends of the lists the arrows are inactive. An empty list shows
  // its right arrow active (its index 0 is not the count - 1), although it
  // steps nowhere.
  if (LanguageIndex == 0) sprite_draw(kLeftArrowOffSprite, L + 274, T + 235);
  if (LanguageIndex == LanguageCount() - 1) sprite_draw(kRightArrowOffSprite, L + 574, T + 235);

  sprite_draw(PendingMusic != 0 ? kTickedBoxSprite : kBoxSprite, L + 274, T + 275);

  sprite_draw(kGameScreenStrip, L + 294, T + 310);
  if (PendingGameScreen == kFullScreen) sprite_draw(kLeftArrowOffSprite, L + 274, T + 315);
  if (PendingGameScreen == kBorderless) sprite_draw(kRightArrowOffSprite, L + 574, T + 315);

  // The window size counts only for a window: otherwise dimmed and inert.
  if (PendingGameScreen == kWindowed) {
    sprite_draw(kScreenModeStrip, L + 294, T + 350);
    if (ScreenModeIndex == 0) sprite_draw(kLeftArrowOffSprite, L + 274, T + 355);
    if (ScreenModeIndex == ScreenModeCount() - 1) sprite_draw(kRightArrowOffSprite, L + 574, T + 355);
  } else {
    sprite_draw(kScreenModeDimStrip, L + 294, T + 350);
    sprite_draw(kLeftArrowOffSprite, L + 274, T + 355);
    sprite_draw(kRightArrowOffSprite, L + 574, T + 355);
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
  if (ControlHit(kControlLanguageLeft, x, y) && SettingsControlActive(kControlLanguageLeft)) {
    ClickPause(fullScreen);
    StepLanguage(-1);
  }
  if (ControlHit(kControlLanguageRight, x, y) && SettingsControlActive(kControlLanguageRight)) {
    ClickPause(fullScreen);
    StepLanguage(1);
  }
  if (ControlHit(kControlModeLeft, x, y) && SettingsControlActive(kControlModeLeft)) {
    ClickPause(fullScreen);
    StepGameScreen(-1);
  }
  if (ControlHit(kControlModeRight, x, y) && SettingsControlActive(kControlModeRight)) {
    ClickPause(fullScreen);
    StepGameScreen(1);
  }
  if (ControlHit(kControlSizeLeft, x, y) && SettingsControlActive(kControlSizeLeft)) {
    ClickPause(fullScreen);
    StepScreenMode(-1);
  }
  if (ControlHit(kControlSizeRight, x, y) && SettingsControlActive(kControlSizeRight)) {
    ClickPause(fullScreen);
    StepScreenMode(1);
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
