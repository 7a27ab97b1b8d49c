// Reader of Windows cursor files. Every offset, size and count read from the
// file is checked against the bytes actually present before it is used.
#include "engine/input/cursor_file.h"
#include "engine/system/bytes.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

int32_t get_i32(const uint8_t* p) { return static_cast<int32_t>(bytes_get_u32(p)); }

constexpr size_t kDirHeaderBytes = 6;
constexpr size_t kDirEntryBytes = 16;
constexpr size_t kDibHeaderBytes = 40;  // BITMAPINFOHEADER; later versions are longer
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct DirEntry {
  int width;  // from the directory: 0 there means 256
  int height;
  int hot_x;
  int hot_y;
  int bit_count;  // only used to rank entries
  size_t offset;
  size_t bytes;
};

// Ranks entries as the system does for its default pointer size: the size
// nearest to 32 x 32 wins, then the deeper colour.
bool better_entry(const DirEntry& a, const DirEntry& b) {
  int da = std::abs(a.width - 32) + std::abs(a.height - 32);
  int db = std::abs(b.width - 32) + std::abs(b.height - 32);
  if (da != db) return da < db;
  return a.bit_count > b.bit_count;
}

// A row of a bottom-up bitmap: row 0 of the picture is the last in the file.
const uint8_t* dib_row(const uint8_t* base, size_t stride, int height, int y) {
  return base + stride * static_cast<size_t>(height - 1 - y);
}

bool and_mask_bit(const uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }

bool decode_png(const uint8_t* data, size_t size, CursorPicture* pic) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) return false;
  // The header is read; nothing is allocated for pixels before this check.
  if (image.width < 1 || image.height < 1 || image.width > kCursorMaxSide ||
      image.height > kCursorMaxSide) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  pic->width = static_cast<int>(image.width);
  pic->height = static_cast<int>(image.height);
  pic->rgba.assign(PNG_IMAGE_SIZE(image), 0);
  if (!png_image_finish_read(&image, nullptr, pic->rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  return true;
}

// A device-independent bitmap entry: header, palette, colour (XOR) rows and
// the 1-bit AND mask, both bottom-up, rows padded to 4 bytes.
bool decode_dib(const uint8_t* data, size_t size, CursorPicture* pic) {
  if (size < kDibHeaderBytes) return false;
  uint32_t header_bytes = bytes_get_u32(data);
  if (header_bytes < kDibHeaderBytes || header_bytes > size) return false;
  int32_t width = get_i32(data + 4);
  int32_t double_height = get_i32(data + 8);  // colour rows and mask rows together
  int bit_count = bytes_get_u16(data + 14);
  uint32_t compression = bytes_get_u32(data + 16);
  uint32_t colours_used = bytes_get_u32(data + 32);
  if (compression != 0) return false;  // only uncompressed rows exist in cursors
  if (width < 1 || width > kCursorMaxSide) return false;
  if (double_height < 2 || double_height / 2 > kCursorMaxSide) return false;
  int height = double_height / 2;
  if (bit_count != 1 && bit_count != 4 && bit_count != 8 && bit_count != 24 && bit_count != 32)
    return false;

  size_t palette_size = 0;
  if (bit_count <= 8) {
    uint32_t max_colours = 1u << bit_count;
    if (colours_used > max_colours) return false;
    palette_size = colours_used ? colours_used : max_colours;
  }
  size_t pos = header_bytes;
  if (palette_size * 4 > size - pos) return false;
  const uint8_t* palette = data + pos;
  pos += palette_size * 4;

  size_t colour_stride = (static_cast<size_t>(width) * bit_count + 31) / 32 * 4;
  size_t mask_stride = (static_cast<size_t>(width) + 31) / 32 * 4;
  size_t colour_bytes = colour_stride * static_cast<size_t>(height);
  size_t mask_bytes = mask_stride * static_cast<size_t>(height);
  if (colour_bytes > size - pos) return false;
  const uint8_t* colour = data + pos;
  pos += colour_bytes;

  // A 32-bit entry carries its own alpha; the mask only counts when every
  // alpha is 0 (pictures from before alpha cursors). Then the mask is needed.
  bool use_alpha = false;
  if (bit_count == 32) {
    // 32-bit rows have no padding, so every fourth byte is an alpha.
    for (size_t i = 3; i < colour_bytes && !use_alpha; i += 4) use_alpha = colour[i] != 0;
  }
  const uint8_t* mask = nullptr;
  if (!use_alpha) {
    if (mask_bytes > size - pos) return false;
    mask = data + pos;
  }

  std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = dib_row(colour, colour_stride, height, y);
    const uint8_t* mask_row = mask ? dib_row(mask, mask_stride, height, y) : nullptr;
    uint8_t* dst = rgba.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
    for (int x = 0; x < width; ++x, dst += 4) {
      uint8_t b, g, r, a = 255;
      if (bit_count == 32) {
        b = src[x * 4];
        g = src[x * 4 + 1];
        r = src[x * 4 + 2];
        if (use_alpha) a = src[x * 4 + 3];
      } else if (bit_count == 24) {
        b = src[x * 3];
        g = src[x * 3 + 1];
        r = src[x * 3 + 2];
      } else {
        int per_byte = 8 / bit_count;
        int shift = 8 - bit_count * (x % per_byte + 1);
        size_t index = (src[x / per_byte] >> shift) & ((1 << bit_count) - 1);
        if (index >= palette_size) return false;
        b = palette[index * 4];
        g = palette[index * 4 + 1];
        r = palette[index * 4 + 2];
      }
      if (mask_row && and_mask_bit(mask_row, x)) {
        // Mask set: transparent over a black colour pixel. Over any other
        // colour the system would invert the screen, which a colour cursor
        // cannot do; an opaque black pixel keeps it visible instead.
        bool black = r == 0 && g == 0 && b == 0;
        r = g = b = 0;
        a = black ? 0 : 255;
      }
      dst[0] = r;
      dst[1] = g;
      dst[2] = b;
      dst[3] = a;
    }
  }
  pic->width = width;
  pic->height = height;
  pic->rgba = std::move(rgba);
  return true;
}

}  // namespace

bool cursor_file_read(const uint8_t* data, size_t size, CursorPicture* out) {
  if (!data || size < kDirHeaderBytes) return false;
  uint16_t reserved = bytes_get_u16(data);
  uint16_t type = bytes_get_u16(data + 2);  // 2 = cursor; 1 = icon, which also serves
  size_t count = bytes_get_u16(data + 4);
  if (reserved != 0 || (type != 1 && type != 2) || count == 0) return false;
  size_t dir_end = kDirHeaderBytes + count * kDirEntryBytes;
  if (dir_end > size) return false;

  std::vector<DirEntry> entries;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = data + kDirHeaderBytes + i * kDirEntryBytes;
    DirEntry d;
    d.width = e[0] ? e[0] : 256;
    d.height = e[1] ? e[1] : 256;
    // Icons keep planes and depth where cursors keep the hotspot; an icon
    // used as a pointer has its tip in the middle.
    d.hot_x = type == 2 ? bytes_get_u16(e + 4) : d.width / 2;
    d.hot_y = type == 2 ? bytes_get_u16(e + 6) : d.height / 2;
    d.bytes = bytes_get_u32(e + 8);
    d.offset = bytes_get_u32(e + 12);
    // Every entry must lie wholly inside the file, after the directory; a
    // file whose directory points elsewhere is refused, never read.
    if (d.bytes == 0 || d.offset < dir_end || d.offset > size || d.bytes > size - d.offset)
      return false;
    // The depth for ranking comes from the entry itself: a cursor's
    // directory has no room for it. PNG entries count as 32-bit.
    const uint8_t* head = data + d.offset;
    if (d.bytes >= sizeof kPngSignature && std::memcmp(head, kPngSignature, sizeof kPngSignature) == 0)
      d.bit_count = 32;
    else
      d.bit_count = d.bytes >= 16 ? bytes_get_u16(head + 14) : 0;
    entries.push_back(d);
  }
  const DirEntry& best = *std::min_element(entries.begin(), entries.end(), better_entry);

  CursorPicture pic;
  const uint8_t* entry = data + best.offset;
  bool is_png = best.bytes >= sizeof kPngSignature &&
                std::memcmp(entry, kPngSignature, sizeof kPngSignature) == 0;
  bool ok = is_png ? decode_png(entry, best.bytes, &pic) : decode_dib(entry, best.bytes, &pic);
  if (!ok) return false;
  pic.hot_x = std::min(best.hot_x, pic.width - 1);
  pic.hot_y = std::min(best.hot_y, pic.height - 1);
  *out = std::move(pic);
  return true;
}
