// The drawing rules read back from the screen: culling, clipping, zoom,
// opaque and blended draws, intensity, transparency and the creation flags.
#include "engine/system/objects.h"
#include "tests/engine/screen/screen_fixture.h"
#include "tests/support/screen_probe.h"

namespace {

constexpr uint32_t kGrey = 0x404040;

// A 4x2 sprite whose columns are told apart by their red value.
int columns_sprite(int number) {
  std::vector<uint32_t> px;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) px.push_back(0xFF000000u | static_cast<uint32_t>(0x10 * (x + 1)) << 16 | 0xFF);
  return ScreenTest::sprite_of(number, 4, 2, px, kSpriteKeepAlpha);
}

uint32_t column_colour(int x) { return static_cast<uint32_t>(0x10 * (x + 1)) << 16 | 0xFF; }

using SpriteDraw = ScreenTest;

TEST_F(SpriteDraw, CullingAtEachEdgeKeepsTheLastVisibleLine) {
  ASSERT_NE(columns_sprite(1), 0);
  fill_screen(kGrey);
  sprite_draw(1, kW - 1, 5);   // one column shows: the sprite's first
  sprite_draw(1, -3, 10);      // one column shows: the sprite's last
  sprite_draw(1, kW, 15);      // nothing
  sprite_draw(1, -4, 20);      // nothing
  sprite_draw(1, 10, kH - 1);  // one row shows
  sprite_draw(1, 20, -2);      // nothing (displayed height 2)
  auto px = read_screen();
  EXPECT_EQ(at(px, kW - 1, 5), column_colour(0));
  EXPECT_EQ(at(px, kW - 2, 5), kGrey);
  EXPECT_EQ(at(px, 0, 10), column_colour(3));
  EXPECT_EQ(at(px, 1, 10), kGrey);
  for (int y : {15, 16, 20, 21})
    for (int x = 0; x < kW; ++x) ASSERT_EQ(at(px, x, y), kGrey) << x << "," << y;
  EXPECT_EQ(at(px, 10, kH - 1), column_colour(0));
  EXPECT_EQ(at(px, 13, kH - 1), column_colour(3));
  EXPECT_EQ(at(px, 20, 0), kGrey);
  // The covered rectangle is exactly x .. x + width - 1, y .. y + height - 1.
  fill_screen(kGrey);
  sprite_draw(1, 7, 3);
  px = read_screen();
  int covered = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) covered += at(px, x, y) != kGrey;
  EXPECT_EQ(covered, 8);
  EXPECT_EQ(at(px, 7, 3), column_colour(0));
  EXPECT_EQ(at(px, 10, 4), column_colour(3));
}

TEST_F(SpriteDraw, ClipClampsToTheSpriteAndZoomKeepsTheClip) {
  ASSERT_NE(sprite_create(2, 500, 3, 0), 0);
  sprite_clip(2, 0, 0, 600, -1);
  EXPECT_EQ(sprite_width(2), 500);
  EXPECT_EQ(sprite_height(2), 3);
  sprite_clip(2, -10, 2, 50, 50);
  EXPECT_EQ(sprite_width(2), 50);
  EXPECT_EQ(sprite_height(2), 1);
  sprite_clip(2, 600, 0, -1, -1);
  EXPECT_EQ(sprite_width(2), 0);
  EXPECT_EQ(sprite_width(77), 0);

  ASSERT_NE(columns_sprite(1), 0);
  sprite_clip(1, 2, 1, -1, 5);  // columns 2 and 3 of the second row
  EXPECT_EQ(sprite_width(1), 2);
  EXPECT_EQ(sprite_height(1), 1);
  sprite_filtering_set(0);
  sprite_zoom(1, 4, 2);  // each texel now covers 2 x 2 pixels
  EXPECT_EQ(sprite_width(1), 4);
  fill_screen(kGrey);
  sprite_draw(1, 0, 0);
  auto px = read_screen();
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(at(px, 0, y), column_colour(2));
    EXPECT_EQ(at(px, 1, y), column_colour(2));
    EXPECT_EQ(at(px, 2, y), column_colour(3));
    EXPECT_EQ(at(px, 3, y), column_colour(3));
  }
  EXPECT_EQ(at(px, 4, 0), kGrey);
  EXPECT_EQ(at(px, 0, 2), kGrey);
  sprite_zoom(1, -1, -1);  // back to the full size, clip kept
  EXPECT_EQ(sprite_width(1), 4);
  EXPECT_EQ(sprite_height(1), 2);
  sprite_clip(1, 0, 0, -1, -1);  // a clip replaces the zoom
  EXPECT_EQ(sprite_width(1), 4);
}

TEST_F(SpriteDraw, BilinearFilteringBlendsNeighboursWhenZoomed) {
  ASSERT_NE(sprite_of(1, 2, 1, {0xFF000000u, 0xFFFFFFFFu}, kSpriteKeepAlpha), 0);
  sprite_zoom(1, 8, 1);
  sprite_filtering_set(0);
  fill_screen(kGrey);
  sprite_draw(1, 0, 0);
  auto nearest = read_screen();
  sprite_filtering_set(1);
  sprite_draw(1, 0, 0);
  auto smooth = read_screen();
  int grey_between = 0;
  for (int x = 0; x < 8; ++x) {
    EXPECT_TRUE(at(nearest, x, 0) == 0 || at(nearest, x, 0) == 0xFFFFFF) << x;
    uint32_t v = at(smooth, x, 0) & 0xFF;
    grey_between += v > 0x20 && v < 0xE0;
  }
  EXPECT_GE(grey_between, 2);
}

TEST_F(SpriteDraw, OpaqueDrawIgnoresAlphaBlendedDrawHonoursIt) {
  // Colour drawn into a fresh sprite leaves its alpha at 0.
  ASSERT_NE(sprite_create(3, 5, 5, 0), 0);
  ASSERT_NE(draw_start(sprite_draw_target(3)), 0);
  draw_box(0, 0, 5, 5, bgr(0x00FF00));
  draw_stop();
  fill_screen(kGrey);
  sprite_draw_blended(3, 0, 0, 255);
  sprite_draw(3, 10, 0);
  auto px = read_screen();
  EXPECT_EQ(at(px, 2, 2), kGrey);
  EXPECT_EQ(at(px, 10, 0), 0x00FF00u);
  EXPECT_EQ(at(px, 14, 4), 0x00FF00u);
}

TEST_F(SpriteDraw, IntensityScalesTheTexelAlpha) {
  // Opaque white, and white at alpha 128, over black.
  ASSERT_NE(sprite_of(1, 2, 1, {0xFFFFFFFFu, 0x80FFFFFFu}, kSpriteKeepAlpha), 0);
  fill_screen(0);
  sprite_draw_blended(1, 0, 0, 0);
  sprite_draw_blended(1, 0, 1, 255);
  sprite_draw_blended(1, 0, 2, 128);
  auto px = read_screen();
  EXPECT_EQ(at(px, 0, 0), 0u);
  EXPECT_EQ(at(px, 1, 0), 0u);
  EXPECT_EQ(at(px, 0, 1), 0xFFFFFFu);
  // Rounded to nearest: 255 * 128 / 255, and alpha 128 * 128 / 255 = 64.
  EXPECT_EQ(at(px, 1, 1), 0x808080u);
  EXPECT_EQ(at(px, 0, 2), 0x808080u);
  EXPECT_EQ(at(px, 1, 2), 0x404040u);
  // Out-of-range intensities are held to 0 .. 255.
  sprite_draw_blended(1, 5, 0, -40);
  sprite_draw_blended(1, 5, 1, 999);
  px = read_screen();
  EXPECT_EQ(at(px, 5, 0), 0u);
  EXPECT_EQ(at(px, 5, 1), 0xFFFFFFu);
}

TEST_F(SpriteDraw, TransparentColourAtCreationAndReapplied) {
  // Without flag 8 the default colour (black) replaces the picture's alpha.
  std::vector<uint32_t> px4 = {0x00FF0000u, 0xFF000000u, 0x000000FFu, 0x80FFFFFFu};
  ASSERT_NE(sprite_of(1, 4, 1, px4, 0), 0);
  ASSERT_NE(sprite_of(2, 4, 1, px4, kSpriteKeepAlpha), 0);
  sprite_transparent_color(-1, bgr(0xFF0000));  // only sprites made later
  ASSERT_NE(sprite_of(3, 4, 1, px4, 0), 0);
  fill_screen(kGrey);
  sprite_draw_blended(1, 0, 0, 255);
  sprite_draw_blended(2, 0, 1, 255);
  sprite_draw_blended(3, 0, 2, 255);
  auto px = read_screen();
  EXPECT_EQ(at(px, 0, 0), 0xFF0000u);   // alpha 0 in the picture, but not black
  EXPECT_EQ(at(px, 1, 0), kGrey);       // black: transparent
  EXPECT_EQ(at(px, 2, 0), 0x0000FFu);
  EXPECT_EQ(at(px, 3, 0), 0xFFFFFFu);
  EXPECT_EQ(at(px, 0, 1), kGrey);       // flag 8 keeps the picture's alpha
  EXPECT_EQ(at(px, 1, 1), 0u);
  EXPECT_EQ(at(px, 0, 2), kGrey);       // red is now the default
  EXPECT_EQ(at(px, 1, 2), 0u);

  // The dimming sprite: black with flag 8, given white, becomes opaque black.
  ASSERT_NE(sprite_create(4, kW, kH, kSpriteKeepAlpha), 0);
  ASSERT_NE(draw_start(sprite_draw_target(4)), 0);
  draw_box(0, 0, kW, kH, 0);
  draw_stop();
  fill_screen(0xFFFFFF);
  sprite_draw_blended(4, 0, 0, 255);
  EXPECT_EQ(at(read_screen(), 20, 20), 0xFFFFFFu);  // alpha 0 as made: invisible
  sprite_transparent_color(4, 0xFFFFFF);
  fill_screen(0xFFFFFF);
  sprite_draw_blended(4, 0, 0, 255);
  px = read_screen();
  EXPECT_EQ(at(px, 0, 0), 0u);
  EXPECT_EQ(at(px, kW - 1, kH - 1), 0u);
}

TEST_F(SpriteDraw, DrawImageWritesColourOnlyAndClips) {
  int img = image_create(-1, 3, 3, 32, bgr(0x123456));
  ASSERT_NE(img, 0);
  ASSERT_NE(sprite_create(5, 4, 4, kSpriteKeepAlpha), 0);
  ASSERT_NE(draw_start(sprite_draw_target(5)), 0);
  draw_image(image_handle(img), -2, 1);  // lands in column 0, rows 1 to 3
  draw_stop();
  fill_screen(kGrey);
  sprite_draw_blended(5, 0, 0, 255);  // alpha still 0: invisible
  sprite_draw(5, 10, 0);
  auto px = read_screen();
  EXPECT_EQ(at(px, 0, 1), kGrey);
  EXPECT_EQ(at(px, 10, 0), 0u);
  EXPECT_EQ(at(px, 10, 1), 0x123456u);
  EXPECT_EQ(at(px, 10, 3), 0x123456u);
  EXPECT_EQ(at(px, 11, 1), 0u);
  // Drawing into an image target works the same way; a gone target refuses.
  int canvas = image_create(-1, 2, 2, 32, -1);
  ASSERT_NE(draw_start(image_draw_target(canvas)), 0);
  draw_box(1, 1, 5, 5, bgr(0xFF0000));
  draw_stop();
  uint32_t v;
  std::memcpy(&v, image_handle(canvas)->row(1) + 4, 4);
  EXPECT_EQ(v, 0x00FF0000u);
  image_free(-1);
  EXPECT_EQ(draw_start(image_draw_target(canvas)), 0);
  EXPECT_EQ(draw_start(sprite_draw_target(99)), 0);
}

TEST_F(SpriteDraw, SpriteFromImageHoldsWhatCreatingAndDrawingInWould) {
  // Colours of every kind: black, the other transparent colour tried, and
  // the image's own alpha at 0, half and full (which neither way keeps).
  const uint32_t colours[] = {0x000000u, 0x123456u, 0xFFFFFFu, 0x80FF40u, 0x010101u, 0x563412u};
  const uint8_t alphas[] = {0, 0x80, 255};
  for (int key : {0, bgr(0x123456)}) {
    sprite_transparent_color(-1, key);
    for (int flags : {0, kSpriteKeepAlpha, kSpriteMask}) {
      SCOPED_TRACE(testing::Message() << "key " << key << " flags " << flags);
      auto make_image = [&] {
        int img = image_create(-1, 6, 3, 32, -1);
        ImageBuffer* b = image_handle(img);
        for (int y = 0; y < 3; ++y)
          for (int x = 0; x < 6; ++x) {
            const uint32_t c = colours[x];
            uint8_t* p = b->row(y) + x * 4;
            p[0] = static_cast<uint8_t>(c);  // blue
            p[1] = static_cast<uint8_t>(c >> 8);
            p[2] = static_cast<uint8_t>(c >> 16);
            p[3] = alphas[y];
          }
        return img;
      };
      int drawn_from = make_image();
      ASSERT_NE(sprite_create(5, 6, 3, flags), 0);
      ASSERT_NE(draw_start(sprite_draw_target(5)), 0);
      draw_image(image_handle(drawn_from), 0, 0);
      draw_stop();
      int taken = make_image();
      ASSERT_NE(sprite_from_image(6, taken, flags), 0);
      EXPECT_FALSE(image_exists(taken));
      ASSERT_EQ(sprite_width(6), 6);
      ASSERT_EQ(sprite_height(6), 3);
      // Colour drawn opaque, alpha blended over grey, and the mask.
      fill_screen(kGrey);
      sprite_draw(5, 0, 0);
      sprite_draw(6, 0, 4);
      sprite_draw_blended(5, 10, 0, 255);
      sprite_draw_blended(6, 10, 4, 255);
      auto px = read_screen();
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) {
          ASSERT_EQ(at(px, x, 4 + y), at(px, x, y)) << x << "," << y;
          ASSERT_EQ(at(px, 10 + x, 4 + y), at(px, 10 + x, y)) << x << "," << y;
          ASSERT_EQ(sprite_opaque_at(6, x, y), sprite_opaque_at(5, x, y)) << x << "," << y;
        }
      image_free(drawn_from);
    }
  }
  sprite_transparent_color(-1, 0);
  // Number -1 gives a handle, number 0 still reports success; a missing
  // image makes nothing, and without a screen the image is freed all the
  // same.
  int h = sprite_from_image(-1, image_create(-1, 2, 2, 32, 0), 0);
  EXPECT_GE(h, kObjectHandleBase);
  EXPECT_EQ(sprite_width(h), 2);
  EXPECT_NE(sprite_from_image(0, image_create(-1, 1, 1, 32, 0), 0), 0);
  EXPECT_EQ(sprite_from_image(7, 12345, 0), 0);
  EXPECT_FALSE(sprite_exists(7));
  int img = image_create(-1, 2, 2, 32, 0);
  screen_close();
  EXPECT_EQ(sprite_from_image(7, img, 0), 0);
  EXPECT_FALSE(image_exists(img));
}

TEST_F(SpriteDraw, MaskFlagTracksOpaquePixels) {
  ASSERT_NE(sprite_of(6, 2, 1, {0xFF112233u, 0xFE112233u}, kSpriteMask | kSpriteKeepAlpha), 0);
  EXPECT_EQ(sprite_opaque_at(6, 0, 0), 1);
  EXPECT_EQ(sprite_opaque_at(6, 1, 0), 0);
  EXPECT_EQ(sprite_opaque_at(6, 2, 0), -1);
  sprite_transparent_color(6, bgr(0x112233));  // both pixels now transparent
  EXPECT_EQ(sprite_opaque_at(6, 0, 0), 0);
  ASSERT_NE(sprite_of(7, 2, 1, {0xFF112233u, 0xFE112233u}, kSpriteKeepAlpha), 0);
  EXPECT_EQ(sprite_opaque_at(7, 0, 0), -1);
}

}  // namespace

namespace {

using SpriteFastPaths = ScreenTest;

// A picture like a card: opaque middle, transparent corners and a
// half-transparent rim, so that both blending and copying take part.
std::vector<uint32_t> card_like(int w, int h) {
  std::vector<uint32_t> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int edge = std::min(std::min(x, y), std::min(w - 1 - x, h - 1 - y));
      bool corner = (x < 2 || x >= w - 2) && (y < 2 || y >= h - 2);
      uint32_t a = corner ? 0 : edge == 0 ? 0x60 : 255;
      px.push_back(a << 24 | static_cast<uint32_t>(x * 20) << 16 | static_cast<uint32_t>(y * 20) << 8 | 0x80);
    }
  return px;
}

TEST_F(SpriteFastPaths, PartlyOpaquePicturesBlendPixelForPixel) {
  const int w = 12, h = 10;
  auto pic = card_like(w, h);
  ASSERT_NE(sprite_of(1, w, h, pic, kSpriteKeepAlpha), 0);
  // Whole, against the left edge, and clipped to a part off the middle.
  for (int pass = 0; pass < 3; ++pass) {
    fill_screen(kGrey);
    int x0 = pass == 1 ? -5 : 3, y0 = 4;
    SDL_Rect part{0, 0, w, h};
    if (pass == 2) part = SDL_Rect{1, 3, 9, 6};
    sprite_clip(1, part.x, part.y, part.w, part.h);
    sprite_draw_blended(1, x0, y0, 255);
    auto px = read_screen();
    for (int y = 0; y < part.h; ++y)
      for (int x = 0; x < part.w; ++x) {
        if (x0 + x < 0) continue;
        uint32_t s = pic[static_cast<size_t>(part.y + y) * w + part.x + x];
        int a = static_cast<int>(s >> 24);
        uint32_t got = at(px, x0 + x, y0 + y);
        for (int shift : {0, 8, 16}) {
          int want = blend(static_cast<int>((s >> shift) & 0xFF), (kGrey >> shift) & 0xFF, a);
          ASSERT_EQ(static_cast<int>((got >> shift) & 0xFF), want)
              << "pass " << pass << " at " << x << "," << y;
        }
      }
    EXPECT_EQ(at(px, x0 + part.w, y0), kGrey);
    EXPECT_EQ(at(px, 3, y0 + part.h), kGrey);
  }
}

TEST_F(SpriteFastPaths, OpaquePicturesBlendAtAnyIntensity) {
  std::vector<uint32_t> pic(6 * 4, 0xFFC86432u);
  pic[5] = 0xFF000000u;  // not all one colour
  ASSERT_NE(sprite_of(1, 6, 4, pic, 0), 0);
  for (int intensity : {255, 128, 37}) {
    fill_screen(0x102030);
    sprite_draw_blended(1, 1, 1, intensity);
    auto px = read_screen();
    uint32_t got = at(px, 2, 2);
    EXPECT_EQ(static_cast<int>(got >> 16), blend(0xC8, 0x10, intensity)) << intensity;
    EXPECT_EQ(static_cast<int>((got >> 8) & 0xFF), blend(0x64, 0x20, intensity)) << intensity;
    EXPECT_EQ(static_cast<int>(got & 0xFF), blend(0x32, 0x30, intensity)) << intensity;
    EXPECT_EQ(at(px, 0, 0), 0x102030u);
  }
  // Drawing a transparent hole into it takes the blending path from then on.
  sprite_transparent_color(1, 0);
  fill_screen(0x102030);
  sprite_draw_blended(1, 1, 1, 255);
  auto px = read_screen();
  EXPECT_EQ(at(px, 6, 1), 0x102030u);
  EXPECT_EQ(at(px, 5, 1), 0xC86432u);
}

TEST_F(SpriteFastPaths, ZoomedSpritesFollowChangesToTheirPixelsClipAndFilter) {
  ASSERT_NE(sprite_of(1, 2, 2, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu}, kSpriteKeepAlpha), 0);
  sprite_filtering_set(0);
  sprite_zoom(1, 6, 6);
  fill_screen(kGrey);
  sprite_draw(1, 0, 0);
  auto px = read_screen();
  EXPECT_EQ(at(px, 2, 2), 0xFF0000u);
  EXPECT_EQ(at(px, 3, 5), 0xFFFFFFu);
  // New pixels show in the next zoomed draw.
  ASSERT_NE(draw_start(sprite_draw_target(1)), 0);
  draw_box(0, 0, 1, 1, bgr(0x123456));
  draw_stop();
  sprite_draw(1, 0, 0);
  EXPECT_EQ(at(read_screen(), 2, 2), 0x123456u);
  // A new clip shows its part at the zoomed size.
  sprite_clip(1, 1, 1, 1, 1);
  sprite_zoom(1, 6, 6);
  sprite_draw(1, 0, 0);
  px = read_screen();
  EXPECT_EQ(at(px, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(at(px, 5, 5), 0xFFFFFFu);
  // Bilinear filtering mixes neighbours where nearest did not.
  sprite_clip(1, -1, -1, -1, -1);
  sprite_zoom(1, 6, 6);
  sprite_filtering_set(1);
  sprite_draw(1, 0, 0);
  uint32_t mixed = at(read_screen(), 2, 2);
  EXPECT_NE(mixed, 0x123456u);
  EXPECT_NE(mixed, 0xFFFFFFu);
}

}  // namespace
