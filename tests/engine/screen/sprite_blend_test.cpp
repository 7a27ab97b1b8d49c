// Blended draws to the exact value: on the software renderer sprites are
// drawn by the engine's own loops, which round every blend to nearest,
// texel alpha times intensity first: A = (alpha * intensity + 127) / 255,
// then (texel * A + screen * (255 - A) + 127) / 255 per channel. (SDL's own
// blitters, which drew these before, come out up to 3 below that.) Every
// case runs over a background whose pixels all differ, at widths and
// offsets that leave partial groups of pixels at both ends of the rows.
#include <functional>

#include "tests/engine/screen/screen_fixture.h"
#include "tests/support/screen_probe.h"

namespace {

constexpr int kScreenW = 300;
constexpr int kScreenH = 40;

class SpriteBlend : public ScreenTest {
 public:
  void SetUp() override {
    ASSERT_NE(sprite_system_start(), 0) << SDL_GetError();
    ASSERT_NE(window_open(0, 0, 0, kScreenW, kScreenH, "test", kWindowCentred), 0) << SDL_GetError();
    ASSERT_NE(screen_open_in_window(0, 0, 0, kScreenW, kScreenH, 0, 0, 0, 0), 0) << SDL_GetError();
    for (int y = 0; y < kScreenH; ++y)
      for (int x = 0; x < kScreenW; ++x)
        back_.push_back(0xFF000000u | static_cast<uint32_t>((x * 3 + y * 7) & 0xFF) << 16 |
                        static_cast<uint32_t>((x * 11 ^ y * 5) & 0xFF) << 8 | static_cast<uint32_t>(255 - x % 256));
    ASSERT_NE(sprite_of(50, kScreenW, kScreenH, back_, kSpriteKeepAlpha), 0);
  }

  // Sprite `number`, showing `part` of the w-wide picture pic, blended at
  // (x0, y0) over the background: every screen pixel must be the rounded
  // blend inside the covered rectangle and the background outside it.
  void expect_exact(int number, const std::vector<uint32_t>& pic, int w, SDL_Rect part, int x0, int y0,
                    int intensity, const char* what) {
    sprite_draw(50, 0, 0);
    sprite_draw_blended(number, x0, y0, intensity);
    auto px = read_screen();
    for (int y = 0; y < kScreenH; ++y)
      for (int x = 0; x < kScreenW; ++x) {
        uint32_t d = back_[static_cast<size_t>(y) * kScreenW + x] & 0xFFFFFF;
        int sx = x - x0, sy = y - y0;
        uint32_t want = d;
        if (sx >= 0 && sy >= 0 && sx < part.w && sy < part.h) {
          uint32_t s = pic[static_cast<size_t>(part.y + sy) * w + part.x + sx];
          int a = (static_cast<int>(s >> 24) * intensity + 127) / 255;
          want = 0;
          for (int shift : {0, 8, 16}) {
            int sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
            want |= static_cast<uint32_t>(blend(sc, dc, a)) << shift;
          }
        }
        ASSERT_EQ(at(px, x, y), want) << what << ", intensity " << intensity << ", screen " << x << "," << y;
      }
  }

  std::vector<uint32_t> back_;
};

// A w x h picture with colours that change from pixel to pixel and the
// alpha of alpha(x, y).
std::vector<uint32_t> picture(int w, int h, const std::function<uint32_t(int, int)>& alpha) {
  std::vector<uint32_t> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px.push_back(alpha(x, y) << 24 | static_cast<uint32_t>((x * 5 + y * 40) & 0xFF) << 16 |
                   static_cast<uint32_t>((255 - x) & 0xFF) << 8 | static_cast<uint32_t>((x * 29 + y) & 0xFF));
  return px;
}

TEST_F(SpriteBlend, EveryAlphaAtEveryIntensityComesOutRounded) {
  // Alpha 0 to 255 along each row, a few rows of different colours.
  const int w = 256, h = 6;
  auto pic = picture(w, h, [](int x, int) { return static_cast<uint32_t>(x); });
  ASSERT_NE(sprite_of(1, w, h, pic, kSpriteKeepAlpha), 0);
  for (int intensity : {255, 200, 128, 37, 1}) {
    expect_exact(1, pic, w, SDL_Rect{0, 0, w, h}, 3, 2, intensity, "alpha ramp");
    expect_exact(1, pic, w, SDL_Rect{0, 0, w, h}, -5, kScreenH - 4, intensity, "alpha ramp, cut off");
  }
}

TEST_F(SpriteBlend, ClearSolidAndSoftRunsOfAnyLength) {
  // Runs of alpha 0, 255 and in between, of lengths 1 to 19, so that every
  // kind of group of four and eight pixels and every kind of row occurs:
  // rows wholly clear, wholly solid, solid with soft ends, and mixed.
  const int w = 253, h = 12;
  std::vector<uint32_t> alpha(static_cast<size_t>(w) * h);
  uint32_t seed = 12345;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w;) {
      seed = seed * 1664525u + 1013904223u;
      int len = 1 + static_cast<int>((seed >> 8) % 19);
      uint32_t kind = (seed >> 4) % 3;
      uint32_t a = kind == 0 ? 0 : kind == 1 ? 255 : 1 + (seed >> 16) % 254;
      for (int i = 0; i < len && x < w; ++i, ++x) alpha[static_cast<size_t>(y) * w + x] = a;
    }
  }
  for (int x = 0; x < w; ++x) {
    alpha[static_cast<size_t>(2) * w + x] = 0;
    alpha[static_cast<size_t>(3) * w + x] = 255;
    alpha[static_cast<size_t>(4) * w + x] = x < 6 || x >= w - 9 ? 100 : 255;
  }
  auto pic = picture(w, h, [&](int x, int y) { return alpha[static_cast<size_t>(y) * w + x]; });
  ASSERT_NE(sprite_of(1, w, h, pic, kSpriteKeepAlpha), 0);
  for (int intensity : {255, 128, 9}) {
    expect_exact(1, pic, w, SDL_Rect{0, 0, w, h}, 1, 3, intensity, "runs");
    expect_exact(1, pic, w, SDL_Rect{0, 0, w, h}, kScreenW - 100, -4, intensity, "runs, cut off");
    // A clip whose columns start inside runs and rows' solid stretches.
    SDL_Rect part{7, 1, 190, 9};
    sprite_clip(1, part.x, part.y, part.w, part.h);
    expect_exact(1, pic, w, part, -3, 20, intensity, "runs, clipped");
    sprite_clip(1, 0, 0, -1, -1);
  }
}

TEST_F(SpriteBlend, OneColourSpritesAndOpaquePictures) {
  // The dimming sprite: black, made opaque by giving it white as its
  // transparent colour, drawn over everything at 128.
  ASSERT_NE(sprite_create(2, kScreenW, kScreenH, kSpriteKeepAlpha), 0);
  ASSERT_NE(draw_start(sprite_draw_target(2)), 0);
  draw_box(0, 0, kScreenW, kScreenH, 0);
  draw_stop();
  sprite_transparent_color(2, 0xFFFFFF);
  std::vector<uint32_t> black(static_cast<size_t>(kScreenW) * kScreenH, 0xFF000000u);
  for (int intensity : {128, 255, 3})
    expect_exact(2, black, kScreenW, SDL_Rect{0, 0, kScreenW, kScreenH}, 0, 0, intensity, "dimming");
  // One colour at alpha 0x80, partly off the screen.
  const int w = 61, h = 7;
  std::vector<uint32_t> tint(static_cast<size_t>(w) * h, 0x80CC6633u);
  ASSERT_NE(sprite_of(3, w, h, tint, kSpriteKeepAlpha), 0);
  for (int intensity : {255, 200})
    expect_exact(3, tint, w, SDL_Rect{0, 0, w, h}, kScreenW - 30, 5, intensity, "tint");
  // An opaque picture whose pixels differ, at full and lower intensity.
  auto solid = picture(w, h, [](int, int) { return 255u; });
  ASSERT_NE(sprite_of(4, w, h, solid, 0), 0);
  for (int intensity : {255, 128, 37})
    expect_exact(4, solid, w, SDL_Rect{0, 0, w, h}, 2, 30, intensity, "opaque picture");
}

TEST_F(SpriteBlend, ZoomedSpritesBlendTheirStretchedTexels) {
  // Nearest-pixel zoom to three times the size: each texel covers 3 x 3
  // pixels and blends like an unzoomed one.
  const int w = 13, h = 4;
  auto pic = picture(w, h, [](int x, int y) { return static_cast<uint32_t>((x * 40 + y * 90) % 256); });
  ASSERT_NE(sprite_of(1, w, h, pic, kSpriteKeepAlpha), 0);
  sprite_filtering_set(0);
  sprite_zoom(1, w * 3, h * 3);
  std::vector<uint32_t> big;
  for (int y = 0; y < h * 3; ++y)
    for (int x = 0; x < w * 3; ++x) big.push_back(pic[static_cast<size_t>(y / 3) * w + x / 3]);
  for (int intensity : {255, 100})
    expect_exact(1, big, w * 3, SDL_Rect{0, 0, w * 3, h * 3}, 10, 6, intensity, "zoomed");
}

TEST(ScreenInWindow, DrawsOnlyInsideItsRectangle) {
  // A 30 x 20 screen at (10, 5) of a 60 x 40 window: a sprite larger than
  // the screen, drawn hanging over its top-left corner, must cover the
  // screen exactly, read back as the screen, and leave the rest of the
  // window alone.
  ASSERT_NE(sprite_system_start(), 0) << SDL_GetError();
  ASSERT_NE(window_open(0, 0, 0, 60, 40, "test", kWindowCentred), 0) << SDL_GetError();
  ASSERT_NE(screen_open_in_window(0, 10, 5, 30, 20, 0, 0, 0, 0), 0) << SDL_GetError();
  SDL_Window* window = SDL_GetWindowFromID(screen_system_window_id());
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  ASSERT_NE(surface, nullptr);
  auto window_pixel = [&](int x, int y) {
    uint32_t v;
    std::memcpy(&v, static_cast<uint8_t*>(surface->pixels) + y * surface->pitch + x * 4, 4);
    return v & 0xFFFFFF;
  };
  std::vector<uint32_t> before;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) before.push_back(window_pixel(x, y));
  std::vector<uint32_t> pic(50 * 40, 0xFF2080C0u);
  ASSERT_NE(ScreenTest::sprite_of(1, 50, 40, pic, kSpriteKeepAlpha), 0);
  std::vector<uint32_t> soft(50 * 40, 0x80FFFFFFu);
  ASSERT_NE(ScreenTest::sprite_of(2, 50, 40, soft, kSpriteKeepAlpha), 0);
  sprite_draw(1, -4, -3);
  sprite_draw_blended(2, -6, -1, 255);
  const uint32_t want = static_cast<uint32_t>((0xFF * 128 + 0x20 * 127 + 127) / 255) << 16 |
                        static_cast<uint32_t>((0xFF * 128 + 0x80 * 127 + 127) / 255) << 8 |
                        static_cast<uint32_t>((0xFF * 128 + 0xC0 * 127 + 127) / 255);
  // Reading the screen composes what the pass has drawn so far.
  std::vector<uint32_t> px(30 * 20);
  ASSERT_NE(screen_read_pixels(0, 0, 30, 20, px.data()), 0);
  EXPECT_EQ(px[0] & 0xFFFFFF, want);
  EXPECT_EQ(px[30 * 20 - 1] & 0xFFFFFF, want);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      bool inside = x >= 10 && x < 40 && y >= 5 && y < 25;
      ASSERT_EQ(window_pixel(x, y), inside ? want : before[static_cast<size_t>(y) * 60 + x]) << x << "," << y;
    }
  sprite_system_stop();
}

}  // namespace
