// A small screen in a window on SDL's dummy driver, and reading back what
// was drawn on it.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/image/image.h"
#include "engine/screen/screen.h"
#include "tests/support/screen_fixture.h"

class ScreenTest : public ::testing::Test {
 public:
  static constexpr int kW = 40;
  static constexpr int kH = 30;

  void SetUp() override { ASSERT_NO_FATAL_FAILURE(test_screen::StartScreen(0, kW, kH, "test", kWindowCentred)); }
  void TearDown() override { sprite_system_stop(); }

  // Every screen pixel as 0x00RRGGBB (the back buffer's alpha is not shown).
  std::vector<uint32_t> read_screen() { return test_screen::ReadPixels(); }
  uint32_t at(const std::vector<uint32_t>& px, int x, int y) { return test_screen::PixelAt(px, x, y); }

  // Covers the whole screen with one colour (0x00RRGGBB) through sprite 60.
  void fill_screen(uint32_t rgb) { test_screen::CoverScreen(60, bgr(rgb)); }

  // 0x00RRGGBB to the engine's 0x00BBGGRR colour values.
  static int bgr(uint32_t rgb) { return test_screen::Bgr(rgb); }

  // The 8-bit result of blending channel s over d at alpha a (0 to 255), as
  // the screen must give it: rounded to nearest.
  static int blend(int s, int d, int a) { return (s * a + d * (255 - a) + 127) / 255; }

  // An encoded PNG of w x h pixels given as 0xAARRGGBB, row by row.
  static std::vector<uint8_t> png_of(int w, int h, const std::vector<uint32_t>& argb, int depth = 32) {
    return test_screen::EncodePng(w, h, argb, depth);
  }

  // A sprite from pixels 0xAARRGGBB, made through the PNG decoder.
  static int sprite_of(int number, int w, int h, const std::vector<uint32_t>& argb, int flags) {
    auto png = png_of(w, h, argb);
    return sprite_from_memory(number, png.data(), png.size(), flags);
  }
};
