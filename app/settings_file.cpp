// Loading and saving the settings file through the key-value file service.
#include "app/settings_file.h"

#include "engine/keyvalue/keyvalue.h"
#include "ui/settings.h"

namespace {

const char* const kGroup = "Settings";

}  // namespace

int LoadSettings(const std::string& folder) {
  KeyValueFile file;
  if (!keyvalue_open(folder + kSettingsFileName, &file)) return 0;
  keyvalue_select_group(&file, kGroup);
  Language = keyvalue_read_string(file, "Language", "");
  Music = keyvalue_read_int(file, "Music", 1);
  GameScreen = keyvalue_read_int(file, "GameScreen", GameScreen);
  ScreenMode = keyvalue_read_string(file, "ScreenMode", kDefaultScreenMode);
  return 1;
}

int SaveSettings(const std::string& folder) {
  KeyValueFile file;
  keyvalue_create(&file, folder + kSettingsFileName);
  keyvalue_add_comment(&file, "Duskmatch 1.0 Preferences");
  keyvalue_select_group(&file, kGroup);
  keyvalue_write_string(&file, "Language", Language);
  keyvalue_write_int(&file, "Music", Music);
  keyvalue_write_int(&file, "GameScreen", GameScreen);
  keyvalue_write_string(&file, "ScreenMode", ScreenMode);
  return keyvalue_close(&file) ? 1 : 0;
}
