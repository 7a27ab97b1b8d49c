// The game's folders and the search for the settings file at start-up.
#include "app/folders.h"

#include "app/settings_file.h"
#include "engine/system/file.h"
#include "engine/system/path.h"
#include "engine/system/system.h"

std::string GameDir;
std::string UserDir;
std::string SaveTo;

void ResetFolders() {
  GameDir.clear();
  UserDir.clear();
  SaveTo.clear();
}

std::string SpecialFolderPath(const std::string& sub) {
  std::string base = system_roaming_folder();
  if (base.empty()) return "";
  return base + sub + kPathSeparator;
}

int MakePath(const std::string& path) {
  // The engine makes every missing level (either separator on Windows) and
  // answers whether the folder is there afterwards; an empty path names the
  // root, which always is.
  if (path.empty()) return 1;
  return folder_make(path) ? 1 : 0;
}

int LocateSettings(const std::string& programFolder) {
  GameDir = programFolder;
  UserDir = SpecialFolderPath(kUserSubFolder);
  SaveTo = GameDir;
  if (LoadSettings(GameDir)) return 1;
  // Without a user folder there is nowhere of the user's to read or write;
  // the settings then stay beside the program rather than landing in
  // whatever folder the program was started from.
  if (UserDir.empty()) return 0;
  if (!folder_exists(UserDir)) MakePath(UserDir);
  LoadSettings(UserDir);
  SaveTo = UserDir;
  return 0;
}
