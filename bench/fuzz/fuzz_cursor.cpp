// libFuzzer entry for the cursor file reader: any bytes must either be
// refused or give a picture that keeps its promises, and a picture that was
// read must survive a write and a second read unchanged.
#include <cstdint>
#include <cstdlib>

#include "engine/input/cursor_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CursorPicture pic;
  if (!cursor_file_read(data, size, &pic)) return 0;
  if (pic.width < 1 || pic.height < 1 || pic.width > kCursorMaxSide || pic.height > kCursorMaxSide)
    abort();
  if (pic.rgba.size() != static_cast<size_t>(pic.width) * static_cast<size_t>(pic.height) * 4) abort();
  if (pic.hot_x < 0 || pic.hot_y < 0 || pic.hot_x >= pic.width || pic.hot_y >= pic.height) abort();

  std::vector<uint8_t> file = cursor_file_write(pic.rgba.data(), pic.width, pic.height, pic.hot_x, pic.hot_y);
  CursorPicture again;
  if (file.empty() || !cursor_file_read(file.data(), file.size(), &again)) abort();
  if (again.width != pic.width || again.height != pic.height || again.hot_x != pic.hot_x ||
      again.hot_y != pic.hot_y)
    abort();
  for (size_t i = 0; i < pic.rgba.size(); i += 4) {
    bool clear = pic.rgba[i + 3] == 0;
    for (size_t k = 0; k < 4; ++k) {
      uint8_t want = clear && k < 3 ? 0 : pic.rgba[i + k];
      if (again.rgba[i + k] != want) abort();
    }
  }
  return 0;
}
