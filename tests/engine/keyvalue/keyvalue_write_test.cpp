// Writing key-value files: where written keys land, the exact bytes, and
// that reading what was written gives back the same entries.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/keyvalue/keyvalue.h"
#include "engine/system/file.h"

namespace {

KeyValueFile Parse(const std::string& bytes) {
  KeyValueFile f;
  keyvalue_parse(bytes.data(), bytes.size(), &f);
  return f;
}

std::string Slurp(const std::string& path) {
  std::vector<uint8_t> data;
  if (!file_read_all(path, &data)) return "<unreadable>";
  return std::string(data.begin(), data.end());
}

TEST(KeyValueWrite, KeysReplaceInPlaceOrJoinTheEndOfTheirGroup) {
  KeyValueFile f = Parse("Top = 1\n[A]\nx = 1\ny = 2\n[B]\nz = 3\n");
  keyvalue_write_string(&f, "top", "one");  // before any group: the top lines
  keyvalue_select_group(&f, "a");
  keyvalue_write_string(&f, "X", "10");     // replaced, keeping its spelling and place
  keyvalue_write_string(&f, "w", "new");    // added after y, before [B]
  keyvalue_select_group(&f, "C");
  keyvalue_write_int(&f, "k", 5);           // the group is made at the end
  keyvalue_write_int(&f, "k", -6);
  keyvalue_add_comment(&f, "end");
  // Line breaks inside a text cannot add lines of their own.
  keyvalue_write_string(&f, "evil", "a\r\n[Evil]\nb");
  EXPECT_EQ(keyvalue_serialize(f),
            "\xEF\xBB\xBF\r\nTop = one\r\n[A]\r\nx = 10\r\ny = 2\r\nw = new\r\n[B]\r\nz = 3\r\n"
            "[C]\r\nk = -6\r\n; end\r\nevil = a  [Evil] b\r\n");
}

TEST(KeyValueWrite, WhatIsWrittenReadsBackAsTheSameEntries) {
  // A Latin-1 file with every kind of oddity; written out it becomes UTF-8
  // with the mark, and reading that gives exactly the entries read first.
  KeyValueFile first = Parse(
      "  ;  comment with \xE9 and trailing blanks  \r[ spaced group ]junk\n"
      "k\tey\t=\t v\xE9lue \r\n=\n[]\ndup = 1\r\nDUP = 2\n[Unclosed\r\n");
  KeyValueFile second = Parse(keyvalue_serialize(first));
  ASSERT_EQ(first.entries.size(), 8u);
  ASSERT_EQ(second.entries.size(), first.entries.size());
  for (size_t i = 0; i < first.entries.size(); ++i) {
    EXPECT_EQ(first.entries[i].kind, second.entries[i].kind) << i;
    EXPECT_EQ(first.entries[i].name, second.entries[i].name) << i;
    EXPECT_EQ(first.entries[i].value, second.entries[i].value) << i;
  }
}

TEST(KeyValueWrite, CloseWritesOnlyCreatedOrChangedFiles) {
  std::string dir = file_private_temp_folder() + "kv-close/";
  ASSERT_TRUE(folder_make(dir));
  std::string path = dir + "plain.txt";
  std::string latin1 = "[G]\nName = Caf\xE9\n";
  ASSERT_TRUE(file_write(path, latin1.data(), latin1.size()));
  KeyValueFile f;
  ASSERT_TRUE(keyvalue_open(path, &f));
  EXPECT_TRUE(keyvalue_close(&f));
  EXPECT_EQ(Slurp(path), latin1);  // only read: left exactly as it was
  ASSERT_TRUE(keyvalue_open(path, &f));
  keyvalue_select_group(&f, "g");
  keyvalue_write_int(&f, "Count", 3);
  EXPECT_TRUE(keyvalue_close(&f));
  EXPECT_EQ(Slurp(path), "\xEF\xBB\xBF\r\n[G]\r\nName = Caf\xC3\xA9\r\nCount = 3\r\n");

  EXPECT_FALSE(keyvalue_open(dir + "missing.txt", &f));
  EXPECT_FALSE(keyvalue_open(dir, &f));  // a folder is not a file
  keyvalue_create(&f, dir + "no such folder/x.txt");
  keyvalue_add_comment(&f, "x");
  EXPECT_FALSE(keyvalue_close(&f));
  EXPECT_EQ(folder_list(dir), std::vector<std::string>{"plain.txt"});
  folder_remove_all(dir);
}

}  // namespace
