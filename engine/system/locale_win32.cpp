// The user's locale on Windows: the default locale name, already in the
// "de-AT" form.
#include "engine/system/windows_win32.h"

#include "engine/system/locale.h"
#include "engine/system/text_win32.h"

std::string system_locale_name() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  // The count includes the closing zero; 0 is a failure.
  int n = GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
  if (n <= 1) return std::string();
  return win32_utf8(name, static_cast<size_t>(n - 1));
}
