// File access on POSIX systems.
#include "engine/system/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "engine/system/file_table.h"

bool file_read_all(const std::string& path, std::vector<uint8_t>* out, size_t max_bytes) {
  out->clear();
  // Without O_NONBLOCK a named pipe under the file's name would hold the
  // open until some other program writes to it; it is refused below.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<uint64_t>(st.st_size) > max_bytes) {
    close(fd);
    return false;
  }
  out->resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  while (done < out->size()) {
    ssize_t n = read(fd, out->data() + done, out->size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  close(fd);
  if (done != out->size()) {
    out->clear();
    return false;
  }
  return true;
}

static bool write_all(int fd, const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  while (size > 0) {
    ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool file_write(const std::string& path, const void* data, size_t size) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = write_all(fd, data, size);
  if (close(fd) != 0) ok = false;
  return ok;
}

int64_t file_size(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool file_exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folder_exists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool file_remove(const std::string& path) {
  if (unlink(path.c_str()) == 0) return true;
  return rmdir(path.c_str()) == 0;
}

bool folder_make(const std::string& path) {
  if (path.empty()) return false;
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  if (folder_exists(p)) return true;
  size_t pos = 0;
  while ((pos = p.find('/', pos + 1)) != std::string::npos) {
    std::string part = p.substr(0, pos);
    if (!folder_exists(part)) mkdir(part.c_str(), 0755);
  }
  mkdir(p.c_str(), 0755);
  return folder_exists(p);
}

std::vector<std::string> folder_list(const std::string& path) {
  std::vector<std::string> names;
  DIR* d = opendir(path.empty() ? "." : path.c_str());
  if (!d) return names;
  while (struct dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

bool folder_remove_all(const std::string& path) {
  // An empty path would list, and so empty, the working folder.
  if (path.empty()) return false;
  std::string base = path;
  if (!base.empty() && base.back() != '/') base += '/';
  for (const std::string& n : folder_list(base)) {
    std::string child = base + n;
    struct stat st;
    if (lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      folder_remove_all(child);
    } else {
      unlink(child.c_str());
    }
  }
  rmdir(path.c_str());
  return !folder_exists(path);
}

std::string file_native_temp_base() {
  const char* env = getenv("TMPDIR");
  std::string base = (env && *env) ? env : "/tmp";
  if (base.back() != '/') base += '/';
  return base;
}

std::string file_native_make_private_temp_folder() {
  // The process number in the name tells a later run whether the folder's
  // owner is still there.
  std::string tmpl = file_native_temp_base() + kTempFolderPrefix + std::to_string(getpid()) + "-XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  // mkdtemp makes the folder with mode 0700.
  if (!mkdtemp(name.data())) return std::string();
  return std::string(name.data()) + "/";
}

bool file_native_is_own_folder(const std::string& path) {
  // A closing "/" would make lstat follow a link to the folder it names.
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  struct stat st;
  return lstat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid();
}

bool file_native_is_plain_file(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool file_native_process_exists(uint64_t id) {
  if (id == 0 || id > static_cast<uint64_t>(INT_MAX)) return false;
  // EPERM: there is such a process, only not one of ours to signal.
  return kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

bool file_native_open_write(const std::string& path, NativeFile* out) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  *out = fd;
  return true;
}

bool file_native_open_read(const std::string& path, NativeFile* out) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  // A folder opens for reading on POSIX, but it is not a file to read.
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return false;
  }
  *out = fd;
  return true;
}

bool file_native_write(NativeFile file, const void* data, size_t size) {
  return write_all(static_cast<int>(file), data, size);
}

bool file_native_read_at(NativeFile file, uint64_t offset, uint8_t* p, size_t size) {
  while (size > 0) {
    // pread may return less than asked for (signals, very large reads).
    size_t chunk = std::min<size_t>(size, size_t{1} << 30);
    ssize_t n = pread(static_cast<int>(file), p, chunk, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // an error, or the file ended first
    p += n;
    offset += static_cast<uint64_t>(n);
    size -= static_cast<size_t>(n);
  }
  return true;
}

int64_t file_native_size(NativeFile file) {
  struct stat st;
  if (fstat(static_cast<int>(file), &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

void file_native_close(NativeFile file) { close(static_cast<int>(file)); }

std::string file_program_folder() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
  if (n <= 0) return "./";
  std::string p(buf, static_cast<size_t>(n));
  return p.substr(0, p.find_last_of('/') + 1);
}
