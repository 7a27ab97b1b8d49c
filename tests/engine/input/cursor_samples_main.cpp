// The cursor reader on files written by other tools (see
// make_cursor_samples.sh, which makes them and runs this program).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/input/cursor_file.h"
#include "engine/system/file.h"

namespace {

CursorPicture load(const std::string& name) {
  const char* folder = std::getenv("DUSK_CURSOR_SAMPLES");
  std::vector<uint8_t> bytes;
  CursorPicture pic;
  EXPECT_TRUE(folder && file_read_all(std::string(folder) + "/" + name, &bytes)) << name;
  EXPECT_TRUE(cursor_file_read(bytes.data(), bytes.size(), &pic)) << name;
  return pic;
}

uint32_t px(const CursorPicture& p, int x, int y) {
  if (x >= p.width || y >= p.height) return 0xDEADBEEF;
  const uint8_t* q = p.rgba.data() + (static_cast<size_t>(y) * p.width + x) * 4;
  return (uint32_t{q[0]} << 24) | (uint32_t{q[1]} << 16) | (uint32_t{q[2]} << 8) | q[3];
}

TEST(CursorSamples, EveryDepthGivesPictureAndHotspot) {
  for (const char* name : {"colour32.cur", "colour24.cur", "colour8.cur", "colour4.cur", "colourpng.cur"}) {
    SCOPED_TRACE(name);
    CursorPicture pic = load(name);
    EXPECT_EQ(pic.width, 32);
    EXPECT_EQ(pic.height, 32);
    EXPECT_EQ(pic.hot_x, 7);
    EXPECT_EQ(pic.hot_y, 3);
    EXPECT_EQ(px(pic, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(px(pic, 15, 15), 0xFF0000FFu);
    EXPECT_EQ(px(pic, 16, 16), 0x0000FFFFu);
    EXPECT_EQ(px(pic, 31, 31), 0x0000FFFFu);
    EXPECT_EQ(px(pic, 31, 0) & 0xFF, 0u);  // transparent corners
    EXPECT_EQ(px(pic, 0, 31) & 0xFF, 0u);
  }
}

TEST(CursorSamples, MonochromeAndSizes) {
  CursorPicture mono = load("mono1.cur");
  EXPECT_EQ(mono.hot_x, 31);
  EXPECT_EQ(mono.hot_y, 0);
  EXPECT_EQ(px(mono, 3, 3), 0xFFFFFFFFu);
  EXPECT_EQ(px(mono, 20, 20), 0x000000FFu);
  EXPECT_EQ(px(mono, 20, 3) & 0xFF, 0u);

  CursorPicture small = load("small.cur");
  EXPECT_EQ(small.width, 16);
  EXPECT_EQ(small.hot_x, 1);
  CursorPicture sizes = load("sizes.cur");
  EXPECT_EQ(sizes.width, 32);
  EXPECT_EQ(sizes.hot_x, 7);
}

}  // namespace
