// Replacing a whole file on POSIX systems (the settings file, screenshots,
// packs): a new file beside the old one, renamed over it once it is on the
// disk, so that a crash or a full disk never leaves half a file. Where that
// would change what the player set up (a link, the file's mode or owner, a
// folder only the file itself may be written in), the file is treated the
// way a plain write treats it.
#include "engine/system/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "engine/system/file_table.h"

namespace {

// Links followed at most, as the system itself does before it gives up.
constexpr int kMaxLinks = 40;

std::string folder_of(const std::string& path) { return path.substr(0, path.find_last_of('/') + 1); }

// The file a path names in the end: symbolic links followed one by one, a
// relative link read from the folder the link lies in. The path itself when
// it is no link (or does not exist); empty for a loop of links.
std::string final_target(const std::string& path) {
  std::string p = path;
  for (int depth = 0; depth < kMaxLinks; ++depth) {
    struct stat st;
    if (lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    std::vector<char> buf(PATH_MAX + 1);
    ssize_t n = readlink(p.c_str(), buf.data(), buf.size());
    if (n <= 0 || static_cast<size_t>(n) >= buf.size()) return std::string();
    std::string link(buf.data(), static_cast<size_t>(n));
    p = link[0] == '/' ? link : folder_of(p) + link;
  }
  return std::string();
}

// Makes a new, empty file beside target under a name of its own and
// returns its descriptor (or -1, with errno from the last try). A new file
// gets the mode a plain write would give it; a replacement gets the old
// file's owner and mode, or none is made (EPERM) when the owner cannot be
// given, since the player could then no longer use the file as before.
int make_temporary(const std::string& target, const struct stat* old, std::string* name) {
  static unsigned counter = 0;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    *name = target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(++counter);
    fd = open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, old ? 0600 : 0644);
    if (fd < 0 && errno != EEXIST) return -1;
  }
  if (fd < 0 || !old) return fd;
  // The owner before the mode: a change of owner clears the set-id bits.
  struct stat now;
  bool same = fstat(fd, &now) == 0 && now.st_uid == old->st_uid && now.st_gid == old->st_gid;
  if ((same || fchown(fd, old->st_uid, old->st_gid) == 0) && fchmod(fd, old->st_mode & 07777) == 0) return fd;
  close(fd);
  unlink(name->c_str());
  errno = EPERM;
  return -1;
}

// Writes the new content over the old file itself, keeping everything the
// file system holds about it. Not proof against a crash part way, so only
// for files that cannot be replaced.
bool rewrite_in_place(const std::string& target, const void* data, size_t size) {
  int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  bool ok = file_native_write(fd, data, size) && ftruncate(fd, static_cast<off_t>(size)) == 0 && fsync(fd) == 0;
  if (close(fd) != 0) ok = false;
  return ok;
}

}  // namespace

bool file_write_atomic(const std::string& path, const void* data, size_t size) {
  const std::string target = final_target(path);
  if (target.empty()) return false;
  struct stat old;
  const bool exists = stat(target.c_str(), &old) == 0;
  if (exists) {
    // A folder, a pipe or a device is no file to replace; and a file the
    // player may not write to (marked read-only, on a read-only disk) stays
    // as it is, as it would for a plain write.
    if (!S_ISREG(old.st_mode)) return false;
    int probe = open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (probe < 0) return false;
    close(probe);
    // A file of several names (hard links) would keep the old content
    // under the others.
    if (old.st_nlink > 1) return rewrite_in_place(target, data, size);
  }
  std::string tmp;
  int fd = make_temporary(target, exists ? &old : nullptr, &tmp);
  if (fd < 0) {
    // No new file can be made there (a program folder the player may not
    // write to, a name too long for the temporary one beside it), or not
    // one with the old file's owner: the old file is written itself.
    const bool refused = errno == EACCES || errno == EPERM || errno == ENAMETOOLONG;
    return exists && refused && rewrite_in_place(target, data, size);
  }
  bool ok = file_native_write(fd, data, size) && fsync(fd) == 0;
  if (close(fd) != 0) ok = false;
  if (ok && rename(tmp.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) {
    unlink(tmp.c_str());
    return false;
  }
  // Make the rename itself durable.
  const std::string folder = folder_of(target);
  int dfd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    fsync(dfd);
    close(dfd);
  }
  return true;
}
