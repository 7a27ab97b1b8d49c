// Shared ground of the game-screen tests: a screen on SDL's dummy driver,
// pictures and data packs made on the spot, and reading back the screen
// pixels and the log.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/display.h"
#include "app/folders.h"
#include "app/log.h"
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

// A short silent 16-bit mono WAV: the sound service takes it like music.
inline std::vector<uint8_t> ShortWav() {
  const uint8_t header[44] = {'R', 'I', 'F', 'F', 36 + 64, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                              1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0, 'd', 'a', 't', 'a', 64, 0, 0, 0};
  std::vector<uint8_t> wav(header, header + 44);
  wav.resize(44 + 64, 0);
  return wav;
}

struct Entry {
  std::string name;
  std::vector<uint8_t> bytes;
};

// Colours of the test pack's pictures, so a drawn pixel tells which one it is.
inline uint32_t BackgroundColour(int n) { return 0xFF000000u | (static_cast<uint32_t>(40 * n) << 8) | 0x20u; }
inline uint32_t BackColour(int set) { return 0xFF000000u | (static_cast<uint32_t>(100 * set) << 16); }
inline uint32_t FaceColour(int set, int card) {
  return 0xFF000000u | (static_cast<uint32_t>(200 + set) << 16) | (static_cast<uint32_t>(card * 10) << 8) | 0x80u;
}

// Every entry of a complete data pack, in the game's load order, with the
// names written out here from the naming rules (not asked of the loader).
inline std::vector<Entry> FullPack() {
  std::vector<Entry> e;
  for (int n = 1; n <= 4; ++n) e.push_back({"background " + std::to_string(n) + ".png", SolidPng(64, 36, BackgroundColour(n))});
  for (int set = 1; set <= 2; ++set) e.push_back({std::to_string(set) + "-back.png", SolidPng(8, 8, BackColour(set))});
  for (int set = 1; set <= 2; ++set) {
    for (int card = 1; card <= 24; ++card) {
      char name[32];
      std::snprintf(name, sizeof name, "%d-card%02d.png", set, card);
      e.push_back({name, SolidPng(6, 6, FaceColour(set, card))});
    }
  }
  for (const char* name : {"shadow.png", "menu.png", "menushadow.png", "well done shadow.png", "well done.png",
                           "gradient.png", "pointer.png", "left.png", "left off.png", "right.png",
                           "right off.png", "box.png", "boxx.png"}) {
    e.push_back({name, SolidPng(4, 4, 0xFF102030u)});
  }
  e.push_back({"title.png", SolidPng(32, 18, 0xFF405060u)});
  e.push_back({"ogs.png", SolidPng(32, 18, 0xFF605040u)});
  e.push_back({"music.ogg", ShortWav()});
  return e;
}

inline Entry* Find(std::vector<Entry>& entries, const std::string& name) {
  for (auto& e : entries) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

inline void WritePack(const std::string& path, const std::vector<Entry>& entries) {
  int pack = pack_create(-1, path, kPackFormatData);
  ASSERT_NE(pack, 0);
  for (const auto& e : entries) ASSERT_TRUE(pack_add_memory(pack, e.name, e.bytes.data(), e.bytes.size())) << e.name;
  ASSERT_TRUE(pack_finish(pack));
}

// The lines of a CR LF text file.
inline std::vector<std::string> Lines(const std::string& path) { return test_screen::CrLfLines(path); }

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
    ResetLog();
    ResetFolders();
    dir_ = std::filesystem::current_path().string() + "/view-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    folder_remove_all(dir_);
    ASSERT_TRUE(folder_make(dir_));
    GameDir = dir_;
    pack_register_formats();
    ASSERT_NO_FATAL_FAILURE(test_screen::StartSprites());
  }
  void TearDown() override {
    ResetLog();
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

  std::string LogPath() const { return dir_ + "test.log"; }
  void StartLog() {
    ASSERT_EQ(OpenLog(LogPath(), "Duskmatch"), 1);
    EnableLog();
  }
  // The log's lines after its header.
  std::vector<std::string> LogBody() {
    auto lines = Lines(LogPath());
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
  }

  // Every screen pixel as 0x00RRGGBB.
  std::vector<uint32_t> ReadScreen() { return px_ = test_screen::ReadPixels(); }
  uint32_t At(int x, int y) const { return test_screen::PixelAt(px_, x, y); }

  std::string dir_;
  std::vector<uint32_t> px_;
};

}  // namespace view
