// The pointer file is an ordinary Windows cursor that matches the
// full-screen pointer picture, with its hotspot at the arrow's tip.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/system/file.h"
#include "tests/tools/contentgen/contentgen_test_util.h"

namespace {

unsigned u16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
  return u16(b, at) | (static_cast<uint32_t>(u16(b, at + 2)) << 16);
}

Picture pointer_picture() {
  int type = -1;
  return decode_or_fail(*find_generated("pointer.png"), &type);
}

TEST(Cursor, HeaderDescribesOne32BitCursorWithItsHotspotAtTheTip) {
  const Picture pointer = pointer_picture();
  ASSERT_EQ(pointer.width, 32);
  ASSERT_EQ(pointer.height, 32);
  const std::vector<uint8_t> cur = cursor_file(pointer, kPointerHotX, kPointerHotY);
  ASSERT_GE(cur.size(), 22u + 40u);
  EXPECT_EQ(u16(cur, 0), 0u);  // reserved
  EXPECT_EQ(u16(cur, 2), 2u);  // cursor, not icon
  EXPECT_EQ(u16(cur, 4), 1u);  // one image
  EXPECT_EQ(cur[6], 32);
  EXPECT_EQ(cur[7], 32);
  EXPECT_EQ(u16(cur, 10), static_cast<unsigned>(kPointerHotX));
  EXPECT_EQ(u16(cur, 12), static_cast<unsigned>(kPointerHotY));
  const uint32_t size = u32(cur, 14), offset = u32(cur, 18);
  EXPECT_EQ(offset, 22u);
  EXPECT_EQ(offset + size, cur.size());
  // Bitmap header: 32 wide, twice 32 high (colour and mask), 32 bits.
  EXPECT_EQ(u32(cur, 22), 40u);
  EXPECT_EQ(u32(cur, 26), 32u);
  EXPECT_EQ(u32(cur, 30), 64u);
  EXPECT_EQ(u16(cur, 34), 1u);
  EXPECT_EQ(u16(cur, 36), 32u);
  EXPECT_EQ(u32(cur, 38), 0u);
  EXPECT_EQ(size, 40u + 32 * 32 * 4 + 32 * 4);
  // The tip is drawn: the hotspot pixel is part of the arrow, and the
  // pointer picture (drawn with its top-left corner at the pointer) agrees.
  EXPECT_GT(pointer.at(kPointerHotX, kPointerHotY)[3], 0);
  EXPECT_EQ(pointer.at(31, 0)[3], 0);
}

TEST(Cursor, PixelsAndMaskMatchThePointerPicture) {
  const Picture pointer = pointer_picture();
  const std::vector<uint8_t> cur = cursor_file(pointer, kPointerHotX, kPointerHotY);
  ASSERT_EQ(cur.size(), 22u + 40 + 32 * 32 * 4 + 32 * 4);
  const size_t pixels = 22 + 40, mask = pixels + 32 * 32 * 4;
  int clear = 0;
  for (int y = 0; y < 32; ++y) {
    const int row = 31 - y;  // stored bottom-up
    for (int x = 0; x < 32; ++x) {
      const uint8_t* p = pointer.at(x, y);
      const uint8_t* c = &cur[pixels + (static_cast<size_t>(row) * 32 + x) * 4];
      ASSERT_EQ(c[0], p[2]) << x << "," << y;  // BGRA
      ASSERT_EQ(c[1], p[1]) << x << "," << y;
      ASSERT_EQ(c[2], p[0]) << x << "," << y;
      ASSERT_EQ(c[3], p[3]) << x << "," << y;
      const bool masked = (cur[mask + row * 4 + x / 8] >> (7 - x % 8)) & 1;
      EXPECT_EQ(masked, p[3] == 0) << x << "," << y;
      clear += masked;
    }
  }
  EXPECT_GT(clear, 100);
  EXPECT_LT(clear, 32 * 32 - 100);
}

TEST(Cursor, OddSizesPadMaskRowsAndBadHotspotsAreRefused) {
  Picture p;
  p.width = 20;
  p.height = 3;
  p.rgba.assign(20 * 3 * 4, 255);
  p.at(19, 2)[3] = 0;
  const std::vector<uint8_t> cur = cursor_file(p, 19, 2);
  // 20 pixels of mask take one padded 4-byte word per row.
  ASSERT_EQ(cur.size(), 22u + 40 + 20 * 3 * 4 + 3 * 4);
  EXPECT_EQ(u32(cur, 30), 6u);
  const size_t mask = 22 + 40 + 20 * 3 * 4;
  // Picture row 2 is the first stored row; pixel 19 is bit 4 of byte 2.
  EXPECT_EQ(cur[mask + 2], 0x10);
  EXPECT_EQ(cur[mask + 4 + 2], 0);
  EXPECT_TRUE(cursor_file(p, 20, 0).empty());
  EXPECT_TRUE(cursor_file(p, 0, 3).empty());
  EXPECT_TRUE(cursor_file(p, -1, 0).empty());
  Picture huge;
  huge.width = 257;
  huge.height = 1;
  huge.rgba.assign(257 * 4, 255);
  EXPECT_TRUE(cursor_file(huge, 0, 0).empty());
}

TEST(Cursor, TheBuiltPointerFileIsTheOneGeneratedHere) {
  const char* build = std::getenv("DUSK_BINARY_DIR");
  ASSERT_NE(build, nullptr);
  std::vector<uint8_t> built;
  if (!file_read_all(std::string(build) + "/bin/DuskmatchCursor.pack", &built)) {
    GTEST_SKIP() << "the packs have not been built in this build folder";
  }
  EXPECT_EQ(built, cursor_file(pointer_picture(), kPointerHotX, kPointerHotY));
}

}  // namespace
