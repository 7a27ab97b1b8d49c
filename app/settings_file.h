// The settings file "Duskmatch.prefs" that keeps the four settings
// (ui/settings.h) between runs.
#pragma once

#include <string>

constexpr const char* kSettingsFileName = "Duskmatch.prefs";

// Reads folder + "Duskmatch.prefs" (folder ends in "/"). Returns 1 when the
// file could be opened, whatever it holds, and then sets the four settings
// from its "Settings" group, each missing one to its default (GameScreen
// keeps its current value); 0 when it could not, leaving them unchanged.
int LoadSettings(const std::string& folder);

// Writes the four settings to folder + "Duskmatch.prefs", replacing the old
// file in one step (a failed save leaves the old file as it was). Returns 1
// on success, 0 otherwise. Called once, at the orderly end.
int SaveSettings(const std::string& folder);
