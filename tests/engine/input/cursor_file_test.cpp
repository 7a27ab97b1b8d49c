// The cursor file reader on files built here byte by byte: every entry kind,
// hotspots, transparency, the choice among entries, and refusal of every
// malformed file. The writer is checked by reading back what it wrote.
#include "engine/input/cursor_file.h"

#include <gtest/gtest.h>

#include "tests/engine/input/cursor_test_files.h"

using namespace cursor_test;

namespace {

// One pixel as 0xRRGGBBAA.
uint32_t px(const CursorPicture& p, int x, int y) {
  const uint8_t* q = p.rgba.data() + (static_cast<size_t>(y) * p.width + x) * 4;
  return (uint32_t{q[0]} << 24) | (uint32_t{q[1]} << 16) | (uint32_t{q[2]} << 8) | q[3];
}

bool read(const Bytes& file, CursorPicture* pic) { return cursor_file_read(file.data(), file.size(), pic); }

bool no_mask(int, int) { return false; }

// A valid 32-bit 4 x 3 cursor used by the refusal tests.
Bytes valid_file() {
  return make_file({{4, 3, 1, 2,
                     make_dib(4, 3, 32, {}, [](int x, int y) { return 0xFF000000u | (x * 40 << 16) | (y * 60); },
                              no_mask)}});
}

}  // namespace

TEST(CursorRead, ThirtyTwoBitUsesAlphaAndHotspot) {
  // Rows are stored bottom-up: the top row of the picture comes last.
  auto colour = [](int x, int y) -> uint32_t {
    const uint32_t c[2][3] = {{0xFF112233, 0x80445566, 0x00778899}, {0xFFAABBCC, 0x01000000, 0xFFFFFFFF}};
    return c[y][x];  // stored A R G B from the top byte down, as 0xAARRGGBB
  };
  // The mask is set everywhere: with real alpha present it must be ignored.
  Bytes file = make_file({{3, 2, 2, 1, make_dib(3, 2, 32, {}, colour, [](int, int) { return true; })}});
  CursorPicture pic;
  ASSERT_TRUE(read(file, &pic));
  EXPECT_EQ(pic.width, 3);
  EXPECT_EQ(pic.height, 2);
  EXPECT_EQ(pic.hot_x, 2);
  EXPECT_EQ(pic.hot_y, 1);
  EXPECT_EQ(px(pic, 0, 0), 0x112233FFu);
  EXPECT_EQ(px(pic, 1, 0), 0x44556680u);
  EXPECT_EQ(px(pic, 2, 0), 0x77889900u);
  EXPECT_EQ(px(pic, 0, 1), 0xAABBCCFFu);
  EXPECT_EQ(px(pic, 1, 1), 0x00000001u);
  EXPECT_EQ(px(pic, 2, 1), 0xFFFFFFFFu);
}

TEST(CursorRead, ThirtyTwoBitWithoutAlphaFallsBackToMask) {
  auto colour = [](int x, int) -> uint32_t { return x == 0 ? 0x00000000 : 0x00102030; };
  Bytes file = make_file({{2, 1, 0, 0, make_dib(2, 1, 32, {}, colour, [](int x, int) { return x == 0; })}});
  CursorPicture pic;
  ASSERT_TRUE(read(file, &pic));
  EXPECT_EQ(px(pic, 0, 0), 0x00000000u);  // mask over black: see-through
  EXPECT_EQ(px(pic, 1, 0), 0x102030FFu);

  // Every alpha 0 and no mask in the entry: the mask is needed but missing.
  Bytes cut = make_file({{2, 1, 0, 0, make_dib(2, 1, 32, {}, colour, no_mask, false)}});
  EXPECT_FALSE(read(cut, &pic));
}

TEST(CursorRead, TwentyFourBitRowsArePaddedAndMasked) {
  // Width 3: 9 colour bytes padded to 12 per row; a 5-row mask of 4-byte rows.
  auto colour = [](int x, int y) -> uint32_t { return static_cast<uint32_t>((y * 3 + x) * 0x010203); };
  auto mask = [](int x, int y) { return x == 1 && y == 2; };
  Bytes file = make_file({{3, 5, 0, 0, make_dib(3, 5, 24, {}, colour, mask)}});
  CursorPicture pic;
  ASSERT_TRUE(read(file, &pic));
  ASSERT_EQ(pic.height, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 3; ++x) {
      uint32_t v = static_cast<uint32_t>((y * 3 + x) * 0x010203);  // stored blue, green, red
      uint32_t want = ((v & 0xFF) << 8) | (((v >> 8) & 0xFF) << 16) | (((v >> 16) & 0xFF) << 24) | 0xFF;
      if (x == 1 && y == 2) want = 0x000000FF;  // mask over colour: shown black, not inverted
      EXPECT_EQ(px(pic, x, y), want) << x << "," << y;
    }
}

TEST(CursorRead, PaletteDepthsPickColoursAndMaskTransparency) {
  const std::vector<uint32_t> pal = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF,
                                     0x123456, 0x654321, 0xABCDEF};
  // Picture: index (x + y) % palette size; mask set on the black pixels only.
  for (int bits : {1, 4, 8}) {
    SCOPED_TRACE(bits);
    int colours = bits == 1 ? 2 : 8;
    std::vector<uint32_t> palette(pal.begin(), pal.begin() + colours);
    const int w = 11, h = 3;  // 11 pixels: more than one byte per row at 1 bit
    auto colour = [&](int x, int y) { return static_cast<uint32_t>((x + y) % colours); };
    auto mask = [&](int x, int y) { return (x + y) % colours == 0; };
    Bytes file = make_file({{w, h, 5, 1, make_dib(w, h, bits, palette, colour, mask, true,
                                                  static_cast<uint32_t>(colours))}});
    CursorPicture pic;
    ASSERT_TRUE(read(file, &pic));
    EXPECT_EQ(pic.hot_x, 5);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint32_t c = palette[static_cast<size_t>((x + y) % colours)];
        uint32_t want = (x + y) % colours == 0 ? 0u : (c << 8) | 0xFF;
        EXPECT_EQ(px(pic, x, y), want) << x << "," << y;
      }
  }
}

TEST(CursorRead, PaletteIndexBeyondPaletteIsRefused) {
  // Four colours declared, pixel index 6 used.
  Bytes file = make_file({{2, 1, 0, 0, make_dib(2, 1, 4, {0, 1, 2, 3}, [](int x, int) { return x ? 6u : 1u; },
                                                no_mask, true, 4)}});
  CursorPicture pic;
  EXPECT_FALSE(read(file, &pic));
  // More colours declared than the depth allows.
  Bytes too_many = make_file({{2, 1, 0, 0, make_dib(2, 1, 1, {0, 1, 2}, [](int, int) { return 0u; }, no_mask,
                                                    true, 3)}});
  EXPECT_FALSE(read(too_many, &pic));
}

TEST(CursorRead, PngEntryDecodes) {
  Bytes rgba = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 40};
  Bytes file = make_file({{2, 2, 1, 0, make_png(2, 2, rgba)}});
  CursorPicture pic;
  ASSERT_TRUE(read(file, &pic));
  EXPECT_EQ(pic.width, 2);
  EXPECT_EQ(pic.hot_x, 1);
  EXPECT_EQ(pic.hot_y, 0);
  EXPECT_EQ(pic.rgba, rgba);

  // A PNG wider than a cursor can be, and a PNG cut short, are refused.
  Bytes big(300 * 1 * 4, 7);
  EXPECT_FALSE(read(make_file({{0, 1, 0, 0, make_png(300, 1, big)}}), &pic));
  Bytes png = make_png(2, 2, rgba);
  png.resize(png.size() - 20);
  EXPECT_FALSE(read(make_file({{2, 2, 0, 0, png}}), &pic));
}

TEST(CursorRead, ChoosesEntryNearestDefaultSizeThenDeepest) {
  auto fill = [](uint32_t c) { return [c](int, int) { return c; }; };
  Entry small{16, 16, 1, 1, make_dib(16, 16, 32, {}, fill(0xFF0000FF), no_mask)};
  Entry mono32{32, 32, 2, 2, make_dib(32, 32, 1, {0x000000, 0xFFFFFF}, fill(1), no_mask)};
  Entry colour32{32, 32, 3, 3, make_dib(32, 32, 32, {}, fill(0xFF00FF00), no_mask)};
  Entry large{64, 64, 4, 4, make_dib(64, 64, 32, {}, fill(0xFFFF0000), no_mask)};
  CursorPicture pic;
  ASSERT_TRUE(read(make_file({small, mono32, large, colour32}), &pic));
  EXPECT_EQ(pic.width, 32);
  EXPECT_EQ(pic.hot_x, 3);
  EXPECT_EQ(px(pic, 0, 0), 0x00FF00FFu);
  ASSERT_TRUE(read(make_file({large, small}), &pic));
  EXPECT_EQ(pic.width, 16);
}

TEST(CursorRead, HotspotOutsidePictureIsMovedInside) {
  Bytes file = make_file({{4, 4, 9, 200, make_dib(4, 4, 32, {}, [](int, int) { return 0xFF000000u; }, no_mask)}});
  CursorPicture pic;
  ASSERT_TRUE(read(file, &pic));
  EXPECT_EQ(pic.hot_x, 3);
  EXPECT_EQ(pic.hot_y, 3);
  // An icon file has no hotspot: its tip is the middle.
  Bytes icon = make_file({{4, 4, 1, 32, make_dib(4, 4, 32, {}, [](int, int) { return 0xFF000000u; }, no_mask)}}, 1);
  ASSERT_TRUE(read(icon, &pic));
  EXPECT_EQ(pic.hot_x, 2);
  EXPECT_EQ(pic.hot_y, 2);
}

TEST(CursorRead, EntryPointingOutsideFileIsRefused) {
  Bytes good = valid_file();
  CursorPicture pic;
  ASSERT_TRUE(read(good, &pic));
  pic.width = -5;  // marker: a refused read must leave the picture alone
  const uint32_t size = static_cast<uint32_t>(good.size());
  struct Case {
    uint32_t bytes, offset;
  } cases[] = {
      {16, size},                  // starts at the end of the file
      {16, size + 100},            // starts beyond it
      {size, 22},                  // runs past the end
      {0xFFFFFFF0u, 22},           // size that wraps around when added
      {16, 0xFFFFFFF8u},           // offset that wraps around
      {16, 4},                     // inside the directory itself
      {0, 22},                     // empty entry
  };
  for (const Case& c : cases) {
    Bytes bad = good;
    for (int k = 0; k < 4; ++k) {
      bad[14 + k] = static_cast<uint8_t>(c.bytes >> (8 * k));
      bad[18 + k] = static_cast<uint8_t>(c.offset >> (8 * k));
    }
    EXPECT_FALSE(read(bad, &pic)) << c.bytes << " at " << c.offset;
    EXPECT_EQ(pic.width, -5);
  }
  // A second entry out of the file spoils the file even if the first is fine.
  Bytes two = make_file({{4, 3, 0, 0, Bytes(good.begin() + 22, good.end())}, {4, 3, 0, 0, {1, 2, 3}}});
  ASSERT_TRUE(read(two, &pic));
  two[6 + 16 + 12] = 0xFF;  // second entry's offset far away
  EXPECT_FALSE(read(two, &pic));
  EXPECT_EQ(pic.width, 4);  // from the good read above, untouched since
}

TEST(CursorRead, EveryTruncationIsRefused) {
  for (const Bytes& full : {valid_file(), make_file({{2, 2, 0, 0, make_png(2, 2, Bytes(16, 200))}})}) {
    CursorPicture pic;
    ASSERT_TRUE(read(full, &pic));
    for (size_t n = 0; n < full.size(); ++n) {
      Bytes cut(full.begin(), full.begin() + static_cast<long>(n));
      EXPECT_FALSE(read(cut, &pic)) << "length " << n;
    }
  }
  // The directory is honest but the bitmap inside the entry is short.
  Bytes dib = make_dib(8, 8, 24, {}, [](int, int) { return 0x112233u; }, no_mask);
  dib.resize(dib.size() - 40);
  CursorPicture pic;
  EXPECT_FALSE(read(make_file({{8, 8, 0, 0, dib}}), &pic));
  EXPECT_FALSE(cursor_file_read(nullptr, 0, &pic));
}

TEST(CursorRead, MalformedHeadersAreRefused) {
  Bytes good = valid_file();
  CursorPicture pic;
  auto with = [&](size_t at, std::initializer_list<uint8_t> bytes) {
    Bytes b = good;
    size_t i = at;
    for (uint8_t v : bytes) b[i++] = v;
    return b;
  };
  const size_t dib = 22;  // where the bitmap header starts
  EXPECT_FALSE(read(with(0, {1}), &pic));               // reserved field not 0
  EXPECT_FALSE(read(with(2, {3}), &pic));               // neither cursor nor icon
  EXPECT_FALSE(read(with(4, {0, 0}), &pic));            // no entries
  EXPECT_FALSE(read(with(4, {200, 0}), &pic));          // more entries than the file holds
  EXPECT_FALSE(read(with(dib, {12, 0, 0, 0}), &pic));   // header too short
  EXPECT_FALSE(read(with(dib, {0xFF, 0xFF, 0, 0}), &pic));  // header longer than the entry
  EXPECT_FALSE(read(with(dib + 4, {0, 0, 0, 0}), &pic));    // width 0
  EXPECT_FALSE(read(with(dib + 4, {1, 1, 0, 0}), &pic));    // width 257
  EXPECT_FALSE(read(with(dib + 8, {1, 0, 0, 0}), &pic));    // height 0 after halving
  EXPECT_FALSE(read(with(dib + 8, {0xFA, 0xFF, 0xFF, 0xFF}), &pic));  // negative height
  EXPECT_FALSE(read(with(dib + 14, {16, 0}), &pic));        // 16-bit colour
  EXPECT_FALSE(read(with(dib + 16, {1, 0, 0, 0}), &pic));   // compressed rows
  EXPECT_TRUE(read(good, &pic));
}

TEST(CursorWrite, RoundTripsThroughTheReader) {
  const int w = 37, h = 5;  // a mask row wider than one 32-bit word
  Bytes rgba(static_cast<size_t>(w) * h * 4);
  for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<uint8_t>(i * 7 + 3);
  for (int x = 0; x < w; x += 3) rgba[static_cast<size_t>(2 * w + x) * 4 + 3] = 0;  // transparent
  Bytes file = cursor_file_write(rgba.data(), w, h, 36, 4);
  ASSERT_FALSE(file.empty());
  CursorPicture pic;
  ASSERT_TRUE(read(file, &pic));
  EXPECT_EQ(pic.width, w);
  EXPECT_EQ(pic.height, h);
  EXPECT_EQ(pic.hot_x, 36);
  EXPECT_EQ(pic.hot_y, 4);
  Bytes want = rgba;
  for (size_t i = 0; i < want.size(); i += 4)
    if (want[i + 3] == 0) want[i] = want[i + 1] = want[i + 2] = 0;
  EXPECT_EQ(pic.rgba, want);

  // The AND mask agrees with the alpha for readers that only know the mask:
  // blank every alpha and the reader must fall back to the same shape.
  const size_t colour_start = 22 + 40;
  for (size_t i = colour_start + 3; i < colour_start + rgba.size(); i += 4) file[i] = 0;
  ASSERT_TRUE(read(file, &pic));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      EXPECT_EQ(pic.rgba[static_cast<size_t>(y * w + x) * 4 + 3],
                rgba[static_cast<size_t>(y * w + x) * 4 + 3] == 0 ? 0 : 255);
}

TEST(CursorWrite, LargestSizeAndBadArguments) {
  Bytes rgba(256 * 256 * 4, 255);
  Bytes file = cursor_file_write(rgba.data(), 256, 256, 0, 255);
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(file[6], 0);  // 256 is written as 0 in the directory
  CursorPicture pic;
  ASSERT_TRUE(read(file, &pic));
  EXPECT_EQ(pic.width, 256);
  EXPECT_EQ(pic.hot_y, 255);
  EXPECT_TRUE(cursor_file_write(rgba.data(), 257, 1, 0, 0).empty());
  EXPECT_TRUE(cursor_file_write(rgba.data(), 0, 1, 0, 0).empty());
  EXPECT_TRUE(cursor_file_write(rgba.data(), 4, 4, 4, 0).empty());
  EXPECT_TRUE(cursor_file_write(rgba.data(), 4, 4, 0, -1).empty());
  EXPECT_TRUE(cursor_file_write(nullptr, 4, 4, 0, 0).empty());
}
