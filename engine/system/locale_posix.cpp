// The locale from the environment, as POSIX programs find it: LC_ALL, then
// LC_MESSAGES, then LANG.
#include "engine/system/locale.h"

#include <cstdlib>

std::string system_locale_name() {
  const char* value = nullptr;
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    value = std::getenv(var);
    if (value && *value) break;
    value = nullptr;
  }
  if (!value) return std::string();
  std::string name = value;
  // "de_AT.UTF-8@euro": the character set and the modifier are no part of
  // the name.
  name = name.substr(0, name.find_first_of(".@"));
  if (name == "C" || name == "POSIX") return std::string();
  for (char& c : name)
    if (c == '_') c = '-';
  return name;
}
