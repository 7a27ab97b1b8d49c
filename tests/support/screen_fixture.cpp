// The shared screen set-up and read-back of the drawing tests.
#include "tests/support/screen_fixture.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

#include "engine/screen/screen.h"
#include "engine/system/file.h"
#include "tests/support/screen_probe.h"

namespace test_screen {

void StartSprites() { ASSERT_NE(sprite_system_start(), 0) << SDL_GetError(); }

void OpenScreenInWindow(int window, int w, int h, const std::string& title, int flags) {
  ASSERT_NE(window_open(window, 0, 0, w, h, title, flags), 0) << SDL_GetError();
  ASSERT_NE(screen_open_in_window(window, 0, 0, w, h, 0, 0, 0, 0), 0) << SDL_GetError();
}

void StartScreen(int window, int w, int h, const std::string& title, int flags) {
  ASSERT_NO_FATAL_FAILURE(StartSprites());
  OpenScreenInWindow(window, w, h, title, flags);
}

std::vector<uint32_t> ReadPixels() {
  std::vector<uint32_t> px(static_cast<size_t>(screen_width()) * screen_height());
  EXPECT_NE(screen_read_pixels(0, 0, screen_width(), screen_height(), px.data()), 0);
  for (auto& p : px) p &= 0xFFFFFF;
  return px;
}

uint32_t PixelAt(const std::vector<uint32_t>& pixels, int x, int y) {
  return pixels[static_cast<size_t>(y) * screen_width() + x];
}

void CoverScreen(int sprite, int bgr) {
  ASSERT_NE(sprite_create(sprite, screen_width(), screen_height(), kSpriteKeepAlpha), 0);
  ASSERT_NE(draw_start(sprite_draw_target(sprite)), 0);
  draw_box(0, 0, screen_width(), screen_height(), bgr);
  draw_stop();
  sprite_draw(sprite, 0, 0);
}

int Bgr(uint32_t rgb) {
  return static_cast<int>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

ImageBuffer GrabScreen(int sprite, int x, int y, int w, int h, const std::string& path) {
  EXPECT_NE(sprite_grab_screen(sprite, x, y, w, h), 0);
  EXPECT_NE(sprite_save(sprite, path, kImageFormatPNG), 0);
  sprite_free(sprite);
  ImageBuffer out = DecodePicture(path);
  EXPECT_GT(out.width, 0) << "the grab saved at " << path << " does not decode";
  return out;
}

ImageBuffer DecodePicture(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!file_read_all(path, &bytes)) return ImageBuffer();
  std::unique_ptr<ImageBuffer> image = image_decode(bytes.data(), bytes.size());
  return image ? *image : ImageBuffer();
}

uint32_t ImagePixel(const ImageBuffer& image, int x, int y) {
  const uint8_t* p = image.row(y) + static_cast<size_t>(x) * 4;
  return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
}

std::vector<uint8_t> EncodePng(int w, int h, const std::vector<uint32_t>& argb, int depth) {
  ImageBuffer img;
  img.width = w;
  img.height = h;
  img.depth = depth;
  img.pixels.resize(argb.size() * 4);
  std::memcpy(img.pixels.data(), argb.data(), img.pixels.size());
  std::vector<uint8_t> out;
  EXPECT_TRUE(image_encode(img, kImageFormatPNG, &out));
  return out;
}

std::vector<std::string> CrLfLines(const std::string& path) {
  std::vector<uint8_t> data;
  std::vector<std::string> lines;
  if (!file_read_all(path, &data)) return lines;
  std::string text(data.begin(), data.end());
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

}  // namespace test_screen
