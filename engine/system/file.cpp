// What file access does the same on every platform: path helpers, the table
// of files kept open under handles, and the run's private temporary folder.
// The platform calls themselves are the back end's (file_table.h).
#include "engine/system/file.h"

#include <memory>
#include <string>

#include "engine/system/file_table.h"
#include "engine/system/objects.h"
#include "engine/system/path.h"

std::string file_base_name(const std::string& path) {
  size_t pos = path.size();
  while (pos > 0 && !path_is_separator(path[pos - 1])) --pos;
  return path.substr(pos);
}

namespace {

struct OpenFile {
  OpenFile(NativeFile file_, bool reading_) : file(file_), reading(reading_) {}
  ~OpenFile() { file_native_close(file); }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  NativeFile file;
  bool reading;  // opened by file_open_read, else by file_open_write
};

// Never destroyed: file_system_cleanup may run from an exit handler, after
// static objects are gone, and still has to find the open files.
ObjectTable<OpenFile>& open_files() {
  static ObjectTable<OpenFile>* table = new ObjectTable<OpenFile>(16);
  return *table;
}

std::string g_private_temp;

}  // namespace

int file_open_write(const std::string& path) {
  NativeFile file;
  if (!file_native_open_write(path, &file)) return 0;
  return open_files().put(-1, std::make_unique<OpenFile>(file, false));
}

bool file_write_open(int handle, const void* data, size_t size) {
  OpenFile* f = open_files().get(handle);
  return f && !f->reading && file_native_write(f->file, data, size);
}

int file_open_read(const std::string& path) {
  NativeFile file;
  if (!file_native_open_read(path, &file)) return 0;
  return open_files().put(-1, std::make_unique<OpenFile>(file, true));
}

bool file_read_at(int handle, uint64_t offset, void* data, size_t size) {
  OpenFile* f = open_files().get(handle);
  if (!f || !f->reading || (!data && size > 0)) return false;
  // File offsets are signed 64-bit numbers on both platforms: a read that
  // would pass the largest cannot succeed, and must not wrap around to the
  // start of the file.
  if (offset > static_cast<uint64_t>(INT64_MAX) || size > static_cast<uint64_t>(INT64_MAX) - offset)
    return false;
  return file_native_read_at(f->file, offset, static_cast<uint8_t*>(data), size);
}

int64_t file_open_size(int handle) {
  OpenFile* f = open_files().get(handle);
  return f ? file_native_size(f->file) : -1;
}

bool file_is_open(int handle) { return handle != 0 && open_files().exists(handle); }

void file_close(int handle) {
  if (handle != 0 && handle != -1) open_files().free(handle);
}

const std::string& file_private_temp_folder() {
  if (!g_private_temp.empty() && folder_exists(g_private_temp)) return g_private_temp;
  g_private_temp = file_native_make_private_temp_folder();
  return g_private_temp;
}

namespace {

// What a run leaves in its private folder when it ends without its
// clean-up: a language file unpacked for reading ("en_GB.language").
bool is_unpacked_language(const std::string& folder, const std::string& name) {
  const std::string ext = ".language";
  if (name.size() <= ext.size()) return false;
  for (size_t i = 0; i < ext.size(); ++i) {
    char c = name[name.size() - ext.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != ext[i]) return false;
  }
  return file_native_is_plain_file(folder + name);
}

// The process number in a private folder's name, or 0 when the name is no
// such folder's.
uint64_t owner_of(const std::string& name) {
  const size_t prefix = std::char_traits<char>::length(kTempFolderPrefix);
  if (name.compare(0, prefix, kTempFolderPrefix) != 0) return 0;
  uint64_t id = 0;
  size_t i = prefix;
  for (; i < name.size() && name[i] >= '0' && name[i] <= '9' && i < prefix + 10; ++i) id = id * 10 + (name[i] - '0');
  return i > prefix && i < name.size() && name[i] == '-' ? id : 0;
}

}  // namespace

void file_remove_stale_temp_folders() {
  const std::string base = file_native_temp_base();
  if (base.empty()) return;
  for (const std::string& name : folder_list(base)) {
    const uint64_t owner = owner_of(name);
    if (owner == 0) continue;
    const std::string folder = base + name + kPathSeparator;
    if (!file_native_is_own_folder(folder) || file_native_process_exists(owner)) continue;
    bool only_ours = true;
    for (const std::string& entry : folder_list(folder)) only_ours = only_ours && is_unpacked_language(folder, entry);
    if (only_ours) folder_remove_all(folder);
  }
}

void file_system_cleanup() {
  open_files().free(-1);
  if (!g_private_temp.empty()) folder_remove_all(g_private_temp);
  g_private_temp.clear();
}
