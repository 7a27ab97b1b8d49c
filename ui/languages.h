// The languages: the texts of the current language (Text(key)), the
// catalogue of the language files in "DuskmatchLanguages.pack" (a ZIP file,
// or a folder of that name), the ordered list the settings screen steps
// through, and the guess of the player's language from the system.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

constexpr const char* kLanguagePackName = "DuskmatchLanguages.pack";
constexpr const char* kDefaultLanguage = "en_GB";

// Buckets of the text map and of the catalogue.
constexpr uint32_t kLanguageBuckets = 512;

// The hash of the text map and the catalogue: h := h * 65599 + unit over the
// UTF-16 code units of the UTF-8 text, from 0, wrapping at 32 bits.
uint32_t LanguageHash(const std::string& text);

// The key-to-text map of the current language, in 512 buckets. Keys are
// compared exactly, letter case included.
class TextMap {
 public:
  // The text of key, or nullptr when the key is absent.
  const std::string* Find(const std::string& key) const;
  // Sets (adds or replaces) the text of a key.
  void Set(const std::string& key, const std::string& text);
  size_t Size() const { return size_; }
  void Clear();

 private:
  std::vector<std::pair<std::string, std::string>> buckets_[kLanguageBuckets];
  size_t size_ = 0;
};

// The texts of the languages loaded so far, the latest one winning. Never
// emptied during a run (only by ResetLanguages).
extern TextMap Texts;

// The text of a key in the current language; the empty text (one shared
// object) when absent. Keys are compared exactly. The reference holds until
// the next load or reset.
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

// The languages by display name, in 512 buckets of the hash of the name.
// Walked by ascending bucket, and within a bucket the entry added last first.
class LanguageCatalogueMap {
 public:
  // The entry of a display name, created empty (with the name) if absent;
  // an existing entry keeps its place in the walking order.
  LanguageEntry& Entry(const std::string& name);
  // The entry of a display name, or nullptr.
  const LanguageEntry* Find(const std::string& name) const;
  // Every entry in walking order.
  std::vector<LanguageEntry*> Walk();
  size_t Size() const { return size_; }
  // Empties the catalogue and frees the flag pictures.
  void Clear();

 private:
  std::deque<LanguageEntry> buckets_[kLanguageBuckets];  // entries stay put
  size_t size_ = 0;
};

// The available languages, filled by EnumerateLanguages.
extern LanguageCatalogueMap LanguageCatalogue;

// One entry of the ordered language list.
struct LanguageListEntry {
  std::string code;
  std::string name;
};
// The languages in catalogue order, rebuilt by EnumerateLanguages.
extern std::vector<LanguageListEntry> LanguageList;
// The list's one position: that of the current language after start-up, of
// the one being chosen while the settings screen is open. 0 when the
// language is not in the list.
extern int LanguageIndex;

// The catalogue entries in catalogue order (the order of the list, the log
// and the settings strip); the pointers hold until the catalogue is reset.
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
// Position of the first list entry with this code, 0 when none. A look-up
// only: LanguageIndex moves where its caller sets it.
int LanguageIndexOf(const std::string& code);
// The version of this module for the log: "2.0".
const char* LanguageModuleVersion();

// Empties the texts, the catalogue and the list, puts the index back to 0,
// and frees the flag pictures (tests).
void ResetLanguages();
