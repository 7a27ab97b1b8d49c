// The game's folders: the per-user folder, making folder paths, and where
// the settings are looked for and later written.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "app/folders.h"
#include "engine/system/file.h"
#include "engine/system/path.h"
#include "engine/system/system.h"
#include "tests/support/environment.h"
#include "ui/settings.h"

namespace {

class Folders : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFolders();
    ResetSettings();
    dir_ = file_private_temp_folder() + "folders/";
    folder_remove_all(dir_);
    ASSERT_TRUE(folder_make(dir_ + "game/"));
  }
  void TearDown() override { folder_remove_all(dir_); }
  void PutPrefs(const std::string& folder, const std::string& language) {
    std::string text = "[Settings]\r\nLanguage = " + language + "\r\n";
    ASSERT_TRUE(folder_make(folder));
    ASSERT_TRUE(file_write(folder + "Duskmatch.prefs", text.data(), text.size()));
  }
  std::string dir_;
};

#ifndef _WIN32
TEST_F(Folders, UserFolderFollowsTheDataHomeOrTheHomeFolder) {
  struct Case { const char* xdg; const char* home; std::string want; } cases[] = {
      {"/data/home//", "/home/player", "/data/home/sub dir/"},
      {"relative/is/ignored", "/home/player/", "/home/player/.local/share/sub dir/"},
      {"", "/", "/.local/share/sub dir/"},
      {nullptr, nullptr, ""}};
  for (const Case& c : cases) {
    test_env::Scoped xdg("XDG_DATA_HOME", c.xdg);
    test_env::Scoped home("HOME", c.home);
    EXPECT_EQ(SpecialFolderPath("sub dir"), c.want);
  }
}

#endif

TEST_F(Folders, MakePathCreatesEveryMissingLevel) {
  std::string deep = dir_ + "a/b c/d";
  EXPECT_EQ(MakePath(deep), 1);  // no trailing "/" needed
  EXPECT_TRUE(folder_exists(deep + "/"));
  EXPECT_EQ(MakePath(deep + "/"), 1);  // already there
  EXPECT_EQ(MakePath(dir_ + "a//e/"), 1);
  EXPECT_TRUE(folder_exists(dir_ + "a/e/"));
  // A file where a level should be: that level and those under it fail.
  ASSERT_TRUE(file_write(dir_ + "plain", "x", 1));
  EXPECT_EQ(MakePath(dir_ + "plain/sub/"), 0);
  EXPECT_FALSE(folder_exists(dir_ + "plain/sub/"));
}

#ifndef _WIN32
TEST_F(Folders, SettingsBesideTheProgramWinOtherwiseTheUserFolderIsUsed) {
  test_env::Scoped xdg("XDG_DATA_HOME", (dir_ + "data").c_str());
  std::string game = dir_ + "game/";
  std::string user = dir_ + "data/owlreach game studio/Duskmatch/";
  // Nothing anywhere: the user folder is made and becomes SaveTo.
  EXPECT_EQ(LocateSettings(game), 0);
  EXPECT_EQ(GameDir, game);
  EXPECT_EQ(UserDir, user);
  EXPECT_EQ(SaveTo, user);
  EXPECT_TRUE(folder_exists(user));
  PutPrefs(user, "from user");
  EXPECT_EQ(LocateSettings(game), 0);
  EXPECT_EQ(Language, "from user");
  // A file beside the program wins; the user folder is not even looked at.
  folder_remove_all(dir_ + "data/");
  PutPrefs(game, "beside");
  EXPECT_EQ(LocateSettings(game), 1);
  EXPECT_EQ(SaveTo, game);
  EXPECT_EQ(Language, "beside");
  EXPECT_FALSE(folder_exists(dir_ + "data/"));
  // Something under that name that is no settings file (a folder, a pipe
  // that would never deliver an end) is not found: the user folder is used,
  // where the settings can be saved.
  ASSERT_TRUE(file_remove(game + "Duskmatch.prefs"));
  ASSERT_TRUE(folder_make(game + "Duskmatch.prefs/"));
  EXPECT_EQ(LocateSettings(game), 0);
  EXPECT_EQ(SaveTo, user);
  ASSERT_TRUE(file_remove(game + "Duskmatch.prefs"));
  ASSERT_EQ(mkfifo((game + "Duskmatch.prefs").c_str(), 0644), 0);
  EXPECT_EQ(LocateSettings(game), 0);
  EXPECT_EQ(SaveTo, user);
  // Without any user folder the settings stay beside the program.
  file_remove(game + "Duskmatch.prefs");
  test_env::Scoped no_xdg("XDG_DATA_HOME", nullptr);
  test_env::Scoped no_home("HOME", nullptr);
  EXPECT_EQ(LocateSettings(game), 0);
  EXPECT_EQ(UserDir, "");
  EXPECT_EQ(SaveTo, game);
}
#endif

#ifdef _WIN32
TEST_F(Folders, TheUserFolderIsInTheRoamingFolderWithBackslashes) {
  std::string roaming = system_roaming_folder();
  ASSERT_FALSE(roaming.empty());
  std::string user = SpecialFolderPath(kUserSubFolder);
  EXPECT_EQ(user, roaming + "owlreach game studio\\Duskmatch\\");
  EXPECT_EQ(SpecialFolderPath("x"), roaming + "x\\");
  // e.g. "C:\users\<name>\AppData\Roaming\owlreach game studio\Duskmatch\"
  EXPECT_EQ(user.find('/'), std::string::npos) << user;
  EXPECT_EQ(user.substr(1, 2), ":\\") << user;
}

TEST_F(Folders, MakePathTakesBackslashesAndSlashesOnWindows) {
  std::string deep = dir_ + "w\\x y\\\xC3\xBC";  // no closing separator
  EXPECT_EQ(MakePath(deep), 1);
  EXPECT_TRUE(folder_exists(deep + "\\"));
  EXPECT_EQ(MakePath(dir_ + "w/mixed\\levels/"), 1);
  EXPECT_TRUE(folder_exists(dir_ + "w\\mixed\\levels\\"));
  EXPECT_EQ(MakePath(dir_ + "w\\\\doubled\\"), 1);
  EXPECT_TRUE(folder_exists(dir_ + "w\\doubled"));
  ASSERT_TRUE(file_write(dir_ + "plain", "x", 1));
  EXPECT_EQ(MakePath(dir_ + "plain\\sub\\"), 0);
  EXPECT_FALSE(folder_exists(dir_ + "plain\\sub"));
}

TEST_F(Folders, WithoutSettingsBesideTheProgramTheRoamingFolderIsUsed) {
  std::string game = dir_ + "game\\";
  std::string user = SpecialFolderPath(kUserSubFolder);
  bool existed = folder_exists(user);
  bool had_prefs = file_exists(user + "Duskmatch.prefs");
  EXPECT_EQ(LocateSettings(game), 0);
  EXPECT_EQ(GameDir, game);
  EXPECT_EQ(UserDir, user);
  EXPECT_EQ(SaveTo, user);
  EXPECT_TRUE(folder_exists(user));
  PutPrefs(game, "beside");
  EXPECT_EQ(LocateSettings(game), 1);
  EXPECT_EQ(SaveTo, game);
  EXPECT_EQ(Language, "beside");
  // Leave the player's folder as it was found.
  if (!existed && !had_prefs) {
    folder_remove_all(user);
    file_remove(SpecialFolderPath("owlreach game studio"));
  }
}
#endif

}  // namespace
