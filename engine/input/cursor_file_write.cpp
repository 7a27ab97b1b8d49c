// Writer of Windows cursor files with one 32-bit entry, for the content tools
// that turn the drawn pointer into the game's pointer file.
#include "engine/input/cursor_file.h"
#include "engine/system/bytes.h"

std::vector<uint8_t> cursor_file_write(const uint8_t* rgba, int width, int height, int hot_x,
                                       int hot_y) {
  std::vector<uint8_t> out;
  if (!rgba || width < 1 || height < 1 || width > kCursorMaxSide || height > kCursorMaxSide)
    return out;
  if (hot_x < 0 || hot_y < 0 || hot_x >= width || hot_y >= height) return out;

  const uint32_t w = static_cast<uint32_t>(width);
  const uint32_t h = static_cast<uint32_t>(height);
  const uint32_t colour_bytes = w * h * 4;
  const uint32_t mask_stride = (w + 31) / 32 * 4;
  const uint32_t mask_bytes = mask_stride * h;
  const uint32_t entry_bytes = 40 + colour_bytes + mask_bytes;
  const uint32_t entry_offset = 6 + 16;
  out.reserve(entry_offset + entry_bytes);

  // Directory: one cursor entry.
  bytes_put_u16(&out, 0);
  bytes_put_u16(&out, 2);
  bytes_put_u16(&out, 1);
  out.push_back(static_cast<uint8_t>(w == 256 ? 0 : w));
  out.push_back(static_cast<uint8_t>(h == 256 ? 0 : h));
  out.push_back(0);  // no palette
  out.push_back(0);
  bytes_put_u16(&out, static_cast<uint32_t>(hot_x));
  bytes_put_u16(&out, static_cast<uint32_t>(hot_y));
  bytes_put_u32(&out, entry_bytes);
  bytes_put_u32(&out, entry_offset);

  // Bitmap header; the height counts the colour rows and the mask rows.
  bytes_put_u32(&out, 40);
  bytes_put_u32(&out, w);
  bytes_put_u32(&out, h * 2);
  bytes_put_u16(&out, 1);   // planes
  bytes_put_u16(&out, 32);  // bits per pixel
  bytes_put_u32(&out, 0);   // uncompressed
  bytes_put_u32(&out, colour_bytes + mask_bytes);
  for (int i = 0; i < 4; ++i) bytes_put_u32(&out, 0);  // resolution, palette counts

  // Colour rows bottom-up as blue, green, red, alpha.
  for (uint32_t y = h; y-- > 0;) {
    const uint8_t* src = rgba + static_cast<size_t>(y) * w * 4;
    for (uint32_t x = 0; x < w; ++x, src += 4) {
      bool clear = src[3] == 0;
      out.push_back(clear ? 0 : src[2]);
      out.push_back(clear ? 0 : src[1]);
      out.push_back(clear ? 0 : src[0]);
      out.push_back(src[3]);
    }
  }
  // AND mask bottom-up: a set bit marks a fully transparent pixel.
  for (uint32_t y = h; y-- > 0;) {
    size_t row_start = out.size();
    out.resize(row_start + mask_stride, 0);
    const uint8_t* src = rgba + static_cast<size_t>(y) * w * 4;
    for (uint32_t x = 0; x < w; ++x)
      if (src[x * 4 + 3] == 0) out[row_start + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  }
  return out;
}
