// The catalogue of available languages: reading the header of every
// language file in the pack or folder, the ordered list the settings screen
// steps through, and the flag pictures.
#include <vector>

#include "engine/image/image.h"
#include "engine/keyvalue/keyvalue.h"
#include "engine/pack/pack.h"
#include "engine/system/file.h"
#include "ui/language_files.h"
#include "ui/languages.h"

LanguageCatalogueMap LanguageCatalogue;
std::vector<LanguageListEntry> LanguageList;

LanguageEntry& LanguageCatalogueMap::Entry(const std::string& name) {
  auto& bucket = buckets_[LanguageHash(name) % kLanguageBuckets];
  for (LanguageEntry& e : bucket)
    if (e.name == name) return e;
  bucket.emplace_back();
  bucket.back().name = name;
  ++size_;
  return bucket.back();
}

const LanguageEntry* LanguageCatalogueMap::Find(const std::string& name) const {
  for (const LanguageEntry& e : buckets_[LanguageHash(name) % kLanguageBuckets])
    if (e.name == name) return &e;
  return nullptr;
}

std::vector<LanguageEntry*> LanguageCatalogueMap::Walk() {
  std::vector<LanguageEntry*> out;
  out.reserve(size_);
  for (auto& bucket : buckets_)
    for (auto it = bucket.rbegin(); it != bucket.rend(); ++it) out.push_back(&*it);
  return out;
}

void LanguageCatalogueMap::Clear() {
  for (auto& bucket : buckets_) {
    for (LanguageEntry& e : bucket)
      if (e.flag != 0) image_free(e.flag);
    bucket.clear();
  }
  size_ = 0;
}

std::vector<const LanguageEntry*> CatalogueEntries() {
  std::vector<LanguageEntry*> walk = LanguageCatalogue.Walk();
  return std::vector<const LanguageEntry*>(walk.begin(), walk.end());
}

void ClearLanguageCatalogue() {
  LanguageCatalogue.Clear();
  LanguageList.clear();
}

namespace {

// The header group of a language file into the catalogue entry of its
// display name; a file without the header lands under the empty name.
void ReadHeader(KeyValueFile* file, const std::string& fileName) {
  keyvalue_select_group(file, "LANGUAGE FILE");
  std::string name = keyvalue_read_string(*file, "tLangFileNAME", "");
  LanguageEntry& e = LanguageCatalogue.Entry(name);
  e.code = LanguageCodeOf(fileName);
  e.version = keyvalue_read_string(*file, "tLangFileVERSION", "");
  e.date = keyvalue_read_string(*file, "tLangFileDATE", "");
  e.author = keyvalue_read_string(*file, "tLangFileAUTHOR", "");
  e.langId = keyvalue_read_string(*file, "tLangFileLANGID", "");
  e.software = keyvalue_read_string(*file, "tLangFileSOFTWARE", "");
}

void RebuildLanguageList() {
  LanguageList.clear();
  for (const LanguageEntry* e : CatalogueEntries()) LanguageList.push_back({e->code, e->name});
}

// A picture that replaces the entry's flag; a second enumeration must not
// leave the first one's picture behind.
void SetFlag(LanguageEntry* e, int image) {
  if (e->flag != 0) image_free(e->flag);
  e->flag = image;
}

// The extension test of folder listings follows a file system that ignores
// letter case, as the game's home system does; pack entries are compared
// exactly.
bool HasLanguageExtensionAnyCase(const std::string& name) {
  static const std::string kExt = ".language";
  return name.size() >= kExt.size() &&
         keyvalue_names_equal(name.substr(name.size() - kExt.size()), kExt);
}

bool HasLanguageExtension(const std::string& name) {
  size_t dot = name.rfind('.');
  return dot != std::string::npos && name.compare(dot + 1, std::string::npos, "language") == 0;
}

int EnumerateFolder(const std::string& folder) {
  if (!folder_exists(folder)) return 0;
  for (const std::string& name : folder_list(folder)) {
    if (!HasLanguageExtensionAnyCase(name)) continue;
    std::string path = folder + "/" + name;
    if (!file_exists(path)) continue;
    KeyValueFile file;
    if (keyvalue_open(path, &file)) ReadHeader(&file, name);
  }
  RebuildLanguageList();
  for (LanguageEntry* e : LanguageCatalogue.Walk()) {
    std::string flag = folder + "/" + e->code + ".flag";
    if (file_size(flag) > 0) SetFlag(e, image_load(-1, flag));
  }
  return 1;
}

int EnumeratePack(const std::string& packPath) {
  if (file_size(packPath) <= 0) return 0;
  int pack = pack_open(-1, packPath, kPackFormatZip);
  if (pack == 0) return 0;
  if (!pack_list_begin(pack)) {
    pack_close(pack);
    return 0;
  }
  while (pack_list_next(pack)) {
    std::string name = pack_entry_name(pack);
    if (pack_entry_kind(pack) != kPackEntryFile || !HasLanguageExtension(name)) continue;
    KeyValueFile file;
    if (ReadLanguageEntry(pack, "", &file)) ReadHeader(&file, name);
  }
  RebuildLanguageList();
  constexpr int64_t kFlagBuffer = 16000;
  std::vector<uint8_t> buffer;
  for (LanguageEntry* e : LanguageCatalogue.Walk()) {
    buffer.assign(kFlagBuffer, 0);
    int64_t got = pack_read_entry(pack, buffer.data(), kFlagBuffer, e->code + ".flag");
    if (got > 0) SetFlag(e, image_from_memory_sized(-1, buffer.data(), static_cast<size_t>(got)));
  }
  pack_close(pack);
  return 1;
}

}  // namespace

int EnumerateLanguages(const std::string& packPath) {
  return LanguagePackIsFolder(packPath) ? EnumerateFolder(packPath) : EnumeratePack(packPath);
}

int LanguageIndexOf(const std::string& code) {
  for (size_t i = 0; i < LanguageList.size(); ++i)
    if (LanguageList[i].code == code) return static_cast<int>(i);
  return 0;
}
