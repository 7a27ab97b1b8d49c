// Reading the system's text reports; the same wherever such text exists.
#include "engine/system/system.h"
#include "engine/system/system_reports.h"

#include <cstdint>

namespace {

bool is_space(char c) { return c == ' ' || c == '\t'; }

// The value of the first line "name<blanks>: value" of a report, trimmed, or
// false when no line has that name.
bool report_field(const std::string& text, const std::string& name, std::string* value) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    if (text.compare(pos, name.size(), name) == 0) {
      size_t i = pos + name.size();
      while (i < end && is_space(text[i])) ++i;
      if (i < end && text[i] == ':') {
        ++i;
        while (i < end && is_space(text[i])) ++i;
        size_t last = end;
        while (last > i && (is_space(text[last - 1]) || text[last - 1] == '\r')) --last;
        *value = text.substr(i, last - i);
        return true;
      }
    }
    pos = end + 1;
  }
  return false;
}

}  // namespace

std::string system_cpu_name_from_cpuinfo(const std::string& cpuinfo) {
  std::string name;
  if (!report_field(cpuinfo, "model name", &name) || name.empty()) return "Unknown CPU";
  return name;
}

int64_t system_available_from_meminfo(const std::string& meminfo) {
  std::string value;
  if (!report_field(meminfo, "MemAvailable", &value)) return -1;
  int64_t kib = 0;
  size_t i = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    if (kib > INT64_MAX / 10240) return -1;
    kib = kib * 10 + (value[i] - '0');
  }
  if (i == 0) return -1;
  return kib * 1024;  // the report counts in kB (KiB)
}

int system_os_code_of(const SystemVersion& v) {
  if (!v.known) return kSystemCodeOther;
  if (!v.nt) {
    if (v.major != 4) return kSystemCodeOther;
    switch (v.minor) {
      case 0: return 10;   // 95
      case 10: return 30;  // 98
      case 90: return 40;  // Me
      default: return kSystemCodeOther;
    }
  }
  if (v.major == 3) return 5;
  if (v.major == 4) return 20;
  if (v.major == 10) return v.minor == 0 ? 110 : kSystemCodeOther;
  // 5.0 and 5.1 had no server editions of their own number; 5.2 was both
  // (XP x64 and Server 2003), as is every 6.x.
  int server = v.workstation ? 0 : 5;
  if (v.major == 5) {
    switch (v.minor) {
      case 0: return 50;
      case 1: return 60;
      case 2: return 60 + server;
      default: return kSystemCodeOther;
    }
  }
  if (v.major == 6 && v.minor >= 0 && v.minor <= 3) return 70 + 10 * v.minor + server;
  return kSystemCodeOther;
}

std::string system_cpu_name_from_brand(const std::string& brand) {
  std::string name = brand.substr(0, brand.find('\0'));
  size_t first = 0;
  while (first < name.size() && is_space(name[first])) ++first;
  size_t last = name.size();
  while (last > first && is_space(name[last - 1])) --last;
  if (first == last) return "Unknown CPU";
  return name.substr(first, last - first);
}
