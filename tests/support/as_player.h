// Runs part of a test as an ordinary user, for what only file permissions
// decide (read-only files and folders): root may write everywhere, so as
// root the part runs in a child process that has become the user "nobody".
// Run as an ordinary user, the child just keeps that user. POSIX only.
#pragma once

#ifndef _WIN32

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "engine/system/file.h"

namespace as_player {

// The child's exit code when it could not give up root.
constexpr int kCannotDrop = 77;

// A scratch folder the player owns, outside the run's private temporary
// folder (which only its owner may enter); ends in "/". Removed by Remove.
inline std::string MakeFolder(uid_t owner, gid_t group) {
  const char* env = std::getenv("TMPDIR");
  std::string base = (env && *env) ? env : "/tmp";
  if (base.back() != '/') base += '/';
  std::string name = base + "player-test-XXXXXX";
  if (!mkdtemp(&name[0])) return std::string();
  if (chown(name.c_str(), owner, group) != 0 || chmod(name.c_str(), 0755) != 0) {
    rmdir(name.c_str());
    return std::string();
  }
  return name + "/";
}

// Removes a scratch folder with everything in it, read-only folders too.
inline void RemoveAll(const std::string& folder) {
  chmod(folder.c_str(), 0700);
  for (const std::string& name : folder_list(folder)) {
    const std::string path = folder + name;
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      RemoveAll(path + "/");
    } else {
      unlink(path.c_str());
    }
  }
  rmdir(folder.c_str());
}

// Makes the child process the user nobody: groups, then group, then user,
// and checks that root cannot be had back. False when that fails.
inline bool BecomeNobody(uid_t uid, gid_t gid) {
  if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) return false;
  return geteuid() != 0 && setuid(0) != 0;
}

// Runs body(folder) as an ordinary user in a child process, folder being a
// fresh scratch folder that user owns. Failures of the body's checks fail
// the test (gtest prints them from the child); a machine where root cannot
// become nobody skips it, saying so.
inline void Run(const std::function<void(const std::string& folder)>& body) {
  const bool root = geteuid() == 0;
  uid_t uid = getuid();
  gid_t gid = getgid();
  if (root) {
    const struct passwd* nobody = getpwnam("nobody");
    uid = nobody ? nobody->pw_uid : 65534;
    gid = nobody ? nobody->pw_gid : 65534;
  }
  const std::string folder = MakeFolder(uid, gid);
  ASSERT_FALSE(folder.empty()) << "no scratch folder for the player could be made";
  std::fflush(nullptr);
  pid_t child = fork();
  ASSERT_GE(child, 0) << "fork failed";
  if (child == 0) {
    if (root && !BecomeNobody(uid, gid)) _exit(kCannotDrop);
    body(folder);
    std::fflush(nullptr);
    _exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  RemoveAll(folder);
  EXPECT_FALSE(folder_exists(folder)) << "could not remove " << folder;
  ASSERT_TRUE(WIFEXITED(status)) << "the part run as an ordinary user ended by signal " << WTERMSIG(status);
  if (WEXITSTATUS(status) == kCannotDrop) GTEST_SKIP() << "running as root, the test could not become the user nobody";
  const int code = WEXITSTATUS(status);
  EXPECT_EQ(code, 0) << "the part run as user " << uid << " failed (its messages above)";
}

}  // namespace as_player

#endif
