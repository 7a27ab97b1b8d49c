// The four user settings and their copies edited on the settings screen.
#pragma once

#include <string>

constexpr const char* kDefaultScreenMode = "1280x720";

// The window modes of the setting GameScreen.
enum GameScreenMode : int {
  kFullScreen = 0,
  kWindowed = 1,
  kBorderless = 2,
};

extern std::string Language;   // language code such as "en_GB"; empty until chosen
extern int Music;              // 1 music on, 0 off
extern int GameScreen;         // 0 full screen, 1 windowed, 2 borderless
extern std::string ScreenMode; // window size "WIDTHxHEIGHT", windowed mode only

// The values being edited on the settings screen.
extern std::string PendingLanguage;
extern int PendingMusic;
extern int PendingGameScreen;
extern std::string PendingScreenMode;

// The pending copies set to the four settings as they are.
void CopySettingsToPending();

// Puts the settings and their copies back to their start-up values.
void ResetSettings();
