// Writes a Windows cursor file: an icon directory of type 2 with the hotspot
// in the entry, and one 32-bit bottom-up bitmap followed by its AND mask.
#include "tools/contentgen/content.h"

namespace {

void put16(std::vector<uint8_t>* out, unsigned v) {
  out->push_back(static_cast<uint8_t>(v & 0xff));
  out->push_back(static_cast<uint8_t>((v >> 8) & 0xff));
}

void put32(std::vector<uint8_t>* out, uint32_t v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> cursor_file(const Picture& picture, int hot_x, int hot_y) {
  std::vector<uint8_t> out;
  const int w = picture.width, h = picture.height;
  if (w <= 0 || h <= 0 || w > 256 || h > 256 || hot_x < 0 || hot_y < 0 || hot_x >= w ||
      hot_y >= h) {
    return out;
  }
  // Mask rows are padded to whole 32-bit words.
  const uint32_t mask_stride = ((static_cast<uint32_t>(w) + 31) / 32) * 4;
  const uint32_t pixel_bytes = static_cast<uint32_t>(w) * h * 4;
  const uint32_t mask_bytes = mask_stride * h;
  const uint32_t image_bytes = 40 + pixel_bytes + mask_bytes;

  put16(&out, 0);  // reserved
  put16(&out, 2);  // resource type: cursor
  put16(&out, 1);  // one image
  out.push_back(static_cast<uint8_t>(w == 256 ? 0 : w));
  out.push_back(static_cast<uint8_t>(h == 256 ? 0 : h));
  out.push_back(0);  // no palette
  out.push_back(0);  // reserved
  put16(&out, static_cast<unsigned>(hot_x));
  put16(&out, static_cast<unsigned>(hot_y));
  put32(&out, image_bytes);
  put32(&out, 22);  // the image follows the 6-byte header and 16-byte entry

  put32(&out, 40);                              // header size
  put32(&out, static_cast<uint32_t>(w));
  put32(&out, static_cast<uint32_t>(h * 2));    // colour rows plus mask rows
  put16(&out, 1);                               // planes
  put16(&out, 32);                              // bits per pixel
  put32(&out, 0);                               // no compression
  put32(&out, pixel_bytes + mask_bytes);
  put32(&out, 0);
  put32(&out, 0);
  put32(&out, 0);
  put32(&out, 0);

  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = picture.at(x, y);
      const uint8_t a = picture.alpha ? p[3] : 255;
      out.push_back(p[2]);
      out.push_back(p[1]);
      out.push_back(p[0]);
      out.push_back(a);
    }
  }
  // AND mask: a set bit lets the screen show through (fully clear pixels).
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(mask_stride, 0);
    for (int x = 0; x < w; ++x) {
      const uint8_t a = picture.alpha ? picture.at(x, y)[3] : 255;
      if (a == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}
