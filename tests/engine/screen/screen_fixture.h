// A small screen in a window on SDL's dummy driver, and reading back what
// was drawn on it.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/image/image.h"
#include "engine/screen/screen.h"

class ScreenTest : public ::testing::Test {
 public:
  static constexpr int kW = 40;
  static constexpr int kH = 30;

  void SetUp() override {
    ASSERT_NE(sprite_system_start(), 0) << SDL_GetError();
    ASSERT_NE(window_open(0, 0, 0, kW, kH, "test", kWindowCentred), 0) << SDL_GetError();
    ASSERT_NE(screen_open_in_window(0, 0, 0, kW, kH, 0, 0, 0, 0), 0) << SDL_GetError();
  }
  void TearDown() override { sprite_system_stop(); }

  // Every screen pixel as 0x00RRGGBB (the back buffer's alpha is not shown).
  std::vector<uint32_t> read_screen() {
    std::vector<uint32_t> px(static_cast<size_t>(screen_width()) * screen_height());
    SDL_Renderer* r = SDL_GetRenderer(SDL_GetWindowFromID(screen_system_window_id()));
    SDL_Rect all{0, 0, screen_width(), screen_height()};
    EXPECT_EQ(SDL_RenderReadPixels(r, &all, SDL_PIXELFORMAT_ARGB8888, px.data(), screen_width() * 4), 0);
    for (auto& p : px) p &= 0xFFFFFF;
    return px;
  }
  uint32_t at(const std::vector<uint32_t>& px, int x, int y) { return px[static_cast<size_t>(y) * screen_width() + x]; }

  // Covers the whole screen with one colour (0x00RRGGBB) through sprite 60.
  void fill_screen(uint32_t rgb) {
    ASSERT_NE(sprite_create(60, screen_width(), screen_height(), kSpriteKeepAlpha), 0);
    ASSERT_NE(draw_start(sprite_draw_target(60)), 0);
    draw_box(0, 0, screen_width(), screen_height(), bgr(rgb));
    draw_stop();
    sprite_draw(60, 0, 0);
  }

  // 0x00RRGGBB to the engine's 0x00BBGGRR colour values.
  static int bgr(uint32_t rgb) {
    return static_cast<int>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
  }

  // An encoded PNG of w x h pixels given as 0xAARRGGBB, row by row.
  static std::vector<uint8_t> png_of(int w, int h, const std::vector<uint32_t>& argb, int depth = 32) {
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

  // A sprite from pixels 0xAARRGGBB, made through the PNG decoder.
  static int sprite_of(int number, int w, int h, const std::vector<uint32_t>& argb, int flags) {
    auto png = png_of(w, h, argb);
    return sprite_from_memory(number, png.data(), png.size(), flags);
  }
};
