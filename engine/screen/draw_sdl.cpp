// The 2-D drawing pass into sprites and images, and the screenshot pair:
// grabbing the screen into a sprite and saving a sprite as a picture file.
#include <utility>

#include "engine/screen/screen.h"
#include "engine/screen/screen_sdl.h"
#include "engine/system/file.h"

namespace {

// The pass in progress; kind 0 when none.
DrawTarget g_pass;

// The pixels the pass writes to; nullptr when the target has gone.
ImageBuffer* pass_pixels() {
  if (g_pass.kind == kDrawTargetSprite) {
    Sprite* sp = sprite_table().get(g_pass.object);
    return sp ? sprite_pixels(sp) : nullptr;
  }
  if (g_pass.kind == kDrawTargetImage) return image_handle(g_pass.object);
  return nullptr;
}

}  // namespace

DrawTarget sprite_draw_target(int sprite) {
  DrawTarget t;
  if (sprite_table().exists(sprite)) t = DrawTarget{kDrawTargetSprite, sprite};
  return t;
}

int draw_start(DrawTarget target) {
  // A pass left open is ended, so its drawing is not lost.
  draw_stop();
  g_pass = target;
  if (g_pass.kind == kDrawTargetSprite) {
    // A frame that still has to show the sprite as it is draws it first.
    Sprite* sp = sprite_table().get(g_pass.object);
    if (sp) frame_sprite_changing(sp);
    // One colour without pixels: they are made when something is drawn.
    if (sp && sp->pixels.pixels.empty() && sp->uniform) return 1;
  }
  if (!pass_pixels()) {
    g_pass = DrawTarget();
    return 0;
  }
  return 1;
}

void draw_image(const ImageBuffer* image, int x, int y) {
  ImageBuffer* dst = pass_pixels();
  if (dst && image && image != dst) image_copy_rgb(dst, *image, x, y);
}

void draw_box(int x, int y, int width, int height, int rgb) {
  if (g_pass.kind == kDrawTargetSprite) {
    // A box over the whole of a one-colour sprite without pixels leaves it
    // one colour: no pixels need making.
    Sprite* sp = sprite_table().get(g_pass.object);
    if (sp && sp->pixels.pixels.empty() && sp->uniform && x <= 0 && y <= 0 &&
        static_cast<int64_t>(x) + width >= sp->width && static_cast<int64_t>(y) + height >= sp->height) {
      sprite_change_colour(sp, [rgb](ImageBuffer* one) { image_fill_rgb(one, 0, 0, 1, 1, rgb); });
      return;
    }
  }
  ImageBuffer* dst = pass_pixels();
  if (dst) image_fill_rgb(dst, x, y, width, height, rgb);
}

void draw_stop() {
  if (g_pass.kind == kDrawTargetSprite) {
    Sprite* sp = sprite_table().get(g_pass.object);
    if (sp) sprite_upload(sp);
  }
  g_pass = DrawTarget();
}

int sprite_grab_screen(int number, int x, int y, int width, int height) {
  ScreenContext& s = screen_state();
  if (s.path == ScreenPath::None || number < 0 || x < 0 || y < 0 || width <= 0 || height <= 0) return 0;
  if (static_cast<int64_t>(x) + width > s.width || static_cast<int64_t>(y) + height > s.height) return 0;
  std::vector<uint32_t> screen(static_cast<size_t>(width) * static_cast<size_t>(height));
  if (!frame_read(x, y, width, height, screen.data())) return 0;
  Sprite* sp = sprite_table().get(number);
  if (!sp || sp->width != width || sp->height != height) {
    // A new screenshot sprite starts opaque: the grab writes colour only, and
    // a saved screenshot must not come out fully transparent.
    ImageBuffer px;
    px.width = width;
    px.height = height;
    px.pixels.assign(screen.size() * 4, 0);
    for (size_t i = 3; i < px.pixels.size(); i += 4) px.pixels[i] = 255;
    if (!sprite_store(number, std::move(px), 0)) return 0;
    sp = sprite_table().get(number);
  }
  frame_sprite_changing(sp);
  ImageBuffer* px = sprite_pixels(sp);
  if (!px) return 0;
  for (size_t i = 0; i < screen.size(); ++i) {
    // Colour only: the words are 0xAARRGGBB, in memory blue, green, red.
    px->pixels[i * 4] = static_cast<uint8_t>(screen[i]);
    px->pixels[i * 4 + 1] = static_cast<uint8_t>(screen[i] >> 8);
    px->pixels[i * 4 + 2] = static_cast<uint8_t>(screen[i] >> 16);
  }
  return sprite_upload(sp) ? 1 : 0;
}

int sprite_save(int sprite, const std::string& path, uint32_t format_key) {
  Sprite* sp = sprite_table().get(sprite);
  if (!sp) return 0;
  const ImageBuffer* px = sprite_pixels(sp);
  if (!px) return 0;
  std::vector<uint8_t> encoded;
  if (!image_encode(*px, format_key, &encoded)) return 0;
  // A write that fails part way (a full disk) must not leave a cut-off
  // picture, nor spoil an earlier shot of the same name.
  return file_write_atomic(path, encoded.data(), encoded.size()) ? 1 : 0;
}
