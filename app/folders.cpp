// The game's folders and the search for the settings file at start-up.
#include "app/folders.h"

#include <cstdlib>

#include "app/settings.h"
#include "engine/system/file.h"

std::string GameDir;
std::string UserDir;
std::string SaveTo;

void ResetFolders() {
  GameDir.clear();
  UserDir.clear();
  SaveTo.clear();
}

namespace {

// An environment variable that names an absolute folder, without trailing
// "/", or the empty string. A relative value is ignored, as the desktop
// folder conventions require.
std::string absolute_folder_from(const char* variable) {
  const char* v = std::getenv(variable);
  if (!v || v[0] != '/') return "";
  std::string s = v;
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

std::string SpecialFolderPath(const std::string& sub) {
  std::string base = absolute_folder_from("XDG_DATA_HOME");
  if (base.empty()) {
    std::string home = absolute_folder_from("HOME");
    if (home.empty()) return "";
    base = (home == "/" ? "" : home) + "/.local/share";
  }
  if (base == "/") base.clear();
  return base + "/" + sub + "/";
}

int MakePath(const std::string& path) {
  std::string p = path;
  if (p.empty() || p.back() != '/') p += '/';
  if (folder_exists(p)) return 1;
  int result = 1;
  std::string prefix;
  size_t start = 0;
  size_t slash;
  while ((slash = p.find('/', start)) != std::string::npos) {
    prefix += p.substr(start, slash - start);
    // The root and doubled slashes add no level of their own.
    if (slash > start && !folder_exists(prefix) && !file_exists(prefix)) {
      if (!folder_make(prefix)) result = 0;
    } else if (slash > start && !folder_exists(prefix)) {
      result = 0;  // a file stands where a folder should be
    }
    prefix += '/';
    start = slash + 1;
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
