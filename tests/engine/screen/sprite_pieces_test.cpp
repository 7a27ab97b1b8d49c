// Partly transparent sprites are drawn in pieces on the software renderer
// (clear stretches skipped, solid ones copied): whatever the shape of their
// alpha, every pixel must come out as if the whole sprite had been blended,
// rounded to nearest, and nothing outside it may change.
#include <algorithm>
#include <cmath>
#include <functional>

#include "tests/engine/screen/screen_fixture.h"

namespace {

using SpritePieces = ScreenTest;

constexpr uint32_t kBack = 0x405060;

// A w x h picture whose alpha comes from shape(x, y) and whose colour
// changes from pixel to pixel, so a piece drawn at a wrong offset shows.
std::vector<uint32_t> picture(int w, int h, const std::function<int(int, int)>& shape) {
  std::vector<uint32_t> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px.push_back(static_cast<uint32_t>(shape(x, y)) << 24 | static_cast<uint32_t>(x * 9) << 16 |
                   static_cast<uint32_t>(y * 11) << 8 | static_cast<uint32_t>((x + y) * 5 & 0xFF));
  return px;
}

// Draws sprite 1 (showing `part` of the picture) at (x0, y0) over kBack
// and checks every screen pixel against blending by hand.
void expect_blended(ScreenTest& t, const std::vector<uint32_t>& pic, int w, SDL_Rect part, int x0, int y0,
                    const char* what) {
  t.fill_screen(kBack);
  sprite_draw_blended(1, x0, y0, 255);
  auto px = t.read_screen();
  for (int y = 0; y < screen_height(); ++y)
    for (int x = 0; x < screen_width(); ++x) {
      int sx = x - x0, sy = y - y0;
      uint32_t got = t.at(px, x, y);
      if (sx < 0 || sy < 0 || sx >= part.w || sy >= part.h) {
        ASSERT_EQ(got, kBack) << what << ": outside the sprite at " << x << "," << y;
        continue;
      }
      uint32_t s = pic[static_cast<size_t>(part.y + sy) * w + part.x + sx];
      int a = static_cast<int>(s >> 24);
      for (int shift : {0, 8, 16}) {
        int want = ScreenTest::blend(static_cast<int>((s >> shift) & 0xFF), (kBack >> shift) & 0xFF, a);
        ASSERT_EQ(static_cast<int>((got >> shift) & 0xFF), want) << what << " at " << sx << "," << sy;
      }
    }
}

TEST_F(SpritePieces, EveryShapeBlendsAsAWhole) {
  const int w = 28, h = 22;
  struct Shape {
    const char* name;
    std::function<int(int, int)> alpha;
  };
  const Shape shapes[] = {
      // An opaque frame round a transparent hole: nothing may be copied
      // over the hole.
      {"ring", [](int x, int y) { return x >= 9 && x < 19 && y >= 7 && y < 15 ? 0 : 255; }},
      // Opaque rows with fully transparent rows between them.
      {"stripes", [](int x, int y) { return y % 3 == 1 ? 0 : (x == 0 ? 90 : 255); }},
      // Two opaque blocks in the same rows, a soft gap between.
      {"blocks", [](int x, int) { return x < 10 ? 255 : x < 16 ? 60 : 255; }},
      // A round card with a soft rim, like a shadow.
      {"soft disc",
       [](int x, int y) {
         double d = std::hypot(x - 13.5, y - 10.5);
         return static_cast<int>(std::clamp((10.5 - d) / 3.0, 0.0, 1.0) * 255);
       }},
      // Opaque only below a diagonal.
      {"diagonal", [](int x, int y) { return x < y ? 255 : x == y ? 128 : 0; }},
  };
  for (const Shape& shape : shapes) {
    auto pic = picture(w, h, shape.alpha);
    ASSERT_NE(sprite_of(1, w, h, pic, kSpriteKeepAlpha), 0) << shape.name;
    SDL_Rect whole{0, 0, w, h};
    expect_blended(*this, pic, w, whole, 5, 4, shape.name);
    // Hanging over the top-left and the bottom-right corner of the screen.
    expect_blended(*this, pic, w, whole, -7, -5, shape.name);
    expect_blended(*this, pic, w, whole, kW - 20, kH - 9, shape.name);
    // A clip that cuts through the pieces.
    SDL_Rect part{3, 5, 19, 11};
    sprite_clip(1, part.x, part.y, part.w, part.h);
    expect_blended(*this, pic, w, part, 6, 2, shape.name);
  }
}

TEST_F(SpritePieces, RedrawnPixelsGetNewPieces) {
  // Re-applying the transparent colour changes which parts are opaque: a
  // hole punched into the sprite must show the screen, a hole filled must not.
  const int w = 24, h = 16;
  auto pic = picture(w, h, [](int x, int) { return x < 2 ? 100 : 255; });
  ASSERT_NE(sprite_of(1, w, h, pic, 0), 0);
  // Paint a black hole and make black transparent again.
  ASSERT_NE(draw_start(sprite_draw_target(1)), 0);
  draw_box(8, 4, 6, 5, 0);
  draw_stop();
  sprite_transparent_color(1, 0);
  fill_screen(kBack);
  sprite_draw_blended(1, 2, 2, 255);
  auto px = read_screen();
  EXPECT_EQ(at(px, 2 + 10, 2 + 6), kBack);
  EXPECT_NE(at(px, 2 + 16, 2 + 6), kBack);
  ASSERT_NE(draw_start(sprite_draw_target(1)), 0);
  draw_box(8, 4, 6, 5, bgr(0x112233));
  draw_stop();
  sprite_transparent_color(1, 0);
  fill_screen(kBack);
  sprite_draw_blended(1, 2, 2, 255);
  EXPECT_EQ(at(read_screen(), 2 + 10, 2 + 6), 0x112233u);
}

}  // namespace
