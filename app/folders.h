// The game's folders: where the program and its packs are (GameDir), the
// per-user folder (UserDir) and where settings, log and screenshots are
// written (SaveTo). Every folder path ends in the platform's separator ("/"
// on Linux, "\" on Windows). Set by start-up.
#pragma once

#include <string>

#include "engine/system/path.h"

// The per-user sub-folder, inside the user's application-data folder.
constexpr const char* kUserSubFolder =
    kPathSeparator == '/' ? "owlreach game studio/Duskmatch" : "owlreach game studio\\Duskmatch";

extern std::string GameDir;  // the program's folder
extern std::string UserDir;  // the per-user folder
extern std::string SaveTo;   // GameDir or UserDir, where the settings were found

// Empties the three folders (for tests).
void ResetFolders();

// The user's roaming application-data folder ($XDG_DATA_HOME, else
// $HOME/.local/share; on Windows the roaming folder, else the profile
// folder) + sub + the separator. Empty when the system names no such folder.
std::string SpecialFolderPath(const std::string& sub);

// Creates every missing level of a folder path (levels separated by "/", or
// on Windows by "\" or "/"). 1 when all went well, 0 when some level could
// not be made (the other levels are still tried).
int MakePath(const std::string& path);

// Start-up's choice of folders and the reading of the settings: GameDir is
// programFolder (the executable's folder), UserDir the per-user one. Settings beside the program
// win and SaveTo stays GameDir; otherwise UserDir is made if needed, the
// settings are read from there (if any) and SaveTo becomes UserDir. Returns
// 1 when the settings were found beside the program (the caller then asks
// for no system language), 0 otherwise. Without a per-user folder (no
// usable $HOME) SaveTo stays GameDir.
int LocateSettings(const std::string& programFolder);
