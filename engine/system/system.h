// What the machine is: processor, cores, memory and operating system, as the
// diagnostic log reports them. The number of monitors comes from the screen
// service, not from here.
#pragma once

#include <cstdint>
#include <string>

// The operating-system code the log shows for every Linux system, and on
// Windows for a version it has no code of its own for.
constexpr int kSystemCodeLinux = 200;
constexpr int kSystemCodeOther = 200;

// The processor's name, or "Unknown CPU" when the system does not give one.
std::string system_cpu_name();

// Processors the system offers, and those this process may run on. Each is 1
// when the system cannot tell.
int system_total_cores();
int system_available_cores();

// Physical memory in bytes: installed, and available to programs now. 0 when
// the system cannot tell.
int64_t system_total_memory();
int64_t system_free_memory();

// The operating-system code of the log (200 on Linux, the code of the
// Windows version on Windows) and the system's own version text (the Linux
// kernel release, e.g. "6.1.0-18-amd64", or the Windows version and build,
// e.g. "10.0.19045"; empty if unknown).
int system_os_code();
std::string system_os_version();

// A Windows version as the system reports it.
struct SystemVersion {
  bool known = false;       // false when the system gave no answer
  bool nt = true;           // the NT family, else the 95/98/Me family
  int major = 0;
  int minor = 0;
  bool workstation = true;  // a workstation edition, else a server one
};

// The log's operating-system code of a Windows version: 10, 30, 40 for the
// 95/98/Me family (minor 0, 10, 90), 5 and 20 for NT 3 and 4, then 50 (5.0),
// 60 (5.1, 5.2), 70 (6.0), 80 (6.1), 90 (6.2), 100 (6.3), 110 (10.0), the
// server editions of 5.2 to 6.3 one code of 5 higher; 200 for anything else.
int system_os_code_of(const SystemVersion& version);

// The processor's brand text as the processor itself spells it (48 bytes,
// ended by a zero byte when shorter), blanks around it removed; "Unknown CPU"
// when it is empty. Used by the Windows back end.
std::string system_cpu_name_from_brand(const std::string& brand);

// The user's roaming application-data folder, ending in the separator: on
// Linux $XDG_DATA_HOME, else $HOME/.local/share (each only when it names an
// absolute folder); on Windows the system's roaming folder, or the user's
// profile folder when the system knows that folder but cannot name its path.
// Empty when there is none.
std::string system_roaming_folder();

// The processor name in the text of /proc/cpuinfo: the first "model name"
// field, blanks around it removed; "Unknown CPU" when there is none or it is
// empty. Used by the Linux back end.
std::string system_cpu_name_from_cpuinfo(const std::string& cpuinfo);

// The "MemAvailable" figure of /proc/meminfo in bytes, or -1 when absent.
int64_t system_available_from_meminfo(const std::string& meminfo);

// Waits the given number of milliseconds (the game's only waits are 100 ms
// pauses: a click on a menu control in full-screen mode, a pass in the
// background).
void system_sleep(int milliseconds);

// A steady clock in nanoseconds from an arbitrary start, for frame pacing.
int64_t system_clock_ns();

// Sleeps until system_clock_ns() reaches deadline, with the system's precise
// timer (no busy waiting); returns at once when it has passed.
void system_sleep_until(int64_t deadline);
