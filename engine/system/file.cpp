// Path helpers that are the same on every platform.
#include "engine/system/file.h"

std::string file_base_name(const std::string& path) {
  size_t pos = path.find_last_of('/');
  return pos == std::string::npos ? path : path.substr(pos + 1);
}
