// The settings file: its exact bytes after a save, how odd files are read,
// and that a failed save never leaves a damaged file behind.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/settings_file.h"
#include "engine/system/file.h"
#include "ui/settings.h"

namespace {

std::string Slurp(const std::string& path) {
  std::vector<uint8_t> data;
  if (!file_read_all(path, &data)) return "<unreadable>";
  return std::string(data.begin(), data.end());
}

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettings();
    dir_ = file_private_temp_folder() + "settings/";
    folder_remove_all(dir_);
    ASSERT_TRUE(folder_make(dir_));
  }
  void TearDown() override { folder_remove_all(dir_); }
  void Put(const std::string& bytes) {
    ASSERT_TRUE(file_write(dir_ + "Duskmatch.prefs", bytes.data(), bytes.size()));
  }
  std::string dir_;
};

TEST_F(Settings, SaveWritesExactlyTheSevenLines) {
  ASSERT_EQ(SaveSettings(dir_), 1);
  EXPECT_EQ(Slurp(dir_ + "Duskmatch.prefs"),
            "\xEF\xBB\xBF\r\n"
            "; Duskmatch 1.0 Preferences\r\n"
            "[Settings]\r\n"
            "Language = \r\n"
            "Music = 1\r\n"
            "GameScreen = 2\r\n"
            "ScreenMode = 1280x720\r\n");
  // Whatever the file held before (comments, unknown keys, other groups)
  // is gone after the next save; out-of-range values are kept as they are.
  Put("; mine\r\n[Extra]\r\nKeep = me\r\n[Settings]\r\nUnknown = 1\r\n");
  Language = "fr_FR";
  Music = 0;
  GameScreen = -7;
  ScreenMode = "1920x1080";
  ASSERT_EQ(SaveSettings(dir_), 1);
  EXPECT_EQ(Slurp(dir_ + "Duskmatch.prefs"),
            "\xEF\xBB\xBF\r\n; Duskmatch 1.0 Preferences\r\n[Settings]\r\nLanguage = fr_FR\r\n"
            "Music = 0\r\nGameScreen = -7\r\nScreenMode = 1920x1080\r\n");
  EXPECT_EQ(folder_list(dir_), std::vector<std::string>{"Duskmatch.prefs"});  // no temporaries
}

TEST_F(Settings, OddFilesReadAsIfWrittenByTheGame) {
  Put("[SETTINGS]\nlanguage=pt_BR\nMUSIC=off\ngamescreen=1x\n");
  ASSERT_EQ(LoadSettings(dir_), 1);
  EXPECT_EQ(Language, "pt_BR");
  EXPECT_EQ(Music, 0);            // letters read as 0: music off
  EXPECT_EQ(GameScreen, 1);       // a digit followed by letters
  EXPECT_EQ(ScreenMode, "1280x720");  // missing: the default

  // Latin-1 in, UTF-8 with the mark out on the next save.
  Put("[Settings]\r\nLanguage = Fran\xE7" "ais  \r\n");
  ASSERT_EQ(LoadSettings(dir_), 1);
  EXPECT_EQ(Language, "Fran\xC3\xA7" "ais");
  ASSERT_EQ(SaveSettings(dir_), 1);
  std::string saved = Slurp(dir_ + "Duskmatch.prefs");
  EXPECT_NE(saved.find("\r\nLanguage = Fran\xC3\xA7" "ais\r\n"), std::string::npos);
  EXPECT_EQ(saved.compare(0, 3, "\xEF\xBB\xBF"), 0);
}

TEST_F(Settings, DefaultsWhenTheFileHoldsNoSettingsAndNothingWhenThereIsNoFile) {
  // No file: 0, and the values stay as they were.
  Language = "de_DE";
  Music = 0;
  GameScreen = 0;
  ScreenMode = "800x600";
  EXPECT_EQ(LoadSettings(dir_), 0);
  EXPECT_EQ(Language, "de_DE");
  EXPECT_EQ(Music, 0);
  EXPECT_EQ(ScreenMode, "800x600");

  // A file without the group still counts as found: every key takes its
  // default, GameScreen keeps the value it already has, and a key standing
  // before the group header is not read.
  Put("Language = en_US\r\nMusic = 0\r\n[Other]\r\nGameScreen = 1\r\n");
  EXPECT_EQ(LoadSettings(dir_), 1);
  EXPECT_EQ(Language, "");
  EXPECT_EQ(Music, 1);
  EXPECT_EQ(GameScreen, 0);
  EXPECT_EQ(ScreenMode, "1280x720");

  // Any bytes at all, or none, are still a file that was found.
  Put(std::string("\0\xFF\r\r\n[\n=\n;", 10));
  EXPECT_EQ(LoadSettings(dir_), 1);
  Put("");
  EXPECT_EQ(LoadSettings(dir_), 1);
}

TEST_F(Settings, AFailedSaveLeavesTheOldFileWhole) {
  std::string old = "\xEF\xBB\xBF\r\n[Settings]\r\nLanguage = it_IT\r\n";
  Put(old);
  Language = "a much longer value than the old file had room for";
  // The disk "fills up" after 16 bytes: writing the new file fails part way.
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 16;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  int result = SaveSettings(dir_);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Slurp(dir_ + "Duskmatch.prefs"), old);
  EXPECT_EQ(folder_list(dir_), std::vector<std::string>{"Duskmatch.prefs"});

  // A folder that does not exist, or a folder in the file's place: 0.
  EXPECT_EQ(SaveSettings(dir_ + "missing/"), 0);
  ASSERT_TRUE(folder_make(dir_ + "blocked/Duskmatch.prefs/"));
  EXPECT_EQ(SaveSettings(dir_ + "blocked/"), 0);
  EXPECT_EQ(folder_list(dir_ + "blocked/"), std::vector<std::string>{"Duskmatch.prefs"});
}

TEST_F(Settings, SaveKeepsALinkedFileAndItsMode) {
  // Players who keep their settings elsewhere link the file into place,
  // and a private file stays private.
  ASSERT_TRUE(folder_make(dir_ + "kept/"));
  const std::string real = dir_ + "kept/Duskmatch.prefs";
  ASSERT_TRUE(file_write(real, "[Settings]\r\n", 12));
  ASSERT_EQ(chmod(real.c_str(), 0600), 0);
  ASSERT_EQ(symlink("kept/Duskmatch.prefs", (dir_ + "Duskmatch.prefs").c_str()), 0);
  Language = "nl_NL";
  ASSERT_EQ(SaveSettings(dir_), 1);
  struct stat st;
  ASSERT_EQ(lstat((dir_ + "Duskmatch.prefs").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link was replaced by a file";
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ResetSettings();
  ASSERT_EQ(LoadSettings(dir_ + "kept/"), 1);
  EXPECT_EQ(Language, "nl_NL");
}

}  // namespace
