// The language files the game ships with: their encoding, the header group
// the catalogue reads, and exactly the keys the game looks up.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "engine/system/unicode.h"
#include "tests/data/language_files.h"
#include "ui/text_keys.h"

namespace {

using languages::LanguageFile;

bool valid_utf8(const std::vector<uint8_t>& bytes) {
  std::string text(bytes.begin(), bytes.end());
  // The conversion replaces what is not UTF-8, so a round trip only keeps
  // valid text unchanged.
  return utf16_to_utf8(utf8_to_utf16(text)) == text;
}

bool is_hex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

TEST(LanguageFiles, EveryShippedLanguageHasAFile) {
  std::set<std::string> codes;
  for (const LanguageFile& f : languages::load_all()) codes.insert(f.code);
  for (const char* code : {"en_GB", "en_US", "de_DE", "fr_FR", "es_ES", "it_IT", "nl_NL", "pt_BR",
                           "pl_PL", "sv_SE", "ja_JP"})
    EXPECT_EQ(codes.count(code), 1u) << code;
}

TEST(LanguageFiles, AreUtf8WithAByteOrderMark) {
  for (const LanguageFile& f : languages::load_all()) {
    SCOPED_TRACE(f.code);
    // Without the mark the reader takes every byte as Latin-1, and every
    // accented letter would show as two wrong ones.
    ASSERT_GE(f.bytes.size(), 3u);
    EXPECT_TRUE(f.bytes[0] == 0xEF && f.bytes[1] == 0xBB && f.bytes[2] == 0xBF);
    EXPECT_TRUE(valid_utf8(f.bytes));
    // A stray control character (other than the line ends) would not show.
    for (uint8_t b : f.bytes) EXPECT_TRUE(b >= 0x20 || b == '\r' || b == '\n') << int(b);
  }
}

TEST(LanguageFiles, HeaderNamesTheLanguageOnceAcrossAllFiles) {
  std::map<std::string, std::string> names;  // display name -> code
  for (LanguageFile& f : languages::load_all()) {
    SCOPED_TRACE(f.code);
    ASSERT_TRUE(keyvalue_select_group(&f.parsed, kLanguageHeaderGroup));
    for (const char* key : kLanguageHeaderKeys) {
      // The catalogue reads these without regard to case, but a file written
      // as the game looks them up works with every reader.
      const std::string* exact = languages::text_of(f.parsed, key);
      ASSERT_NE(exact, nullptr) << key;
      EXPECT_EQ(keyvalue_read_string(f.parsed, key, ""), *exact) << key << " outside the header group";
      EXPECT_FALSE(exact->empty()) << key;
    }
    EXPECT_EQ(keyvalue_read_string(f.parsed, "tLangFileSOFTWARE", ""), "Duskmatch 1.0");
    std::string date = keyvalue_read_string(f.parsed, "tLangFileDATE", "");
    EXPECT_TRUE(date.size() == 10 && date[4] == '-' && date[7] == '-') << date;
    std::string id = keyvalue_read_string(f.parsed, "tLangFileLANGID", "");
    EXPECT_TRUE(id.size() == 6 && id.compare(0, 2, "0x") == 0 && std::all_of(id.begin() + 2, id.end(), is_hex))
        << id;
    // Two files of the same name would share one catalogue entry, and one
    // of the languages could never be chosen.
    std::string name = keyvalue_read_string(f.parsed, "tLangFileNAME", "");
    auto [it, fresh] = names.emplace(name, f.code);
    EXPECT_TRUE(fresh) << name << " is also the name of " << it->second;
  }
  EXPECT_GE(names.size(), 11u);
}

TEST(LanguageFiles, HoldEveryKeyTheGameLooksUpAndNoOther) {
  std::set<std::string> known(kLanguageHeaderKeys.begin(), kLanguageHeaderKeys.end());
  for (const TextSlot& slot : kTextSlots) known.insert(slot.key);
  for (const LanguageFile& f : languages::load_all()) {
    SCOPED_TRACE(f.code);
    for (const TextSlot& slot : kTextSlots) {
      const std::string* text = languages::text_of(f.parsed, slot.key);
      ASSERT_NE(text, nullptr) << slot.key;  // keys are looked up with their case
      EXPECT_FALSE(text->empty()) << slot.key;
    }
    std::set<std::string> seen;
    for (const KeyValueEntry* e : languages::loaded_keys(f.parsed)) {
      // A misspelt key is loaded and never looked up: the text stays empty.
      EXPECT_EQ(known.count(e->name), 1u) << "unknown key " << e->name;
      // A second line silently replaces the first.
      EXPECT_TRUE(seen.insert(e->name).second) << "key twice: " << e->name;
    }
    // Key lines before the first group are never loaded.
    for (const KeyValueEntry& e : f.parsed.entries) {
      if (e.kind == KeyValueKind::Group) break;
      EXPECT_NE(e.kind, KeyValueKind::Key) << e.name << " stands before the first group";
    }
  }
}

TEST(LanguageFiles, SubsystemMessageReadsWithThePartNameAppended) {
  // The game appends "  : Sound" and the like; a text ending in its own
  // punctuation would read "…failed.  : Sound".
  for (const LanguageFile& f : languages::load_all()) {
    const std::string* text = languages::text_of(f.parsed, "tErrorSUBSYSTEM");
    ASSERT_NE(text, nullptr) << f.code;
    ASSERT_FALSE(text->empty()) << f.code;
    char last = text->back();
    EXPECT_TRUE(last != '.' && last != ':' && last != '!') << f.code << ": " << *text;
  }
}

}  // namespace
