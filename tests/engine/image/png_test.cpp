// PNG decoding of pictures written here directly with libpng in the forms
// the data pack may hold, the refusal of damaged data, and encoding.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

#include "engine/image/image_buffer.h"
#include "tests/engine/image/png_writer.h"
#include "tests/support/image_probe.h"

namespace {

using png_writer::PngSpec;
using png_writer::write_png;

// Pixel (x, y) of an image as 0xAARRGGBB.
uint32_t pixel(const ImageBuffer& img, int x, int y) {
  uint32_t v;
  std::memcpy(&v, img.row(y) + x * 4, 4);
  return v;
}

// A 4x3 RGB picture whose pixels encode their position.
std::vector<uint8_t> rgb_picture(bool interlaced) {
  PngSpec s;
  s.width = 4;
  s.height = 3;
  s.interlaced = interlaced;
  std::vector<std::vector<uint8_t>> rows;
  for (int y = 0; y < 3; ++y) {
    std::vector<uint8_t> r;
    for (int x = 0; x < 4; ++x) {
      r.push_back(static_cast<uint8_t>(10 * x));
      r.push_back(static_cast<uint8_t>(100 + 10 * y));
      r.push_back(static_cast<uint8_t>(200 + x + y));
    }
    rows.push_back(r);
  }
  return write_png(s, rows);
}

uint32_t rgb_expected(int x, int y) {
  return 0xFF000000u | static_cast<uint32_t>(10 * x) << 16 | static_cast<uint32_t>(100 + 10 * y) << 8 |
         static_cast<uint32_t>(200 + x + y);
}

TEST(PngDecode, RgbPlainAndInterlacedGiveTheSame24BitPixels) {
  for (bool interlaced : {false, true}) {
    auto data = rgb_picture(interlaced);
    auto img = image_decode(data.data(), data.size());
    ASSERT_TRUE(img) << "interlaced " << interlaced;
    EXPECT_EQ(img->depth, 24);
    ASSERT_EQ(img->width, 4);
    ASSERT_EQ(img->height, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(pixel(*img, x, y), rgb_expected(x, y)) << x << "," << y;
  }
}

TEST(PngDecode, PaletteWithTransparencyBecomes32BitWithAlpha) {
  PngSpec s;
  s.width = 3;
  s.height = 1;
  s.color_type = PNG_COLOR_TYPE_PALETTE;
  s.bit_depth = 4;
  s.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  s.trns_alpha = {0, 128};  // entry 2 has no alpha entry: opaque
  // Three 4-bit indices 0, 1, 2 packed high nibble first.
  auto data = write_png(s, {{0x01, 0x20}});
  auto img = image_decode(data.data(), data.size());
  ASSERT_TRUE(img);
  EXPECT_EQ(img->depth, 32);
  EXPECT_EQ(pixel(*img, 0, 0), 0x00FF0000u);
  EXPECT_EQ(pixel(*img, 1, 0), 0x8000FF00u);
  EXPECT_EQ(pixel(*img, 2, 0), 0xFF0000FFu);
}

TEST(PngDecode, PaletteWithoutTransparencyIs24Bit) {
  PngSpec s;
  s.width = 2;
  s.height = 1;
  s.color_type = PNG_COLOR_TYPE_PALETTE;
  s.palette = {{1, 2, 3}, {40, 50, 60}};
  auto data = write_png(s, {{1, 0}});
  auto img = image_decode(data.data(), data.size());
  ASSERT_TRUE(img);
  EXPECT_EQ(img->depth, 24);
  EXPECT_EQ(pixel(*img, 0, 0), 0xFF28323Cu);
  EXPECT_EQ(pixel(*img, 1, 0), 0xFF010203u);
}

TEST(PngDecode, SixteenBitChannelsKeepTheirHighByte) {
  PngSpec s;
  s.width = 2;
  s.height = 1;
  s.bit_depth = 16;
  auto data = write_png(s, {{0x12, 0x34, 0xAB, 0xCD, 0xFF, 0xFF, 0x00, 0x01, 0x80, 0x7F, 0x7F, 0xFF}});
  auto img = image_decode(data.data(), data.size());
  ASSERT_TRUE(img);
  EXPECT_EQ(img->depth, 24);
  EXPECT_EQ(pixel(*img, 0, 0), 0xFF12ABFFu);
  EXPECT_EQ(pixel(*img, 1, 0), 0xFF00807Fu);
}

TEST(PngDecode, GreyDepthsWidenToRgb) {
  PngSpec s;
  s.width = 4;
  s.height = 1;
  s.color_type = PNG_COLOR_TYPE_GRAY;
  s.bit_depth = 2;  // levels 0, 85, 170, 255
  auto data = write_png(s, {{0x1B}});  // 00 01 10 11
  auto img = image_decode(data.data(), data.size());
  ASSERT_TRUE(img);
  EXPECT_EQ(img->depth, 24);
  EXPECT_EQ(pixel(*img, 0, 0), 0xFF000000u);
  EXPECT_EQ(pixel(*img, 1, 0), 0xFF555555u);
  EXPECT_EQ(pixel(*img, 2, 0), 0xFFAAAAAAu);
  EXPECT_EQ(pixel(*img, 3, 0), 0xFFFFFFFFu);
}

TEST(PngDecode, GreyTransparencyAndGreyAlphaGiveAlpha) {
  PngSpec keyed;
  keyed.width = 2;
  keyed.height = 1;
  keyed.color_type = PNG_COLOR_TYPE_GRAY;
  keyed.grey_trns = true;
  keyed.trns_colour.gray = 7;
  auto data = write_png(keyed, {{7, 9}});
  auto img = image_decode(data.data(), data.size());
  ASSERT_TRUE(img);
  EXPECT_EQ(img->depth, 32);
  EXPECT_EQ(pixel(*img, 0, 0), 0x00070707u);
  EXPECT_EQ(pixel(*img, 1, 0), 0xFF090909u);

  PngSpec ga;
  ga.width = 2;
  ga.height = 2;
  ga.color_type = PNG_COLOR_TYPE_GRAY_ALPHA;
  ga.interlaced = true;
  data = write_png(ga, {{10, 20, 30, 40}, {50, 60, 70, 80}});
  img = image_decode(data.data(), data.size());
  ASSERT_TRUE(img);
  EXPECT_EQ(img->depth, 32);
  EXPECT_EQ(pixel(*img, 0, 0), 0x140A0A0Au);
  EXPECT_EQ(pixel(*img, 1, 0), 0x281E1E1Eu);
  EXPECT_EQ(pixel(*img, 0, 1), 0x3C323232u);
  EXPECT_EQ(pixel(*img, 1, 1), 0x50464646u);
}

// Offset of the first byte after the chunk of the given type.
size_t chunk_end(const std::vector<uint8_t>& png, const char* type) {
  size_t pos = 8;
  while (pos + 12 <= png.size()) {
    uint32_t len = static_cast<uint32_t>(png[pos]) << 24 | png[pos + 1] << 16 | png[pos + 2] << 8 | png[pos + 3];
    size_t end = pos + 12 + len;
    if (std::memcmp(&png[pos + 4], type, 4) == 0) return end;
    pos = end;
  }
  return 0;
}

TEST(PngDecode, DamagedDataIsRefusedWithNothingStored) {
  auto good = rgb_picture(false);
  ASSERT_TRUE(image_decode(good.data(), good.size()));

  std::vector<std::vector<uint8_t>> bad;
  for (size_t cut : {size_t{7}, size_t{20}, good.size() / 2, good.size() - 1})
    bad.emplace_back(good.begin(), good.begin() + static_cast<long>(cut));
  auto crc = good;
  size_t idat_end = chunk_end(crc, "IDAT");
  ASSERT_GT(idat_end, 0u);
  crc[idat_end - 1] ^= 0x55;  // last byte of the IDAT checksum
  bad.push_back(crc);
  auto idat_data = good;
  idat_data[idat_end - 5] ^= 0x55;  // last byte of the compressed pixels
  bad.push_back(idat_data);
  auto header_crc = good;
  header_crc[chunk_end(good, "IHDR") - 2] ^= 1;
  bad.push_back(header_crc);
  bad.push_back(std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0});
  bad.push_back(std::vector<uint8_t>(100, 0));

  for (size_t i = 0; i < bad.size(); ++i) {
    EXPECT_FALSE(image_decode(bad[i].data(), bad[i].size())) << "case " << i;
    EXPECT_EQ(image_from_memory(5, bad[i]), 0) << "case " << i;
    EXPECT_FALSE(image_exists(5));
  }
  // The sized variant reads no further than it is told.
  EXPECT_EQ(image_from_memory_sized(5, good.data(), good.size() - 10), 0);
  EXPECT_NE(image_from_memory_sized(5, good.data(), good.size()), 0);
  EXPECT_EQ(image_width(5), 4);
  image_free(-1);
}

TEST(PngDecode, PixelsThatFailTheirOwnChecksumAreRefusedWhereverItLies) {
  // Every chunk's CRC matches; only the compressed pixels' Adler-32 is
  // wrong. It may sit with the last pixel data or, from some writers, in a
  // data chunk of its own that is only read after the last row.
  PngSpec rgba;
  rgba.width = 40;
  rgba.height = 30;
  rgba.color_type = PNG_COLOR_TYPE_RGB_ALPHA;
  std::vector<std::vector<uint8_t>> rows(30, std::vector<uint8_t>(160));
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t i = 0; i < rows[y].size(); ++i) rows[y][i] = static_cast<uint8_t>(i * 7 + y * 29);
  const std::vector<std::vector<uint8_t>> pictures = {rgb_picture(false), rgb_picture(true), write_png(rgba, rows)};
  for (size_t p = 0; p < pictures.size(); ++p) {
    for (size_t last_chunk : {size_t{0}, size_t{2}, size_t{4}, size_t{6}}) {
      SCOPED_TRACE(testing::Message() << "picture " << p << ", last data chunk of " << last_chunk << " bytes");
      const auto whole = png_writer::rechunk(pictures[p], last_chunk, false);
      EXPECT_TRUE(image_decode(whole.data(), whole.size()));  // the layout alone is fine
      image_free(5);
      const auto broken = png_writer::rechunk(pictures[p], last_chunk, true);
      EXPECT_FALSE(image_decode(broken.data(), broken.size()));
      EXPECT_EQ(image_from_memory(5, broken), 0);
      EXPECT_FALSE(image_exists(5));
    }
  }
}

// Rewrites the IHDR size fields and its checksum, so only the size is absurd.
std::vector<uint8_t> with_header_size(std::vector<uint8_t> png, uint32_t w, uint32_t h) {
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<uint8_t>(w >> (24 - 8 * i));
    png[20 + i] = static_cast<uint8_t>(h >> (24 - 8 * i));
  }
  uint32_t crc = static_cast<uint32_t>(crc32(0, &png[12], 17));
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  return png;
}

TEST(PngDecode, AbsurdHeaderSizesAreRefusedBeforeAllocating) {
  auto good = rgb_picture(false);
  // Sanity: the rewrite itself keeps a valid picture valid.
  ASSERT_TRUE(image_decode(with_header_size(good, 4, 3).data(), good.size()));
  for (auto wh : {std::pair<uint32_t, uint32_t>{100000, 100000}, {kImageMaxSide + 1, 1}, {1, kImageMaxSide + 1},
                  {kImageMaxSide, kImageMaxSide}}) {
    auto huge = with_header_size(good, wh.first, wh.second);
    EXPECT_FALSE(image_decode(huge.data(), huge.size())) << wh.first << "x" << wh.second;
  }
}

// (A cap on the address space and the sanitizer's shadow memory do not mix.)
#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)
// A black 1-bit grey picture of the largest side allowed: some 32 KB of PNG
// that decodes to a gigabyte of pixels.
std::vector<uint8_t> largest_black_picture() {
  png_writer::PngSpec spec;
  spec.width = spec.height = kImageMaxSide;
  spec.color_type = PNG_COLOR_TYPE_GRAY;
  spec.bit_depth = 1;
  return png_writer::write_png(spec, std::vector<std::vector<uint8_t>>(kImageMaxSide, std::vector<uint8_t>(kImageMaxSide / 8)));
}

// Caps the process's address space at what it uses now plus a quarter of a
// gigabyte: far less than the largest picture needs.
void leave_little_memory() {
  FILE* status = std::fopen("/proc/self/status", "r");
  ASSERT_NE(status, nullptr);
  char line[256];
  unsigned long long size_kb = 0;
  while (std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "VmSize: %llu kB", &size_kb) == 1) break;
  std::fclose(status);
  ASSERT_GT(size_kb, 0u);
  rlimit cap{};
  cap.rlim_cur = cap.rlim_max = static_cast<rlim_t>((size_kb << 10) + (rlim_t{256} << 20));
  ASSERT_EQ(setrlimit(RLIMIT_AS, &cap), 0);
}

// A picture within the size limits but larger than the memory that is free
// is refused like a damaged one: the caller reports the picture, and the
// program does not die of an uncaught allocation failure.
TEST(PngDecode, PictureLargerThanFreeMemoryIsRefused) {
  const auto png = largest_black_picture();
  EXPECT_LT(png.size(), size_t{204800});
  EXPECT_EXIT(
      {
        leave_little_memory();
        bool refused = !image_decode(png.data(), png.size()) && image_from_memory(5, png) == 0 &&
                       !image_exists(5) &&
                       image_create(6, kImageMaxSide, kImageMaxSide, 32, -1) == 0 && !image_exists(6);
        ASSERT_NE(image_create(7, 4, 4, 32, -1), 0);
        refused = refused && image_resize(7, kImageMaxSide, kImageMaxSide, 0) == 0 && image_width(7) == 4 &&
                  image_grab(7, 8, 0, 0, 4, 4) != 0;
        std::exit(refused ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}
#endif

TEST(PngEncode, RoundTripsBothDepthsThroughTheRegistry) {
  ImageBuffer img;
  img.width = 3;
  img.height = 2;
  img.depth = 32;
  img.pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 255};
  for (int depth : {32, 24}) {
    img.depth = depth;
    std::vector<uint8_t> png;
    ASSERT_TRUE(image_encode(img, kImageFormatPNG, &png));
    auto back = image_decode(png.data(), png.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->depth, depth);
    for (size_t i = 0; i < img.pixels.size(); ++i) {
      uint8_t expect = (depth == 24 && i % 4 == 3) ? 255 : img.pixels[i];
      EXPECT_EQ(back->pixels[i], expect) << "depth " << depth << " byte " << i;
    }
  }
  std::vector<uint8_t> out;
  EXPECT_FALSE(image_encode(img, 0x46464954, &out));  // no encoder for "TIFF"
}

}  // namespace
