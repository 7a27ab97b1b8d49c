// Processor, core, memory and version details on Windows, and the user's
// roaming data folder from the shell.
#include "engine/system/windows_win32.h"
#include <shlobj.h>

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#include <intrin.h>
#define DUSK_HAS_CPUID 1
#endif

#include <string>

#include "engine/system/path.h"
#include "engine/system/system.h"
#include "engine/system/system_reports.h"
#include "engine/system/text_win32.h"

namespace {

int count_bits(uint64_t mask) {
  int n = 0;
  for (; mask; mask &= mask - 1) ++n;
  return n;
}

}  // namespace

// The version the system itself reports. GetVersionEx answers as the
// program's manifest lets it (a program without one is told Windows 8), so
// the unshimmed RtlGetVersion of ntdll is asked first.
SystemVersion system_reported_version(int* build) {
  SystemVersion v;
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  bool ok = false;
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
    // Through void(*)(), the one pointer type every function pointer may be
    // cast to and from without a warning.
    auto fn = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion")));
    ok = fn && fn(&info) == 0;
  }
  if (!ok) {
    info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ok = GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)) != 0;
#pragma GCC diagnostic pop
  }
  if (!ok) return v;
  v.known = true;
  v.nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  v.major = static_cast<int>(info.dwMajorVersion);
  v.minor = static_cast<int>(info.dwMinorVersion);
  v.workstation = info.wProductType == VER_NT_WORKSTATION;
  if (build) *build = static_cast<int>(info.dwBuildNumber);
  return v;
}

namespace {

// The path of a known folder through its item list, so that "the system does
// not know the folder" and "it has no file-system path" stay apart. Empty
// with *located false in the first case, empty with *located true in the
// second.
std::string known_folder_path(REFKNOWNFOLDERID id, bool* located) {
  *located = false;
  PIDLIST_ABSOLUTE list = nullptr;
  if (FAILED(SHGetKnownFolderIDList(id, 0, nullptr, &list)) || !list) return "";
  *located = true;
  std::wstring buf(32768, L'\0');
  bool ok = SHGetPathFromIDListEx(list, &buf[0], static_cast<DWORD>(buf.size()), GPFIDL_DEFAULT);
  ILFree(list);
  if (!ok || buf[0] == L'\0') return "";
  return win32_utf8(buf.c_str());
}

// The GUIDs of the two known folders, written out here so that no import
// library of GUIDs is needed.
const KNOWNFOLDERID kRoamingAppData = {0x3EB685DB, 0x65F9, 0x4CF6, {0xA0, 0x3A, 0xE3, 0xEF, 0x65, 0x72, 0x9F, 0x3D}};
const KNOWNFOLDERID kProfile = {0x5E6C858F, 0x0E22, 0x4760, {0x9A, 0xFE, 0xEA, 0x33, 0x17, 0xB6, 0x71, 0x73}};

std::string with_separator(std::string folder) {
  if (!folder.empty() && !path_is_separator(folder.back())) folder += kPathSeparator;
  return folder;
}

}  // namespace

std::string system_cpu_name() {
  std::string brand;
#ifdef DUSK_HAS_CPUID
  int regs[4] = {};
  __cpuid(regs, static_cast<int>(0x80000000u));
  if (static_cast<unsigned>(regs[0]) >= 0x80000004u) {
    for (unsigned leaf = 0x80000002u; leaf <= 0x80000004u; ++leaf) {
      __cpuid(regs, static_cast<int>(leaf));
      brand.append(reinterpret_cast<const char*>(regs), sizeof(regs));
    }
  }
#endif
  return system_cpu_name_from_brand(brand);
}

int system_total_cores() {
  // Every processor of every group; the masks below cover one group only.
  DWORD n = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
  if (n > 0) return static_cast<int>(n);
  DWORD_PTR process = 0, system = 0;
  if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) && system)
    return count_bits(system);
  return 1;
}

int system_available_cores() {
  DWORD_PTR process = 0, system = 0;
  if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system) || !process) return 1;
  return count_bits(process);
}

int64_t system_total_memory() {
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof(status);
  if (!GlobalMemoryStatusEx(&status)) return 0;
  return static_cast<int64_t>(status.ullTotalPhys);
}

int64_t system_free_memory() {
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof(status);
  if (!GlobalMemoryStatusEx(&status)) return 0;
  return static_cast<int64_t>(status.ullAvailPhys);
}

int system_os_code() { return system_os_code_of(system_reported_version(nullptr)); }

void system_sleep(int milliseconds) {
  if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

int64_t system_clock_ns() {
  static const int64_t frequency = [] {
    LARGE_INTEGER f;
    return QueryPerformanceFrequency(&f) && f.QuadPart > 0 ? f.QuadPart : 1;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  // Whole seconds and the rest apart, so that the product cannot overflow.
  const int64_t seconds = now.QuadPart / frequency, rest = now.QuadPart % frequency;
  return seconds * 1000000000 + rest * 1000000000 / frequency;
}

void system_sleep_until(int64_t deadline) {
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif
  // A high-resolution waitable timer where the system has one (Windows 10
  // 1803 and later), else a plain one, which waits to the timer period.
  static thread_local HANDLE timer = [] {
    HANDLE t = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    return t ? t : CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
  }();
  const int64_t left = deadline - system_clock_ns();
  if (left <= 0) return;
  // Negative due times are relative, in units of 100 ns.
  LARGE_INTEGER due;
  due.QuadPart = -((left + 99) / 100);
  if (timer && SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
    WaitForSingleObject(timer, INFINITE);
  } else {
    Sleep(static_cast<DWORD>((left + 999999) / 1000000));
  }
}

std::string system_roaming_folder() {
  bool located = false;
  std::string roaming = known_folder_path(kRoamingAppData, &located);
  if (!located) return "";
  if (!roaming.empty()) return with_separator(roaming);
  // The folder is known but has no path of its own (redirected somewhere
  // that is no file system): the profile folder stands in for it.
  std::string profile = known_folder_path(kProfile, &located);
  if (profile.empty()) {
    wchar_t buf[32768];
    DWORD n = GetEnvironmentVariableW(L"USERPROFILE", buf, 32768);
    if (n > 0 && n < 32768) profile = win32_utf8(buf, n);
  }
  return with_separator(profile);
}
