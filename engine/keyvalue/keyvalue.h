// Key-value text files: the settings file and the language files. A file is
// a list of comments, "[group]" headers and "key = value" lines; this reads
// any bytes into that list and writes it back as UTF-8 with CR LF endings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class KeyValueKind { Comment, Group, Key };

// One line of a file. Comment: text in value. Group: name in name. Key: the
// key in name and the value in value, both without surrounding blanks/TABs.
// All text is UTF-8.
struct KeyValueEntry {
  KeyValueKind kind;
  std::string name;
  std::string value;
};

// A parsed or created file. entries are in file order. The selected group
// says where reads look and writes go; fresh files select the lines before
// the first group header.
struct KeyValueFile {
  std::vector<KeyValueEntry> entries;
  // Index of the selected group's header in entries; -1 for the lines before
  // the first header; -2 when the selected group does not exist yet.
  int group = -1;
  std::string group_name;  // the name asked for, used when it is created
  std::string path;        // where keyvalue_close writes; empty: nowhere
  bool changed = false;    // created or written since it was read
};

// Parses a block of bytes (any bytes: a byte-order mark EF BB BF means UTF-8,
// otherwise every byte is one Latin-1 character). Never fails; replaces out.
void keyvalue_parse(const void* data, size_t size, KeyValueFile* out);

// Largest file keyvalue_open reads; such files are a few hundred bytes, and
// a bigger one is refused rather than allowed to fill the memory.
constexpr size_t kKeyValueMaxFileSize = 64u << 20;

// Reads and parses a file. False (and out left empty) when it cannot be read
// or is larger than kKeyValueMaxFileSize.
[[nodiscard]] bool keyvalue_open(const std::string& path, KeyValueFile* out);

// Selects the first group whose name matches without regard to ASCII case.
// Returns whether it exists; if not, reads give their defaults and the first
// write creates the group at the end of the file.
bool keyvalue_select_group(KeyValueFile* file, const std::string& name);

// The value of the first matching key (ASCII case ignored) in the selected
// group, or fallback when there is none.
std::string keyvalue_read_string(const KeyValueFile& file, const std::string& key,
                                 const std::string& fallback);

// The decimal number at the start of the key's value (optional sign, stops
// at the first non-digit, no digits gives 0; clamped to the int range), or
// fallback when the key is missing.
int keyvalue_read_int(const KeyValueFile& file, const std::string& key, int fallback);

// The integer rule alone, for values read some other way.
int keyvalue_parse_int(const std::string& text);

// Starts an empty file that keyvalue_close writes to path (replacing it).
void keyvalue_create(KeyValueFile* file, const std::string& path);

// Appends a comment line ("; " + text) at the end of the file.
void keyvalue_add_comment(KeyValueFile* file, const std::string& text);

// Sets a key in the selected group: the first matching key is replaced,
// otherwise the key is added at the end of the group (creating the group
// when it does not exist yet).
void keyvalue_write_string(KeyValueFile* file, const std::string& key, const std::string& value);
void keyvalue_write_int(KeyValueFile* file, const std::string& key, int value);

// The file's bytes as written: byte-order mark, CR LF, then one line per
// entry, each ended by CR LF. Line breaks inside a text become blanks so that
// one entry stays one line.
std::string keyvalue_serialize(const KeyValueFile& file);

// Writes a created or changed file to its path (atomically: the old file or
// the new one, never a half-written one) and empties the structure. Returns
// false when it had to write and could not; true otherwise.
[[nodiscard]] bool keyvalue_close(KeyValueFile* file);

// Compares two names without regard to the case of ASCII letters.
bool keyvalue_names_equal(const std::string& a, const std::string& b);
