// The language files of data/languages as the tests see them: each file's
// code, raw bytes and parsed lines.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/keyvalue/keyvalue.h"
#include "engine/system/file.h"

namespace languages {

struct LanguageFile {
  std::string code;  // the file name without ".language"
  std::vector<uint8_t> bytes;
  KeyValueFile parsed;
};

inline std::string folder() {
  const char* source = std::getenv("DUSK_SOURCE_DIR");
  return std::string(source ? source : ".") + "/data/languages/";
}

// Every ".language" file of the folder, read and parsed; a file that cannot
// be read fails the calling test.
inline std::vector<LanguageFile> load_all() {
  std::vector<LanguageFile> files;
  const std::string suffix = ".language";
  for (const std::string& name : folder_list(folder())) {
    if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    LanguageFile file;
    file.code = name.substr(0, name.size() - suffix.size());
    if (!file_read_all(folder() + name, &file.bytes)) {
      ADD_FAILURE() << "cannot read " << name;
      continue;
    }
    keyvalue_parse(file.bytes.data(), file.bytes.size(), &file.parsed);
    files.push_back(std::move(file));
  }
  return files;
}

// The key lines as the game loads them: those under a group header.
inline std::vector<const KeyValueEntry*> loaded_keys(const KeyValueFile& file) {
  std::vector<const KeyValueEntry*> keys;
  bool in_group = false;
  for (const KeyValueEntry& e : file.entries) {
    if (e.kind == KeyValueKind::Group) in_group = true;
    if (e.kind == KeyValueKind::Key && in_group) keys.push_back(&e);
  }
  return keys;
}

// The value the game would show for a key (the last line wins), or nullptr.
inline const std::string* text_of(const KeyValueFile& file, const std::string& key) {
  const std::string* found = nullptr;
  for (const KeyValueEntry* e : loaded_keys(file))
    if (e->name == key) found = &e->value;
  return found;
}

}  // namespace languages
