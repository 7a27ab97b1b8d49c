// The language pack as a ZIP file: languages and flags read from its
// entries, names compared exactly, entries whose names would lead out of the
// temporary folder skipped, missing or broken packs, a pack made by Info-ZIP,
// and the pack the build makes from the shipped language files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "engine/image/image_buffer.h"
#include "engine/pack/pack.h"
#include "engine/system/file.h"
#include "tests/support/image_probe.h"
#include "ui/languages.h"
#include "ui/text_keys.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

std::string Language(const std::string& name, const std::string& texts = "") {
  return "\xEF\xBB\xBF[LANGUAGE FILE]\r\ntLangFileNAME = " + name + "\r\n[Menu]\r\n" + texts;
}

std::string Bmp(int width, int height) {
  if (image_create(1, width, height, 24, 0x3366CC) == 0) return std::string();
  std::vector<uint8_t> bytes;
  bool ok = image_encode(*image_handle(1), kImageFormatBMP, &bytes);
  image_free(1);
  return ok ? std::string(bytes.begin(), bytes.end()) : std::string();
}

// Info-ZIP 3.0 ("zip -X -9", then "zip -X -0"): en_GB.language deflated,
// de_DE.language stored.
const char kInfoZipHex[] =
    "504b03041400020008001229895d73582b7089000000bd0000000e000000"
    "656e5f47422e6c616e67756167657bbf7bbfb5826f624aaa427966498682"
    "675e5abe6e9467002f57b48fa39f7ba8a3bbab829ba78f6b2c2f57894f62"
    "5eba5b664eaa9fa3afab82ad826b5e7a4e6671868246a8b726926c986b50"
    "b0a7bf1f5081a19e01d018dfd4bc52906e101d1ce218140294092e492c2a"
    "514854c84b2d57484fcc4dd55128262802352230d4136442606966092f17"
    "00504b03040a00000000001229895d9a90da5d4f0000004f0000000e0000"
    "0064655f44452e6c616e6775616765efbbbf5b4c414e4755414745204649"
    "4c455d0d0a744c616e6746696c654e414d45203d20446575747363680d0a"
    "5b4d656e755d0d0a744d656e755354415254203d204e6575657320537069"
    "656c0d0a504b01021e031400020008001229895d73582b7089000000bd00"
    "00000e0000000000000001000000a48100000000656e5f47422e6c616e67"
    "75616765504b01021e030a00000000001229895d9a90da5d4f0000004f00"
    "00000e0000000000000000000000a481b500000064655f44452e6c616e67"
    "75616765504b0506000000000200020078000000300100000000";
// The same two files as plain text, for a pack of our own writer.
const char kInfoZipEnGb[] =
    "\xEF\xBB\xBF; Made with Info-ZIP\r\n[LANGUAGE FILE]\r\ntLangFileNAME = English (UK)\r\n"
    "tLangFileVERSION = 1.0\r\n[Menu]\r\n"
    "tMenuSTART = Start a new game, start a new game, start a new game\r\ntMenuQUIT = Quit\r\n";
const char kInfoZipDeDe[] =
    "\xEF\xBB\xBF[LANGUAGE FILE]\r\ntLangFileNAME = Deutsch\r\n[Menu]\r\ntMenuSTART = Neues Spiel\r\n";

std::string FromHex(const char* hex) {
  std::string out;
  for (const char* p = hex; p[0] && p[1]; p += 2) out.push_back(static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16)));
  return out;
}

class LanguagePack : public ::testing::Test {
 protected:
  void SetUp() override {
    pack_register_formats();
    image_codecs_start();
    ResetLanguages();
    folder_remove_all(folder_);
    ASSERT_TRUE(folder_make(folder_));
  }
  void TearDown() override {
    ResetLanguages();
    folder_remove_all(folder_);
  }
  // A ZIP pack made with the engine's writer.
  void MakeZip(const std::string& path, const Entries& entries) {
    int pack = pack_create(-1, path, kPackFormatZip);
    ASSERT_NE(pack, 0);
    for (const auto& [name, bytes] : entries) ASSERT_TRUE(pack_add_memory(pack, name, bytes.data(), bytes.size()));
    ASSERT_TRUE(pack_finish(pack));
  }
  // Language files left behind in the run's temporary folder.
  static int LeftInTemp() {
    int n = 0;
    for (const std::string& name : folder_list(file_private_temp_folder()))
      if (name.find(".language") != std::string::npos) ++n;
    return n;
  }
  static std::vector<std::string> Codes() {
    std::vector<std::string> codes;
    for (const LanguageEntry* e : CatalogueEntries()) codes.push_back(e->code);
    return codes;
  }
  std::string folder_ =
      "pack-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "/";
  std::string pack_ = folder_ + kLanguagePackName;
};

TEST_F(LanguagePack, LanguagesAndFlagsComeFromTheEntries) {
  const std::string smallFlag = Bmp(20, 12);
  ASSERT_FALSE(smallFlag.empty());
  MakeZip(pack_, {{"en_GB.language", Language("English", "tMenuSTART = Start\r\n")},
                  {"de_DE.language", Language("Deutsch")},
                  {"fr_FR.LANGUAGE", Language("Capitals")},  // extension compared exactly
                  {"it_IT.language.txt", Language("Text file")},
                  {"nl_NL.language", Language("Nederlands")},
                  {"en_GB.flag", smallFlag},
                  {"de_DE.flag", "not a picture"}});
  ASSERT_EQ(EnumerateLanguages(pack_), 1);
  // Buckets: Nederlands 110, English 112, Deutsch 472.
  EXPECT_EQ(Codes(), (std::vector<std::string>{"nl_NL", "en_GB", "de_DE"}));
  EXPECT_EQ(LanguageCatalogue.Find("Capitals"), nullptr);
  int flag = LanguageCatalogue.Find("English")->flag;
  ASSERT_NE(flag, 0);
  EXPECT_EQ(image_width(flag), 20);
  EXPECT_EQ(image_height(flag), 12);
  EXPECT_EQ(LanguageCatalogue.Find("Deutsch")->flag, 0);
  EXPECT_EQ(LanguageCatalogue.Find("Nederlands")->flag, 0);

  EXPECT_EQ(LoadLanguage(pack_, "en_GB"), 1);
  EXPECT_EQ(Text("tMenuSTART"), "Start");
  EXPECT_EQ(LoadLanguage(pack_, "fr_FR"), 0);
  EXPECT_EQ(LoadLanguage(pack_, "en_gb"), 0);
  EXPECT_EQ(LeftInTemp(), 0);
}

TEST_F(LanguagePack, EntriesNamedOutOfTheTemporaryFolderAreSkipped) {
  const std::string& temp = file_private_temp_folder();
  ASSERT_FALSE(temp.empty());
  const std::string tag = std::to_string(getpid());
  const std::string up = "../duskmatch-evil-" + tag;
  const std::string absolute = "/tmp/duskmatch-abs-" + tag;
  MakeZip(pack_, {{up + ".language", Language("Up")},
                  {absolute + ".language", Language("Absolute")},
                  {"sub\\x.language", Language("Backslash")},
                  {"sub/y.language", Language("Sub folder")},
                  {"en_GB.language", Language("English")}});
  // The writer keeps the names as given, so the reader meets them.
  int pack = pack_open(-1, pack_, kPackFormatZip);
  ASSERT_NE(pack, 0);
  ASSERT_NE(pack_list_begin(pack), 0);
  ASSERT_NE(pack_list_next(pack), 0);
  EXPECT_EQ(pack_entry_name(pack), up + ".language");
  pack_close(pack);

  ASSERT_EQ(EnumerateLanguages(pack_), 1);
  EXPECT_EQ(Codes(), std::vector<std::string>{"en_GB"});
  EXPECT_EQ(LoadLanguage(pack_, up), 0);
  EXPECT_EQ(LoadLanguage(pack_, absolute), 0);
  EXPECT_EQ(Texts.Size(), 0u);
  // Nothing landed beside the temporary folder, at the absolute path or in
  // the temporary folder itself.
  std::string parent = temp.substr(0, temp.find_last_of('/', temp.size() - 2) + 1);
  EXPECT_FALSE(file_exists(parent + "duskmatch-evil-" + tag + ".language"));
  EXPECT_FALSE(file_exists(absolute + ".language"));
  EXPECT_EQ(LeftInTemp(), 0);
}

// "bsdtar -cf pack ." writes "./" before every name; dots inside a name are
// part of the name. Both stay in the temporary folder, so they are read, and
// entry names are still compared exactly when a language is loaded.
TEST_F(LanguagePack, NamesThatStayInTheTemporaryFolderAreRead) {
  MakeZip(pack_, {{"./", ""},
                  {"./de_DE.language", Language("Deutsch", "tMenuSTART = Los\r\n")},
                  {"a..b.language", Language("Dots", "tMenuSTART = Punkte\r\n")},
                  {"./.language", Language("No name")}});
  ASSERT_EQ(EnumerateLanguages(pack_), 1);
  std::vector<std::string> codes = Codes();
  std::sort(codes.begin(), codes.end());
  EXPECT_EQ(codes, (std::vector<std::string>{"", "a..b", "de_DE"}));
  EXPECT_EQ(LeftInTemp(), 0);
  EXPECT_EQ(LoadLanguage(pack_, "de_DE"), 0);  // the entry is "./de_DE.language"
  EXPECT_EQ(LoadLanguage(pack_, "./de_DE"), 1);
  EXPECT_EQ(Text("tMenuSTART"), "Los");
  EXPECT_EQ(LoadLanguage(pack_, "a..b"), 1);
  EXPECT_EQ(Text("tMenuSTART"), "Punkte");
  EXPECT_EQ(LeftInTemp(), 0);
}

TEST_F(LanguagePack, AMissingEmptyOrBrokenPackGivesNoLanguages) {
  for (const std::string& bytes : {std::string("missing"), std::string(), std::string("PK\x03\x04 no archive")}) {
    if (bytes != "missing") {
      ASSERT_TRUE(file_write(pack_, bytes.data(), bytes.size()));
    }
    EXPECT_EQ(EnumerateLanguages(pack_), 0) << bytes;
    EXPECT_EQ(LoadLanguage(pack_, "en_GB"), 0) << bytes;
  }
  EXPECT_EQ(LanguageCatalogue.Size(), 0u);
  EXPECT_TRUE(LanguageList.empty());
  EXPECT_EQ(Texts.Size(), 0u);
}

TEST_F(LanguagePack, APackMadeByInfoZipReadsAsOurOwn) {
  const std::string bytes = FromHex(kInfoZipHex);
  const std::string theirs = folder_ + "infozip.pack";
  ASSERT_TRUE(file_write(theirs, bytes.data(), bytes.size()));
  MakeZip(pack_, {{"en_GB.language", kInfoZipEnGb}, {"de_DE.language", kInfoZipDeDe}});

  std::vector<std::vector<std::string>> seen;
  for (const std::string& path : {theirs, pack_}) {
    ResetLanguages();
    ASSERT_EQ(EnumerateLanguages(path), 1) << path;
    ASSERT_EQ(LoadLanguage(path, "en_GB"), 1) << path;  // the deflated entry
    ASSERT_EQ(LoadLanguage(path, "de_DE"), 1) << path;  // the stored one
    std::vector<std::string> view;
    for (const LanguageEntry* e : CatalogueEntries()) view.insert(view.end(), {e->code, e->name, e->version});
    view.insert(view.end(), {Text("tMenuSTART"), Text("tMenuQUIT")});
    seen.push_back(view);
  }
  const std::vector<std::string> expected = {"de_DE", "Deutsch", "", "en_GB", "English (UK)", "1.0",
                                             "Neues Spiel", "Quit"};
  EXPECT_EQ(seen[0], expected);
  EXPECT_EQ(seen[1], expected);
}

TEST_F(LanguagePack, TheBuiltPackHoldsEveryShippedLanguage) {
  const char* binary = std::getenv("DUSK_BINARY_DIR");
  ASSERT_NE(binary, nullptr) << "run through ctest";
  const std::string pack = std::string(binary) + "/bin/" + kLanguagePackName;
  ASSERT_TRUE(file_exists(pack)) << pack << " is made by the game_packs target";
  ASSERT_EQ(EnumerateLanguages(pack), 1);
  // Buckets of the display names: Nederlands 110, Italiano 239, Español
  // 271, Polski 356, Português (Brasil) 369, Français 381, Japanese 471,
  // Deutsch 472, English (US) 499, English (UK) 507, Svenska 509.
  EXPECT_EQ(Codes(), (std::vector<std::string>{"nl_NL", "it_IT", "es_ES", "pl_PL", "pt_BR", "fr_FR",
                                               "ja_JP", "de_DE", "en_US", "en_GB", "sv_SE"}));
  for (const LanguageEntry* e : CatalogueEntries()) EXPECT_GT(image_width(e->flag), 0) << e->code;

  ASSERT_EQ(LoadLanguage(pack, "en_GB"), 1);
  for (const TextSlot& slot : kTextSlots) EXPECT_FALSE(Text(slot.key).empty()) << slot.key;
  for (const char* key : kLanguageHeaderKeys) EXPECT_FALSE(Text(key).empty()) << key;
  EXPECT_EQ(LeftInTemp(), 0);
}

}  // namespace
