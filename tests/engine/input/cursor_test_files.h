// Builds Windows cursor files byte by byte for the cursor tests.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace cursor_test {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes* b, uint32_t v) {
  b->push_back(static_cast<uint8_t>(v));
  b->push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(Bytes* b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
inline void put32be(Bytes* b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b->push_back(static_cast<uint8_t>(v >> s));
}

struct Entry {
  int dir_width;  // as written in the directory (256 is written as 0)
  int dir_height;
  int hot_x;
  int hot_y;
  Bytes data;
};

// A cursor file (type 2) or icon file (type 1) holding the entries in order,
// each entry's offset and size filled in from its data.
inline Bytes make_file(const std::vector<Entry>& entries, int type = 2) {
  Bytes b;
  put16(&b, 0);
  put16(&b, static_cast<uint32_t>(type));
  put16(&b, static_cast<uint32_t>(entries.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
  for (const Entry& e : entries) {
    b.push_back(static_cast<uint8_t>(e.dir_width & 0xFF));
    b.push_back(static_cast<uint8_t>(e.dir_height & 0xFF));
    b.push_back(0);
    b.push_back(0);
    put16(&b, static_cast<uint32_t>(e.hot_x));
    put16(&b, static_cast<uint32_t>(e.hot_y));
    put32(&b, static_cast<uint32_t>(e.data.size()));
    put32(&b, offset);
    offset += static_cast<uint32_t>(e.data.size());
  }
  for (const Entry& e : entries) b.insert(b.end(), e.data.begin(), e.data.end());
  return b;
}

// A bitmap entry. colour(x, y) gives the pixel's bytes as they are stored
// (blue, green, red[, alpha] for 24/32 bits; the palette index for 1-8 bits),
// mask(x, y) the AND-mask bit; y = 0 is the picture's top row (written last).
inline Bytes make_dib(int width, int height, int bits, const std::vector<uint32_t>& palette,
                      const std::function<uint32_t(int, int)>& colour,
                      const std::function<bool(int, int)>& mask, bool with_mask = true,
                      uint32_t colours_used = 0) {
  Bytes b;
  put32(&b, 40);
  put32(&b, static_cast<uint32_t>(width));
  put32(&b, static_cast<uint32_t>(height * 2));
  put16(&b, 1);
  put16(&b, static_cast<uint32_t>(bits));
  put32(&b, 0);
  put32(&b, 0);
  put32(&b, 0);
  put32(&b, 0);
  put32(&b, colours_used);
  put32(&b, 0);
  for (uint32_t c : palette) put32(&b, c);  // 0x00RRGGBB: stored blue, green, red, 0
  size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  for (int y = height - 1; y >= 0; --y) {
    Bytes row(stride, 0);
    for (int x = 0; x < width; ++x) {
      uint32_t v = colour(x, y);
      if (bits >= 24) {
        for (int k = 0; k < bits / 8; ++k) row[x * (bits / 8) + k] = static_cast<uint8_t>(v >> (8 * k));
      } else {
        int per_byte = 8 / bits;
        int shift = 8 - bits * (x % per_byte + 1);
        row[x / per_byte] |= static_cast<uint8_t>(v << shift);
      }
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  if (with_mask) {
    size_t mstride = (static_cast<size_t>(width) + 31) / 32 * 4;
    for (int y = height - 1; y >= 0; --y) {
      Bytes row(mstride, 0);
      for (int x = 0; x < width; ++x)
        if (mask(x, y)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      b.insert(b.end(), row.begin(), row.end());
    }
  }
  return b;
}

inline void png_chunk(Bytes* b, const char* type, const Bytes& data) {
  put32be(b, static_cast<uint32_t>(data.size()));
  size_t start = b->size();
  b->insert(b->end(), type, type + 4);
  b->insert(b->end(), data.begin(), data.end());
  uLong crc = crc32(0, b->data() + start, static_cast<uInt>(b->size() - start));
  put32be(b, static_cast<uint32_t>(crc));
}

// An 8-bit RGBA PNG; rgba holds the rows top to bottom.
inline Bytes make_png(int width, int height, const Bytes& rgba) {
  Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr;
  put32be(&ihdr, static_cast<uint32_t>(width));
  put32be(&ihdr, static_cast<uint32_t>(height));
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
  png_chunk(&b, "IHDR", ihdr);
  Bytes raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    raw.insert(raw.end(), rgba.begin() + y * width * 4, rgba.begin() + (y + 1) * width * 4);
  }
  Bytes z(compressBound(static_cast<uLong>(raw.size())));
  uLongf zsize = static_cast<uLongf>(z.size());
  compress(z.data(), &zsize, raw.data(), static_cast<uLong>(raw.size()));
  z.resize(zsize);
  png_chunk(&b, "IDAT", z);
  png_chunk(&b, "IEND", {});
  return b;
}

}  // namespace cursor_test
