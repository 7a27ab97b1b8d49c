// The focus ring: two small sprites of one colour each, stretched into the
// four sides of each band. They are made when the ring is first drawn (a
// mouse player never has them) and again after the display was reopened,
// which frees every sprite.
#include "ui/focus_ring.h"

#include "engine/screen/screen.h"

namespace {

// Colours as 0x00BBGGRR: the pale star colour and the night sky of the
// game's pictures.
constexpr int kLightColour = 0xE0F6FF;
constexpr int kDarkColour = 0x2A1114;
constexpr int kGap = 1;
constexpr int kLightWidth = 3;
constexpr int kDarkWidth = 2;
static_assert(kGap + kLightWidth + kDarkWidth == kFocusRingReach, "the ring's reach");

constexpr int kPictureSide = 8;

int g_light = 0;  // sprite handles, 0 until made
int g_dark = 0;

// A sprite of one opaque colour; 0 when it cannot be made.
int MakeColourSprite(int colour) {
  const int sprite = sprite_create(-1, kPictureSide, kPictureSide, kSpriteKeepAlpha);
  if (sprite == 0) return 0;
  if (draw_start(sprite_draw_target(sprite))) {
    draw_box(0, 0, kPictureSide, kPictureSide, colour);
    draw_stop();
  }
  // Any other colour as the transparent one leaves every pixel opaque.
  sprite_transparent_color(sprite, colour ^ 0xFFFFFF);
  return sprite;
}

void Bar(int sprite, int x, int y, int width, int height) {
  if (sprite == 0 || width <= 0 || height <= 0) return;
  sprite_zoom(sprite, width, height);
  sprite_draw(sprite, x, y);
}

// A band of the given thickness just inside the rectangle's edges.
void Band(int sprite, int x, int y, int width, int height, int thickness) {
  Bar(sprite, x, y, width, thickness);
  Bar(sprite, x, y + height - thickness, width, thickness);
  Bar(sprite, x, y + thickness, thickness, height - 2 * thickness);
  Bar(sprite, x + width - thickness, y + thickness, thickness, height - 2 * thickness);
}

}  // namespace

void DrawFocusRing(int left, int top, int width, int height) {
  // Handle 0 would name the pointer sprite: 0 means not made.
  if (g_light == 0 || !sprite_exists(g_light)) g_light = MakeColourSprite(kLightColour);
  if (g_dark == 0 || !sprite_exists(g_dark)) g_dark = MakeColourSprite(kDarkColour);
  const int light = kGap + kLightWidth;
  Band(g_light, left - light, top - light, width + 2 * light, height + 2 * light, kLightWidth);
  Band(g_dark, left - kFocusRingReach, top - kFocusRingReach, width + 2 * kFocusRingReach,
       height + 2 * kFocusRingReach, kDarkWidth);
}

void ResetFocusRing() {
  if (g_light != 0) sprite_free(g_light);
  if (g_dark != 0) sprite_free(g_dark);
  g_light = 0;
  g_dark = 0;
}
