// A normal start, in-process on the dummy drivers: the log line by line on
// the build's own packs, the state start-up leaves for the main loop, and
// where the settings are looked for and the log goes.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/display.h"
#include "app/folders.h"
#include "app/log.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "engine/screen/screen.h"
#include "engine/sound/sound.h"
#include "engine/system/file.h"
#include "engine/system/system.h"
#include "game/board.h"
#include "game/geometry.h"
#include "game/screen_state.h"
#include "game/sprites.h"
#include "tests/app/startup_harness.h"
#include "tests/support/screen_probe.h"
#include "ui/languages.h"
#include "ui/settings.h"

namespace {

using startup_test::Installation;

class Start : public ::testing::Test {
 protected:
  void SetUp() override { ResetProgram(); }
  void TearDown() override { ResetProgram(); }
  Installation inst;
};

std::vector<std::string> LanguageFilesInSource() {
  std::vector<std::string> codes;
  const char* src = std::getenv("DUSK_SOURCE_DIR");
  if (!src) return codes;
  for (const std::string& name : folder_list(std::string(src) + "/data/languages/")) {
    if (name.size() > 9 && name.substr(name.size() - 9) == ".language") codes.push_back(name);
  }
  return codes;
}

TEST_F(Start, NormalStartWritesEveryLogLineInOrder) {
  inst.Make("real");
  inst.SettingsInUserFolder("Language = en_GB\r\nMusic = 1\r\nGameScreen = 1\r\nScreenMode = 1280x720\r\n");
  StartUp({"/LOG"}, inst.prog);

  const std::string TT = "\t\t";
  std::vector<std::string> expected = {
      "Duskmatch",
      StartStamp,
      "",
      "[SYSTEM DETAILS]",
      "CPU Name:" + TT + system_cpu_name(),
      "Total CPU cores:" + TT + std::to_string(system_total_cores()),
      "Available CPU cores:" + TT + std::to_string(system_available_cores()),
      "Total physical memory:" + TT + std::to_string(system_total_memory()),
      "Free physical memory:" + TT,  // changes from moment to moment: checked below
      "Number of desktops:" + TT + std::to_string(monitor_count()),
      "Operating system:" + TT + "200",
      "",
      "[GAME DETAILS]",
      "Title:" + TT + "Duskmatch",
      "Family:" + TT + "Tarnlight Games",
      "Version:" + TT + "1.0",
      "Directory:" + TT + "owlreach game studio/Duskmatch",
      "Bit:" + TT + "(x86)",
      "",
      "[CODE SUBSYSTEMS]",
      "Language:" + TT + "2.0",
      "Cursor: " + TT + "0.1",
      "Log:" + TT + "1.2",
      "",
      "[PATHS]",
      "GameDir:" + TT + inst.prog,
      "UserDir:" + TT + inst.user,
      "SaveTo:" + TT + inst.user,
      "",
      "[INITIAL SETTINGS]",
      "Language:" + TT + "en_GB",
      "GameScreen:" + TT + "Windowed",
      "Music:" + TT + "On",
      "ScreenMode:" + TT + "1280x720",
      "",
      "[AVAILABLE LANGUAGES]",
  };
  std::vector<const LanguageEntry*> languages = CatalogueEntries();
  EXPECT_EQ(languages.size(), LanguageFilesInSource().size());
  for (const LanguageEntry* entry : languages) expected.push_back("Language:" + TT + entry->name);
  for (const std::string& line : std::vector<std::string>{
           "", "[STARTING GAME]", "Load language (en_GB):" + TT + "OK", "InitSprite:" + TT + "OK",
           "InitKeyboard:" + TT + "OK", "InitMouse:" + TT + "OK", "InitSound:" + TT + "OK",
           "ScreenWidth:" + TT + std::to_string(desktop_width(0)),
           "ScreenHeight:" + TT + std::to_string(desktop_height(0)), "Load asset (music.ogg):" + TT + "OK",
           "Opening screen (Windowed):" + TT + "OK", "Screenwidth:" + TT + "1280",
           "Screenheight:" + TT + "720"}) {
    expected.push_back(line);
  }
  for (const std::string& name : startup_test::PictureEntries()) {
    expected.push_back(startup_test::PictureLabel(name) + TT + "OK");
  }

  std::vector<std::string> log = Installation::OnlyLog(inst.user);
  ASSERT_EQ(log.size(), expected.size());
  for (size_t i = 0; i < log.size(); ++i) {
    if (expected[i] == "Free physical memory:" + TT) {
      std::string value = log[i].substr(std::min(log[i].size(), expected[i].size()));
      EXPECT_EQ(log[i].substr(0, expected[i].size()), expected[i]);
      EXPECT_FALSE(value.empty());
      EXPECT_EQ(value.find_first_not_of("0123456789"), std::string::npos) << value;
      continue;
    }
    EXPECT_EQ(log[i], expected[i]) << "line " << i + 1;
  }
  EXPECT_EQ(startup_test::LogFiles(inst.user)[0], LogFileName(inst.user, StartStamp));

  // What the main loop starts from.
  EXPECT_EQ(ScreenState, LogoSplash);
  EXPECT_TRUE(screen_is_open());
  EXPECT_TRUE(screen_in_window());
  EXPECT_TRUE(window_exists(kGameWindow));
  EXPECT_EQ(screen_width(), 1280);
  EXPECT_EQ(screen_height(), 720);
  EXPECT_EQ(CardSize, 110);
  EXPECT_EQ(BoardLeft, 165);
  EXPECT_EQ(BoardTop, 5);
  EXPECT_EQ(CardAt(0, 0).X, 165);
  EXPECT_EQ(sprite_width(kDimSprite), 1280);
  EXPECT_EQ(sound_status(0), kSoundPlaying);
  EXPECT_EQ(LanguageList[static_cast<size_t>(LanguageIndex)].code, "en_GB");
  EXPECT_FALSE(Text("tMenuSTART").empty());
}

// ---- Where the settings are looked for ----

TEST_F(Start, SettingsBesideTheProgramWin) {
  inst.Make("tiny");
  // A system language that has a file: it must not be asked for.
  setenv("LANG", "de_DE.UTF-8", 1);
  inst.SettingsBeside("Music = 0\r\nGameScreen = 1\r\n");
  StartUp({"/LOG"}, inst.prog);
  EXPECT_FALSE(folder_exists(inst.home + "owlreach game studio"));
  EXPECT_EQ(SaveTo, inst.prog);
  std::vector<std::string> log = Installation::OnlyLog(inst.prog);
  ASSERT_FALSE(log.empty());
  auto at = [&log](const std::string& line) { return std::find(log.begin(), log.end(), line) != log.end(); };
  // No language in the file: the label alone in the settings, then the default.
  EXPECT_TRUE(at("Language:\t\t"));
  EXPECT_TRUE(at("Load language (en_GB):\t\tOK"));
  EXPECT_TRUE(at("Music:\t\tOff"));
  EXPECT_EQ(Language, "en_GB");
  EXPECT_EQ(Text("tMenuSTART"), "Begin");
  EXPECT_NE(sound_status(0), kSoundPlaying);
}

TEST_F(Start, FirstRunTakesTheSystemLanguageWhenThereIsAFile) {
  inst.Make("tiny");
  setenv("LANG", "de_DE.UTF-8", 1);
  StartUp({"/LOG"}, inst.prog);
  EXPECT_TRUE(folder_exists(inst.user));
  EXPECT_EQ(SaveTo, inst.user);
  EXPECT_TRUE(startup_test::LogFiles(inst.prog).empty());
  std::vector<std::string> log = Installation::OnlyLog(inst.user);
  EXPECT_NE(std::find(log.begin(), log.end(), "Load language (de_DE):\t\tOK"), log.end());
  EXPECT_EQ(Language, "de_DE");
  EXPECT_EQ(Text("tMenuSTART"), "Neues Spiel");
  EXPECT_EQ(LanguageList[static_cast<size_t>(LanguageIndex)].code, "de_DE");
}

TEST_F(Start, FirstRunWithAnUnknownSystemLanguageFallsBackToBritishEnglish) {
  inst.Make("tiny");
  setenv("LANG", "xx_YY.UTF-8", 1);
  StartUp({"/LOG"}, inst.prog);
  std::vector<std::string> log = Installation::OnlyLog(inst.user);
  auto next_to = [&log](const std::string& line) {
    auto it = std::find(log.begin(), log.end(), line);
    return it == log.end() || it + 1 == log.end() ? std::string("<none>") : *(it + 1);
  };
  // The guess is what the settings show; the fallback is what is loaded.
  EXPECT_EQ(next_to("[INITIAL SETTINGS]"), "Language:\t\txx_YY");
  EXPECT_EQ(next_to("[STARTING GAME]"), "Load language (en_GB):\t\tOK");
  EXPECT_EQ(Language, "en_GB");
}

TEST_F(Start, SettingsInTheUserFolderAreReadWhenNoneLieBesideTheProgram) {
  inst.Make("tiny");
  inst.SettingsInUserFolder("Language = de_DE\r\nGameScreen = 0\r\nScreenMode = 1600x900\r\n");
  StartUp({}, inst.prog);
  EXPECT_EQ(SaveTo, inst.user);
  EXPECT_EQ(Language, "de_DE");
  // Full screen ignores the window size: the desktop's size is opened.
  EXPECT_EQ(screen_width(), desktop_width(0));
  EXPECT_EQ(screen_height(), desktop_height(0));
  EXPECT_FALSE(screen_in_window());
  EXPECT_FALSE(window_exists(kGameWindow));
}

// ---- The log switch ----

struct SwitchCase {
  const char* name;
  std::vector<std::string> params;
  bool log;
};

class LogSwitch : public Start, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(LogSwitch, OnlyAsTheFirstParameterInAnyCase) {
  const SwitchCase& c = GetParam();
  inst.Make("tiny");
  inst.SettingsBeside("GameScreen = 1\r\n");
  StartUp(c.params, inst.prog);
  EXPECT_EQ(startup_test::LogFiles(inst.prog).size(), c.log ? 1u : 0u);
  EXPECT_FALSE(folder_exists(inst.user));
  // Any parameter at all stamps the start; none leaves the stamp empty.
  EXPECT_EQ(StartStamp.empty(), c.params.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogSwitch,
    ::testing::Values(SwitchCase{"Lower", {"/log"}, true}, SwitchCase{"Mixed", {"/LoG", "more"}, true},
                      SwitchCase{"Second", {"-x", "/LOG"}, false}, SwitchCase{"Longer", {"/LOGS"}, false},
                      SwitchCase{"None", {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// ---- The orderly end ----

TEST(OrderlyEnd, SavesTheCurrentSettingsAndExitsWithZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ResetProgram();
  Installation inst;
  inst.Make("tiny");
  inst.SettingsInUserFolder("Language = de_DE\r\nGameScreen = 1\r\nScreenMode = 1024x768\r\n");
  EXPECT_EXIT(
      {
        StartUp({}, inst.prog);
        Music = 0;  // as if M had been pressed while the music played
        OrderlyEnd();
      },
      ::testing::ExitedWithCode(0), "");
  std::vector<std::string> lines = startup_test::ReadLines(inst.user + kSettingsFileName);
  for (const char* line : {"[Settings]", "Language = de_DE", "Music = 0", "GameScreen = 1", "ScreenMode = 1024x768"}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  }
  EXPECT_FALSE(file_exists(inst.prog + kSettingsFileName));
  ResetProgram();
}
