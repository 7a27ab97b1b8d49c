// The text map of the current language, loading a language's texts from the
// pack or folder, the guess of the player's language and the module's reset.
#include "ui/languages.h"

#include "engine/keyvalue/keyvalue.h"
#include "engine/pack/pack.h"
#include "engine/system/file.h"
#include "engine/system/locale.h"
#include "engine/system/system.h"
#include "ui/language_files.h"

TextMap Texts;
int LanguageIndex = 0;

const std::string* TextMap::Find(const std::string& key) const {
  for (const auto& [k, text] : buckets_[LanguageHash(key) % kLanguageBuckets])
    if (k == key) return &text;
  return nullptr;
}

void TextMap::Set(const std::string& key, const std::string& text) {
  auto& bucket = buckets_[LanguageHash(key) % kLanguageBuckets];
  for (auto& [k, old] : bucket) {
    if (k == key) {
      old = text;
      return;
    }
  }
  bucket.emplace_back(key, text);
  ++size_;
}

void TextMap::Clear() {
  for (auto& bucket : buckets_) bucket.clear();
  size_ = 0;
}

const std::string& Text(const std::string& key) {
  static const std::string kEmpty;
  const std::string* text = Texts.Find(key);
  return text ? *text : kEmpty;
}

namespace {

// Every key line of every group in file order; lines before the first group
// header belong to no group and are left out.
void LoadAllGroups(const KeyValueFile& file) {
  bool inGroup = false;
  for (const KeyValueEntry& e : file.entries) {
    if (e.kind == KeyValueKind::Group) inGroup = true;
    else if (e.kind == KeyValueKind::Key && inGroup) Texts.Set(e.name, e.value);
  }
}

}  // namespace

int LoadLanguage(const std::string& packPath, const std::string& code) {
  // The code comes from the settings file: it must not lead out of the pack.
  std::string fileName = code + ".language";
  if (!LanguageFileNameIsSafe(fileName)) return 0;
  KeyValueFile file;
  if (LanguagePackIsFolder(packPath)) {
    std::string path = FindLanguageFile(packPath, fileName);
    if (path.empty() || !keyvalue_open(path, &file)) return 0;
  } else {
    if (file_size(packPath) <= 0) return 0;
    int pack = pack_open(-1, packPath, kPackFormatZip);
    if (pack == 0) return 0;
    bool ok = ReadLanguageEntry(pack, fileName, &file);
    pack_close(pack);
    if (!ok) return 0;
  }
  LoadAllGroups(file);
  return 1;
}

std::string DetectSystemLanguage() {
  // Systems older than Windows Vista had no locale names to ask for.
  if (system_os_code() <= 65) return kDefaultLanguage;
  std::string name = system_locale_name();
  for (char& c : name)
    if (c == '-') c = '_';
  return name;
}

const char* LanguageModuleVersion() { return "2.0"; }

void ResetLanguages() {
  Texts.Clear();
  ClearLanguageCatalogue();
  LanguageIndex = 0;
}
