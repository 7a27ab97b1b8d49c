// Reading the system's text reports; the same wherever such text exists.
#include "engine/system/system.h"

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
