// File access on Windows through the wide (UTF-16) calls, so that a user
// folder or file name with any characters works. Paths come in as UTF-8 with
// "\" or "/" between the levels.
#include "engine/system/file.h"

#include "engine/system/windows_win32.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <utility>

#include "engine/system/file_table.h"
#include "engine/system/path.h"
#include "engine/system/text_win32.h"

std::wstring win32_wide(const std::string& text) {
  if (text.empty() || text.size() > INT_MAX) return std::wstring();
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

std::string win32_utf8(const wchar_t* text, size_t length) {
  if (!text) return std::string();
  if (length == std::string::npos) length = wcslen(text);
  if (length == 0 || length > INT_MAX) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &out[0], n, nullptr, nullptr);
  return out;
}

std::wstring win32_path(const std::string& path) {
  std::wstring w = win32_wide(path);
  std::replace(w.begin(), w.end(), L'/', L'\\');
  // CreateDirectoryW refuses paths of MAX_PATH - 12 characters and more;
  // below that every call takes the plain form.
  if (w.size() < MAX_PATH - 12 || w.compare(0, 4, L"\\\\?\\") == 0) return w;
  // The prefixed form skips the system's clean-up of "." and ".." levels and
  // relative paths, so the full path is made first.
  DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
  if (n == 0) return w;
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(w.c_str(), n, &full[0], nullptr);
  if (n == 0 || n >= full.size()) return w;
  full.resize(n);
  if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

namespace {

bool ends_in_separator(const std::string& path) {
  return !path.empty() && path_is_separator(path.back());
}

// A folder path without its closing separators, except where they are the
// whole of a root ("\", "C:\"), which names another folder without them.
std::string without_trailing_separators(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && path_is_separator(p.back()) && !(p.size() == 3 && p[1] == ':')) p.pop_back();
  return p;
}

DWORD attributes_of(const std::string& path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(win32_path(path).c_str());
}

// Opens a file to read with every kind of sharing, so that a file another
// handle is writing (the log) or renaming can still be read.
HANDLE open_for_reading(const std::string& path) {
  if (path.empty() || ends_in_separator(path)) return INVALID_HANDLE_VALUE;
  HANDLE h = CreateFileW(win32_path(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return h;
  // Device names ("NUL", "CON") open too, but they are no files to read.
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    return INVALID_HANDLE_VALUE;
  }
  return h;
}

HANDLE open_for_writing(const std::string& path, DWORD disposition) {
  if (path.empty() || ends_in_separator(path)) return INVALID_HANDLE_VALUE;
  return CreateFileW(win32_path(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool write_all(HANDLE h, const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  while (size > 0) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, size_t{1} << 30));
    DWORD done = 0;
    if (!WriteFile(h, p, chunk, &done, nullptr) || done == 0) return false;
    p += done;
    size -= done;
  }
  return true;
}

// Writes the new content over an existing file itself, keeping everything
// the file system holds about it. Not proof against a crash part way, so
// only for files that cannot be replaced.
bool rewrite_in_place(const std::string& path, const void* data, size_t size) {
  HANDLE h = open_for_writing(path, OPEN_EXISTING);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = write_all(h, data, size) && SetEndOfFile(h) && FlushFileBuffers(h);
  if (!CloseHandle(h)) ok = false;
  return ok;
}

// Reads exactly size bytes at offset; false on an error or an early end.
bool read_at(HANDLE h, uint64_t offset, uint8_t* p, size_t size) {
  while (size > 0) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, size_t{1} << 30));
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD done = 0;
    if (!ReadFile(h, p, chunk, &done, &at) || done == 0) return false;
    p += done;
    offset += done;
    size -= done;
  }
  return true;
}

// Deletes a file the way unlink does on Linux: a read-only mark does not
// keep it.
bool delete_file(const std::wstring& w) {
  if (DeleteFileW(w.c_str())) return true;
  DWORD attrs = GetFileAttributesW(w.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY) ||
      !(attrs & FILE_ATTRIBUTE_READONLY))
    return false;
  if (!SetFileAttributesW(w.c_str(), attrs & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))) return false;
  if (DeleteFileW(w.c_str())) return true;
  SetFileAttributesW(w.c_str(), attrs);
  return false;
}

bool remove_folder(const std::string& path) {
  return RemoveDirectoryW(win32_path(without_trailing_separators(path)).c_str()) != 0;
}

struct Entry {
  std::string name;
  DWORD attributes;
};

// The entries of a folder without "." and "..", in the order the file
// system gives them. False when the folder cannot be listed.
bool list_entries(const std::string& path, std::vector<Entry>* out) {
  std::string pattern = path.empty() ? std::string("*")
                                     : ends_in_separator(path) ? path + "*" : path + kPathSeparator + "*";
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW(win32_path(pattern).c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return false;
  do {
    if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0) continue;
    out->push_back({win32_utf8(found.cFileName), found.dwFileAttributes});
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return true;
}

}  // namespace

bool file_read_all(const std::string& path, std::vector<uint8_t>* out, size_t max_bytes) {
  out->clear();
  HANDLE h = open_for_reading(path);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(h, &size) || static_cast<uint64_t>(size.QuadPart) > max_bytes ||
      static_cast<uint64_t>(size.QuadPart) > SIZE_MAX) {
    CloseHandle(h);
    return false;
  }
  out->resize(static_cast<size_t>(size.QuadPart));
  bool ok = read_at(h, 0, out->data(), out->size());
  CloseHandle(h);
  if (!ok) out->clear();
  return ok;
}

bool file_write(const std::string& path, const void* data, size_t size) {
  HANDLE h = open_for_writing(path, CREATE_ALWAYS);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = write_all(h, data, size);
  if (!CloseHandle(h)) ok = false;
  return ok;
}

bool file_write_atomic(const std::string& path, const void* data, size_t size) {
  if (path.empty() || ends_in_separator(path)) return false;
  const std::wstring wpath = win32_path(path);
  const DWORD old = GetFileAttributesW(wpath.c_str());
  const bool exists = old != INVALID_FILE_ATTRIBUTES;
  // A folder is no file to replace, and a file marked read-only stays as it
  // is: a plain write fails on it too.
  if (exists && (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) return false;
  // A new file beside the target, named after this process so that two
  // programs saving at once do not share one.
  static unsigned counter = 0;
  std::string tmp;
  HANDLE h = INVALID_HANDLE_VALUE;
  DWORD error = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE && error == ERROR_FILE_EXISTS; ++attempt) {
    tmp = path + ".tmp" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    h = open_for_writing(tmp, CREATE_NEW);
    if (h == INVALID_HANDLE_VALUE) error = GetLastError();
  }
  if (h == INVALID_HANDLE_VALUE) {
    // No file can be made there (a program folder the player may not write
    // to, a name too long for the temporary one beside it): the old file
    // is written itself rather than the save being lost.
    // (Wine reports a name too long as one not found.)
    const bool refused = error == ERROR_ACCESS_DENIED || error == ERROR_FILENAME_EXCED_RANGE ||
                         error == ERROR_INVALID_NAME || error == ERROR_FILE_NOT_FOUND ||
                         error == ERROR_PATH_NOT_FOUND;
    return exists && refused && rewrite_in_place(path, data, size);
  }
  bool ok = write_all(h, data, size) && FlushFileBuffers(h);
  if (!CloseHandle(h)) ok = false;
  const std::wstring wtmp = win32_path(tmp);
  // MOVEFILE_WRITE_THROUGH returns only once the rename is on the disk.
  if (ok && !MoveFileExW(wtmp.c_str(), wpath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    ok = false;
  if (!ok) {
    DeleteFileW(wtmp.c_str());
    return false;
  }
  // The marks the player gave the old file (hidden, system) stay on it.
  const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if (exists && (old & kept)) SetFileAttributesW(wpath.c_str(), (old & kept) | FILE_ATTRIBUTE_ARCHIVE);
  return true;
}

int64_t file_size(const std::string& path) {
  if (path.empty() || ends_in_separator(path)) return -1;
  WIN32_FILE_ATTRIBUTE_DATA info;
  if (!GetFileAttributesExW(win32_path(path).c_str(), GetFileExInfoStandard, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  return static_cast<int64_t>((static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
}

bool file_exists(const std::string& path) {
  if (ends_in_separator(path)) return false;  // "name\" is never a file
  DWORD attrs = attributes_of(path);
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool folder_exists(const std::string& path) {
  DWORD attrs = attributes_of(without_trailing_separators(path));
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool file_remove(const std::string& path) {
  if (path.empty()) return false;
  if (!ends_in_separator(path) && delete_file(win32_path(path))) return true;
  return remove_folder(path);
}

bool folder_make(const std::string& path) {
  if (path.empty()) return false;
  std::string p = without_trailing_separators(path);
  if (folder_exists(p)) return true;
  for (size_t pos = 1; pos < p.size(); ++pos) {
    if (!path_is_separator(p[pos])) continue;
    std::string part = p.substr(0, pos);
    // A drive ("C:") and the empty levels of "\\server" are no folders to make.
    if (part.back() == ':' || path_is_separator(part.back())) continue;
    if (!folder_exists(part)) CreateDirectoryW(win32_path(part).c_str(), nullptr);
  }
  CreateDirectoryW(win32_path(p).c_str(), nullptr);
  return folder_exists(p);
}

std::vector<std::string> folder_list(const std::string& path) {
  std::vector<Entry> entries;
  std::vector<std::string> names;
  if (!list_entries(path, &entries)) return names;
  for (Entry& e : entries) names.push_back(std::move(e.name));
  // std::string compares as unsigned bytes: the order of the UTF-8 bytes.
  std::sort(names.begin(), names.end());
  return names;
}

bool folder_remove_all(const std::string& path) {
  // An empty path would list, and so empty, the working folder.
  if (path.empty()) return false;
  std::string base = path;
  if (!base.empty() && !ends_in_separator(base)) base += kPathSeparator;
  std::vector<Entry> entries;
  list_entries(base, &entries);
  for (const Entry& e : entries) {
    std::string child = base + e.name;
    if (e.attributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A linked folder (junction, symbolic link) goes by itself; what it
      // points to stays.
      if (e.attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        remove_folder(child);
      else
        folder_remove_all(child);
    } else {
      delete_file(win32_path(child));
    }
  }
  remove_folder(path);
  return !folder_exists(path);
}

std::string file_native_temp_base() {
  DWORD n = GetTempPathW(0, nullptr);
  if (n == 0) return std::string();
  std::wstring buf(n, L'\0');
  n = GetTempPathW(n, &buf[0]);
  if (n == 0 || n >= buf.size()) return std::string();
  std::string base = win32_utf8(buf.c_str(), n);
  if (!ends_in_separator(base)) base += kPathSeparator;
  return base;
}

std::string file_native_make_private_temp_folder() {
  const std::string base = file_native_temp_base();
  if (base.empty()) return std::string();
  // The user's temporary folder admits only that user (and the system), and
  // a folder made in it inherits that; so a new folder of its own is as
  // private as a mode-0700 one. The name carries the process number (which
  // tells a later run whether the folder's owner is still there) and the
  // clock so that an old run's leftover is never taken over.
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    std::string name = base + kTempFolderPrefix + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string((GetTickCount() + attempt * 7919u) & 0xFFFFFu);
    if (CreateDirectoryW(win32_path(name).c_str(), nullptr)) return name + kPathSeparator;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return std::string();
}

bool file_native_is_own_folder(const std::string& path) {
  // Every folder in the user's own temporary folder is the user's; a linked
  // one (junction, symbolic link) is not a folder of a run.
  const DWORD attrs = attributes_of(without_trailing_separators(path));
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attrs & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool file_native_is_plain_file(const std::string& path) {
  const DWORD attrs = attributes_of(path);
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

bool file_native_process_exists(uint64_t id) {
  if (id == 0 || id > 0xFFFFFFFFu) return false;
  HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
  // No such process, or one that has ended and is only still held open.
  if (!h) return GetLastError() != ERROR_INVALID_PARAMETER;
  const bool running = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
  CloseHandle(h);
  return running;
}

namespace {

// A HANDLE kept as a number in the table of open files, and back.
NativeFile native_of(HANDLE h) { return reinterpret_cast<NativeFile>(h); }
HANDLE handle_of(NativeFile file) { return reinterpret_cast<HANDLE>(file); }

}  // namespace

bool file_native_open_write(const std::string& path, NativeFile* out) {
  HANDLE h = open_for_writing(path, CREATE_ALWAYS);
  if (h == INVALID_HANDLE_VALUE) return false;
  *out = native_of(h);
  return true;
}

bool file_native_open_read(const std::string& path, NativeFile* out) {
  HANDLE h = open_for_reading(path);
  if (h == INVALID_HANDLE_VALUE) return false;
  *out = native_of(h);
  return true;
}

bool file_native_write(NativeFile file, const void* data, size_t size) {
  return write_all(handle_of(file), data, size);
}

bool file_native_read_at(NativeFile file, uint64_t offset, uint8_t* data, size_t size) {
  return read_at(handle_of(file), offset, data, size);
}

int64_t file_native_size(NativeFile file) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(handle_of(file), &size)) return -1;
  return static_cast<int64_t>(size.QuadPart);
}

void file_native_close(NativeFile file) { CloseHandle(handle_of(file)); }

std::string file_program_folder() {
  // The name may be longer than MAX_PATH: the buffer grows until it fits.
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, &buf[0], static_cast<DWORD>(buf.size()));
    if (n == 0) return std::string(".") + kPathSeparator;
    if (n < buf.size()) {
      std::string p = win32_utf8(buf.c_str(), n);
      size_t cut = p.find_last_of("\\/");
      return cut == std::string::npos ? std::string(".") + kPathSeparator : p.substr(0, cut + 1);
    }
    if (buf.size() >= 32768) return std::string(".") + kPathSeparator;
    buf.resize(buf.size() * 2);
  }
}
