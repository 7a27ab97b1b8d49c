// The tests' screen reads, on the screen service's state.
#include "tests/support/screen_probe.h"

#include "engine/image/image.h"
#include "engine/screen/screen_sdl.h"

int screen_in_window() { return screen_state().in_window ? 1 : 0; }

int screen_read_pixels(int x, int y, int width, int height, uint32_t* argb) {
  ScreenContext& s = screen_state();
  if (s.path == ScreenPath::None || x < 0 || y < 0 || width <= 0 || height <= 0) return 0;
  if (static_cast<int64_t>(x) + width > s.width || static_cast<int64_t>(y) + height > s.height) return 0;
  return frame_read(x, y, width, height, argb) ? 1 : 0;
}

int sprite_opaque_at(int sprite, int x, int y) {
  Sprite* sp = sprite_table().get(sprite);
  if (!sp || sp->mask.empty() || x < 0 || y < 0 || x >= sp->width || y >= sp->height) return -1;
  return sp->mask[static_cast<size_t>(y) * static_cast<size_t>(sp->width) + static_cast<size_t>(x)];
}

DrawTarget image_draw_target(int image) {
  DrawTarget t;
  if (image_exists(image)) t = DrawTarget{kDrawTargetImage, image};
  return t;
}
