// Sprites on SDL: the sprite table, making sprites and their pixels, clip,
// zoom and the two draws. The software screen draws from each sprite's
// pixels, a renderer from a texture of its own; draws go onto the frame,
// which composes them at the flip.
#include <algorithm>
#include <utility>

#include "engine/screen/screen.h"
#include "engine/screen/screen_sdl.h"

namespace {

// The alpha of a new sprite's black pixels, in place in a pixel word: clear,
// unless the transparent colour (applied without flag 8) is not black and so
// leaves black solid.
uint32_t created_alpha(int flags) {
  const bool solid = !(flags & kSpriteKeepAlpha) && screen_state().default_transparent != 0;
  return solid ? 0xFF000000u : 0u;
}

// The next stamp for changed pixels; never 0, never given twice.
uint64_t new_stamp() {
  static uint64_t last = 0;
  return ++last;
}

}  // namespace

Sprite::~Sprite() {
  if (screen_state().display_gone) return;
  // A pass that still has to draw this sprite does so before it goes.
  frame_sprite_changing(this);
  if (texture) SDL_DestroyTexture(texture);
}

ObjectTable<Sprite>& sprite_table() {
  static ObjectTable<Sprite> table(64);
  return table;
}

void sprites_free_all() { sprite_table().free(-1); }

ImageBuffer* sprite_pixels(Sprite* sp) { return sprite_restore(sp) ? &sp->pixels : nullptr; }

bool sprite_upload(Sprite* sp) {
  const ImageBuffer& px = sp->pixels;
  // On the software screen a sprite of one colour, or one whose pixels are
  // made when first drawn, may have none yet.
  if (px.pixels.empty() && sp->source && !sp->uniform && (sp->flags & kSpriteMask) && !sprite_restore(sp)) return false;
  const bool colour_only = px.pixels.empty() && sp->uniform && screen_state().path == ScreenPath::Surface;
  const bool made_later = px.pixels.empty() && sp->source && screen_state().path == ScreenPath::Surface;
  if (px.pixels.empty() && !colour_only && !made_later) return false;
  sp->stamp = new_stamp();
  if (!colour_only && !made_later) sp->uniform = sp->uniform_known = false;
  // Changed pixels count as used: they are kept a while before they can go.
  sp->used_in_pass = screen_state().frame.pass;
  if (sp->flags & kSpriteMask) {
    const size_t count = static_cast<size_t>(sp->width) * static_cast<size_t>(sp->height);
    if (colour_only) {
      sp->mask.assign(count, (sp->uniform_word >> 24) == 255 ? 1 : 0);
    } else if (!px.pixels.empty()) {
      sp->mask.resize(count);
      for (size_t i = 0; i < count; ++i) sp->mask[i] = px.pixels[i * 4 + 3] == 255 ? 1 : 0;
    }
  }
  // What was read from the old pixels is read again when next needed.
  sp->shape = PixelShape();
  sp->zoomed = ImageBuffer();
  sp->zoomed_shape = PixelShape();
  sp->zoomed_filter = -1;
  return screen_state().path != ScreenPath::Renderer || sprite_texture_load(sp);
}

namespace {

// A sprite of width x height at its full size, with nothing in it yet.
std::unique_ptr<Sprite> new_sprite(int width, int height, int flags) {
  auto sp = std::make_unique<Sprite>();
  sp->flags = flags;
  sp->clip = SDL_Rect{0, 0, width, height};
  sp->shown_width = sp->width = width;
  sp->shown_height = sp->height = height;
  return sp;
}

// Takes the sprite's pixels and stores it under number; 0 on failure.
int keep(int number, std::unique_ptr<Sprite> sp) {
  if (!sprite_upload(sp.get())) return 0;
  int id = sprite_table().put(number, std::move(sp));
  if (id == -2) return 0;
  return id == 0 ? 1 : id;
}

}  // namespace

int sprite_store(int number, ImageBuffer pixels, int flags, std::unique_ptr<SpriteSource> source) {
  ScreenContext& s = screen_state();
  if (s.path == ScreenPath::None || pixels.width <= 0 || pixels.height <= 0) return 0;
  if (pixels.width > kImageMaxSide || pixels.height > kImageMaxSide) return 0;
  auto sp = new_sprite(pixels.width, pixels.height, flags);
  pixels.depth = 32;
  // Only large pictures are ever given back, so only they keep their source.
  if (pixels.pixels.size() >= kMemoryLargeBlock) sp->source = std::move(source);
  sp->pixels = std::move(pixels);
  return keep(number, std::move(sp));
}

int sprite_create(int number, int width, int height, int flags) {
  if (!screen_is_open() || width <= 0 || height <= 0 || width > kImageMaxSide || height > kImageMaxSide)
    return 0;
  if (screen_state().path == ScreenPath::Surface &&
      static_cast<size_t>(width) * static_cast<size_t>(height) * 4 >= kMemoryLargeBlock) {
    // A large sprite starts as its one colour, without pixels: the game's
    // dimming sprite is filled whole and keyed, and never needs them.
    auto sp = new_sprite(width, height, flags);
    sp->uniform = sp->uniform_known = true;
    sp->uniform_word = created_alpha(flags);
    return keep(number, std::move(sp));
  }
  ImageBuffer px;
  px.width = width;
  px.height = height;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (!pixels_resize(&px.pixels, count * 4)) return 0;
  std::fill_n(reinterpret_cast<uint32_t*>(px.pixels.data()), count, created_alpha(flags));
  return sprite_store(number, std::move(px), flags);
}

int sprite_from_image(int number, int image, int flags) {
  ImageBuffer* source = image_handle(image);
  if (!screen_is_open() || !source || source->width <= 0 || source->height <= 0 ||
      source->pixels.size() != static_cast<size_t>(source->width) * static_cast<size_t>(source->height) * 4) {
    image_free(image);
    return 0;
  }
  ImageBuffer px = std::move(*source);
  image_free(image);
  // Drawing an image into a new sprite copies colour only.
  const uint32_t alpha = created_alpha(flags);
  auto* p = reinterpret_cast<uint32_t*>(px.pixels.data());
  const size_t n = px.pixels.size() / 4;
  for (size_t i = 0; i < n; ++i) p[i] = (p[i] & 0x00FFFFFFu) | alpha;
  return sprite_store(number, std::move(px), flags);
}

int sprite_from_memory(int number, const void* data, size_t size, int flags) {
  if (!screen_is_open()) return 0;
  size = std::min(size, kSpriteMaxInput);
  const int key = (flags & kSpriteKeepAlpha) ? -1 : screen_state().default_transparent;
  auto img = key < 0 ? image_decode(data, size) : image_decode_keyed(data, size, key);
  if (!img) return 0;
  auto source = std::make_unique<SpriteSource>();
  if (img->pixels.size() >= kMemoryLargeBlock) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    source->encoded.assign(bytes, bytes + size);
    source->key = key;
  }
  return sprite_store(number, std::move(*img), flags, source->encoded.empty() ? nullptr : std::move(source));
}

int sprite_from_memory_fitted(int number, const void* data, size_t size, int width, int height,
                              const std::function<bool(int width, int height, ImageRect* rect)>& choose,
                              int flags) {
  if (!screen_is_open() || !data || width <= 0 || height <= 0 || width > kImageMaxSide || height > kImageMaxSide)
    return 0;
  // A picture wanted later is only checked now, read to its end as a decode
  // reads it; its own pixels are made when it is first drawn.
  const bool later = (flags & kSpriteLater) != 0 && screen_state().path == ScreenPath::Surface;
  ImageBuffer img;
  if (later ? !image_check_stretched(data, size, width, height, choose, &sprite_scratch())
            : !image_decode_stretched_into(data, size, width, height, choose, &img) || img.width != width ||
                  img.height != height) {
    return 0;
  }
  // As an empty sprite with the stretched picture drawn in: its colour
  // under the alpha sprite_create gives.
  const uint32_t alpha = created_alpha(0);
  auto source = std::make_unique<SpriteSource>();
  const auto* bytes = static_cast<const uint8_t*>(data);
  source->encoded.assign(bytes, bytes + size);
  source->fit_width = width;
  source->fit_height = height;
  source->choose = choose;
  source->fit_alpha = alpha;
  if (later) {
    auto sp = new_sprite(width, height, 0);
    sp->source = std::move(source);
    return keep(number, std::move(sp));
  }
  auto* p = reinterpret_cast<uint32_t*>(img.pixels.data());
  for (size_t i = 0; i < img.pixels.size() / 4; ++i) p[i] = (p[i] & 0x00FFFFFFu) | alpha;
  return sprite_store(number, std::move(img), 0, std::move(source));
}

void sprite_transparent_color(int sprite, int rgb) {
  rgb &= 0xFFFFFF;
  if (sprite == -1) {
    screen_state().default_transparent = rgb;
    return;
  }
  Sprite* sp = sprite_table().get(sprite);
  if (!sp) return;
  frame_sprite_changing(sp);
  if (sp->pixels.pixels.empty() && sp->uniform) {
    sprite_change_colour(sp, [rgb](ImageBuffer* one) { image_apply_transparent_color(one, rgb); });
    sprite_upload(sp);
    return;
  }
  ImageBuffer* px = sprite_pixels(sp);
  if (!px) return;
  image_apply_transparent_color(px, rgb);
  sprite_upload(sp);
}

void sprite_clip(int sprite, int x, int y, int width, int height) {
  Sprite* sp = sprite_table().get(sprite);
  if (!sp) return;
  int full_w = sp->width, full_h = sp->height;
  x = std::clamp(x, 0, full_w);
  y = std::clamp(y, 0, full_h);
  if (width == -1) width = full_w;
  if (height == -1) height = full_h;
  width = std::clamp(width, 0, full_w - x);
  height = std::clamp(height, 0, full_h - y);
  sp->clip = SDL_Rect{x, y, width, height};
  sp->shown_width = width;
  sp->shown_height = height;
}

void sprite_zoom(int sprite, int width, int height) {
  Sprite* sp = sprite_table().get(sprite);
  if (!sp) return;
  sp->shown_width = width == -1 ? sp->width : std::max(0, width);
  sp->shown_height = height == -1 ? sp->height : std::max(0, height);
}

int sprite_width(int sprite) {
  Sprite* sp = sprite_table().get(sprite);
  return sp ? sp->shown_width : 0;
}

int sprite_height(int sprite) {
  Sprite* sp = sprite_table().get(sprite);
  return sp ? sp->shown_height : 0;
}

int sprite_exists(int sprite) { return sprite_table().exists(sprite) ? 1 : 0; }

void sprite_free(int sprite) { sprite_table().free(sprite); }

static void draw_sprite(int sprite, int x, int y, bool blended, int intensity) {
  ScreenContext& s = screen_state();
  Sprite* sp = sprite_table().get(sprite);
  if (!sp || s.path == ScreenPath::None) return;
  // Culling by the displayed size, before the renderer sees the sprite.
  if (x >= s.width || y >= s.height || x <= -sp->shown_width || y <= -sp->shown_height) return;
  if (sp->clip.w <= 0 || sp->clip.h <= 0 || sp->shown_width <= 0 || sp->shown_height <= 0) return;
  intensity = std::clamp(intensity, 0, 255);
  if (blended && intensity == 0) return;  // would leave every screen pixel as it is
  frame_add(sp, x, y, blended ? intensity : 0);
}

void sprite_draw(int sprite, int x, int y) { draw_sprite(sprite, x, y, false, 255); }

void sprite_draw_blended(int sprite, int x, int y, int intensity) { draw_sprite(sprite, x, y, true, intensity); }
