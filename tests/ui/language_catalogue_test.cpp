// The language catalogue read from a folder of loose language files: the
// walking order by hash bucket, a display name given twice, headers read
// without regard to case, the list and its cursor, and the flags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/image/image.h"
#include "engine/system/file.h"
#include "engine/system/unicode.h"
#include "ui/languages.h"

namespace {

// The bucket of a display name, worked out here from its UTF-16 code units
// so that the expected orders do not come from the code under test.
uint32_t BucketOf(const std::u16string& name) {
  uint32_t h = 0;
  for (char16_t unit : name) h = h * 65599u + static_cast<uint32_t>(unit);
  return h % 512u;
}

std::string Header(const std::string& name, const std::string& extra = "") {
  return "\xEF\xBB\xBF[LANGUAGE FILE]\r\ntLangFileNAME = " + name + "\r\n" + extra;
}

class LanguageCatalogueFolder : public ::testing::Test {
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
  static std::vector<std::string> Codes() {
    std::vector<std::string> codes;
    for (const LanguageEntry* e : CatalogueEntries()) codes.push_back(e->code);
    return codes;
  }
  std::string root_ =
      "catalogue-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::string folder_ = root_ + "/DuskmatchLanguages.pack";
};

TEST_F(LanguageCatalogueFolder, EntriesFollowTheBucketsAndTheLastAddedComesFirst) {
  // Three names share bucket 481 ("Café" only when hashed over UTF-16 code
  // units, not over its UTF-8 bytes) and two share bucket 30 (one of them
  // a surrogate pair).
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
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(LanguageList[i].code, expected[i]);
  EXPECT_EQ(LanguageList[0].name, utf16_to_utf8(smiley));
  EXPECT_EQ(LanguageList[4].name, "Caf\xC3\xA9");

  // The same display name again: the later file takes over the entry, which
  // keeps its place (it is not added anew at the front of its bucket).
  Put("a7.language", Header("Gh", "tLangFileVERSION = 7\r\n"));
  ASSERT_EQ(EnumerateLanguages(folder_), 1);
  const std::vector<std::string> updated = {"a4", "a1", "a2", "a6", "a5", "a7"};
  EXPECT_EQ(Codes(), updated);
  EXPECT_EQ(LanguageCatalogue.Size(), 6u);
  EXPECT_EQ(CatalogueEntries().back()->version, "7");
  EXPECT_EQ(LanguageList.back().code, "a7");
}

TEST_F(LanguageCatalogueFolder, HeaderIsReadWithoutRegardToCaseAndFirstKeyCounts) {
  Put("lc_LC.language",
      "tLangFileNAME = Before the group\r\n"
      "[language file]\r\n"
      "tlangfilename = Lower\r\n"
      "TLANGFILENAME = Second\r\n"
      "tLangFileVersion = 1.2\r\n"
      "tlangfiledate=2024-05-06\r\n"
      "tLangFileAUTHOR = \tSomeone \t\r\n"
      "tLangFileLANGID = 0x0409\r\n"
      "tLangFileSOFTWARE = Duskmatch\r\n"
      "[Menu]\r\n"
      "tLangFileNAME = Too late\r\n");
  // No header group: the file lands under the empty name.
  Put("zz_ZZ.language", "[Menu]\r\ntMenuSTART = Go\r\n");
  ASSERT_EQ(EnumerateLanguages(folder_), 1);
  ASSERT_EQ(LanguageCatalogue.Size(), 2u);
  const LanguageEntry* lower = LanguageCatalogue.Find("Lower");
  ASSERT_NE(lower, nullptr);
  EXPECT_EQ(lower->code, "lc_LC");
  EXPECT_EQ(lower->version, "1.2");
  EXPECT_EQ(lower->date, "2024-05-06");
  EXPECT_EQ(lower->author, "Someone");
  EXPECT_EQ(lower->langId, "0x0409");
  EXPECT_EQ(lower->software, "Duskmatch");
  const LanguageEntry* nameless = LanguageCatalogue.Find("");
  ASSERT_NE(nameless, nullptr);
  EXPECT_EQ(nameless->code, "zz_ZZ");
  EXPECT_EQ(nameless->version, "");
  // Enumerating reads headers only; the texts stay empty.
  EXPECT_EQ(Texts.Size(), 0u);
}

TEST_F(LanguageCatalogueFolder, OnlyLanguageFilesCountAndTheirExtensionIgnoresCase) {
  Put("en_GB.language", Header("English"));
  Put("de_DE.LANGUAGE", Header("Deutsch"));  // matched as the home system would
  Put("notes.txt", Header("Text file"));
  Put("en_GB.flag", "");
  Put(".language", Header("Just an extension"));
  ASSERT_TRUE(folder_make(folder_ + "/sub.language/"));  // a folder, not a file
  ASSERT_EQ(EnumerateLanguages(folder_), 1);
  EXPECT_EQ(LanguageCatalogue.Size(), 3u);
  ASSERT_NE(LanguageCatalogue.Find("Just an extension"), nullptr);
  EXPECT_EQ(LanguageCatalogue.Find("Just an extension")->code, "");
  ASSERT_NE(LanguageCatalogue.Find("Deutsch"), nullptr);
  EXPECT_EQ(LanguageCatalogue.Find("Deutsch")->code, "de_DE");
  ASSERT_NE(LanguageCatalogue.Find("English"), nullptr);
  // An empty flag file is no flag.
  EXPECT_EQ(LanguageCatalogue.Find("English")->flag, 0);
  // A language listed with its extension in capitals can be loaded too.
  Put("de_DE.LANGUAGE", Header("Deutsch", "[Menu]\r\ntMenuSTART = Los\r\n"));
  EXPECT_EQ(LoadLanguage(folder_, "de_DE"), 1);
  EXPECT_EQ(Text("tMenuSTART"), "Los");
}

TEST_F(LanguageCatalogueFolder, FlagsAreLoadedByCode) {
  Put("en_GB.language", Header("English"));
  Put("fr_FR.language", Header("Fran\xC3\xA7" "ais"));
  Put("nl_NL.language", Header("Nederlands"));
  ASSERT_NE(image_create(1, 6, 4, 24, 0x2040C0), 0);
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(image_encode(*image_handle(1), kImageFormatBMP, &bmp));
  image_free(1);
  ASSERT_TRUE(file_write(folder_ + "/en_GB.flag", bmp.data(), bmp.size()));
  Put("fr_FR.flag", "not a picture");
  ASSERT_EQ(EnumerateLanguages(folder_), 1);
  int flag = LanguageCatalogue.Find("English")->flag;
  ASSERT_NE(flag, 0);
  EXPECT_EQ(image_width(flag), 6);
  EXPECT_EQ(image_height(flag), 4);
  EXPECT_EQ(LanguageCatalogue.Find("Fran\xC3\xA7" "ais")->flag, 0);
  EXPECT_EQ(LanguageCatalogue.Find("Nederlands")->flag, 0);
  // Enumerating again replaces the picture; resetting frees it.
  ASSERT_EQ(EnumerateLanguages(folder_), 1);
  int again = LanguageCatalogue.Find("English")->flag;
  ASSERT_NE(again, 0);
  EXPECT_FALSE(again != flag && image_exists(flag));
  ResetLanguages();
  EXPECT_FALSE(image_exists(again));
}

TEST_F(LanguageCatalogueFolder, IndexOfFindsTheFirstCodeAndMovesTheCursor) {
  // Buckets: "Op" 481 and "Hf" 30, so the list is en_US, en_GB.
  Put("en_GB.language", Header("Op"));
  Put("en_US.language", Header("Hf"));
  ASSERT_EQ(EnumerateLanguages(folder_), 1);
  ASSERT_EQ(LanguageList.size(), 2u);
  EXPECT_EQ(LanguageIndexOf("en_GB"), 1);
  EXPECT_EQ(LanguageCursor, 1);
  EXPECT_EQ(LanguageIndexOf("en_US"), 0);
  EXPECT_EQ(LanguageCursor, 0);
  EXPECT_EQ(LanguageIndexOf("en_gb"), 0);  // codes are compared exactly
  EXPECT_EQ(LanguageCursor, 1);            // left on the last entry
}

TEST_F(LanguageCatalogueFolder, AFolderThatCannotBeListedGivesNothing) {
  EXPECT_EQ(EnumerateLanguages(folder_ + "-missing"), 0);
  EXPECT_EQ(EnumerateLanguages(folder_), 1);  // an empty folder is readable
  EXPECT_EQ(LanguageCatalogue.Size(), 0u);
  EXPECT_TRUE(LanguageList.empty());
  EXPECT_EQ(LanguageIndexOf("en_GB"), 0);
}

TEST_F(LanguageCatalogueFolder, TheShippedLanguageFilesInHashOrder) {
  const char* source = std::getenv("DUSK_SOURCE_DIR");
  ASSERT_NE(source, nullptr) << "run through ctest";
  ASSERT_EQ(EnumerateLanguages(std::string(source) + "/data/languages"), 1);
  // Buckets worked out from the display names in the files: Nederlands 110,
  // Italiano 239, Español 271, Polski 356, Português (Brasil) 369, Français
  // 381, Japanese 471, Deutsch 472, English (US) 499, English (UK) 507,
  // Svenska 509.
  const std::vector<std::string> expected = {"nl_NL", "it_IT", "es_ES", "pl_PL", "pt_BR", "fr_FR",
                                             "ja_JP", "de_DE", "en_US", "en_GB", "sv_SE"};
  EXPECT_EQ(Codes(), expected);
  uint32_t previous = 0;
  for (const LanguageEntry* e : CatalogueEntries()) {
    uint32_t bucket = BucketOf(utf8_to_utf16(e->name));
    EXPECT_LE(previous, bucket) << e->name;
    previous = bucket;
  }
}

}  // namespace
