// Sprites load pictures with the colour key applied while decoding: the
// result must be exactly a plain decode followed by the key, for every
// kind of PNG, and only a pixel of exactly the key's colour turns clear.
// Pictures with alpha, whose rows the decoder swaps itself, come out
// exactly as libpng's own transforms give them.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <utility>
#include <vector>

#include "engine/image/image_buffer.h"
#include "tests/engine/image/png_writer.h"

namespace {

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
  png_writer::PngSpec spec;
  spec.width = w;
  spec.height = h;
  spec.color_type = type;
  spec.interlaced = interlaced;
  return png_writer::write_png(spec, std::move(rows));
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

// RGBA samples of a picture, four a pixel, in 8 or 16 bits.
struct RgbaPicture {
  int width, height, bit_depth;
  std::vector<uint16_t> samples;
};

// A picture whose colours vary from pixel to pixel and whose alpha takes
// every value, with the colour key (0x3366CC) at several alphas and the key
// with red and blue swapped among them.
RgbaPicture rgba_picture(int width, int height, int bit_depth) {
  RgbaPicture p{width, height, bit_depth, {}};
  uint32_t seed = static_cast<uint32_t>(width * 131 + height * 7 + bit_depth);
  for (int i = 0; i < width * height; ++i) {
    seed = seed * 1664525u + 1013904223u;
    uint32_t rgb = seed >> 8;
    if (i % 5 == 1) rgb = 0x3366CC;
    if (i % 11 == 3) rgb = 0xCC6633;
    const uint16_t alpha = static_cast<uint16_t>((i * 37 + (seed & 0xFF)) & 0xFF);
    for (int c : {16, 8, 0}) {
      const uint16_t v = static_cast<uint16_t>((rgb >> c) & 0xFF);
      // The low byte of a 16-bit sample differs from the high one.
      p.samples.push_back(bit_depth == 16 ? static_cast<uint16_t>(v << 8 | (v ^ 0x5A)) : v);
    }
    p.samples.push_back(bit_depth == 16 ? static_cast<uint16_t>(alpha << 8 | (i & 0xFF)) : alpha);
  }
  return p;
}

std::vector<uint8_t> rgba_file(const RgbaPicture& p, bool interlaced) {
  std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(p.height));
  for (int y = 0; y < p.height; ++y)
    for (int i = 0; i < p.width * 4; ++i) {
      const uint16_t v = p.samples[static_cast<size_t>(y * p.width * 4 + i)];
      if (p.bit_depth == 16) rows[static_cast<size_t>(y)].push_back(static_cast<uint8_t>(v >> 8));
      rows[static_cast<size_t>(y)].push_back(static_cast<uint8_t>(v));
    }
  png_writer::PngSpec spec;
  spec.width = p.width;
  spec.height = p.height;
  spec.color_type = PNG_COLOR_TYPE_RGB_ALPHA;
  spec.bit_depth = p.bit_depth;
  spec.interlaced = interlaced;
  return png_writer::write_png(spec, std::move(rows));
}

struct FileReader {
  const std::vector<uint8_t>* data;
  size_t pos;
};

void read_file(png_structp png, png_bytep out, png_size_t n) {
  auto* r = static_cast<FileReader*>(png_get_io_ptr(png));
  if (n > r->data->size() - r->pos) png_error(png, "truncated");
  std::memcpy(out, r->data->data() + r->pos, n);
  r->pos += n;
}

// The file decoded by libpng's own transforms: red and blue swapped by
// png_set_bgr, 16 bits cut to 8, interlaced passes put together.
std::vector<uint8_t> libpng_bgra(const std::vector<uint8_t>& file) {
  std::vector<uint8_t> pixels;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  FileReader reader{&file, 0};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return {};
  }
  png_set_read_fn(png, &reader, read_file);
  png_read_info(png, info);
  png_set_strip_16(png);
  png_set_bgr(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const size_t stride = png_get_rowbytes(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  pixels.resize(stride * height);
  for (int pass = 0; pass < passes; ++pass)
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, &pixels[y * stride], nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return pixels;
}

TEST(PngRgba, MatchesLibpngsOwnSwapAtEveryWidthWithAndWithoutTheKey) {
  const int key = 0xCC6633;  // 0x00BBGGRR of 0x3366CC
  // Widths below, at and around groups of four pixels, a card face and one
  // picture large enough for a buffer of its own mapping.
  const std::vector<std::pair<int, int>> sizes = {{1, 7},  {3, 7},  {4, 7},   {5, 7},     {15, 7},
                                                  {16, 7}, {17, 7}, {257, 7}, {256, 256}, {700, 400}};
  for (auto [w, h] : sizes) {
    for (int bit_depth : {8, 16}) {
      for (bool interlaced : {false, true}) {
        if (h > 7 && (bit_depth == 16 || interlaced)) continue;  // the big ones in the plain form only
        SCOPED_TRACE(testing::Message() << w << "x" << h << ", " << bit_depth << " bits, interlaced " << interlaced);
        const RgbaPicture picture = rgba_picture(w, h, bit_depth);
        const auto file = rgba_file(picture, interlaced);
        ASSERT_FALSE(file.empty());
        const auto reference = libpng_bgra(file);
        ASSERT_EQ(reference.size(), static_cast<size_t>(w) * h * 4);
        // The reference holds what was written: blue, green, red and alpha,
        // each the high byte of a 16-bit sample.
        for (size_t i = 0; i < reference.size(); ++i) {
          const size_t px = i / 4, c = i % 4;
          const uint16_t sample = picture.samples[px * 4 + (c == 3 ? 3 : 2 - c)];
          ASSERT_EQ(reference[i], bit_depth == 16 ? sample >> 8 : sample) << "byte " << i;
        }

        const auto plain = image_decode(file.data(), file.size());
        ASSERT_TRUE(plain);
        EXPECT_EQ(plain->depth, 32);
        ASSERT_EQ(plain->width, w);
        ASSERT_EQ(plain->height, h);
        EXPECT_TRUE(std::vector<uint8_t>(plain->pixels.begin(), plain->pixels.end()) == reference);

        // Keyed, as sprites without kSpriteKeepAlpha load: the same as the
        // plain decode with the key applied afterwards.
        const auto keyed = image_decode_keyed(file.data(), file.size(), key);
        ASSERT_TRUE(keyed);
        ImageBuffer expected = *plain;
        image_apply_transparent_color(&expected, key);
        EXPECT_TRUE(keyed->pixels == expected.pixels);
        size_t clear = 0;
        for (size_t i = 0; i < keyed->pixels.size(); i += 4) {
          const bool is_key = keyed->pixels[i] == 0xCC && keyed->pixels[i + 1] == 0x66 && keyed->pixels[i + 2] == 0x33;
          EXPECT_EQ(keyed->pixels[i + 3], is_key ? 0 : 255) << "pixel " << i / 4;
          clear += is_key;
        }
        size_t written = 0;
        for (size_t px = 0; px < picture.samples.size() / 4; ++px) {
          const int shift = bit_depth == 16 ? 8 : 0;
          written += (picture.samples[px * 4] >> shift) == 0x33 && (picture.samples[px * 4 + 1] >> shift) == 0x66 &&
                     (picture.samples[px * 4 + 2] >> shift) == 0xCC;
        }
        EXPECT_GT(written, 0u);
        EXPECT_EQ(clear, written);
      }
    }
  }
}

TEST(PngKeyed, DamagedDataIsStillRefused) {
  auto file = png_file(PNG_COLOR_TYPE_RGB, false, {0x123456});
  ASSERT_FALSE(file.empty());
  file.resize(file.size() - 20);
  EXPECT_FALSE(image_decode_keyed(file.data(), file.size(), 0));
  EXPECT_FALSE(image_decode_keyed(nullptr, 0, 0));
}

}  // namespace
