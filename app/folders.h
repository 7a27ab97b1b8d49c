// The game's folders: where the program and its packs are (GameDir), the
// per-user folder (UserDir) and where settings, log and screenshots are
// written (SaveTo). Every folder path ends in "/". Set by start-up.
#pragma once

#include <string>

// The per-user sub-folder, inside the user's application-data folder.
constexpr const char* kUserSubFolder = "owlreach game studio/Duskmatch";

extern std::string GameDir;  // the program's folder
extern std::string UserDir;  // the per-user folder
extern std::string SaveTo;   // GameDir or UserDir, where the settings were found

// Empties the three folders (for tests).
void ResetFolders();

// The user's application-data folder ($XDG_DATA_HOME, else
// $HOME/.local/share) + "/" + sub + "/". Empty when neither names an
// absolute folder.
std::string SpecialFolderPath(const std::string& sub);

// Creates every missing level of a folder path. 1 when all went well, 0 when
// some level could not be made (the other levels are still tried).
int MakePath(const std::string& path);

// Start-up's choice of folders and the reading of the settings: GameDir is
// programFolder (the executable's folder), UserDir the per-user one. Settings beside the program
// win and SaveTo stays GameDir; otherwise UserDir is made if needed, the
// settings are read from there (if any) and SaveTo becomes UserDir. Returns
// 1 when the settings were found beside the program (the caller then asks
// for no system language), 0 otherwise. Without a per-user folder (no
// usable $HOME) SaveTo stays GameDir.
int LocateSettings(const std::string& programFolder);
