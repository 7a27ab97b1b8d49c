// Test pictures written with libpng itself, in any form a PNG may take, so
// that the decoder is checked against files it did not write.
#pragma once

#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace png_writer {

struct PngSpec {
  int width = 0;
  int height = 0;
  int color_type = PNG_COLOR_TYPE_RGB;
  int bit_depth = 8;
  bool interlaced = false;
  std::vector<png_color> palette;
  std::vector<png_byte> trns_alpha;  // palette alpha
  bool grey_trns = false;
  png_color_16 trns_colour{};
};

inline void append(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

// rows: packed raw rows exactly as libpng expects them for that picture form.
// Empty when libpng refuses the form.
inline std::vector<uint8_t> write_png(const PngSpec& spec, std::vector<std::vector<uint8_t>> rows) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, append, nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(spec.width), static_cast<png_uint_32>(spec.height),
               spec.bit_depth, spec.color_type, spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!spec.palette.empty())
    png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
  if (!spec.trns_alpha.empty())
    png_set_tRNS(png, info, spec.trns_alpha.data(), static_cast<int>(spec.trns_alpha.size()), nullptr);
  if (spec.grey_trns) png_set_tRNS(png, info, nullptr, 0, const_cast<png_color_16*>(&spec.trns_colour));
  std::vector<png_bytep> ptrs;
  for (auto& r : rows) ptrs.push_back(r.data());
  png_set_rows(png, info, ptrs.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// The same picture with its compressed pixels rewritten, as another PNG
// writer might lay them out: all in one data chunk, or with the stream's last
// `last_chunk` bytes (its Adler-32 checksum when 4) in a data chunk of their
// own. With broken_checksum the checksum no longer matches the pixels, while
// every chunk's CRC still matches its chunk: only the pixels' own checksum
// tells the damage.
inline std::vector<uint8_t> rechunk(const std::vector<uint8_t>& png, size_t last_chunk, bool broken_checksum) {
  auto be32 = [](const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
  };
  std::vector<uint8_t> before, stream, after;
  for (size_t pos = 8; pos + 12 <= png.size();) {
    const uint32_t length = be32(&png[pos]);
    const bool data = std::memcmp(&png[pos + 4], "IDAT", 4) == 0;
    if (data) stream.insert(stream.end(), png.begin() + static_cast<long>(pos + 8), png.begin() + static_cast<long>(pos + 8 + length));
    std::vector<uint8_t>& into = stream.empty() ? before : after;
    if (!data) into.insert(into.end(), png.begin() + static_cast<long>(pos), png.begin() + static_cast<long>(pos + 12 + length));
    pos += 12 + length;
  }
  if (broken_checksum && !stream.empty()) stream.back() ^= 0x5A;
  std::vector<uint8_t> out(png.begin(), png.begin() + 8);
  out.insert(out.end(), before.begin(), before.end());
  auto chunk = [&out](const uint8_t* bytes, size_t n) {
    const size_t start = out.size();
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(n >> (24 - 8 * i)));
    out.insert(out.end(), {'I', 'D', 'A', 'T'});
    out.insert(out.end(), bytes, bytes + n);
    const uint32_t crc = static_cast<uint32_t>(crc32(0, &out[start + 4], static_cast<uInt>(n + 4)));
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(crc >> (24 - 8 * i)));
  };
  const size_t split = stream.size() - (last_chunk < stream.size() ? last_chunk : 0);
  chunk(stream.data(), split);
  if (split < stream.size()) chunk(stream.data() + split, stream.size() - split);
  out.insert(out.end(), after.begin(), after.end());
  return out;
}

}  // namespace png_writer
