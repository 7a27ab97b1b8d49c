// Private to engine/system: how the back ends turn what the system reports
// (its version, the processor's brand, /proc/cpuinfo, /proc/meminfo) into
// the figures of system.h. Kept apart from the back ends so that tests can
// feed them any report.
#pragma once

#include <cstdint>
#include <string>

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

// The processor name in the text of /proc/cpuinfo: the first "model name"
// field, blanks around it removed; "Unknown CPU" when there is none or it is
// empty. Used by the Linux back end.
std::string system_cpu_name_from_cpuinfo(const std::string& cpuinfo);

// The "MemAvailable" figure of /proc/meminfo in bytes, or -1 when absent.
int64_t system_available_from_meminfo(const std::string& meminfo);

#ifdef _WIN32
// The version this Windows reports (through RtlGetVersion, so no manifest
// shim changes it) and its build number in *build when build is not null.
SystemVersion system_reported_version(int* build);
#endif
