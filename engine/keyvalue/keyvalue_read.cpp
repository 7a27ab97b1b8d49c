// Reading key-value files: decoding, splitting into lines, and looking up
// groups and keys.
#include "engine/keyvalue/keyvalue.h"

#include <climits>

#include "engine/system/file.h"
#include "engine/system/unicode.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string trim_trailing_blanks(std::string s) {
  while (!s.empty() && is_blank(s.back())) s.pop_back();
  return s;
}

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The text as UTF-8: after a byte-order mark the bytes are UTF-8 already
// (malformed sequences become U+FFFD so the rest of the program only ever
// sees valid text); without one every byte is a Latin-1 character.
std::string decode(const uint8_t* p, size_t size) {
  if (size > 2 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
    std::string raw(reinterpret_cast<const char*>(p + 3), size - 3);
    return utf16_to_utf8(utf8_to_utf16(raw));
  }
  return latin1_to_utf8(std::string(reinterpret_cast<const char*>(p), size));
}

// Position of c in text[begin, end), or end. Bounded to the line so that a
// file of many unclosed lines stays linear to read.
size_t find_in(const std::string& text, char c, size_t begin, size_t end) {
  for (size_t i = begin; i < end; ++i)
    if (text[i] == c) return i;
  return end;
}

// Turns one line (without its line end) into an entry, if it holds one.
void parse_line(const std::string& text, size_t begin, size_t end,
                std::vector<KeyValueEntry>* out) {
  while (begin < end && is_blank(text[begin])) ++begin;
  if (begin == end) return;
  char first = text[begin];
  if (first == ';') {
    ++begin;
    if (begin < end && text[begin] == ' ') ++begin;
    out->push_back({KeyValueKind::Comment, "", text.substr(begin, end - begin)});
    return;
  }
  if (first == '[') {
    ++begin;
    size_t close = find_in(text, ']', begin, end);
    out->push_back({KeyValueKind::Group, text.substr(begin, close - begin), ""});
    return;
  }
  size_t eq = find_in(text, '=', begin, end);
  // A line without "=" names no value; it is dropped rather than guessed at.
  if (eq == end) return;
  std::string key = trim_trailing_blanks(text.substr(begin, eq - begin));
  size_t v = eq + 1;
  while (v < end && is_blank(text[v])) ++v;
  // Every reader wants the value without trailing blanks (strings are
  // trimmed, numbers stop before them), so they are dropped here once.
  std::string value = trim_trailing_blanks(text.substr(v, end - v));
  out->push_back({KeyValueKind::Key, std::move(key), std::move(value)});
}

// The key entry that a read of key in the selected group finds, or nullptr.
const KeyValueEntry* find_key(const KeyValueFile& file, const std::string& key) {
  if (file.group < -1) return nullptr;
  size_t i = static_cast<size_t>(file.group + 1);
  for (; i < file.entries.size(); ++i) {
    const KeyValueEntry& e = file.entries[i];
    if (e.kind == KeyValueKind::Group) break;
    if (e.kind == KeyValueKind::Key && keyvalue_names_equal(e.name, key)) return &e;
  }
  return nullptr;
}

}  // namespace

bool keyvalue_names_equal(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

void keyvalue_parse(const void* data, size_t size, KeyValueFile* out) {
  *out = KeyValueFile();
  std::string text = decode(static_cast<const uint8_t*>(data), size);
  size_t begin = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
    parse_line(text, begin, i, &out->entries);
    // CR LF is one line end, not two.
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
    begin = i + 1;
  }
}

bool keyvalue_open(const std::string& path, KeyValueFile* out) {
  *out = KeyValueFile();
  std::vector<uint8_t> bytes;
  if (!file_read_all(path, &bytes, kKeyValueMaxFileSize)) return false;
  keyvalue_parse(bytes.data(), bytes.size(), out);
  out->path = path;
  return true;
}

bool keyvalue_select_group(KeyValueFile* file, const std::string& name) {
  file->group_name = name;
  for (size_t i = 0; i < file->entries.size(); ++i) {
    const KeyValueEntry& e = file->entries[i];
    if (e.kind == KeyValueKind::Group && keyvalue_names_equal(e.name, name)) {
      file->group = static_cast<int>(i);
      return true;
    }
  }
  file->group = -2;
  return false;
}

std::string keyvalue_read_string(const KeyValueFile& file, const std::string& key,
                                 const std::string& fallback) {
  const KeyValueEntry* e = find_key(file, key);
  return e ? e->value : fallback;
}

int keyvalue_parse_int(const std::string& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulated as a negative number so that INT_MIN itself fits; anything
  // beyond the range sticks at its end instead of overflowing.
  long long n = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    n = n * 10 - (text[i] - '0');
    if (n < static_cast<long long>(INT_MIN) - 1) n = static_cast<long long>(INT_MIN) - 1;
  }
  if (negative) return n < INT_MIN ? INT_MIN : static_cast<int>(n);
  return -n > INT_MAX ? INT_MAX : static_cast<int>(-n);
}

int keyvalue_read_int(const KeyValueFile& file, const std::string& key, int fallback) {
  const KeyValueEntry* e = find_key(file, key);
  return e ? keyvalue_parse_int(e->value) : fallback;
}
