// libFuzzer entry for pictures through every way the game draws them, on a
// small screen of SDL's dummy video driver: a sprite that keeps the
// picture's alpha and one made with the colour key, each drawn opaque and
// blended, cut and stretched, keyed again with another colour; the picture
// as an image drawn into a sprite (the settings screen's arrows); the
// picture fitted to the screen (backgrounds, title, logo); and the dimming
// sprite over it all. Any bytes must be refused by every path alike or give
// sprites of the picture's size that keep the cutting and stretching rules.
// Input: the picture, then twelve bytes of drawing parameters: x and y,
// the cut (x, y, width, height; 255 = the full extent), the stretch (width,
// height in steps of 4; 255 = the full size), the intensity, the colour of
// a second keying, and flags (bit 0 key again, bit 1 bilinear filtering).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/display.h"
#include "engine/image/image_buffer.h"
#include "engine/screen/screen.h"
#include "game/assets.h"
#include "game/geometry.h"
#include "game/sprites.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

constexpr int kWidth = 96;
constexpr int kHeight = 64;
constexpr size_t kParams = 12;

bool Setup() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  check(sprite_system_start() != 0);
  check(window_open(kGameWindow, 0, 0, kWidth, kHeight, "fuzz", kWindowHidden) != 0);
  check(screen_open_in_window(kGameWindow, 0, 0, kWidth, kHeight, 0, 0, 0, 0) != 0);
  ScreenWidth = kWidth;
  ScreenHeight = kHeight;
  return true;
}

struct Params {
  int x, y, clip_x, clip_y, clip_w, clip_h, zoom_w, zoom_h, intensity, key;
  bool rekey, bilinear;
};

Params ReadParams(const uint8_t* p) {
  auto full = [](uint8_t v, int scale) { return v == 255 ? -1 : v * scale; };
  return Params{static_cast<int8_t>(p[0]) * 2,
                static_cast<int8_t>(p[1]) * 2,
                static_cast<int8_t>(p[2]),
                static_cast<int8_t>(p[3]),
                full(p[4], 1),
                full(p[5], 1),
                full(p[6], 4),
                full(p[7], 4),
                p[8],
                p[9] * 0x010101,
                (p[10] & 1) != 0,
                (p[10] & 2) != 0};
}

// Every draw of the game on one sprite of a picture w x h: whole, cut,
// stretched, cut and stretched, each opaque and blended.
void DrawEveryWay(int sprite, int w, int h, const Params& p) {
  check(sprite_width(sprite) == w && sprite_height(sprite) == h);
  auto both = [&] {
    sprite_draw(sprite, p.x, p.y);
    sprite_draw_blended(sprite, p.x, p.y, p.intensity);
  };
  both();
  sprite_clip(sprite, p.clip_x, p.clip_y, p.clip_w, p.clip_h);
  // The cut, clamped to the picture as the game relies on.
  const int cx = std::clamp(p.clip_x, 0, w), cy = std::clamp(p.clip_y, 0, h);
  const int cw = std::clamp(p.clip_w == -1 ? w : p.clip_w, 0, w - cx);
  const int ch = std::clamp(p.clip_h == -1 ? h : p.clip_h, 0, h - cy);
  check(sprite_width(sprite) == cw && sprite_height(sprite) == ch);
  both();
  sprite_zoom(sprite, p.zoom_w, p.zoom_h);
  check(sprite_width(sprite) == (p.zoom_w == -1 ? w : p.zoom_w));
  check(sprite_height(sprite) == (p.zoom_h == -1 ? h : p.zoom_h));
  both();
  sprite_clip(sprite, 0, 0, -1, -1);
  sprite_zoom(sprite, p.zoom_w, p.zoom_h);
  both();
  if (p.rekey) {
    sprite_transparent_color(sprite, p.key);
    both();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = Setup();
  check(ready);
  if (size < kParams) return 0;
  const Params p = ReadParams(data + size - kParams);
  const size_t picture = size - kParams;
  sprite_filtering_set(p.bilinear ? 1 : 0);

  // One picture at a time: a large one costs its memory once.
  int w = 0, h = 0;
  const int alpha = sprite_from_memory(-1, data, picture, kSpriteKeepAlpha);
  if (alpha != 0) {
    w = sprite_width(alpha);
    h = sprite_height(alpha);
    check(w >= 1 && h >= 1 && w <= kImageMaxSide && h <= kImageMaxSide);
    DrawEveryWay(alpha, w, h, p);
    sprite_free(alpha);
  }
  const int keyed = sprite_from_memory(-1, data, picture, 0);
  check((keyed != 0) == (alpha != 0));
  if (keyed != 0) {
    DrawEveryWay(keyed, w, h, p);
    sprite_free(keyed);
  }
  const int image = image_from_memory_sized(-1, data, picture);
  check((image != 0) == (alpha != 0));
  if (image != 0) {
    check(image_handle(image)->width == w && image_handle(image)->height == h);
    // As the arrows go into a text sprite: colour drawn in, alpha kept.
    const int target = sprite_create(-1, kWidth, kHeight, kSpriteKeepAlpha);
    check(target != 0);
    check(draw_start(sprite_draw_target(target)) != 0);
    draw_image(image_handle(image), p.x, p.y);
    draw_box(p.clip_x, p.clip_y, p.clip_w, p.clip_h, p.key);
    draw_stop();
    sprite_draw_blended(target, 0, 0, p.intensity);
    sprite_free(target);
    image_free(image);
  }
  const int fitted = FitToScreen(data, static_cast<int>(picture), -1);
  check((fitted != 0) == (alpha != 0));
  if (fitted != 0) {
    check(sprite_width(fitted) == kWidth && sprite_height(fitted) == kHeight);
    sprite_draw(fitted, 0, 0);
    sprite_free(fitted);
  }
  MakeDimSprite();
  sprite_draw_blended(kDimSprite, 0, 0, p.intensity);
  screen_flip();
  return 0;
}
