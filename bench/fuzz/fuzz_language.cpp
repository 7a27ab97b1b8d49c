// libFuzzer entry point for the language files and the language pack. The
// same bytes are read three ways, through the game's own entry points: as
// the language file (and flag picture) of a folder of language files, as the
// same two entries of a ZIP pack the game's pack writer made, and as the
// language pack itself. Any bytes must give a clean result, never a fault;
// the folder and the pack must give the same language, texts and flag, and
// those must agree with what the key-value reader makes of the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/image/image_buffer.h"
#include "engine/keyvalue/keyvalue.h"
#include "engine/pack/pack.h"
#include "engine/system/file.h"
#include "ui/languages.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// The texts a language file must load, from the key-value reader alone:
// every key line after the first group header, the last line of a key
// winning; and the name its header gives.
struct Expected {
  std::string name;
  std::map<std::string, std::string> texts;
};

Expected expected_language(const uint8_t* data, size_t size) {
  KeyValueFile file;
  keyvalue_parse(data, size, &file);
  Expected want;
  bool inGroup = false;
  for (const KeyValueEntry& e : file.entries) {
    if (e.kind == KeyValueKind::Group) inGroup = true;
    else if (e.kind == KeyValueKind::Key && inGroup) want.texts[e.name] = e.value;
  }
  keyvalue_select_group(&file, "LANGUAGE FILE");
  want.name = keyvalue_read_string(file, "tLangFileNAME", "");
  return want;
}

// The catalogue and the list are built together: same size, same order.
void check_list_matches_catalogue() {
  std::vector<const LanguageEntry*> entries = CatalogueEntries();
  check(entries.size() == LanguageCatalogue.Size());
  check(LanguageList.size() == entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    check(LanguageList[i].code == entries[i]->code);
    check(LanguageList[i].name == entries[i]->name);
    check(LanguageCatalogue.Find(entries[i]->name) == entries[i]);
  }
}

// Enumerates a pack or folder holding "xx.language" and "xx.flag", checks
// the list and the loaded texts against `want`, and gives the flag's size
// (0 x 0 when it is no picture).
std::pair<int, int> read_one_language(const std::string& packPath, const Expected& want) {
  ResetLanguages();
  check(EnumerateLanguages(packPath) == 1);
  check_list_matches_catalogue();
  check(LanguageList.size() == 1);
  check(LanguageList[0].code == "xx" && LanguageList[0].name == want.name);
  check(LanguageIndexOf("xx") == 0);
  std::pair<int, int> flagSize{0, 0};
  if (const ImageBuffer* flag = image_handle(CatalogueEntries()[0]->flag)) flagSize = {flag->width, flag->height};

  check(LoadLanguage(packPath, "xx") == 1);
  check(Texts.Size() == want.texts.size());
  for (const auto& [key, text] : want.texts) check(Text(key) == text);
  // A code that would lead out of the pack or folder is refused before any
  // read.
  check(LoadLanguage(packPath, "../xx") == 0);
  ResetLanguages();
  return flagSize;
}

// The bytes as "xx.language" and "xx.flag" of a folder and of a ZIP pack.
void fuzz_language_file(const std::string& scratch, const uint8_t* data, size_t size) {
  const Expected want = expected_language(data, size);

  const std::string folder = scratch + "folder.pack";
  check(folder_make(folder));
  check(file_write(folder + "/xx.language", data, size));
  check(file_write(folder + "/xx.flag", data, size));
  const std::pair<int, int> folderFlag = read_one_language(folder, want);
  check(folder_remove_all(folder));

  const std::string zip = scratch + "written.pack";
  int pack = pack_create(-1, zip, kPackFormatZip);
  check(pack != 0);
  check(pack_add_memory(pack, "xx.language", data, size));
  check(pack_add_memory(pack, "xx.flag", data, size));
  check(pack_finish(pack));
  // The same flag picture from the pack as from the folder.
  check(read_one_language(zip, want) == folderFlag);
  check(file_remove(zip));
}

// The bytes as the language pack.
void fuzz_language_pack(const std::string& scratch, const uint8_t* data, size_t size) {
  const std::string path = scratch + "languages.pack";
  check(file_write(path, data, size));
  ResetLanguages();
  const int listed = EnumerateLanguages(path);
  check(listed == 0 || listed == 1);
  check_list_matches_catalogue();
  if (listed == 0) check(LanguageList.empty());
  // Every listed language loads or fails cleanly; a pack of many entries is
  // not loaded in full, the listing has read each of them once already.
  const std::vector<LanguageListEntry> list = LanguageList;
  for (size_t i = 0; i < list.size() && i < 8; ++i) {
    const int loaded = LoadLanguage(path, list[i].code);
    check(loaded == 0 || loaded == 1);
    check(LanguageIndexOf(list[i].code) <= static_cast<int>(i));
  }
  ResetLanguages();
  check(file_remove(path));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The run's temporary folder holds the files written here and the
  // entries the reader extracts; it goes when the fuzzer ends.
  static bool registered = (pack_register_formats(), std::atexit(file_system_cleanup), true);
  (void)registered;
  static const std::string scratch = file_private_temp_folder() + "fuzz-language/";
  static bool made = folder_make(scratch);
  check(made);
  fuzz_language_file(scratch, data, size);
  fuzz_language_pack(scratch, data, size);
  return 0;
}
