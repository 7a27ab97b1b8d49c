// Sprites load pictures with the colour key applied while decoding: the
// result must be exactly a plain decode followed by the key, for every
// kind of PNG, and only a pixel of exactly the key's colour turns clear.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

#include "engine/image/image.h"

namespace {

void append(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

// A w x 5 PNG of colour type `type` (RGB or RGBA), plain or interlaced,
// holding the colours in `rgb` (0xRRGGBB) in turn.
std::vector<uint8_t> png_file(int type, bool interlaced, const std::vector<uint32_t>& rgb, int w = 9) {
  const int h = 5, channels = type == PNG_COLOR_TYPE_RGB ? 3 : 4;
  std::vector<std::vector<uint8_t>> rows(h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t c = rgb[static_cast<size_t>(y * w + x) % rgb.size()];
      rows[static_cast<size_t>(y)].push_back(static_cast<uint8_t>(c >> 16));
      rows[static_cast<size_t>(y)].push_back(static_cast<uint8_t>(c >> 8));
      rows[static_cast<size_t>(y)].push_back(static_cast<uint8_t>(c));
      if (channels == 4) rows[static_cast<size_t>(y)].push_back(static_cast<uint8_t>(40 * x));
    }
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) return {};
  png_set_write_fn(png, &out, append, nullptr);
  png_set_IHDR(png, info, w, h, 8, type, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_bytep> ptrs;
  for (auto& r : rows) ptrs.push_back(r.data());
  png_set_rows(png, info, ptrs.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

TEST(PngKeyed, MatchesAPlainDecodeWithTheKeyAppliedAfterwards) {
  // The key, the key with red and blue swapped, one step off in each
  // channel, black and white.
  const std::vector<uint32_t> colours = {0x3366CC, 0xCC6633, 0x3366CD, 0x3367CC, 0x3466CC, 0x000000, 0xFFFFFF};
  const int key = 0xCC6633;  // 0x00BBGGRR of 0x3366CC
  // Widths that leave every remainder of a group of four pixels, and rows
  // long enough for many groups.
  for (int w : {9, 37, 66}) {
    for (int type : {PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA}) {
      for (bool interlaced : {false, true}) {
        auto file = png_file(type, interlaced, colours, w);
        ASSERT_FALSE(file.empty());
        auto plain = image_decode(file.data(), file.size());
        auto keyed = image_decode_keyed(file.data(), file.size(), key);
        ASSERT_TRUE(plain && keyed) << type << " " << interlaced;
        // The plain decode holds the colours written, red and blue in their
        // places, alpha 255 for RGB.
        for (int i = 0; i < w * 5; ++i) {
          uint32_t v;
          std::memcpy(&v, plain->pixels.data() + static_cast<size_t>(i) * 4, 4);
          uint32_t alpha =
              type == PNG_COLOR_TYPE_RGB ? 0xFF000000u : static_cast<uint32_t>(40 * (i % w) & 0xFF) << 24;
          ASSERT_EQ(v, alpha | colours[static_cast<size_t>(i) % colours.size()]) << w << " " << type << " " << i;
        }
        image_apply_transparent_color(plain.get(), key);
        EXPECT_EQ(keyed->width, plain->width);
        EXPECT_EQ(keyed->height, plain->height);
        EXPECT_EQ(keyed->depth, plain->depth);
        EXPECT_TRUE(keyed->pixels == plain->pixels) << w << ", type " << type << ", interlaced " << interlaced;
        // Exactly the key's pixels are clear: one in seven.
        size_t clear = 0;
        for (size_t i = 3; i < keyed->pixels.size(); i += 4) clear += keyed->pixels[i] == 0;
        EXPECT_EQ(clear, (keyed->pixels.size() / 4 + 6) / 7) << w << " " << type << " " << interlaced;
      }
    }
  }
  // Black, the default key, on an opaque picture.
  auto file = png_file(PNG_COLOR_TYPE_RGB, false, colours);
  auto keyed = image_decode_keyed(file.data(), file.size(), 0);
  ASSERT_TRUE(keyed);
  uint32_t black, white;
  std::memcpy(&black, keyed->row(0) + 5 * 4, 4);
  std::memcpy(&white, keyed->row(0) + 6 * 4, 4);
  EXPECT_EQ(black, 0x00000000u);
  EXPECT_EQ(white, 0xFFFFFFFFu);
}

TEST(PngKeyed, DamagedDataIsStillRefused) {
  auto file = png_file(PNG_COLOR_TYPE_RGB, false, {0x123456});
  ASSERT_FALSE(file.empty());
  file.resize(file.size() - 20);
  EXPECT_FALSE(image_decode_keyed(file.data(), file.size(), 0));
  EXPECT_FALSE(image_decode_keyed(nullptr, 0, 0));
}

}  // namespace
