// The sections and event lines of the log, each in its fixed wording.
#include <string>

#include "app/folders.h"
#include "app/log.h"
#include "engine/system/date.h"
#include "engine/system/system.h"
#include "ui/settings.h"

SystemDetails ReadSystemDetails(int desktops) {
  SystemDetails d;
  d.cpu_name = system_cpu_name();
  d.total_cores = system_total_cores();
  d.available_cores = system_available_cores();
  d.total_memory = system_total_memory();
  d.free_memory = system_free_memory();
  d.desktops = desktops;
  d.os_code = system_os_code();
  return d;
}

void WriteSystemDetails(const SystemDetails& d) {
  WriteLogSection("[SYSTEM DETAILS]");
  WriteLogValue("CPU Name:", d.cpu_name);
  WriteLogValue("Total CPU cores:", std::to_string(d.total_cores));
  WriteLogValue("Available CPU cores:", std::to_string(d.available_cores));
  WriteLogValue("Total physical memory:", std::to_string(d.total_memory));
  WriteLogValue("Free physical memory:", std::to_string(d.free_memory));
  WriteLogValue("Number of desktops:", std::to_string(d.desktops));
  WriteLogValue("Operating system:", std::to_string(d.os_code));
}

void WriteGameDetails() {
  WriteLogSection("[GAME DETAILS]");
  WriteLogValue("Title:", "Duskmatch");
  WriteLogValue("Family:", "Tarnlight Games");
  WriteLogValue("Version:", "1.0");
  WriteLogValue("Directory:", kUserSubFolder);
  WriteLogValue("Bit:", "(x86)");
}

void WriteCodeSubsystems(const std::string& languageVersion, const std::string& cursorVersion) {
  WriteLogSection("[CODE SUBSYSTEMS]");
  WriteLogValue("Language:", languageVersion);
  WriteLogValue("Cursor: ", cursorVersion);  // this label does end in a blank
  WriteLogValue("Log:", LogModuleVersion());
}

void WritePaths() {
  WriteLogSection("[PATHS]");
  WriteLogValue("GameDir:", GameDir);
  WriteLogValue("UserDir:", UserDir);
  WriteLogValue("SaveTo:", SaveTo);
}

void WriteInitialSettings() {
  WriteLogSection("[INITIAL SETTINGS]");
  WriteLogValue("Language:", Language);
  static const char* const kModes[3] = {"Fullscreen", "Windowed", "Borderless"};
  if (GameScreen >= 0 && GameScreen <= 2) WriteLogValue("GameScreen:", kModes[GameScreen]);
  WriteLogValue("Music:", Music != 0 ? "On" : "Off");
  WriteLogValue("ScreenMode:", ScreenMode);
}

void WriteAvailableLanguages(const std::vector<std::string>& names) {
  WriteLogSection("[AVAILABLE LANGUAGES]");
  for (const std::string& name : names) WriteLogValue("Language:", name);
}

int StartLog(const std::vector<std::string>& params, int desktops,
             const std::string& languageVersion, const std::string& cursorVersion) {
  if (params.empty()) return 0;
  StartStamp = date_format(kStartStampMask, date_now());
  if (!IsLogSwitch(params[0])) return 0;
  if (!OpenLog(LogFileName(SaveTo, StartStamp), "Duskmatch")) return 0;
  EnableLog();
  WriteLog(StartStamp);
  WriteSystemDetails(ReadSystemDetails(desktops));
  WriteGameDetails();
  WriteCodeSubsystems(languageVersion, cursorVersion);
  WritePaths();
  return LogEnabled;
}

void LogLoadLanguage(const std::string& code, bool ok) {
  WriteLogResult("Load language (" + code + "):", ok);
}

void LogDesktopSize(int width, int height) {
  WriteLogValue("ScreenWidth:", std::to_string(width));
  WriteLogValue("ScreenHeight:", std::to_string(height));
}

void LogLoadAsset(const std::string& name, bool ok) {
  WriteLogResult("Load asset (" + name + "):", ok);
}

void LogOpeningScreen(int gameScreen, bool ok) {
  static const char* const kLabels[3] = {"Opening screen (Fullscreen):", "Opening screen (Windowed):",
                                         "Opening screen (Borderless):"};
  if (gameScreen >= 0 && gameScreen <= 2) WriteLogResult(kLabels[gameScreen], ok);
}

void LogOpenedSize(int width, int height) {
  WriteLogValue("Screenwidth:", std::to_string(width));
  WriteLogValue("Screenheight:", std::to_string(height));
}

void LogScreenshot(bool ok) { WriteLogResult("Saving screenshot:", ok); }
