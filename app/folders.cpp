// The game's folders and the search for the settings file at start-up.
#include "app/folders.h"

#include "app/settings.h"
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
  std::string p = path;
  if (p.empty() || !path_is_separator(p.back())) p += kPathSeparator;
  if (folder_exists(p)) return 1;
  int result = 1;
  std::string prefix;
  size_t start = 0;
  for (size_t sep = 0; sep < p.size(); ++sep) {
    if (!path_is_separator(p[sep])) continue;
    prefix += p.substr(start, sep - start);
    // The root and doubled separators add no level of their own.
    if (sep > start && !folder_exists(prefix) && !file_exists(prefix)) {
      if (!folder_make(prefix)) result = 0;
    } else if (sep > start && !folder_exists(prefix)) {
      result = 0;  // a file stands where a folder should be
    }
    prefix += p[sep];
    start = sep + 1;
  }
  return result;
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
