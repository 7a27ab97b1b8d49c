// Reading key-value files: encodings, line ends, comments, groups, keys and
// the integer rule, fed with the odd files that people and editors produce.
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "engine/keyvalue/keyvalue.h"

namespace {

KeyValueFile Parse(const std::string& bytes) {
  KeyValueFile f;
  keyvalue_parse(bytes.data(), bytes.size(), &f);
  return f;
}

std::string Read(const std::string& bytes, const std::string& group, const std::string& key) {
  KeyValueFile f = Parse(bytes);
  if (!group.empty()) keyvalue_select_group(&f, group);
  return keyvalue_read_string(f, key, "<missing>");
}

TEST(KeyValueRead, EncodingsLineEndsAndTrimming) {
  struct Case { std::string file, group, key, want; } cases[] = {
      // Without the mark every byte is Latin-1: E9 is U+00E9, and UTF-8
      // bytes are two characters each. With it, UTF-8 stays; broken UTF-8
      // becomes U+FFFD. A mark counts only at the very start.
      {"[G]\r\nName = Caf\xE9\r\n", "G", "Name", "Caf\xC3\xA9"},
      {"\xEF\xBB\xBF[G]\r\nName = Caf\xC3\xA9\r\n", "G", "Name", "Caf\xC3\xA9"},
      {"[G]\nName=\xC3\xA9", "G", "Name", "\xC3\x83\xC2\xA9"},
      {"\xEF\xBB\xBF[G]\nName=a\xC3(b\xFF", "G", "Name", "a\xEF\xBF\xBD(b\xEF\xBF\xBD"},
      {"\xEF\xBB=x", "", "\xC3\xAF\xC2\xBB", "x"},
      {"[G]\nA=\xEF\xBB\xBF", "G", "A", "\xC3\xAF\xC2\xBB\xC2\xBF"},
      // CR, LF and CR LF, mixed, and a last line without an end.
      {"[G]\rA = 1\nB = 2\r\nC = 3\r\rD = 4\n\nE = 5", "G", "A", "1"},
      {"[G]\rA = 1\nB = 2\r\nC = 3\r\rD = 4\n\nE = 5", "G", "C", "3"},
      {"[G]\rA = 1\nB = 2\r\nC = 3\r\rD = 4\n\nE = 5", "G", "E", "5"},
      // Blanks and TABs around keys and values; inner ones stay.
      {" \t[G]\n\t  Key\t =\t  a  b \t \r\n", "G", "Key", "a  b"},
      {"[G]\nKey=\n", "G", "Key", ""},
      {std::string("[G]\nA = x\0y\n", 12), "G", "A", std::string("x\0y", 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.file, c.group, c.key), c.want) << c.file;
  EXPECT_TRUE(Parse("\xEF\xBB\xBF").entries.empty());
}

TEST(KeyValueRead, LinesAreCommentsGroupsOrKeysByTheirFirstCharacter) {
  KeyValueFile f = Parse(
      "  \t; one blank after the mark goes\r\n"
      ";  only one\r\n"
      ";tight=not a key\r\n"
      "[Settings] anything after the bracket\r\n"
      "[Unclosed\r\n"
      "no equals sign here\r\n"
      "=empty key\r\n");
  ASSERT_EQ(f.entries.size(), 6u);  // the line without "=" is dropped
  EXPECT_EQ(f.entries[0].value, "one blank after the mark goes");
  EXPECT_EQ(f.entries[1].value, " only one");
  EXPECT_EQ(f.entries[2].kind, KeyValueKind::Comment);
  EXPECT_EQ(f.entries[2].value, "tight=not a key");
  EXPECT_EQ(f.entries[3].name, "Settings");
  EXPECT_EQ(f.entries[4].kind, KeyValueKind::Group);
  EXPECT_EQ(f.entries[4].name, "Unclosed");
  EXPECT_EQ(f.entries[5].kind, KeyValueKind::Key);
  EXPECT_EQ(f.entries[5].value, "empty key");
}

TEST(KeyValueRead, GroupsAndKeysMatchWithoutAsciiCaseAndTheFirstWins) {
  KeyValueFile f = Parse(
      "Language = before any group\r\n[settings]\r\nLANGUAGE=de_DE\r\nlanguage = fr_FR\r\n"
      "\xC4pfel = upper\r\n[Other]\r\nMusic = 0\r\n[SETTINGS]\r\nMusic = 5\r\n");
  // Before a group is selected, reads see the lines above the first header.
  EXPECT_EQ(keyvalue_read_string(f, "language", ""), "before any group");
  EXPECT_TRUE(keyvalue_select_group(&f, "Settings"));
  EXPECT_EQ(keyvalue_read_string(f, "Language", ""), "de_DE");
  // Only ASCII letters fold: Ä and ä are different keys.
  EXPECT_EQ(keyvalue_read_string(f, "\xC3\x84pfel", ""), "upper");
  EXPECT_EQ(keyvalue_read_string(f, "\xC3\xA4pfel", "none"), "none");
  // The next group, and a later group of the same name, are not searched.
  EXPECT_EQ(keyvalue_read_int(f, "Music", 1), 1);
  EXPECT_TRUE(keyvalue_select_group(&f, "OTHER"));
  EXPECT_EQ(keyvalue_read_int(f, "music", 1), 0);
  EXPECT_FALSE(keyvalue_select_group(&f, "Missing"));
  EXPECT_EQ(keyvalue_read_string(f, "Language", "fallback"), "fallback");
}

TEST(KeyValueRead, IntegersAreTheLeadingDecimalNumberClampedToTheRange) {
  const std::pair<const char*, int> cases[] = {
      {"12", 12}, {"1abc", 1}, {"abc", 0}, {"", 0}, {"-5", -5}, {"+7x", 7}, {"-", 0},
      {"--1", 0}, {"- 1", 0}, {"0x10", 0}, {"007", 7}, {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN}, {"2147483648", INT_MAX}, {"-2147483649", INT_MIN},
      {"99999999999999999999999999", INT_MAX}};
  for (const auto& c : cases) EXPECT_EQ(keyvalue_parse_int(c.first), c.second) << c.first;
  // A present but empty key reads 0; only a missing one gives the default.
  KeyValueFile f = Parse("[G]\nA =   \t42 apples\nB =\n");
  keyvalue_select_group(&f, "G");
  EXPECT_EQ(keyvalue_read_int(f, "A", -1), 42);
  EXPECT_EQ(keyvalue_read_int(f, "B", -1), 0);
  EXPECT_EQ(keyvalue_read_int(f, "C", -1), -1);
}

}  // namespace
