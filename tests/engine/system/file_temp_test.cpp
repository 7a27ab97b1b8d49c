// The run's private temporary folder and the shutdown clean-up that removes
// it together with every file still open.
#include <string>

#include <gtest/gtest.h>

#include "engine/system/file.h"
#include "engine/system/path.h"

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

}  // namespace
