// libFuzzer entry point for the key-value file reader: any bytes must parse
// without a fault, every text read must be valid UTF-8, and writing the
// result out and reading it again must give the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/keyvalue/keyvalue.h"
#include "engine/system/unicode.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

bool valid_utf8(const std::string& s) { return utf16_to_utf8(utf8_to_utf16(s)) == s; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KeyValueFile file;
  keyvalue_parse(data, size, &file);
  for (const KeyValueEntry& e : file.entries) {
    check(valid_utf8(e.name) && valid_utf8(e.value));
    check(e.name.find_first_of("\r\n") == std::string::npos);
    check(e.value.find_first_of("\r\n") == std::string::npos);
    if (e.kind == KeyValueKind::Group) {
      keyvalue_select_group(&file, e.name);
      keyvalue_read_string(file, "Language", "");
      keyvalue_read_int(file, "Music", 1);
    } else if (e.kind == KeyValueKind::Key) {
      keyvalue_parse_int(e.value);
    }
  }

  std::string bytes = keyvalue_serialize(file);
  KeyValueFile again;
  keyvalue_parse(bytes.data(), bytes.size(), &again);
  check(again.entries.size() == file.entries.size());
  for (size_t i = 0; i < file.entries.size(); ++i) {
    check(again.entries[i].kind == file.entries[i].kind);
    check(again.entries[i].name == file.entries[i].name);
    check(again.entries[i].value == file.entries[i].value);
  }

  // Writing into whatever was read must keep the file readable.
  keyvalue_select_group(&file, "Settings");
  keyvalue_write_string(&file, "Language", "en_GB");
  keyvalue_write_int(&file, "Music", -1);
  bytes = keyvalue_serialize(file);
  keyvalue_parse(bytes.data(), bytes.size(), &again);
  keyvalue_select_group(&again, "Settings");
  check(keyvalue_read_int(again, "Music", 0) == -1);
  return 0;
}
