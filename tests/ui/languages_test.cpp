// Languages from a folder of loose files: exact text keys, every group
// loaded, older texts kept, the catalogue's bucket order and its header
// rules, flags, the list's cursor, the reset, and the locale guess.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/image/image_buffer.h"
#include "engine/system/file.h"
#include "engine/system/unicode.h"
#include "tests/support/image_probe.h"
#include "ui/languages.h"
#include "tests/support/environment.h"

namespace {

// The bucket of a display name, worked out here from its UTF-16 code units
// so that the expected orders do not come from the code under test.
uint32_t BucketOf(const std::u16string& name) {
  uint32_t h = 0;
  for (char16_t unit : name) h = h * 65599u + static_cast<uint32_t>(unit);
  return h % 512u;
}

std::string Header(const std::string& name, const std::string& rest = "") {
  return "\xEF\xBB\xBF[LANGUAGE FILE]\r\ntLangFileNAME = " + name + "\r\n" + rest;
}

std::vector<std::string> Codes() {
  std::vector<std::string> codes;
  for (const LanguageEntry* e : CatalogueEntries()) codes.push_back(e->code);
  return codes;
}

class LanguageFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    image_codecs_start();
    ResetLanguages();
    folder_remove_all(root_);
    ASSERT_TRUE(folder_make(folder_ + "/"));
  }
  void TearDown() override {
    ResetLanguages();
    folder_remove_all(root_);
  }
  void Put(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(file_write(folder_ + "/" + name, bytes.data(), bytes.size()));
  }
  std::string root_ = "folder-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::string folder_ = root_ + "/" + kLanguagePackName;
};

TEST_F(LanguageFolder, TextsComeFromEveryGroupAndOlderTextsStay) {
  Put("aa_AA.language", Header("A",
                               "[Menu]\r\n"
                               "  tMenuSTART\t=  Start game  \r\n"
                               "tmenuquit = lower case\r\n"
                               "[Other]\n"
                               "tMenuSTART = Second start\r"
                               "tMenuNO = No\r\n"));
  // No byte-order mark: the byte E9 is U+00E9. The key before the first
  // group belongs to no group.
  Put("bb_BB.language", "tMenuNO = too early\r\n[T]\r\ntMenuSTART = Caf\xE9\r\n");
  ASSERT_EQ(LoadLanguage(folder_, "aa_AA"), 1);
  EXPECT_EQ(Text("tLangFileNAME"), "A");  // header keys are texts too
  EXPECT_EQ(Text("tMenuSTART"), "Second start");  // later line wins across groups
  EXPECT_EQ(Text("tMenuQUIT"), "");               // keys are looked up exactly
  EXPECT_EQ(Text("tmenuquit"), "lower case");
  EXPECT_EQ(Texts.Size(), 4u);
  ASSERT_EQ(LoadLanguage(folder_, "bb_BB"), 1);
  EXPECT_EQ(Text("tMenuSTART"), "Caf\xC3\xA9");
  EXPECT_EQ(Text("tMenuNO"), "No");  // kept from the language before
  // A failed load changes nothing; the empty text is one shared object.
  EXPECT_EQ(LoadLanguage(folder_, "cc_CC"), 0);
  EXPECT_EQ(Texts.Size(), 4u);
  EXPECT_EQ(&Text("none"), &Text("other"));
  EXPECT_EQ(Text("none"), "");
}

TEST_F(LanguageFolder, CatalogueFollowsTheBucketsWithTheLastAddedFirst) {
  // Three names share bucket 481 ("Café" only when hashed over UTF-16 code
  // units, not over UTF-8 bytes) and two share bucket 30 (one a surrogate
  // pair).
  const std::u16string smiley = u"\U0001F600a";
  ASSERT_EQ(BucketOf(u"Hf"), 30u);
  ASSERT_EQ(BucketOf(smiley), 30u);
  ASSERT_EQ(BucketOf(u"Zz"), 160u);
  ASSERT_EQ(BucketOf(u"Gh"), 481u);
  ASSERT_EQ(BucketOf(u"Café"), 481u);
  ASSERT_EQ(BucketOf(u"Op"), 481u);
  // Files are read in name order, so a1 is added first.
  Put("a1.language", Header("Hf"));
  Put("a2.language", Header("Zz"));
  Put("a3.language", Header("Gh"));
  Put("a4.language", Header(utf16_to_utf8(smiley)));
  Put("a5.language", Header("Caf\xC3\xA9"));
  Put("a6.language", Header("Op"));
  ASSERT_EQ(EnumerateLanguages(folder_), 1);
  const std::vector<std::string> expected = {"a4", "a1", "a2", "a6", "a5", "a3"};
  EXPECT_EQ(Codes(), expected);
  ASSERT_EQ(LanguageList.size(), expected.size());
  EXPECT_EQ(LanguageList[2].code, "a2");
  EXPECT_EQ(LanguageList[4].name, "Caf\xC3\xA9");
  LanguageIndex = 2;
  EXPECT_EQ(LanguageIndexOf("a5"), 4);
  EXPECT_EQ(LanguageIndexOf("A5"), 0);  // codes are compared exactly
  EXPECT_EQ(LanguageIndex, 2);          // a look-up moves nothing

  // The same display name again: the later file takes the entry over, which
  // keeps its place instead of coming first in its bucket.
  Put("a7.language", Header("Gh", "tLangFileVERSION = 7\r\n"));
  ASSERT_EQ(EnumerateLanguages(folder_), 1);
  EXPECT_EQ(Codes(), (std::vector<std::string>{"a4", "a1", "a2", "a6", "a5", "a7"}));
  EXPECT_EQ(CatalogueEntries().back()->version, "7");
  EXPECT_EQ(LanguageList.back().code, "a7");
}

TEST_F(LanguageFolder, HeaderKeysAndExtensionsIgnoreCase) {
  Put("lc_LC.language",
      "tLangFileNAME = Before the group\r\n"
      "[language file]\r\n"
      "tlangfilename = Lower\r\n"
      "TLANGFILENAME = Second\r\n"
      "tlangfiledate=2024-05-06\r\n"
      "tLangFileAUTHOR = \tSomeone \t\r\n"
      "[Menu]\r\n"
      "tLangFileVERSION = Not in the header\r\n"
      "tmenustart = Start\r\n");
  Put("zz_ZZ.language", "[Menu]\r\ntMenuSTART = Go\r\n");  // no header: the empty name
  Put("de_DE.LANGUAGE", Header("Deutsch", "[Menu]\r\ntMenuSTART = Los\r\n"));
  Put("notes.txt", Header("Text file"));
  ASSERT_TRUE(folder_make(folder_ + "/sub.language/"));  // a folder, not a file
  ASSERT_EQ(EnumerateLanguages(folder_), 1);
  EXPECT_EQ(LanguageCatalogue.Size(), 3u);
  const LanguageEntry* lower = LanguageCatalogue.Find("Lower");
  ASSERT_NE(lower, nullptr);
  EXPECT_EQ(lower->code, "lc_LC");
  EXPECT_EQ(lower->date, "2024-05-06");
  EXPECT_EQ(lower->author, "Someone");
  EXPECT_EQ(lower->version, "");
  ASSERT_NE(LanguageCatalogue.Find(""), nullptr);
  EXPECT_EQ(LanguageCatalogue.Find("")->code, "zz_ZZ");
  ASSERT_NE(LanguageCatalogue.Find("Deutsch"), nullptr);
  EXPECT_EQ(LanguageCatalogue.Find("Deutsch")->code, "de_DE");
  EXPECT_EQ(Texts.Size(), 0u);  // enumerating reads headers only
  // The lower-case file loads, but its menu text is not found.
  ASSERT_EQ(LoadLanguage(folder_, "lc_LC"), 1);
  EXPECT_EQ(Text("tMenuSTART"), "");
  // The file listed with its extension in capitals loads as well.
  ASSERT_EQ(LoadLanguage(folder_, "de_DE"), 1);
  EXPECT_EQ(Text("tMenuSTART"), "Los");
}

TEST_F(LanguageFolder, FlagsAreLoadedByCodeAndFreedByTheReset) {
  Put("en_GB.language", Header("English"));
  Put("fr_FR.language", Header("French"));
  Put("nl_NL.language", Header("Dutch"));
  Put("sv_SE.language", Header("Swedish"));
  ASSERT_NE(image_create(1, 6, 4, 24, 0x2040C0), 0);
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(image_encode(*image_handle(1), kImageFormatBMP, &bmp));
  image_free(1);
  ASSERT_TRUE(file_write(folder_ + "/en_GB.flag", bmp.data(), bmp.size()));
  Put("fr_FR.flag", "not a picture");
  Put("sv_SE.flag", "");  // an empty file is no flag
  ASSERT_EQ(EnumerateLanguages(folder_), 1);
  int flag = LanguageCatalogue.Find("English")->flag;
  EXPECT_EQ(image_width(flag), 6);
  EXPECT_EQ(image_height(flag), 4);
  EXPECT_EQ(LanguageCatalogue.Find("French")->flag, 0);
  EXPECT_EQ(LanguageCatalogue.Find("Dutch")->flag, 0);
  EXPECT_EQ(LanguageCatalogue.Find("Swedish")->flag, 0);

  ASSERT_EQ(LoadLanguage(folder_, "en_GB"), 1);
  LanguageIndex = 3;
  ResetLanguages();
  EXPECT_FALSE(image_exists(flag));
  EXPECT_EQ(Texts.Size(), 0u);
  EXPECT_EQ(LanguageCatalogue.Size(), 0u);
  EXPECT_TRUE(LanguageList.empty());
  EXPECT_EQ(LanguageIndex, 0);
  // A folder that cannot be listed gives nothing.
  EXPECT_EQ(EnumerateLanguages(folder_ + "-missing"), 0);
  EXPECT_EQ(LoadLanguage(folder_ + "-missing", "en_GB"), 0);
  EXPECT_TRUE(LanguageList.empty());
}

#ifndef _WIN32
// The locale variables name the language on Linux alone: Windows tells its
// locale through its own call, fixed when the process starts.
// Sets the locale variables for each case and puts the old values back.
class LocaleEnvironment : public ::testing::Test {
 protected:
  static void Set(const char* var, const char* value) { test_env::Set(var, value); }
  static std::string Detect(const char* all, const char* messages, const char* lang) {
    Set("LC_ALL", all);
    Set("LC_MESSAGES", messages);
    Set("LANG", lang);
    return DetectSystemLanguage();
  }
  // The values from before each case come back after it.
  const test_env::Scoped all_{"LC_ALL"};
  const test_env::Scoped messages_{"LC_MESSAGES"};
  const test_env::Scoped lang_{"LANG"};
};

TEST_F(LocaleEnvironment, TheFirstLocaleVariableSetGivesTheCode) {
  EXPECT_EQ(Detect(nullptr, nullptr, "de_AT.UTF-8"), "de_AT");
  EXPECT_EQ(Detect("", "", "de_AT.UTF-8"), "de_AT");  // empty counts as unset
  EXPECT_EQ(Detect(nullptr, "fr_CA.ISO-8859-1", "de_AT.UTF-8"), "fr_CA");
  EXPECT_EQ(Detect("sr_RS.UTF-8@latin", "fr_CA", "de_AT"), "sr_RS");
  EXPECT_EQ(Detect(nullptr, nullptr, "sr-Latn-RS"), "sr_Latn_RS");
  // The plain locales name no language, and the variable chosen decides.
  EXPECT_EQ(Detect(nullptr, nullptr, "C.UTF-8"), "");
  EXPECT_EQ(Detect(nullptr, "POSIX", "de_AT.UTF-8"), "");
  EXPECT_EQ(Detect(nullptr, nullptr, nullptr), "");
}
#endif

}  // namespace
