// Reading back what a text pass drew: which pixels carry ink, and where.
#pragma once

#include <algorithm>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "engine/image/image_buffer.h"
#include "engine/text/text.h"

namespace ink {

// The game's colours: the panel behind the menu texts and the text itself.
constexpr int kPanel = 241 + 172 * 256 + 71 * 65536;
constexpr uint32_t kText = 224u + 80u * 256u + 40u * 65536u + 255u * 16777216u;

// A pixel is inked when it differs from the image's background; for a
// transparent image that is any alpha at all.
inline bool inked(const ImageBuffer& img, int x, int y, int background) {
  const uint8_t* p = img.row(y) + x * 4;
  if (background == -1) return p[3] != 0;
  return p[2] != (background & 0xFF) || p[1] != ((background >> 8) & 0xFF) || p[0] != ((background >> 16) & 0xFF);
}

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
  int pixels = 0;
  bool empty() const { return pixels == 0; }
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
  double centre_x() const { return (left + right + 1) / 2.0; }
};

inline Box box(const ImageBuffer& img, int background, int y0 = 0, int y1 = -1) {
  Box b;
  if (y1 < 0) y1 = img.height - 1;
  for (int y = y0; y <= y1; ++y)
    for (int x = 0; x < img.width; ++x)
      if (inked(img, x, y, background)) {
        b.left = std::min(b.left, x);
        b.right = std::max(b.right, x);
        b.top = std::min(b.top, y);
        b.bottom = std::max(b.bottom, y);
        ++b.pixels;
      }
  return b;
}

// The lines of a paragraph: bands of inked rows with blank rows between.
inline std::vector<Box> lines(const ImageBuffer& img, int background) {
  std::vector<Box> out;
  int start = -1;
  for (int y = 0; y <= img.height; ++y) {
    bool any = false;
    for (int x = 0; y < img.height && x < img.width && !any; ++x) any = inked(img, x, y, background);
    if (any && start < 0) start = y;
    if (!any && start >= 0) {
      out.push_back(box(img, background, start, y - 1));
      start = -1;
    }
  }
  return out;
}

// Makes image 1 of width x height on a background, runs a pass on it with
// font `font` and colour `color`, calls draw, and returns the pixels.
inline ImageBuffer render(int width, int height, int background, int font, uint32_t color,
                          const std::function<void()>& draw) {
  image_free(1);
  if (!image_create(1, width, height, 32, background)) return ImageBuffer();
  if (!vector_start(image_vector_target(1, kVectorUnitPixel))) return ImageBuffer();
  vector_font(font_handle(font));
  vector_color(color);
  draw();
  vector_stop();
  ImageBuffer copy = *image_handle(1);
  image_free(1);
  return copy;
}

// Every test starts with the game's four fonts loaded and no images.
class GameFonts : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(font_load(0, "Arial Black", 40, kFontBold | kFontHighQuality), 0);
    ASSERT_NE(font_load(1, "Arial Black", 14, kFontHighQuality), 0);
    ASSERT_NE(font_load(2, "Arial Black", 11, kFontHighQuality), 0);
    ASSERT_NE(font_load(3, "Arial Black", 20, kFontHighQuality), 0);
  }
  void TearDown() override {
    text_reset();
    image_free(-1);
  }
};

}  // namespace ink
