// The four user settings, their copies edited on the settings screen, and
// the settings file "Duskmatch.prefs" that keeps them between runs.
#pragma once

#include <string>

constexpr const char* kSettingsFileName = "Duskmatch.prefs";
constexpr const char* kDefaultScreenMode = "1280x720";

extern std::string Language;   // language code such as "en_GB"; empty until chosen
extern int Music;              // 1 music on, 0 off
extern int GameScreen;         // 0 full screen, 1 windowed, 2 borderless
extern std::string ScreenMode; // window size "WIDTHxHEIGHT", windowed mode only

// The values being edited on the settings screen.
extern std::string PendingLanguage;
extern int PendingMusic;
extern int PendingGameScreen;
extern std::string PendingScreenMode;

// Puts the settings and their copies back to their start-up values.
void ResetSettings();

// Reads folder + "Duskmatch.prefs" (folder ends in "/"). Returns 1 when the
// file could be opened, whatever it holds, and then sets the four settings
// from its "Settings" group, each missing one to its default (GameScreen
// keeps its current value); 0 when it could not, leaving them unchanged.
int LoadSettings(const std::string& folder);

// Writes the four settings to folder + "Duskmatch.prefs", replacing the old
// file in one step (a failed save leaves the old file as it was). Returns 1
// on success, 0 otherwise. Called once, at the orderly end.
int SaveSettings(const std::string& folder);
