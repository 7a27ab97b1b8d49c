// Files kept open and written piece by piece, as the diagnostic log is.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/system/file.h"

namespace {

TEST(FileHandle, PiecesLandInOrderAndAClosedHandleTakesNoMore) {
  std::string dir = file_private_temp_folder() + "handles/";
  ASSERT_TRUE(folder_make(dir));
  std::string path = dir + "piece by piece.txt";
  ASSERT_TRUE(file_write(path, "old content", 11));
  int a = file_open_write(path);  // replaces the old content
  int b = file_open_write(dir + "second");
  ASSERT_NE(a, 0);
  ASSERT_NE(b, 0);
  EXPECT_NE(a, b);
  EXPECT_TRUE(file_write_open(a, "one\r\n", 5));
  EXPECT_TRUE(file_write_open(a, "two\r\n", 5));
  file_close(a);
  EXPECT_FALSE(file_is_open(a));
  EXPECT_FALSE(file_write_open(a, "three", 5));
  EXPECT_TRUE(file_is_open(b));  // closing one leaves the other open
  file_close(b);
  std::vector<uint8_t> data;
  ASSERT_TRUE(file_read_all(path, &data));
  EXPECT_EQ(std::string(data.begin(), data.end()), "one\r\ntwo\r\n");
  EXPECT_EQ(file_open_write(dir + "no such folder/x"), 0);
  EXPECT_EQ(file_open_write(dir), 0);
  EXPECT_FALSE(file_write_open(0, "x", 1));
  folder_remove_all(dir);
}

}  // namespace
