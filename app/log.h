// The diagnostic log, written only when the program is started with "/LOG":
// what the machine is, where the game's files are, the settings, and an "OK"
// or "FAILED" for every step of start-up that can fail. UTF-8 without a
// byte-order mark, every line ended by CR LF, most lines a label, two TABs
// and a value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

extern int LogFile;             // engine file handle of the open log, 0 if none
extern int LogEnabled;          // 1 while lines are written
extern std::string StartStamp;  // start time, formatted with kStartStampMask

constexpr const char* kStartStampMask = "%yyyy-%mm-%dd--%hh-%ii-%ss";

// Closes the log and puts the three variables back to their start values
// (for tests).
void ResetLog();

// Creates the log file at path (replacing an old one) and writes header as
// its first line. 1 on success; 0 (LogFile 0) when it cannot be created.
// Lines are written only after EnableLog.
int OpenLog(const std::string& path, const std::string& header);

// Starts writing lines if the log file is open.
void EnableLog();

// Writes text as one line while the log is on. If the engine has closed the
// file meanwhile (at shutdown), the log turns itself off for good.
void WriteLog(const std::string& text);

// n TAB characters (none for n <= 0).
std::string Tabs(int n);

// The version of this module, shown in the log's own list of modules.
const char* LogModuleVersion();

// folder + "Log " + stamp + ".log".
std::string LogFileName(const std::string& folder, const std::string& stamp);

// Whether a command-line parameter is the log switch "/LOG" in any case.
bool IsLogSwitch(const std::string& param);

// One value line: label, two TABs, value.
void WriteLogValue(const std::string& label, const std::string& value);

// One step's line: label, two TABs, "OK" or "FAILED".
void WriteLogResult(const std::string& label, bool ok);

// An empty line and a section header such as "[PATHS]".
void WriteLogSection(const std::string& header);

// The machine as the "[SYSTEM DETAILS]" section shows it.
struct SystemDetails {
  std::string cpu_name;
  int total_cores;
  int available_cores;
  int64_t total_memory;
  int64_t free_memory;
  int desktops;
  int os_code;
};

// Asks the system for everything but the number of monitors, which the
// screen service counts and start-up passes in.
SystemDetails ReadSystemDetails(int desktops);

// The opening sections, in the order start-up writes them.
void WriteSystemDetails(const SystemDetails& details);
void WriteGameDetails();
// languageVersion and cursorVersion are the language and pointer modules'
// own version texts ("2.0" and "0.1").
void WriteCodeSubsystems(const std::string& languageVersion, const std::string& cursorVersion);
void WritePaths();          // GameDir, UserDir, SaveTo
void WriteInitialSettings();  // Language, GameScreen, Music, ScreenMode
void WriteAvailableLanguages(const std::vector<std::string>& names);

// Start-up's log step: with at least one parameter, StartStamp := the time
// now; if the first parameter is the log switch, opens SaveTo + "Log " +
// StartStamp + ".log" with the header "Duskmatch", switches it on and writes
// the stamp and the sections up to "[PATHS]". desktops: the monitor count
// from the screen service. Returns whether the log is on.
int StartLog(const std::vector<std::string>& params, int desktops,
             const std::string& languageVersion, const std::string& cursorVersion);

// The lines of "[STARTING GAME]" and of later events.
void LogLoadLanguage(const std::string& code, bool ok);
void LogDesktopSize(int width, int height);  // "ScreenWidth:", "ScreenHeight:"
void LogLoadAsset(const std::string& name, bool ok);
// For GameScreen 0, 1, 2; nothing for any other value.
void LogOpeningScreen(int gameScreen, bool ok);
void LogOpenedSize(int width, int height);  // "Screenwidth:", "Screenheight:"
void LogScreenshot(bool ok);
