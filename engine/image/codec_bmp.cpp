// The built-in BMP codec: uncompressed 24- and 32-bit Windows bitmaps. The
// game never uses it; it is the first decoder tried, so it must refuse
// everything that is not a BMP quickly and safely.
#include <cstring>

#include "engine/image/codec_builtin.h"
#include "engine/system/bytes.h"

bool bmp_decode(const uint8_t* data, size_t size, ImageBuffer* out) {
  constexpr size_t kFileHeader = 14;
  if (size < kFileHeader + 40 || data[0] != 'B' || data[1] != 'M') return false;
  const uint8_t* info = data + kFileHeader;
  uint32_t info_size = bytes_get_u32(info);
  int32_t width = static_cast<int32_t>(bytes_get_u32(info + 4));
  int32_t height = static_cast<int32_t>(bytes_get_u32(info + 8));
  uint16_t bits = bytes_get_u16(info + 14);
  uint32_t compression = bytes_get_u32(info + 16);
  uint32_t offset = bytes_get_u32(data + 10);
  if (info_size < 40 || (bits != 24 && bits != 32) || compression != 0) return false;
  // A negative height means rows stored top to bottom.
  bool top_down = height < 0;
  int64_t h = top_down ? -static_cast<int64_t>(height) : height;
  if (width <= 0 || h <= 0 || width > kImageMaxSide || h > kImageMaxSide) return false;
  size_t stride = ((static_cast<size_t>(width) * bits / 8) + 3) & ~static_cast<size_t>(3);
  if (offset > size || (size - offset) / stride < static_cast<size_t>(h)) return false;

  out->width = width;
  out->height = static_cast<int>(h);
  // Every byte is written below.
  if (!pixels_resize(&out->pixels, static_cast<size_t>(width) * static_cast<size_t>(h) * 4)) return false;
  bool any_alpha = false;
  for (int y = 0; y < out->height; ++y) {
    const uint8_t* src = data + offset + stride * static_cast<size_t>(top_down ? y : out->height - 1 - y);
    uint8_t* dst = out->row(y);
    for (int x = 0; x < width; ++x) {
      dst[0] = src[0];
      dst[1] = src[1];
      dst[2] = src[2];
      dst[3] = bits == 32 ? src[3] : 255;
      any_alpha = any_alpha || (bits == 32 && src[3] != 0);
      src += bits / 8;
      dst += 4;
    }
  }
  out->depth = any_alpha ? 32 : 24;
  // 32-bit bitmaps written without alpha carry zeros in the fourth byte.
  if (bits == 32 && !any_alpha) {
    for (size_t i = 3; i < out->pixels.size(); i += 4) out->pixels[i] = 255;
  }
  return true;
}

bool bmp_encode(const ImageBuffer& image, std::vector<uint8_t>* out) {
  int bits = image.depth == 24 ? 24 : 32;
  size_t stride = ((static_cast<size_t>(image.width) * bits / 8) + 3) & ~static_cast<size_t>(3);
  size_t data_size = stride * static_cast<size_t>(image.height);
  if (data_size > 0x7FFFFFFF - 54) return false;
  out->clear();
  out->reserve(54 + data_size);
  out->push_back('B');
  out->push_back('M');
  bytes_put_u32(out, static_cast<uint32_t>(54 + data_size));
  bytes_put_u32(out, 0);
  bytes_put_u32(out, 54);
  bytes_put_u32(out, 40);
  bytes_put_u32(out, static_cast<uint32_t>(image.width));
  bytes_put_u32(out, static_cast<uint32_t>(image.height));
  bytes_put_u16(out, 1);
  bytes_put_u16(out, static_cast<uint16_t>(bits));
  bytes_put_u32(out, 0);
  bytes_put_u32(out, static_cast<uint32_t>(data_size));
  bytes_put_u32(out, 2835);  // 72 dpi
  bytes_put_u32(out, 2835);
  bytes_put_u32(out, 0);
  bytes_put_u32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    const uint8_t* src = image.row(y);
    size_t start = out->size();
    for (int x = 0; x < image.width; ++x, src += 4) {
      out->insert(out->end(), src, src + bits / 8);
    }
    out->resize(start + stride, 0);
  }
  return true;
}
