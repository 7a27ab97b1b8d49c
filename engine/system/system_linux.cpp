// Processor, core and memory details on Linux, from /proc, the affinity
// calls and sysinfo; the user's data folder from the desktop folder
// conventions.
#include <fcntl.h>
#include <sched.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "engine/system/system.h"
#include "engine/system/system_reports.h"

namespace {

// The text of a /proc report. Such files claim a size of 0, so they are read
// until the end instead of by their size.
std::string read_report(const char* path) {
  std::string text;
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return text;
  char buf[4096];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof(buf));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buf, static_cast<size_t>(n));
    // The name sits in the first lines; a huge report need not be read whole.
    if (text.size() > (1u << 20)) break;
  }
  close(fd);
  return text;
}

// Processors in this process's affinity mask, or 0 when it cannot be read.
// The mask is grown until it is large enough for the machine.
int affinity_count() {
  for (int cpus = 1024; cpus <= (1 << 18); cpus *= 4) {
    cpu_set_t* set = CPU_ALLOC(cpus);
    if (!set) return 0;
    size_t size = CPU_ALLOC_SIZE(cpus);
    CPU_ZERO_S(size, set);
    int rc = sched_getaffinity(0, size, set);
    int count = rc == 0 ? CPU_COUNT_S(size, set) : 0;
    int err = errno;
    CPU_FREE(set);
    if (rc == 0) return count;
    if (err != EINVAL) return 0;
  }
  return 0;
}

// An environment variable that names an absolute folder, without trailing
// "/", or the empty string. A relative value is ignored, as the desktop
// folder conventions require.
std::string absolute_folder_from(const char* variable) {
  const char* v = std::getenv(variable);
  if (!v || v[0] != '/') return "";
  std::string s = v;
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

std::string system_cpu_name() { return system_cpu_name_from_cpuinfo(read_report("/proc/cpuinfo")); }

int system_total_cores() {
  // The processors the system has online; a process mask is never wider.
  long n = sysconf(_SC_NPROCESSORS_ONLN);
  return n > 0 ? static_cast<int>(n) : 1;
}

int system_available_cores() {
  int n = affinity_count();
  return n > 0 ? n : 1;
}

int64_t system_total_memory() {
  struct sysinfo info;
  if (sysinfo(&info) != 0) return 0;
  return static_cast<int64_t>(info.totalram) * static_cast<int64_t>(info.mem_unit);
}

int64_t system_free_memory() {
  // "Available" includes the caches the kernel would give back, which is
  // what a program can have; sysinfo's free figure leaves them out.
  int64_t avail = system_available_from_meminfo(read_report("/proc/meminfo"));
  if (avail >= 0) return avail;
  struct sysinfo info;
  if (sysinfo(&info) != 0) return 0;
  return static_cast<int64_t>(info.freeram + info.bufferram) * static_cast<int64_t>(info.mem_unit);
}

int system_os_code() { return kSystemCodeLinux; }

void system_sleep(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec wait{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
  // Sleep on after a signal until the whole wait has passed.
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}

int64_t system_clock_ns() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void system_sleep_until(int64_t deadline) {
  if (deadline <= 0) return;
  const timespec until{static_cast<time_t>(deadline / 1000000000), static_cast<long>(deadline % 1000000000)};
  // An absolute deadline: a signal that cuts the sleep short changes nothing.
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}

std::string system_roaming_folder() {
  std::string base = absolute_folder_from("XDG_DATA_HOME");
  if (base.empty()) {
    // The profile folder of Linux is the home folder.
    std::string home = absolute_folder_from("HOME");
    if (home.empty()) return "";
    base = (home == "/" ? "" : home) + "/.local/share";
  }
  return base == "/" ? base : base + "/";
}
