// Drawing sprites on the software screen with the engine's own loops,
// straight into the pixels SDL presents: SDL's blitters convert and blend
// one pixel at a time, these copy rows, skip what is clear and blend four
// or eight pixels at once.
#include <algorithm>

#include "engine/screen/screen_sdl.h"

namespace {

// The stretched copy of a zoomed sprite's shown part at the item's size,
// made again when the pixels, the clip, the displayed size or the filtering
// differ from the last one made.
bool zoom_ready(Sprite* sp, const DrawItem& item) {
  const SDL_Rect& c = item.part;
  const SDL_Rect& z = sp->zoomed_clip;
  if (!sp->zoomed.pixels.empty() && sp->zoomed.width == item.width && sp->zoomed.height == item.height &&
      sp->zoomed_filter == item.filter && z.x == c.x && z.y == c.y && z.w == c.w && z.h == c.h) {
    return true;
  }
  if (item.width > kImageMaxSide || item.height > kImageMaxSide) return false;
  image_sample_stretch(sp->pixels, c.x, c.y, c.w, c.h, item.width, item.height, item.filter, &sp->zoomed);
  sp->zoomed_shape = PixelShape();
  sp->zoomed_clip = c;
  sp->zoomed_filter = item.filter;
  return !sp->zoomed.pixels.empty();
}

}  // namespace

int64_t sprite_draw_direct(const DrawItem& item, uint8_t* origin, int pitch, const SDL_Rect& area) {
  Sprite* sp = item.sprite;
  if (!sp) return 0;
  if (sp->pixels.pixels.empty() && sp->uniform) {
    // Pixels given back, all of one colour: drawn from the colour alone.
    BlitArea a;
    const int x0 = std::max(item.x, area.x), y0 = std::max(item.y, area.y);
    const int x1 = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(item.x) + item.width, area.x + area.w));
    const int y1 = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(item.y) + item.height, area.y + area.h));
    if (x1 <= x0 || y1 <= y0) return 0;
    a.dst = origin + static_cast<ptrdiff_t>(y0) * pitch + static_cast<ptrdiff_t>(x0) * 4;
    a.dst_pitch = pitch;
    a.width = x1 - x0;
    a.height = y1 - y0;
    const int alpha = item.intensity == 0 ? 255 : blit_alpha(static_cast<int>(sp->uniform_word >> 24), item.intensity);
    if (alpha > 0) blit_blend_colour(a, sp->uniform_word, alpha);
    return static_cast<int64_t>(a.width) * a.height;
  }
  if (!sprite_restore(sp)) return 0;
  const ImageBuffer* px = &sp->pixels;
  PixelShape* shape = &sp->shape;
  SDL_Rect part = item.part;
  if (item.width != part.w || item.height != part.h) {
    if (!zoom_ready(sp, item)) return 0;
    px = &sp->zoomed;
    shape = &sp->zoomed_shape;
    part = SDL_Rect{0, 0, item.width, item.height};
  }
  const int x0 = std::max(item.x, area.x), y0 = std::max(item.y, area.y);
  const int x1 = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(item.x) + part.w, area.x + area.w));
  const int y1 = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(item.y) + part.h, area.y + area.h));
  if (x1 <= x0 || y1 <= y0) return 0;
  const int first_row = part.y + (y0 - item.y);
  BlitArea a;
  a.src = px->row(first_row) + static_cast<size_t>(part.x + (x0 - item.x)) * 4;
  a.src_pitch = static_cast<ptrdiff_t>(px->width) * 4;
  a.dst = origin + static_cast<ptrdiff_t>(y0) * pitch + static_cast<ptrdiff_t>(x0) * 4;
  a.dst_pitch = pitch;
  a.width = x1 - x0;
  a.height = y1 - y0;
  const int64_t written = static_cast<int64_t>(a.width) * a.height;
  if (item.intensity == 0) {
    blit_copy(a);
    return written;
  }
  if (!shape->known) *shape = blit_shape(*px);
  if (shape->uniform) {
    // The game's dimming sprite: one colour at one alpha all over.
    const int alpha = blit_alpha(static_cast<int>(shape->colour >> 24), item.intensity);
    if (alpha > 0) blit_blend_colour(a, shape->colour, alpha);
  } else if (shape->opaque) {
    blit_blend_opaque(a, item.intensity);
  } else {
    blit_blend(a, item.intensity, shape->rows.data() + first_row, part.x + (x0 - item.x));
  }
  return written;
}
