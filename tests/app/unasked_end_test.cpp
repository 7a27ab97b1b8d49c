// Ends nobody asked for inside the game: the terminal it was started from
// closing (a hang-up) and the display going away under it. Both end in
// order, settings saved and exit code 0, like the end of a session; on top
// of a fatal end nothing is saved. (The real display server going away is
// the unasked_end test script's, on a virtual X display.)
#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/fatal.h"
#include "app/main_loop.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "engine/system/file.h"
#include "tests/app/startup_harness.h"
#include "ui/menu.h"
#include "ui/settings.h"

namespace {

using startup_test::Installation;

std::string Slurp(const std::string& path) {
  std::vector<uint8_t> data;
  if (!file_read_all(path, &data)) return "<none>";
  return std::string(data.begin(), data.end());
}

// The settings file as the orderly end writes it for these tests.
std::string Saved(int gameScreen) {
  return "\xEF\xBB\xBF\r\n; Duskmatch 1.0 Preferences\r\n[Settings]\r\nLanguage = en_GB\r\nMusic = 0\r\n"
         "GameScreen = " + std::to_string(gameScreen) + "\r\nScreenMode = 1280x720\r\n";
}

// Passes of the main loop until it ends, at most about 15 s of them; a loop
// that does not end leaves the process with exit code 3.
void RunLoopAWhile() {
  for (int pass = 0; pass < 900 && QuitRequested != 1; ++pass) LoopPass();
  if (QuitRequested != 1) std::exit(3);
}

class UnaskedEnd : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    // The child runs the test afresh in a new process: SDL's threads of the
    // parent never meet a fork.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ResetProgram();
    inst.Make("tiny");
    inst.SettingsBeside("Music = 0\r\nGameScreen = " + std::to_string(GetParam()) + "\r\n");
  }
  void TearDown() override { ResetProgram(); }
  std::string Settings() const { return Slurp(inst.prog + kSettingsFileName); }

  Installation inst;
};

TEST_P(UnaskedEnd, AHangUpEndsTheLoopInOrderAsTheEndOfASessionDoes) {
  EXPECT_EXIT(
      {
        StartUp({"/LOG"}, inst.prog);
        std::raise(SIGHUP);
        RunLoopAWhile();
        OrderlyEnd();
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(Settings(), Saved(GetParam()));
}

TEST_P(UnaskedEnd, ALostDisplaySaysSoAndEndsInOrderWithoutTheScreen) {
  EXPECT_EXIT(
      {
        StartUp({"/LOG"}, inst.prog);
        LoopPass();
        DisplayLost();
      },
      ::testing::ExitedWithCode(0), "the connection to the display was lost; the settings are saved");
  EXPECT_EQ(Settings(), Saved(GetParam()));
}

TEST_P(UnaskedEnd, ALostDisplayDuringAFatalEndSavesNothing) {
  const std::string before = Settings();
  EXPECT_EXIT(
      {
        StartUp({"/LOG"}, inst.prog);
        ShowFatalMessage("the picture is missing");
        DisplayLost();
      },
      ::testing::ExitedWithCode(0), "the picture is missing\n.*the connection to the display was lost\\.");
  EXPECT_EQ(Settings(), before);
}

std::string ModeName(const ::testing::TestParamInfo<int>& info) {
  return info.param == 0 ? "FullScreen" : info.param == 1 ? "Window" : "Borderless";
}

INSTANTIATE_TEST_SUITE_P(Each, UnaskedEnd, ::testing::Values(0, 1, 2), ModeName);

}  // namespace
