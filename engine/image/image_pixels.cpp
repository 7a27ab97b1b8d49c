// Whole-image pixel work: transparent colour, copies and fills into another
// buffer.
#include <algorithm>

#include "engine/image/image_buffer.h"

namespace {

// Pixel colour as it sits in memory (0x00RRGGBB) from a 0x00BBGGRR value.
uint32_t memory_rgb(int rgb) {
  uint32_t c = static_cast<uint32_t>(rgb);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace

void image_apply_transparent_color(ImageBuffer* image, int rgb) {
  uint32_t key = memory_rgb(rgb);
  auto* p = reinterpret_cast<uint32_t*>(image->pixels.data());
  size_t n = image->pixels.size() / 4;
  for (size_t i = 0; i < n; ++i) {
    uint32_t c = p[i] & 0xFFFFFF;
    p[i] = c == key ? c : c | 0xFF000000u;
  }
}

void image_copy_rgb(ImageBuffer* dst, const ImageBuffer& src, int x, int y) {
  int x0 = std::max(0, x), y0 = std::max(0, y);
  int x1 = static_cast<int>(std::min<int64_t>(dst->width, static_cast<int64_t>(x) + src.width));
  int y1 = static_cast<int>(std::min<int64_t>(dst->height, static_cast<int64_t>(y) + src.height));
  for (int ty = y0; ty < y1; ++ty) {
    const uint32_t* in = reinterpret_cast<const uint32_t*>(src.row(ty - y)) + (x0 - x);
    uint32_t* out = reinterpret_cast<uint32_t*>(dst->row(ty)) + x0;
    for (int i = 0; i < x1 - x0; ++i) out[i] = (out[i] & 0xFF000000u) | (in[i] & 0xFFFFFF);
  }
}

void image_fill_rgb(ImageBuffer* dst, int x, int y, int width, int height, int rgb) {
  uint32_t c = memory_rgb(rgb);
  int x0 = std::max(0, x), y0 = std::max(0, y);
  int x1 = static_cast<int>(std::min<int64_t>(dst->width, static_cast<int64_t>(x) + std::max(0, width)));
  int y1 = static_cast<int>(std::min<int64_t>(dst->height, static_cast<int64_t>(y) + std::max(0, height)));
  for (int ty = y0; ty < y1; ++ty) {
    uint32_t* out = reinterpret_cast<uint32_t*>(dst->row(ty));
    for (int tx = x0; tx < x1; ++tx) out[tx] = (out[tx] & 0xFF000000u) | c;
  }
}
