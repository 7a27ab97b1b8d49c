// Path helpers that are the same on every platform.
#include "engine/system/file.h"

#include "engine/system/path.h"

std::string file_base_name(const std::string& path) {
  size_t pos = path.size();
  while (pos > 0 && !path_is_separator(path[pos - 1])) --pos;
  return path.substr(pos);
}
