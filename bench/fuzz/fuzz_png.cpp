// libFuzzer entry for picture decoding from memory: any bytes must either be
// refused or give an image that keeps its promises, and an accepted image
// must survive a PNG encode and a second decode unchanged.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/image/image_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto img = image_decode(data, size);
  if (!img) return 0;
  if (img->width < 1 || img->height < 1 || img->width > kImageMaxSide || img->height > kImageMaxSide) abort();
  if (img->pixels.size() != static_cast<size_t>(img->width) * static_cast<size_t>(img->height) * 4) abort();
  if (img->depth != 24 && img->depth != 32) abort();
  std::vector<uint8_t> png;
  if (!image_encode(*img, kImageFormatPNG, &png)) abort();
  auto again = image_decode(png.data(), png.size());
  if (!again || again->width != img->width || again->height != img->height || again->pixels != img->pixels) abort();
  return 0;
}
