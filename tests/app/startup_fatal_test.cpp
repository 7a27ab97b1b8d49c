// The single fatal path: every failure start-up cannot live with ends the
// process with exit code 0, a last log line naming the failure, the message
// on standard error, and no settings file written.
#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "app/display.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "engine/sound/sound.h"
#include "engine/system/file.h"
#include "game/assets.h"
#include "tests/app/startup_harness.h"
#include "ui/settings.h"

namespace {

using startup_test::Installation;

int Fails() { return 0; }

// Makes the subsystem at a position of the start order fail.
void BreakSubsystem(int index) {
  int (**slots[])() = {&Subsystems.sprite, &Subsystems.keyboard, &Subsystems.mouse, &Subsystems.sound};
  *slots[index] = Fails;
}

class FatalEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    // The child runs the test afresh in a new process: SDL's threads of the
    // parent never meet a fork.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ResetProgram();
  }
  void TearDown() override { ResetProgram(); }

  // With no settings anywhere the log and any settings would go to the
  // user folder.
  std::vector<std::string> Log() const { return Installation::OnlyLog(inst.user); }
  void ExpectNoSettingsWritten() const {
    EXPECT_FALSE(file_exists(inst.prog + kSettingsFileName));
    EXPECT_FALSE(file_exists(inst.user + kSettingsFileName));
  }
  static bool Has(const std::vector<std::string>& lines, const std::string& prefix) {
    for (const std::string& line : lines)
      if (line.rfind(prefix, 0) == 0) return true;
    return false;
  }

  Installation inst;
};

// ---- The four subsystems ----

struct SubsystemCase {
  const char* part;
  const char* label;
  int index;  // position in the start order
};

class SubsystemMissing : public FatalEnd, public ::testing::WithParamInterface<SubsystemCase> {};

TEST_P(SubsystemMissing, EndsWithItsMessageAfterTheEarlierOnesStarted) {
  const SubsystemCase& c = GetParam();
  inst.Make("tiny");
  const std::string message = std::string("Duskmatch::") + startup_test::kErrorWord + "\n" +
                              startup_test::kSubsystemText + "  : " + c.part;
  EXPECT_EXIT(
      {
        BreakSubsystem(c.index);
        StartUp({"/LOG"}, inst.prog);
      },
      ::testing::ExitedWithCode(0), message);
  std::vector<std::string> log = Log();
  ASSERT_GE(log.size(), 5u);
  EXPECT_EQ(log.back(), std::string(c.label) + "\t\tFAILED");
  const char* labels[] = {"InitSprite:", "InitKeyboard:", "InitMouse:", "InitSound:"};
  for (int i = 0; i < c.index; ++i) {
    EXPECT_EQ(log[log.size() - 1 - static_cast<size_t>(c.index - i)], std::string(labels[i]) + "\t\tOK");
  }
  ExpectNoSettingsWritten();
}

INSTANTIATE_TEST_SUITE_P(Each, SubsystemMissing,
                         ::testing::Values(SubsystemCase{"Sprite", "InitSprite:", 0},
                                           SubsystemCase{"Keyboard", "InitKeyboard:", 1},
                                           SubsystemCase{"Mouse", "InitMouse:", 2},
                                           SubsystemCase{"Sound", "InitSound:", 3}),
                         [](const auto& info) { return std::string(info.param.part); });

// Without any language the message still comes, only with empty texts.
TEST_F(FatalEnd, WithoutLanguageTheMessageIsTheBareSubsystemWord) {
  inst.Make("tiny");
  ASSERT_TRUE(folder_remove_all(inst.prog + "DuskmatchLanguages.pack"));
  EXPECT_EXIT(
      {
        Subsystems.sprite = Fails;
        StartUp({"/LOG"}, inst.prog);
      },
      ::testing::ExitedWithCode(0), "Duskmatch::\n  : Sprite\n");
  std::vector<std::string> log = Log();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "Load language (en_GB):\t\tFAILED");
  EXPECT_EQ(log.back(), "InitSprite:\t\tFAILED");
  ExpectNoSettingsWritten();
}

// ---- The music, before any window ----

class MusicMissing : public FatalEnd, public ::testing::WithParamInterface<std::string> {};

TEST_P(MusicMissing, EndsBeforeTheDisplayOpens) {
  const std::string& fault = GetParam();
  inst.Make("tiny", fault == "NoMusicEntry" ? "music.ogg" : "");
  const std::string pack = inst.prog + "DuskmatchData.pack";
  if (fault == "NoDataPack") {
    ASSERT_TRUE(file_remove(pack));
  }
  if (fault == "DamagedPack") Installation::Write(pack, "this is not a pack");
  // Music too slow or too fast for any playback buffer.
  if (fault == "TwoHertz") startup_test::WriteTinyDataPack(pack, "", startup_test::TinyWav(2));
  if (fault == "RateBelowTheRange") startup_test::WriteTinyDataPack(pack, "", startup_test::TinyWav(99));
  if (fault == "RateAboveTheRange") startup_test::WriteTinyDataPack(pack, "", startup_test::TinyWav(200001));
  if (fault == "MusicNotASound") {
    // The music entry holds a picture instead.
    int p = pack_create(-1, pack, kPackFormatData, 1);
    ASSERT_NE(p, 0);
    std::vector<uint8_t> png = startup_test::TinyPng();
    ASSERT_TRUE(pack_add_memory(p, "music.ogg", png.data(), png.size()));
    ASSERT_TRUE(pack_finish(p));
  }
  const std::string message =
      std::string("Duskmatch::") + startup_test::kErrorWord + "\n" + startup_test::kAssetText;
  EXPECT_EXIT(StartUp({"/LOG"}, inst.prog), ::testing::ExitedWithCode(0), message);
  std::vector<std::string> log = Log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "Load asset (music.ogg):\t\tFAILED");
  EXPECT_FALSE(Has(log, "Opening screen"));
  ExpectNoSettingsWritten();
}

INSTANTIATE_TEST_SUITE_P(Each, MusicMissing,
                         ::testing::Values("NoDataPack", "NoMusicEntry", "DamagedPack", "MusicNotASound",
                                           "TwoHertz", "RateBelowTheRange", "RateAboveTheRange"));

// The ends of the range are music like any other.
TEST_F(FatalEnd, MusicAtTheEndsOfTheRatesStarts) {
  for (uint32_t rate : {100u, 200000u}) {
    SCOPED_TRACE(rate);
    inst.Make("tiny");
    startup_test::WriteTinyDataPack(inst.prog + "DuskmatchData.pack", "", startup_test::TinyWav(rate));
    StartUp({"/LOG"}, inst.prog);
    EXPECT_EQ(Screen, 1);
    EXPECT_EQ(sound_status(kMusicSound), kSoundPlaying);
    std::vector<std::string> log = Log();
    EXPECT_TRUE(Has(log, "Load asset (music.ogg):\t\tOK"));
    ResetProgram();
  }
}

// ---- Every picture ----

class PictureMissing : public FatalEnd, public ::testing::WithParamInterface<int> {};

TEST_P(PictureMissing, EndsAfterEveryEarlierPictureLoaded) {
  const std::vector<std::string> pictures = startup_test::PictureEntries();
  const size_t index = static_cast<size_t>(GetParam());
  const std::string& name = pictures[index];
  inst.Make("tiny", name);
  EXPECT_EXIT(StartUp({"/LOG"}, inst.prog), ::testing::ExitedWithCode(0), startup_test::kAssetText);
  std::vector<std::string> log = Log();
  ASSERT_GT(log.size(), index + 1);
  EXPECT_EQ(log.back(), "Load asset (" + name + "):\t\tFAILED");
  // The pictures before it, in order, each OK, right after the display opened.
  for (size_t i = 0; i < index; ++i) {
    EXPECT_EQ(log[log.size() - 1 - index + i], startup_test::PictureLabel(pictures[i]) + "\t\tOK");
  }
  EXPECT_EQ(log[log.size() - 2 - index], "Screenheight:\t\t768");
  ExpectNoSettingsWritten();
}

INSTANTIATE_TEST_SUITE_P(Each, PictureMissing, ::testing::Range(0, static_cast<int>(startup_test::PictureEntries().size())), [](const auto& info) {
  std::string name = startup_test::PictureEntries()[static_cast<size_t>(info.param)];
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
});

// A picture whose pixels fail their own checksum (every chunk's CRC right)
// is no picture: the start ends with the asset message naming it.
TEST_F(FatalEnd, APictureFailingItsPixelChecksumEndsWithTheAssetMessage) {
  inst.Make("tiny");
  startup_test::WriteTinyDataPack(inst.prog + "DuskmatchData.pack", "", startup_test::TinyWav(), "menu.png");
  EXPECT_EXIT(StartUp({"/LOG"}, inst.prog), ::testing::ExitedWithCode(0), startup_test::kAssetText);
  std::vector<std::string> log = Log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "Load asset (menu.png):\t\tFAILED");
  ExpectNoSettingsWritten();
}

// ---- No screen ----

struct ScreenCase {
  const char* name;
  const char* settings;
  const char* last;  // the expected last log line
};

class ScreenMissing : public FatalEnd, public ::testing::WithParamInterface<ScreenCase> {};

TEST_P(ScreenMissing, EndsWithTheScreenMessage) {
  const ScreenCase& c = GetParam();
  inst.Make("tiny");
  inst.SettingsInUserFolder(c.settings);
  std::vector<uint8_t> before;
  ASSERT_TRUE(file_read_all(inst.user + kSettingsFileName, &before));
  const std::string message =
      std::string("Duskmatch::") + startup_test::kErrorWord + "\n" + startup_test::kScreenText;
  EXPECT_EXIT(StartUp({"/LOG"}, inst.prog), ::testing::ExitedWithCode(0), message);
  std::vector<std::string> log = Log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), c.last);
  EXPECT_EQ(Has(log, "Opening screen"), std::string(c.last).rfind("Opening", 0) == 0);
  // The player's settings file is left as it was.
  std::vector<uint8_t> after;
  ASSERT_TRUE(file_read_all(inst.user + kSettingsFileName, &after));
  EXPECT_EQ(after, before);
  EXPECT_FALSE(file_exists(inst.prog + kSettingsFileName));
  // Nothing of the size asked for was made: no child of this test has come
  // near a gigabyte.
  struct rusage children {};
  getrusage(RUSAGE_CHILDREN, &children);
  EXPECT_LT(children.ru_maxrss, 512L * 1024) << "KiB at the highest";
}

INSTANTIATE_TEST_SUITE_P(
    Each, ScreenMissing,
    ::testing::Values(
        // An edited settings file: no such window mode, so nothing is tried.
        ScreenCase{"UnknownWindowMode", "GameScreen = 7\r\n", "Load asset (music.ogg):\t\tOK"},
        // A window of no size cannot be opened.
        ScreenCase{"WindowOfNoSize", "GameScreen = 1\r\nScreenMode = 0x0\r\n",
                   "Opening screen (Windowed):\t\tFAILED"},
        ScreenCase{"NegativeWindowSize", "GameScreen = 1\r\nScreenMode = -5x-5\r\n",
                   "Opening screen (Windowed):\t\tFAILED"},
        // Wider or taller than a renderer holds, larger than any display.
        ScreenCase{"WindowTooWide", "GameScreen = 1\r\nScreenMode = 99999x1\r\n",
                   "Opening screen (Windowed):\t\tFAILED"},
        ScreenCase{"WindowTooTall", "GameScreen = 1\r\nScreenMode = 1x99999\r\n",
                   "Opening screen (Windowed):\t\tFAILED"},
        ScreenCase{"WindowOfAGigapixel", "GameScreen = 1\r\nScreenMode = 16384x16384\r\n",
                   "Opening screen (Windowed):\t\tFAILED"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
