// Writes a Windows cursor file: an icon directory of type 2 with the hotspot
// in the entry, and one 32-bit bottom-up bitmap followed by its AND mask
// (the same bitmap an icon file holds).
#include "tools/contentgen/content.h"
#include "tools/contentgen/icon.h"

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
  const std::vector<uint8_t> bitmap = icon_bitmap(picture);

  put16(&out, 0);  // reserved
  put16(&out, 2);  // resource type: cursor
  put16(&out, 1);  // one image
  out.push_back(static_cast<uint8_t>(w == 256 ? 0 : w));
  out.push_back(static_cast<uint8_t>(h == 256 ? 0 : h));
  out.push_back(0);  // no palette
  out.push_back(0);  // reserved
  put16(&out, static_cast<unsigned>(hot_x));
  put16(&out, static_cast<unsigned>(hot_y));
  put32(&out, static_cast<uint32_t>(bitmap.size()));
  put32(&out, 22);  // the image follows the 6-byte header and 16-byte entry

  out.insert(out.end(), bitmap.begin(), bitmap.end());
  return out;
}
