// libpng reading an encoded picture held in memory, for the benchmarks that
// compare the engine's decoder with libpng's own.
#pragma once

#include <png.h>

#include <cstring>
#include <vector>

namespace bench {

// Where a libpng read stands in its file.
struct PngMemoryReader {
  const std::vector<uint8_t>* data;
  size_t pos;
};

// libpng's read callback for a PngMemoryReader; a read past the end is an
// error of the file.
inline void png_read_memory(png_structp png, png_bytep out, png_size_t n) {
  auto* r = static_cast<PngMemoryReader*>(png_get_io_ptr(png));
  if (n > r->data->size() - r->pos) png_error(png, "truncated");
  std::memcpy(out, r->data->data() + r->pos, n);
  r->pos += n;
}

}  // namespace bench
