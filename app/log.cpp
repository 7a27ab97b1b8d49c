// The log file itself: opening, switching on, writing lines.
#include "app/log.h"

#include "engine/system/file.h"

int LogFile = 0;
int LogEnabled = 0;
std::string StartStamp;

void ResetLog() {
  if (LogFile != 0) file_close(LogFile);
  LogFile = 0;
  LogEnabled = 0;
  StartStamp.clear();
}

int OpenLog(const std::string& path, const std::string& header) {
  if (LogFile != 0) file_close(LogFile);
  LogEnabled = 0;
  LogFile = file_open_write(path);
  if (LogFile == 0) return 0;
  std::string line = header + "\r\n";
  // A failed write is not a failed open: the file exists and later lines
  // may still get through.
  (void)file_write_open(LogFile, line.data(), line.size());
  return 1;
}

void EnableLog() {
  if (LogFile != 0) LogEnabled = 1;
}

void WriteLog(const std::string& text) {
  if (LogEnabled != 1) return;
  if (!file_is_open(LogFile)) {
    LogEnabled = 0;
    return;
  }
  std::string line = text + "\r\n";
  (void)file_write_open(LogFile, line.data(), line.size());
}

std::string Tabs(int n) { return n > 0 ? std::string(static_cast<size_t>(n), '\t') : std::string(); }

const char* LogModuleVersion() { return "1.2"; }

std::string LogFileName(const std::string& folder, const std::string& stamp) {
  return folder + "Log " + stamp + ".log";
}

bool IsLogSwitch(const std::string& param) {
  static const char kSwitch[] = "/LOG";
  if (param.size() != 4) return false;
  for (size_t i = 0; i < 4; ++i) {
    char c = param[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kSwitch[i]) return false;
  }
  return true;
}

void WriteLogValue(const std::string& label, const std::string& value) {
  WriteLog(label + Tabs(2) + value);
}

void WriteLogResult(const std::string& label, bool ok) { WriteLogValue(label, ok ? "OK" : "FAILED"); }

void WriteLogSection(const std::string& header) {
  WriteLog("");
  WriteLog(header);
}
