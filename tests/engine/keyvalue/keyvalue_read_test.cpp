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
  keyvalue_select_group(&f, group);
  return keyvalue_read_string(f, key, "<missing>");
}

TEST(KeyValueRead, ByteOrderMarkMeansUtf8AndEverythingElseIsLatin1) {
  // Without the mark, E9 is one Latin-1 character: U+00E9, "é" in UTF-8.
  EXPECT_EQ(Read("[G]\r\nName = Caf\xE9\r\n", "G", "Name"), "Caf\xC3\xA9");
  // With the mark the same text is taken as UTF-8 as it stands.
  EXPECT_EQ(Read("\xEF\xBB\xBF[G]\r\nName = Caf\xC3\xA9\r\n", "G", "Name"), "Caf\xC3\xA9");
  // Without the mark, UTF-8 bytes are two Latin-1 characters each.
  EXPECT_EQ(Read("[G]\nName=\xC3\xA9", "G", "Name"), "\xC3\x83\xC2\xA9");
  // Broken UTF-8 after the mark becomes U+FFFD, never invalid text.
  EXPECT_EQ(Read("\xEF\xBB\xBF[G]\nName=a\xC3(b\xFF", "G", "Name"), "a\xEF\xBF\xBD(b\xEF\xBF\xBD");
  // A mark that is the whole file leaves nothing; a partial mark is text.
  EXPECT_TRUE(Parse("\xEF\xBB\xBF").entries.empty());
  KeyValueFile partial = Parse("\xEF\xBB=x");
  ASSERT_EQ(partial.entries.size(), 1u);
  EXPECT_EQ(partial.entries[0].name, "\xC3\xAF\xC2\xBB");
  EXPECT_EQ(partial.entries[0].value, "x");
  // The mark only counts at the very start.
  EXPECT_EQ(Read("[G]\nA=\xEF\xBB\xBF", "G", "A"), "\xC3\xAF\xC2\xBB\xC2\xBF");
}

TEST(KeyValueRead, CrLfAndCrLfMixedEndEveryLineOnce) {
  std::string file = "[G]\rA = 1\nB = 2\r\nC = 3\r\rD = 4\n\nE = 5";
  KeyValueFile f = Parse(file);
  keyvalue_select_group(&f, "G");
  EXPECT_EQ(keyvalue_read_string(f, "A", ""), "1");
  EXPECT_EQ(keyvalue_read_string(f, "B", ""), "2");
  EXPECT_EQ(keyvalue_read_string(f, "C", ""), "3");
  EXPECT_EQ(keyvalue_read_string(f, "D", ""), "4");
  EXPECT_EQ(keyvalue_read_string(f, "E", ""), "5");  // last line without an end
  EXPECT_EQ(f.entries.size(), 6u);                   // empty lines leave no entry
  for (const KeyValueEntry& e : f.entries) {
    EXPECT_EQ(e.value.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(e.name.find_first_of("\r\n"), std::string::npos);
  }
}

TEST(KeyValueRead, CommentsGroupHeadersAndKeyLinesByTheirFirstCharacter) {
  KeyValueFile f = Parse(
      "  \t; one blank after the mark goes\r\n"
      ";  only one\r\n"
      ";tight=not a key\r\n"
      " \t[Settings] anything after the bracket\r\n"
      "\t  Key\t =\t  value with inner  blanks \t \r\n"
      "[Unclosed\r\n"
      "no equals sign here\r\n"
      "=empty key\r\n"
      "Empty =\r\n");
  ASSERT_EQ(f.entries.size(), 8u);
  EXPECT_EQ(f.entries[0].kind, KeyValueKind::Comment);
  EXPECT_EQ(f.entries[0].value, "one blank after the mark goes");
  EXPECT_EQ(f.entries[1].value, " only one");
  EXPECT_EQ(f.entries[2].kind, KeyValueKind::Comment);
  EXPECT_EQ(f.entries[2].value, "tight=not a key");
  EXPECT_EQ(f.entries[3].kind, KeyValueKind::Group);
  EXPECT_EQ(f.entries[3].name, "Settings");
  EXPECT_EQ(f.entries[4].kind, KeyValueKind::Key);
  EXPECT_EQ(f.entries[4].name, "Key");
  EXPECT_EQ(f.entries[4].value, "value with inner  blanks");
  EXPECT_EQ(f.entries[5].kind, KeyValueKind::Group);
  EXPECT_EQ(f.entries[5].name, "Unclosed");
  // The line without "=" is dropped; the others are keys.
  EXPECT_EQ(f.entries[6].name, "");
  EXPECT_EQ(f.entries[6].value, "empty key");
  EXPECT_EQ(f.entries[7].name, "Empty");
  EXPECT_EQ(f.entries[7].value, "");
}

TEST(KeyValueRead, GroupsAndKeysMatchWithoutAsciiCaseAndTheFirstWins) {
  std::string file =
      "Language = before any group\r\n"
      "[settings]\r\n"
      "LANGUAGE=de_DE\r\n"
      "language = fr_FR\r\n"
      "\xC4pfel = upper\r\n"
      "[Other]\r\n"
      "Music = 0\r\n"
      "[SETTINGS]\r\n"
      "Music = 5\r\n";
  KeyValueFile f = Parse(file);
  // Before a group is selected, reads see the lines above the first header.
  EXPECT_EQ(keyvalue_read_string(f, "language", ""), "before any group");
  EXPECT_TRUE(keyvalue_select_group(&f, "Settings"));
  EXPECT_EQ(keyvalue_read_string(f, "Language", ""), "de_DE");
  // Only ASCII letters fold: Ä (Latin-1 C4) and ä are different keys.
  EXPECT_EQ(keyvalue_read_string(f, "\xC3\x84pfel", ""), "upper");
  EXPECT_EQ(keyvalue_read_string(f, "\xC3\xA4pfel", "none"), "none");
  // Keys of the next group, and of a later group of the same name, are not
  // part of the first "Settings" group.
  EXPECT_EQ(keyvalue_read_int(f, "Music", 1), 1);
  EXPECT_TRUE(keyvalue_select_group(&f, "OTHER"));
  EXPECT_EQ(keyvalue_read_int(f, "music", 1), 0);
  EXPECT_FALSE(keyvalue_select_group(&f, "Missing"));
  EXPECT_EQ(keyvalue_read_string(f, "Language", "fallback"), "fallback");
  EXPECT_EQ(keyvalue_read_int(f, "Music", 7), 7);
  // A key placed before the group's header does not belong to it.
  KeyValueFile g = Parse("Language = en_GB\r\n[Settings]\r\nMusic = 0\r\n");
  keyvalue_select_group(&g, "Settings");
  EXPECT_EQ(keyvalue_read_string(g, "Language", "<none>"), "<none>");
}

TEST(KeyValueRead, IntegersAreTheLeadingDecimalNumber) {
  EXPECT_EQ(keyvalue_parse_int("12"), 12);
  EXPECT_EQ(keyvalue_parse_int("1abc"), 1);
  EXPECT_EQ(keyvalue_parse_int("abc"), 0);
  EXPECT_EQ(keyvalue_parse_int(""), 0);
  EXPECT_EQ(keyvalue_parse_int("-5"), -5);
  EXPECT_EQ(keyvalue_parse_int("+7x"), 7);
  EXPECT_EQ(keyvalue_parse_int("-"), 0);
  EXPECT_EQ(keyvalue_parse_int("--1"), 0);
  EXPECT_EQ(keyvalue_parse_int("- 1"), 0);
  EXPECT_EQ(keyvalue_parse_int("0x10"), 0);
  EXPECT_EQ(keyvalue_parse_int("007"), 7);
  EXPECT_EQ(keyvalue_parse_int("2147483647"), INT_MAX);
  EXPECT_EQ(keyvalue_parse_int("-2147483648"), INT_MIN);
  // Out of range sticks at the end of the range instead of wrapping.
  EXPECT_EQ(keyvalue_parse_int("2147483648"), INT_MAX);
  EXPECT_EQ(keyvalue_parse_int("-2147483649"), INT_MIN);
  EXPECT_EQ(keyvalue_parse_int(std::string(400, '9')), INT_MAX);
  // Through the reader: leading blanks go with the "=" and a missing key
  // gives the default, while a present but empty one gives 0.
  KeyValueFile f = Parse("[G]\nA =   \t42 apples\nB =\n");
  keyvalue_select_group(&f, "G");
  EXPECT_EQ(keyvalue_read_int(f, "A", -1), 42);
  EXPECT_EQ(keyvalue_read_int(f, "B", -1), 0);
  EXPECT_EQ(keyvalue_read_int(f, "C", -1), -1);
}

TEST(KeyValueRead, NulBytesAndLongLinesAreOrdinaryText) {
  std::string file = std::string("[G]\nA = x\0y\n", 12) + "B = " + std::string(100000, 'z') + "\n";
  KeyValueFile f = Parse(file);
  keyvalue_select_group(&f, "G");
  EXPECT_EQ(keyvalue_read_string(f, "A", ""), std::string("x\0y", 3));
  EXPECT_EQ(keyvalue_read_string(f, "B", "").size(), 100000u);
}

}  // namespace
