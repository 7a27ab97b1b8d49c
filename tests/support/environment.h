// Setting and clearing environment variables from a test, the same call on
// Linux and on Windows (whose C library has no setenv).
#pragma once

#include <cstdlib>

namespace test_env {

// Sets name to value, or removes it when value is null.
inline void Set(const char* name, const char* value) {
#ifdef _WIN32
  // An empty value removes the variable here, as unsetenv does.
  _putenv_s(name, value ? value : "");
#else
  if (value) setenv(name, value, 1);
  else unsetenv(name);
#endif
}

}  // namespace test_env
