// File access wrapper and text encodings.
#include "engine/system/file.h"
#include "engine/system/path.h"
#include "engine/system/unicode.h"

#include <gtest/gtest.h>

namespace {

TEST(File, WriteReadAndAtomicReplaceLeaveNoTemporaries) {
  const std::string& tmp = file_private_temp_folder();
  ASSERT_FALSE(tmp.empty());
  ASSERT_EQ(tmp.back(), kPathSeparator);
  std::string dir = tmp + "süß folder/";
  ASSERT_TRUE(folder_make(dir + "deeper/"));
  std::string path = dir + "a file.txt";
  ASSERT_TRUE(file_write(path, "old", 3));
  ASSERT_TRUE(file_write_atomic(path, "new content", 11));
  std::vector<uint8_t> data;
  ASSERT_TRUE(file_read_all(path, &data));
  EXPECT_EQ(std::string(data.begin(), data.end()), "new content");
  EXPECT_EQ(file_size(path), 11);
  EXPECT_FALSE(file_read_all(path, &data, 10));  // over the limit
  EXPECT_TRUE(data.empty());
  std::vector<std::string> names = folder_list(dir);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], "a file.txt");
  EXPECT_EQ(names[1], "deeper");
  EXPECT_FALSE(file_exists(dir + "deeper"));
  EXPECT_TRUE(folder_exists(dir + "deeper"));
  EXPECT_FALSE(file_read_all(dir + "missing", &data));
  EXPECT_EQ(file_size(dir + "missing"), -1);
  EXPECT_FALSE(file_write_atomic(dir + "no such folder/x", "x", 1));
  EXPECT_TRUE(folder_remove_all(dir));
  EXPECT_FALSE(folder_exists(dir));
}

TEST(File, RemovingAnEmptyPathLeavesTheWorkingFolderAlone) {
  // The test runs in a scratch working folder of its own; a file put there
  // must survive a removal asked for with no path at all.
  const std::string marker = "remove-all-marker.txt";
  ASSERT_TRUE(file_write(marker, "x", 1));
  EXPECT_FALSE(folder_remove_all(""));
  EXPECT_TRUE(file_exists(marker));
  EXPECT_TRUE(file_remove(marker));
}

TEST(File, BaseNameAndProgramFolder) {
  EXPECT_EQ(file_base_name("a/b/c.png"), "c.png");
  EXPECT_EQ(file_base_name("c.png"), "c.png");
  std::string prog = file_program_folder();
  ASSERT_FALSE(prog.empty());
  EXPECT_EQ(prog.back(), kPathSeparator);
  EXPECT_TRUE(folder_exists(prog));
}

TEST(Unicode, RoundTripsAndReplacesMalformedInput) {
  std::string s = "Grüße \xE2\x82\xAC \xF0\x9F\xA6\x89";  // umlauts, euro sign, owl
  std::u16string w = utf8_to_utf16(s);
  EXPECT_EQ(w.size(), 10u);  // the owl takes a surrogate pair
  EXPECT_EQ(w[6], 0x20AC);
  EXPECT_EQ(utf16_to_utf8(w), s);
  EXPECT_EQ(utf8_to_utf16("a\xC3"), u"a\xFFFD");        // cut short
  EXPECT_EQ(utf8_to_utf16("\xC0\xAF"), u"\xFFFD\xFFFD");  // overlong
  EXPECT_EQ(utf16_to_utf8(std::u16string(1, 0xD800)), "\xEF\xBF\xBD");
  EXPECT_EQ(latin1_to_utf8("caf\xE9"), "caf\xC3\xA9");
}

}  // namespace
