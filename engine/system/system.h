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

// The operating-system code of the log: 200 on Linux, the code of the
// Windows version on Windows.
int system_os_code();

// The user's roaming application-data folder, ending in the separator: on
// Linux $XDG_DATA_HOME, else $HOME/.local/share (each only when it names an
// absolute folder); on Windows the system's roaming folder, or the user's
// profile folder when the system knows that folder but cannot name its path.
// Empty when there is none.
std::string system_roaming_folder();

// Waits the given number of milliseconds (the game's only waits are 100 ms
// pauses: a click on a menu control in full-screen mode, a pass in the
// background).
void system_sleep(int milliseconds);

// A steady clock in nanoseconds from an arbitrary start, for frame pacing.
int64_t system_clock_ns();

// Sleeps until system_clock_ns() reaches deadline, with the system's precise
// timer (no busy waiting); returns at once when it has passed.
void system_sleep_until(int64_t deadline);
