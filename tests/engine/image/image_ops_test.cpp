// Stretching, cutting out, transparency, the copy and fill used by the
// drawing pass, the BMP codec and loading pictures from files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/image/image_buffer.h"
#include "engine/system/file.h"
#include "tests/support/image_probe.h"

namespace {

uint32_t pixel(const ImageBuffer& img, int x, int y) {
  uint32_t v;
  std::memcpy(&v, img.row(y) + x * 4, 4);
  return v;
}

void set_pixel(ImageBuffer* img, int x, int y, uint32_t v) { std::memcpy(img->row(y) + x * 4, &v, 4); }

class ImageOps : public ::testing::Test {
 protected:
  void TearDown() override { image_free(-1); }
};

TEST_F(ImageOps, SmoothShrinkAveragesAreasIncludingAlpha) {
  ASSERT_NE(image_create(1, 4, 2, 32, -1), 0);
  ImageBuffer* img = image_handle(1);
  // Left half opaque white, right half transparent black.
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) set_pixel(img, x, y, 0xFFFFFFFFu);
  ASSERT_NE(image_resize(1, 2, 1, 0), 0);
  img = image_handle(1);
  EXPECT_EQ(image_width(1), 2);
  EXPECT_EQ(image_height(1), 1);
  EXPECT_EQ(pixel(*img, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(pixel(*img, 1, 0), 0x00000000u);
  // Halving once more mixes the two halves equally.
  ASSERT_NE(image_resize(1, 1, 1, 0), 0);
  uint32_t mixed = pixel(*image_handle(1), 0, 0);
  EXPECT_NEAR(static_cast<int>(mixed >> 24), 128, 1);
  EXPECT_NEAR(static_cast<int>(mixed & 0xFF), 128, 1);
}

TEST_F(ImageOps, SmoothEnlargeInterpolatesAndKeepsEdges) {
  ASSERT_NE(image_create(1, 2, 1, 24, 0), 0);
  set_pixel(image_handle(1), 1, 0, 0xFFC8C8C8u);
  ASSERT_NE(image_resize(1, 4, 2, 0), 0);
  const ImageBuffer& img = *image_handle(1);
  EXPECT_EQ(img.depth, 24);
  EXPECT_EQ(pixel(img, 0, 0), 0xFF000000u);
  EXPECT_EQ(pixel(img, 3, 1), 0xFFC8C8C8u);
  uint32_t inner = pixel(img, 1, 0) & 0xFF;
  EXPECT_GT(inner, 0u);
  EXPECT_LT(inner, 200u);
  EXPECT_LT(inner, pixel(img, 2, 0) & 0xFF);
}

TEST_F(ImageOps, RawStretchPicksNearestPixelsAndSameSizeIsUntouched) {
  ASSERT_NE(image_create(1, 3, 1, 32, 0), 0);
  ImageBuffer* img = image_handle(1);
  set_pixel(img, 0, 0, 0x11111111u);
  set_pixel(img, 1, 0, 0x22222222u);
  set_pixel(img, 2, 0, 0x33333333u);
  const uint8_t* before = img->pixels.data();
  ASSERT_NE(image_resize(1, 3, 1, 1), 0);
  EXPECT_EQ(image_handle(1)->pixels.data(), before);
  ASSERT_NE(image_resize(1, 6, 2, 1), 0);
  img = image_handle(1);
  const uint32_t expect[6] = {0x11111111u, 0x11111111u, 0x22222222u, 0x22222222u, 0x33333333u, 0x33333333u};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(pixel(*img, x, y), expect[x]);
  EXPECT_EQ(image_resize(1, 0, 5, 1), 0);
  EXPECT_EQ(image_resize(1, 5, 5, 2), 0);
  EXPECT_EQ(image_resize(99, 5, 5, 0), 0);
  EXPECT_EQ(image_width(1), 6);
}

TEST_F(ImageOps, GrabCopiesARectangleInsideTheSourceOnly) {
  ASSERT_NE(image_create(1, 4, 4, 24, 0), 0);
  ImageBuffer* img = image_handle(1);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) set_pixel(img, x, y, 0xFF000000u | static_cast<uint32_t>(y * 16 + x));
  int h = image_grab(1, -1, 1, 2, 3, 2);
  ASSERT_NE(h, 0);
  EXPECT_EQ(image_depth(h), 24);
  EXPECT_EQ(image_width(h), 3);
  EXPECT_EQ(pixel(*image_handle(h), 0, 0), 0xFF000021u);
  EXPECT_EQ(pixel(*image_handle(h), 2, 1), 0xFF000033u);
  EXPECT_EQ(image_grab(1, 2, 2, 2, 3, 1), 0);   // one column beyond the right edge
  EXPECT_EQ(image_grab(1, 2, -1, 0, 1, 1), 0);
  EXPECT_EQ(image_grab(1, 2, 0, 0, 0, 1), 0);
  EXPECT_FALSE(image_exists(2));
  // Grabbing into the source's own number replaces it with the part.
  EXPECT_NE(image_grab(1, 1, 3, 3, 1, 1), 0);
  EXPECT_EQ(pixel(*image_handle(1), 0, 0), 0xFF000033u);
}

TEST_F(ImageOps, TransparentColourOverwritesEveryAlpha) {
  ImageBuffer img;
  img.width = 3;
  img.height = 1;
  img.pixels.resize(12);
  set_pixel(&img, 0, 0, 0x80FFFFFFu);  // white, half alpha
  set_pixel(&img, 1, 0, 0x00FFFFFEu);  // almost white, transparent
  set_pixel(&img, 2, 0, 0x00000000u);
  image_apply_transparent_color(&img, 0xFFFFFF);
  EXPECT_EQ(pixel(img, 0, 0), 0x00FFFFFFu);
  EXPECT_EQ(pixel(img, 1, 0), 0xFFFFFFFEu);
  EXPECT_EQ(pixel(img, 2, 0), 0xFF000000u);
  // The colour is given as red in the low byte.
  set_pixel(&img, 0, 0, 0xFF0000FFu);  // pure blue
  image_apply_transparent_color(&img, 0xFF0000);
  EXPECT_EQ(pixel(img, 0, 0), 0x000000FFu);
}

TEST_F(ImageOps, CopyAndFillWriteColourOnlyAndClip) {
  ImageBuffer dst;
  dst.width = 4;
  dst.height = 3;
  dst.pixels.assign(48, 0);
  set_pixel(&dst, 0, 0, 0x7F000000u);
  ImageBuffer src;
  src.width = 2;
  src.height = 2;
  src.pixels.assign(16, 0);
  for (int i = 0; i < 4; ++i) set_pixel(&src, i % 2, i / 2, 0xFF102030u + static_cast<uint32_t>(i));
  image_copy_rgb(&dst, src, -1, -1);  // only the source's last pixel lands, at (0, 0)
  EXPECT_EQ(pixel(dst, 0, 0), 0x7F102033u);
  EXPECT_EQ(pixel(dst, 1, 0), 0u);
  image_copy_rgb(&dst, src, 3, 2);  // only the first pixel, at the far corner
  EXPECT_EQ(pixel(dst, 3, 2), 0x00102030u);
  image_copy_rgb(&dst, src, 4, 0);  // wholly outside: nothing
  image_fill_rgb(&dst, 2, -5, 10, 6, 0x0000FF);  // red, clipped to rows 0
  EXPECT_EQ(pixel(dst, 2, 0), 0x00FF0000u);
  EXPECT_EQ(pixel(dst, 3, 0), 0x00FF0000u);
  EXPECT_EQ(pixel(dst, 2, 1), 0u);
  EXPECT_EQ(pixel(dst, 1, 0), 0u);
}

TEST_F(ImageOps, BmpRoundTripAndFilesThroughTheRegistry) {
  ASSERT_NE(image_create(1, 3, 2, 24, 0x332211), 0);
  set_pixel(image_handle(1), 2, 1, 0xFFABCDEFu);
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(image_encode(*image_handle(1), kImageFormatBMP, &bmp));
  EXPECT_EQ(bmp.size(), 54u + 2 * 12);  // rows padded to 12 bytes
  // Into the run's own temporary folder, never the folder the test runs in.
  const std::string path = file_private_temp_folder() + "picture.bmp";
  ASSERT_TRUE(file_write(path, bmp.data(), bmp.size()));
  int h = image_load(-1, path);
  file_remove(path);
  ASSERT_NE(h, 0);
  EXPECT_EQ(image_depth(h), 24);
  EXPECT_EQ(pixel(*image_handle(h), 0, 0), 0xFF112233u);
  EXPECT_EQ(pixel(*image_handle(h), 2, 1), 0xFFABCDEFu);
  // A truncated bitmap is refused, as is a missing file.
  bmp.resize(bmp.size() - 1);
  EXPECT_EQ(image_from_memory(2, bmp), 0);
  EXPECT_EQ(image_load(2, "no such picture.png"), 0);
  EXPECT_FALSE(image_exists(2));
}

}  // namespace

namespace {

TEST(ImageSample, NearestAndBilinearSampleAtPixelCentresWithWrap) {
  ImageBuffer src;
  src.width = 4;
  src.height = 1;
  src.pixels = {0, 0, 0, 255, 100, 100, 100, 255, 200, 200, 200, 255, 40, 40, 40, 0};
  ImageBuffer out;
  image_sample_stretch(src, 0, 0, 4, 1, 2, 1, 0, &out);  // centres fall on texels 1 and 3
  EXPECT_EQ(out.pixels[0], 100);
  EXPECT_EQ(out.pixels[4], 40);
  EXPECT_EQ(out.pixels[7], 0);
  image_sample_stretch(src, 0, 0, 4, 1, 2, 1, 1, &out);  // halfway between 0,1 and 2,3
  EXPECT_EQ(out.pixels[0], 50);
  EXPECT_EQ(out.pixels[4], 120);
  EXPECT_EQ(out.pixels[7], 128);
  // Enlarging: the first pixel's centre lies left of texel 0 and wraps to texel 3.
  image_sample_stretch(src, 0, 0, 4, 1, 8, 1, 1, &out);
  EXPECT_EQ(out.pixels[0], 10);  // 3/4 of texel 0 and 1/4 of texel 3
  EXPECT_EQ(out.pixels[4], 25);
  // A part of the source: texels 1 and 2 stretched to four pixels.
  image_sample_stretch(src, 1, 0, 2, 1, 4, 1, 0, &out);
  EXPECT_EQ(out.pixels[0], 100);
  EXPECT_EQ(out.pixels[4], 100);
  EXPECT_EQ(out.pixels[8], 200);
  EXPECT_EQ(out.pixels[12], 200);
}

}  // namespace
