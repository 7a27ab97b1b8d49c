// Test pictures written with libpng itself, in any form a PNG may take, so
// that the decoder is checked against files it did not write.
#pragma once

#include <png.h>

#include <cstdint>
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

}  // namespace png_writer
