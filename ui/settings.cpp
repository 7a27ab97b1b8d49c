// The one definition of the settings and their pending copies.
#include "ui/settings.h"

std::string Language;
int Music = 1;
int GameScreen = 2;
std::string ScreenMode = kDefaultScreenMode;

std::string PendingLanguage;
int PendingMusic = 1;
int PendingGameScreen = 2;
std::string PendingScreenMode = kDefaultScreenMode;

void CopySettingsToPending() {
  PendingLanguage = Language;
  PendingMusic = Music;
  PendingGameScreen = GameScreen;
  PendingScreenMode = ScreenMode;
}

void ResetSettings() {
  Language.clear();
  Music = 1;
  GameScreen = 2;
  ScreenMode = kDefaultScreenMode;
  CopySettingsToPending();
}
