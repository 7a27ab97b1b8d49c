// The languages: the texts of the current language (Text(key)), the
// catalogue of the language files in "DuskmatchLanguages.pack" (a ZIP file,
// or a folder of that name), the ordered list the settings screen steps
// through, and the guess of the player's language from the system.
#pragma once
#include <string>
#include <vector>

constexpr const char* kLanguagePackName = "DuskmatchLanguages.pack";
constexpr const char* kDefaultLanguage = "en_GB";

// The text of a key in the current language; the empty text when absent.
// Keys are compared exactly.
const std::string& Text(const std::string& key);

// One available language, from the header group of its file.
struct LanguageEntry {
  std::string name;  // display name ("tLangFileNAME"), the catalogue's key
  std::string code;  // file name without extension, e.g. "en_GB"
  std::string version;
  std::string date;
  std::string author;
  std::string langId;
  std::string software;
  int flag = 0;      // image handle of the ".flag" picture, 0 when none
};

// One entry of the ordered language list.
struct LanguageListEntry {
  std::string code;
  std::string name;
};
// The languages in catalogue order, rebuilt by EnumerateLanguages, and its
// cursor (the current entry).
extern std::vector<LanguageListEntry> LanguageList;
extern int LanguageCursor;
// Position in LanguageList of the current language (after start-up) or of
// the one being chosen on the settings screen.
extern int LanguageIndex;

// The catalogue entries in catalogue order (the order of the list, the log
// and the settings strip).
std::vector<const LanguageEntry*> CatalogueEntries();

// A language code guessed from the system's locale ("de-AT" gives "de_AT");
// empty when the system gives none.
std::string DetectSystemLanguage();
// Builds the catalogue and the list from the pack or folder at packPath and
// loads the flags. 1 when it could be read, 0 otherwise.
int EnumerateLanguages(const std::string& packPath);
// Loads code + ".language" from the pack or folder into the texts, keeping
// texts of keys the file lacks. 1 when found and read, 0 otherwise.
int LoadLanguage(const std::string& packPath, const std::string& code);
// Position of the first list entry with this code, 0 when none; leaves the
// cursor on it (on the last entry when none matched).
int LanguageIndexOf(const std::string& code);
// The version of this module for the log: "2.0".
const char* LanguageModuleVersion();

// Empties the texts, the catalogue and the list (tests).
void ResetLanguages();
