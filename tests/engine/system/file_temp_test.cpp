// The run's private temporary folder and the shutdown clean-up that removes
// it together with every file still open.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/system/file.h"
#include "engine/system/path.h"
#include "tests/support/environment.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

TEST(FileTemp, CleanupClosesOpenFilesAndRemovesTheFolderWhichComesBackNew) {
  std::string first = file_private_temp_folder();
  ASSERT_FALSE(first.empty());
  ASSERT_TRUE(folder_exists(first));
  EXPECT_TRUE(path_is_separator(first.back()));
  EXPECT_EQ(file_private_temp_folder(), first);  // the same folder while it exists

  ASSERT_TRUE(file_write(first + "left over", "x", 1));
  std::string kept = first + "kept open.log";
  int writing = file_open_write(kept);
  ASSERT_NE(writing, 0);
  ASSERT_TRUE(file_write_open(writing, "line\n", 5));
  int reading = file_open_read(kept);
  ASSERT_NE(reading, 0);

  file_system_cleanup();
  EXPECT_FALSE(file_is_open(writing));
  EXPECT_FALSE(file_is_open(reading));
  EXPECT_FALSE(file_write_open(writing, "more", 4));
  char byte = 0;
  EXPECT_FALSE(file_read_at(reading, 0, &byte, 1));
  // Closed first, so even Windows lets the folder and the file go.
  EXPECT_FALSE(folder_exists(first));

  std::string second = file_private_temp_folder();
  ASSERT_FALSE(second.empty());
  EXPECT_NE(second, first);
  EXPECT_TRUE(folder_exists(second));

  // Removed behind the game's back, the folder is made anew on the next ask.
  ASSERT_TRUE(folder_remove_all(second));
  std::string third = file_private_temp_folder();
  ASSERT_FALSE(third.empty());
  EXPECT_TRUE(folder_exists(third));
  file_system_cleanup();
  EXPECT_FALSE(folder_exists(third));
}

std::string own_process_number() {
#ifdef _WIN32
  return std::to_string(GetCurrentProcessId());
#else
  return std::to_string(getpid());
#endif
}

TEST(FileTemp, TheRunsFolderCarriesItsProcessNumber) {
  const std::string folder = file_private_temp_folder();
  ASSERT_FALSE(folder.empty());
  std::string name = folder.substr(0, folder.size() - 1);
  name = file_base_name(name);
  EXPECT_EQ(name.rfind("duskmatch-" + own_process_number() + "-", 0), 0u) << name;
  file_system_cleanup();
}

TEST(FileTemp, FoldersLeftByRunsThatAreGoneAreRemovedWhenTheyHoldNothingOfOthers) {
  // A temporary folder of the test's own stands in for the system's.
  const std::string base = file_private_temp_folder() + "system temp" + kPathSeparator;
  ASSERT_TRUE(folder_make(base));
#ifdef _WIN32
  test_env::Scoped tmp("TMP", base.c_str());
  test_env::Scoped temp("TEMP", base.c_str());
#else
  test_env::Scoped tmp("TMPDIR", base.c_str());
#endif
  const char sep = kPathSeparator;
  // No process has this number on Linux (above the largest there can be)
  // nor on Windows (an odd one).
  const std::string gone = "duskmatch-99999999-";
  const std::string alive = "duskmatch-" + own_process_number() + "-";
  auto make = [&](const std::string& name, std::vector<std::string> files) {
    ASSERT_TRUE(folder_make(base + name + sep));
    for (const std::string& f : files) ASSERT_TRUE(file_write(base + name + sep + f, "x", 1));
  };
  make(gone + "empty", {});
  make(gone + "languages", {"en_GB.language", "de_DE.LANGUAGE"});
  make(gone + "other file", {"en_GB.language", "notes.txt"});
  make(gone + "sub folder", {});
  ASSERT_TRUE(folder_make(base + gone + "sub folder" + sep + "inside"));
  make(alive + "running", {});
  make("duskmatch-abc123", {});  // no process number in the name
  make("duskmatch-99999999", {});
  make("other-99999999-x", {});
  ASSERT_TRUE(file_write(base + gone + "a file", "x", 1));
#ifndef _WIN32
  // A link named like a folder of a run, and a link among the language files.
  make("elsewhere", {"kept.language"});
  ASSERT_EQ(symlink((base + "elsewhere").c_str(), (base + gone + "link").c_str()), 0);
  make(gone + "linked language", {});
  ASSERT_EQ(symlink((base + "elsewhere/kept.language").c_str(),
                    (base + gone + "linked language/en_GB.language").c_str()), 0);
  // Another user's folder (root can make one): not ours to remove.
  if (geteuid() == 0) {
    make(gone + "another user", {});
    ASSERT_EQ(chown((base + gone + "another user").c_str(), 65534, 65534), 0);
  }
#endif
  std::vector<std::string> kept;
  for (const std::string& name : folder_list(base))
    if (name != gone + "empty" && name != gone + "languages") kept.push_back(name);

  file_remove_stale_temp_folders();
  EXPECT_EQ(folder_list(base), kept);
#ifndef _WIN32
  EXPECT_TRUE(file_exists(base + "elsewhere/kept.language"));
#endif
  file_system_cleanup();
}

}  // namespace
