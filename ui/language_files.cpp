// Language files from the pack or from a folder: safe names, codes, and the
// extract-read-delete round through the temporary folder.
#include "ui/language_files.h"

#include "engine/pack/pack.h"
#include "engine/system/file.h"
#include "engine/system/unicode.h"
#include "ui/languages.h"

uint32_t LanguageHash(const std::string& text) {
  uint32_t h = 0;
  for (char16_t unit : utf8_to_utf16(text)) h = h * 65599u + unit;
  return h;
}

bool LanguagePackIsFolder(const std::string& packPath) { return folder_exists(packPath); }

bool LanguageFileNameIsSafe(const std::string& name) {
  // Archivers that pack a folder from inside it ("bsdtar -cf pack .") write
  // "./" before every name: that part names the folder itself.
  size_t start = 0;
  while (name.compare(start, 2, "./") == 0 || name.compare(start, 2, ".\\") == 0) start += 2;
  std::string rest = name.substr(start);
  return !rest.empty() && rest != "." && rest != ".." && rest.find('/') == std::string::npos &&
         rest.find('\\') == std::string::npos;
}

std::string LanguageCodeOf(const std::string& fileName) {
  std::string base = file_base_name(fileName);
  size_t dot = base.rfind('.');
  return dot == std::string::npos ? base : base.substr(0, dot);
}

std::string FindLanguageFile(const std::string& folder, const std::string& fileName) {
  std::string exact = folder + "/" + fileName;
  if (file_exists(exact)) return exact;
  for (const std::string& name : folder_list(folder))
    if (keyvalue_names_equal(name, fileName) && file_exists(folder + "/" + name)) return folder + "/" + name;
  return std::string();
}

bool ReadLanguageEntry(int pack, const std::string& entryName, KeyValueFile* out) {
  std::string name = entryName.empty() ? pack_entry_name(pack) : entryName;
  if (!LanguageFileNameIsSafe(name)) return false;
  const std::string& temp = file_private_temp_folder();
  if (temp.empty()) return false;
  std::string dest = temp + name;
  if (pack_extract_entry(pack, dest, entryName) < 0) return false;
  bool ok = keyvalue_open(dest, out);
  file_remove(dest);
  return ok;
}
