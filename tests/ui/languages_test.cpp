// Loading texts: the text map's exact keys, every group of a file (not the
// lines before the first one), a later language keeping the texts the new
// one lacks, files without a byte-order mark, and the folder form of the
// language pack; the guess of the player's language from the environment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "engine/system/file.h"
#include "ui/languages.h"

namespace {

const char kBom[] = "\xEF\xBB\xBF";

class LanguageTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLanguages();
    folder_remove_all(folder_);
    ASSERT_TRUE(folder_make(folder_ + "/"));
  }
  void TearDown() override {
    ResetLanguages();
    folder_remove_all(folder_);
  }
  void Put(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(file_write(folder_ + "/" + name, bytes.data(), bytes.size()));
  }
  std::string folder_ = "texts-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                        "/DuskmatchLanguages.pack";
};

TEST_F(LanguageTexts, KeysAreExactAndAMissingKeyIsEmpty) {
  Texts.Set("tMenuSTART", "Start");
  Texts.Set("tmenustart", "lower");
  Texts.Set("tMenuSTART", "Begin");  // replaces, does not add
  EXPECT_EQ(Texts.Size(), 2u);
  EXPECT_EQ(Text("tMenuSTART"), "Begin");
  EXPECT_EQ(Text("tmenustart"), "lower");
  EXPECT_EQ(Text("TMENUSTART"), "");
  EXPECT_EQ(Text("tMenuQUIT"), "");
  EXPECT_EQ(Texts.Find("tMenuQUIT"), nullptr);
  // The empty text is one shared object, safe to keep a reference to.
  EXPECT_EQ(&Text("a"), &Text("b"));
}

TEST_F(LanguageTexts, EveryGroupIsLoadedButNotTheLinesBeforeTheFirst) {
  Put("xx_XX.language", std::string(kBom) +
                            "tMenuQUIT = too early\r\n"
                            "; tMenuNO = a comment\r\n"
                            "[Language File]\r\n"
                            "tLangFileNAME = Test\r\n"
                            "[Menu]\r\n"
                            "  tMenuSTART\t=  Start game  \r\n"
                            "tMenuYES=Yes\r\n"
                            "[Other]\n"
                            "tMenuSTART = Second start\r"
                            "tMenuNO = No\r\n");
  ASSERT_EQ(LoadLanguage(folder_, "xx_XX"), 1);
  EXPECT_EQ(Text("tLangFileNAME"), "Test");  // header keys are texts too
  EXPECT_EQ(Text("tMenuSTART"), "Second start");  // later line wins across groups
  EXPECT_EQ(Text("tMenuYES"), "Yes");
  EXPECT_EQ(Text("tMenuNO"), "No");
  EXPECT_EQ(Text("tMenuQUIT"), "");
  EXPECT_EQ(Texts.Size(), 4u);
}

TEST_F(LanguageTexts, ALaterLanguageKeepsTheTextsItLacks) {
  Put("aa_AA.language", "[T]\r\ntMenuSTART = Start\r\ntMenuQUIT = Quit\r\n");
  Put("bb_BB.language", "[T]\r\ntMenuSTART = Anfang\r\n");
  ASSERT_EQ(LoadLanguage(folder_, "aa_AA"), 1);
  ASSERT_EQ(LoadLanguage(folder_, "bb_BB"), 1);
  EXPECT_EQ(Text("tMenuSTART"), "Anfang");
  EXPECT_EQ(Text("tMenuQUIT"), "Quit");
  // A failed load leaves the texts as they were.
  EXPECT_EQ(LoadLanguage(folder_, "cc_CC"), 0);
  EXPECT_EQ(Text("tMenuSTART"), "Anfang");
}

TEST_F(LanguageTexts, LowerCaseKeysAreLoadedButNotFound) {
  Put("lc_LC.language", "[language file]\r\ntlangfilename = Lower\r\n[menu]\r\ntmenustart = Start\r\n");
  ASSERT_EQ(LoadLanguage(folder_, "lc_LC"), 1);
  EXPECT_EQ(Text("tMenuSTART"), "");
  EXPECT_EQ(Text("tmenustart"), "Start");
}

TEST_F(LanguageTexts, AFileWithoutByteOrderMarkIsLatin1) {
  Put("fr_FR.language", "[T]\r\ntMenuSTART = Caf\xE9\r\n");
  ASSERT_EQ(LoadLanguage(folder_, "fr_FR"), 1);
  EXPECT_EQ(Text("tMenuSTART"), "Caf\xC3\xA9");
}

TEST_F(LanguageTexts, CodesThatLeaveTheFolderAreRefused) {
  // A language file beside the folder, reachable only through "..".
  std::string parent = folder_.substr(0, folder_.rfind('/'));
  std::string outside = "[T]\r\ntMenuSTART = outside\r\n";
  ASSERT_TRUE(file_write(parent + "/out.language", outside.data(), outside.size()));
  EXPECT_EQ(LoadLanguage(folder_, "../out"), 0);
  EXPECT_EQ(Text("tMenuSTART"), "");
}

TEST_F(LanguageTexts, MissingPackOrFolderLoadsNothing) {
  EXPECT_EQ(LoadLanguage(folder_ + "-none", "en_GB"), 0);
  Put("empty.language", "");  // an empty file still opens and holds no texts
  EXPECT_EQ(LoadLanguage(folder_, "empty"), 1);
  EXPECT_EQ(Texts.Size(), 0u);
}

TEST_F(LanguageTexts, ResetEmptiesEverything) {
  Put("en_GB.language", "[Language File]\r\ntLangFileNAME = English\r\n");
  ASSERT_EQ(EnumerateLanguages(folder_), 1);
  ASSERT_EQ(LoadLanguage(folder_, "en_GB"), 1);
  LanguageIndex = 3;
  LanguageCursor = 1;
  ResetLanguages();
  EXPECT_EQ(Texts.Size(), 0u);
  EXPECT_EQ(LanguageCatalogue.Size(), 0u);
  EXPECT_TRUE(LanguageList.empty());
  EXPECT_EQ(LanguageCursor, 0);
  EXPECT_EQ(LanguageIndex, 0);
  EXPECT_STREQ(LanguageModuleVersion(), "2.0");
}

// Sets the locale variables for one case and puts the old values back.
class LocaleEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* var : kVars) {
      const char* v = std::getenv(var);
      saved_.push_back(v ? std::make_pair(true, std::string(v)) : std::make_pair(false, std::string()));
    }
  }
  void TearDown() override {
    for (size_t i = 0; i < 3; ++i) {
      if (saved_[i].first) setenv(kVars[i], saved_[i].second.c_str(), 1);
      else unsetenv(kVars[i]);
    }
  }
  // nullptr unsets a variable.
  static std::string Detect(const char* all, const char* messages, const char* lang) {
    const char* values[3] = {all, messages, lang};
    for (size_t i = 0; i < 3; ++i) {
      if (values[i]) setenv(kVars[i], values[i], 1);
      else unsetenv(kVars[i]);
    }
    return DetectSystemLanguage();
  }
  static constexpr const char* kVars[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::vector<std::pair<bool, std::string>> saved_;
};

TEST_F(LocaleEnvironment, TheFirstLocaleVariableSetGivesTheCode) {
  EXPECT_EQ(Detect(nullptr, nullptr, "de_AT.UTF-8"), "de_AT");
  EXPECT_EQ(Detect("", "", "de_AT.UTF-8"), "de_AT");  // empty counts as unset
  EXPECT_EQ(Detect(nullptr, "fr_CA.ISO-8859-1", "de_AT.UTF-8"), "fr_CA");
  EXPECT_EQ(Detect("sr_RS.UTF-8@latin", "fr_CA", "de_AT"), "sr_RS");
  EXPECT_EQ(Detect(nullptr, nullptr, "ca_ES@valencia"), "ca_ES");
  EXPECT_EQ(Detect(nullptr, nullptr, "sr-Latn-RS"), "sr_Latn_RS");
  // The plain locales name no language, and the chosen variable decides.
  EXPECT_EQ(Detect(nullptr, nullptr, "C.UTF-8"), "");
  EXPECT_EQ(Detect(nullptr, "POSIX", "de_AT.UTF-8"), "");
  EXPECT_EQ(Detect(nullptr, nullptr, nullptr), "");
}

}  // namespace
