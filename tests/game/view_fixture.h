// Shared ground of the game-screen tests: a screen on SDL's dummy driver,
// pictures made on the spot, and reading back the screen pixels. The data
// pack tests of tests/app build on it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/image/image.h"
#include "engine/pack/pack.h"
#include "engine/screen/screen.h"
#include "engine/sound/sound.h"
#include "engine/system/file.h"
#include "game/board.h"
#include "game/geometry.h"
#include "tests/support/screen_fixture.h"

namespace view {

// A PNG whose pixel (x, y) is argb(x, y), given as 0xAARRGGBB.
inline std::vector<uint8_t> Png(int w, int h, const std::function<uint32_t(int, int)>& argb) {
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * w + x] = argb(x, y);
  return test_screen::EncodePng(w, h, pixels);
}

inline std::vector<uint8_t> SolidPng(int w, int h, uint32_t argb) {
  return Png(w, h, [argb](int, int) { return argb; });
}

// 0x00RRGGBB channels.
inline int Red(uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
inline int Green(uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
inline int Blue(uint32_t p) { return static_cast<int>(p & 0xFF); }

// Engine and game state fresh for each test; the scratch folder lies in the
// test's working folder (a death test's child removes the process's private
// temporary folder when it ends).
class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetBoard();
    dir_ = std::filesystem::current_path().string() + "/view-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    folder_remove_all(dir_);
    ASSERT_TRUE(folder_make(dir_));
    pack_register_formats();
    ASSERT_NO_FATAL_FAILURE(test_screen::StartSprites());
  }
  void TearDown() override {
    image_free(-1);
    pack_close(-1);
    sound_system_stop();
    sprite_system_stop();
    folder_remove_all(dir_);
  }

  // A screen of w x h with the board laid out for it. It lives in a window:
  // the dummy driver cuts a full screen to its 1024x768 display.
  void OpenScreen(int w, int h) {
    ScreenWidth = w;
    ScreenHeight = h;
    ASSERT_NO_FATAL_FAILURE(test_screen::OpenScreenInWindow(0, w, h, "view", 0));
    ComputeBoardGeometry(w, h);
    LayoutBoard();
  }

  // Every screen pixel as 0x00RRGGBB.
  std::vector<uint32_t> ReadScreen() { return px_ = test_screen::ReadPixels(); }
  uint32_t At(int x, int y) const { return test_screen::PixelAt(px_, x, y); }

  std::string dir_;
  std::vector<uint32_t> px_;
};

}  // namespace view
