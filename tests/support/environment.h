// Setting and clearing environment variables from a test, the same call on
// Linux and on Windows (whose C library has no setenv).
#pragma once

#include <cstdlib>
#include <string>

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

// Sets (or, for a null value, removes) a variable for as long as it lives
// and then puts back what was there before, also when a test stops early.
class Scoped {
 public:
  Scoped(const char* name, const char* value) : Scoped(name) { Set(name, value); }
  // Leaves the variable as it is for now.
  explicit Scoped(const char* name) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
  }
  ~Scoped() { Set(name_.c_str(), had_ ? old_.c_str() : nullptr); }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;

  // Changes the value again; the old one still comes back at the end.
  void Change(const char* value) const { Set(name_.c_str(), value); }

 private:
  std::string name_;
  bool had_ = false;
  std::string old_;
};

}  // namespace test_env
