// The diagnostic log: nothing without the switch, and every line in its
// fixed wording, TABs and CR LF when it is on.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/folders.h"
#include "app/log.h"
#include "engine/system/file.h"
#include "game/geometry.h"
#include "ui/settings.h"

namespace {

// The log's lines; every line must end in CR LF, and no other line break
// may appear (a stray one shows as an extra "<broken>" line).
std::vector<std::string> Lines(const std::string& path) {
  std::vector<uint8_t> data;
  std::vector<std::string> lines;
  if (!file_read_all(path, &data)) return lines;
  std::string text(data.begin(), data.end());
  for (size_t pos = 0, end; pos < text.size(); pos = end + 2) {
    end = text.find("\r\n", pos);
    std::string line = text.substr(pos, end == std::string::npos ? end : end - pos);
    lines.push_back(end == std::string::npos || line.find_first_of("\r\n") != std::string::npos
                        ? "<broken>" : line);
    if (end == std::string::npos) break;
  }
  return lines;
}

bool AllDigits(const std::string& s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// "2026-12-07--15-04-09": digits with dashes at fixed places.
bool LooksLikeStamp(const std::string& s) {
  if (s.size() != 20) return false;
  for (size_t i = 0; i < s.size(); ++i) {
    bool dash = i == 4 || i == 7 || i == 10 || i == 11 || i == 14 || i == 17;
    if (dash ? s[i] != '-' : (s[i] < '0' || s[i] > '9')) return false;
  }
  return true;
}

class Log : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLog();
    ResetSettings();
    ResetFolders();
    dir_ = file_private_temp_folder() + "log/";
    folder_remove_all(dir_);
    ASSERT_TRUE(folder_make(dir_));
    GameDir = dir_ + "game/";
    UserDir = dir_ + "user/";
    SaveTo = dir_;
  }
  void TearDown() override {
    ResetLog();
    folder_remove_all(dir_);
  }
  std::string dir_;
};

TEST_F(Log, WithoutTheSwitchNothingIsWritten) {
  // Lines before the log is opened and switched on go nowhere.
  WriteLog("early");
  WriteSystemDetails(ReadSystemDetails(1));
  EXPECT_EQ(StartLog({}, 1, "2.0", "0.1"), 0);
  EXPECT_TRUE(StartStamp.empty());  // no parameter at all: not even a stamp
  EXPECT_EQ(StartLog({"-x", "/LOG"}, 1, "2.0", "0.1"), 0);  // the switch counts only first
  EXPECT_TRUE(LooksLikeStamp(StartStamp)) << StartStamp;
  EXPECT_EQ(StartLog({"/LOGS"}, 1, "2.0", "0.1"), 0);
  EXPECT_EQ(StartLog({"LOG"}, 1, "2.0", "0.1"), 0);
  WriteInitialSettings();
  LogScreenshot(true);
  EXPECT_EQ(LogEnabled, 0);
  EXPECT_EQ(LogFile, 0);
  EXPECT_TRUE(folder_list(dir_).empty());
  // Opened but not switched on: only the header line.
  ASSERT_EQ(OpenLog(dir_ + "a.log", "Duskmatch"), 1);
  WriteLog("not yet");
  EXPECT_EQ(Lines(dir_ + "a.log"), std::vector<std::string>{"Duskmatch"});
}

TEST_F(Log, OpeningSectionsAreWrittenInTheirExactForm) {
  ASSERT_EQ(StartLog({"/lOg", "ignored"}, 3, "2.0", "0.1"), 1);
  EXPECT_TRUE(LooksLikeStamp(StartStamp)) << StartStamp;
  std::string path = dir_ + "Log " + StartStamp + ".log";
  EXPECT_EQ(LogFileName(SaveTo, StartStamp), path);
  std::vector<std::string> lines = Lines(path);
  ASSERT_EQ(lines.size(), 28u);
  EXPECT_EQ(lines[0], "Duskmatch");
  EXPECT_EQ(lines[1], StartStamp);
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "[SYSTEM DETAILS]");
  const char* labels[] = {"CPU Name:", "Total CPU cores:", "Available CPU cores:",
                          "Total physical memory:", "Free physical memory:",
                          "Number of desktops:", "Operating system:"};
  for (int i = 0; i < 7; ++i) {
    const std::string& line = lines[4 + i];
    std::string head = std::string(labels[i]) + "\t\t";
    ASSERT_EQ(line.compare(0, head.size(), head), 0) << line;
    std::string value = line.substr(head.size());
    EXPECT_FALSE(value.empty());
    if (i > 0) {
      EXPECT_TRUE(AllDigits(value)) << line;  // decimal, no separators or units
    }
  }
  EXPECT_EQ(lines[9], "Number of desktops:\t\t3");
  EXPECT_EQ(lines[10], "Operating system:\t\t200");
  std::vector<std::string> rest(lines.begin() + 11, lines.end());
  EXPECT_EQ(rest, (std::vector<std::string>{
      "", "[GAME DETAILS]", "Title:\t\tDuskmatch", "Family:\t\tTarnlight Games", "Version:\t\t1.0",
      "Directory:\t\towlreach game studio/Duskmatch", "Bit:\t\t(x86)", "", "[CODE SUBSYSTEMS]",
      "Language:\t\t2.0", "Cursor: \t\t0.1", "Log:\t\t1.2", "", "[PATHS]",
      "GameDir:\t\t" + dir_ + "game/", "UserDir:\t\t" + dir_ + "user/", "SaveTo:\t\t" + dir_}));
  // A second start in the same second replaces the first log.
  ASSERT_EQ(OpenLog(path, "Duskmatch"), 1);
  EXPECT_EQ(Lines(path), std::vector<std::string>{"Duskmatch"});
}

TEST_F(Log, SettingsAndStartingGameLines) {
  std::string path = dir_ + "b.log";
  ASSERT_EQ(OpenLog(path, "Duskmatch"), 1);
  EnableLog();
  WriteInitialSettings();  // defaults: no language yet, borderless, music on
  Language = "en_GB";
  GameScreen = 3;  // no GameScreen line for values other than 0, 1, 2
  Music = 0;
  WriteInitialSettings();
  WriteAvailableLanguages({"English (UK)", "Fran\xC3\xA7" "ais"});
  WriteLogSection("[STARTING GAME]");
  LogLoadLanguage("en_GB", false);
  WriteLogResult("InitSprite:", true);
  LogDesktopSize(1920, 1080);
  LogLoadAsset("music.ogg", true);
  for (int mode = -1; mode <= 3; ++mode) LogOpeningScreen(mode, mode != 1);
  LogOpenedSize(1280, 720);
  LogScreenshot(false);
  EXPECT_EQ(Lines(path), (std::vector<std::string>{
      "Duskmatch", "", "[INITIAL SETTINGS]", "Language:\t\t", "GameScreen:\t\tBorderless",
      "Music:\t\tOn", "ScreenMode:\t\t1280x720", "", "[INITIAL SETTINGS]", "Language:\t\ten_GB",
      "Music:\t\tOff", "ScreenMode:\t\t1280x720", "", "[AVAILABLE LANGUAGES]",
      "Language:\t\tEnglish (UK)", "Language:\t\tFran\xC3\xA7" "ais", "", "[STARTING GAME]",
      "Load language (en_GB):\t\tFAILED", "InitSprite:\t\tOK", "ScreenWidth:\t\t1920",
      "ScreenHeight:\t\t1080", "Load asset (music.ogg):\t\tOK", "Opening screen (Fullscreen):\t\tOK",
      "Opening screen (Windowed):\t\tFAILED", "Opening screen (Borderless):\t\tOK",
      "Screenwidth:\t\t1280", "Screenheight:\t\t720", "Saving screenshot:\t\tFAILED"}));
  GameScreen = 1;
  Music = 7;  // any non-zero value is on
  WriteInitialSettings();
  EXPECT_EQ(Lines(path)[32], "GameScreen:\t\tWindowed");
  EXPECT_EQ(Lines(path)[33], "Music:\t\tOn");
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(file_read_all(path, &bytes));
  EXPECT_EQ(bytes[0], 'D');  // no byte-order mark
}

TEST_F(Log, TurnsItselfOffWhenTheEngineHasClosedTheFile) {
  std::string path = dir_ + "c.log";
  ASSERT_EQ(OpenLog(path, "Duskmatch"), 1);
  EnableLog();
  WriteLog("before");
  file_close(LogFile);  // as the engine shutdown does
  WriteLog("after");
  EXPECT_EQ(LogEnabled, 0);
  EnableLog();  // the handle is not 0, but writing stays impossible
  WriteLog("again");
  EXPECT_EQ(Lines(path), (std::vector<std::string>{"Duskmatch", "before"}));

  // A log that cannot be created: 0, no handle, and it never switches on.
  EXPECT_EQ(OpenLog(dir_ + "missing/x.log", "Duskmatch"), 0);
  EXPECT_EQ(LogFile, 0);
  EnableLog();
  EXPECT_EQ(LogEnabled, 0);
  WriteLog("nowhere");
  SaveTo = dir_ + "missing/";
  EXPECT_EQ(StartLog({"/LOG"}, 1, "2.0", "0.1"), 0);
  EXPECT_EQ(LogEnabled, 0);
}

TEST(LogHelpers, TabsAndTheSwitch) {
  EXPECT_EQ(Tabs(0), "");
  EXPECT_EQ(Tabs(-3), "");
  EXPECT_EQ(Tabs(2), "\t\t");
  for (const char* yes : {"/LOG", "/log", "/Log"}) EXPECT_TRUE(IsLogSwitch(yes)) << yes;
  for (const char* no : {"-LOG", "/LOG ", ""}) EXPECT_FALSE(IsLogSwitch(no)) << no;
}

}  // namespace
