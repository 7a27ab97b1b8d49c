// Writing key-value files: building the entry list and turning it into the
// bytes of the file.
#include "engine/keyvalue/keyvalue.h"

#include "engine/system/file.h"

namespace {

// One entry is one line: a line break inside a text would start a new line
// of another meaning when the file is read again.
void append_one_line(std::string* out, const std::string& text) {
  for (char c : text) out->push_back((c == '\r' || c == '\n') ? ' ' : c);
}

}  // namespace

void keyvalue_create(KeyValueFile* file, const std::string& path) {
  *file = KeyValueFile();
  file->path = path;
  file->changed = true;
}

void keyvalue_add_comment(KeyValueFile* file, const std::string& text) {
  file->entries.push_back({KeyValueKind::Comment, "", text});
  file->changed = true;
}

void keyvalue_write_string(KeyValueFile* file, const std::string& key, const std::string& value) {
  file->changed = true;
  if (file->group == -2) {
    file->entries.push_back({KeyValueKind::Group, file->group_name, ""});
    file->group = static_cast<int>(file->entries.size()) - 1;
  }
  size_t i = static_cast<size_t>(file->group + 1);
  for (; i < file->entries.size(); ++i) {
    KeyValueEntry& e = file->entries[i];
    if (e.kind == KeyValueKind::Group) break;
    if (e.kind == KeyValueKind::Key && keyvalue_names_equal(e.name, key)) {
      e.value = value;
      return;
    }
  }
  file->entries.insert(file->entries.begin() + static_cast<std::ptrdiff_t>(i),
                       {KeyValueKind::Key, key, value});
}

void keyvalue_write_int(KeyValueFile* file, const std::string& key, int value) {
  keyvalue_write_string(file, key, std::to_string(value));
}

std::string keyvalue_serialize(const KeyValueFile& file) {
  std::string out = "\xEF\xBB\xBF\r\n";
  for (const KeyValueEntry& e : file.entries) {
    switch (e.kind) {
      case KeyValueKind::Comment:
        out += "; ";
        append_one_line(&out, e.value);
        break;
      case KeyValueKind::Group:
        out += "[";
        append_one_line(&out, e.name);
        out += "]";
        break;
      case KeyValueKind::Key:
        append_one_line(&out, e.name);
        out += " = ";
        append_one_line(&out, e.value);
        break;
    }
    out += "\r\n";
  }
  return out;
}

bool keyvalue_close(KeyValueFile* file) {
  bool ok = true;
  if (file->changed && !file->path.empty()) {
    std::string bytes = keyvalue_serialize(*file);
    ok = file_write_atomic(file->path, bytes.data(), bytes.size());
  }
  *file = KeyValueFile();
  return ok;
}
