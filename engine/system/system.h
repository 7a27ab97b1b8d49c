// What the machine is: processor, cores, memory and operating system, as the
// diagnostic log reports them. The number of monitors comes from the screen
// service, not from here.
#pragma once

#include <cstdint>
#include <string>

// The operating-system code the log shows for every Linux system.
constexpr int kSystemCodeLinux = 200;

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

// The operating-system code of the log (200 here) and the system's own
// version text (the kernel release, e.g. "6.1.0-18-amd64"; empty if unknown).
int system_os_code();
std::string system_os_version();

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
