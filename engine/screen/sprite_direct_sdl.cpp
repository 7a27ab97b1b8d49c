// Drawing sprites on the software renderer with the engine's own loops,
// straight into the window's surface that SDL presents: SDL's blitters
// convert and blend one pixel at a time, these copy rows, skip what is clear
// and blend four pixels at once.
#include <algorithm>

#include "engine/screen/screen_sdl.h"

namespace {

// The stretched copy of a zoomed sprite's shown part, made again when the
// pixels, the clip, the displayed size or the filtering have changed since.
bool zoom_ready(Sprite* sp) {
  ScreenContext& s = screen_state();
  const SDL_Rect& c = sp->clip;
  const SDL_Rect& z = sp->zoomed_clip;
  if (!sp->zoomed.pixels.empty() && sp->zoomed.width == sp->shown_width && sp->zoomed.height == sp->shown_height &&
      sp->zoomed_filter == s.filtering && z.x == c.x && z.y == c.y && z.w == c.w && z.h == c.h) {
    return true;
  }
  if (sp->shown_width > kImageMaxSide || sp->shown_height > kImageMaxSide) return false;
  image_sample_stretch(sp->pixels, c.x, c.y, c.w, c.h, sp->shown_width, sp->shown_height, s.filtering,
                       &sp->zoomed);
  sp->zoomed_shape = PixelShape();
  sp->zoomed_clip = c;
  sp->zoomed_filter = s.filtering;
  return true;
}

}  // namespace

void sprite_draw_direct(Sprite* sp, int x, int y, bool blended, int intensity) {
  ScreenContext& s = screen_state();
  SDL_Surface* surface = SDL_GetWindowSurface(s.window);
  if (!surface || !surface->pixels) return;
  const ImageBuffer* px = &sp->pixels;
  PixelShape* shape = &sp->shape;
  SDL_Rect part = sp->clip;
  if (sp->shown_width != part.w || sp->shown_height != part.h) {
    if (!zoom_ready(sp)) return;
    px = &sp->zoomed;
    shape = &sp->zoomed_shape;
    part = SDL_Rect{0, 0, sp->shown_width, sp->shown_height};
  }
  // The covered rectangle cut to the screen, and to the surface in case the
  // window has become smaller than the screen inside it.
  const int left = std::max(0, -s.origin_x), top = std::max(0, -s.origin_y);
  const int right = std::min(s.width, surface->w - s.origin_x);
  const int bottom = std::min(s.height, surface->h - s.origin_y);
  const int x0 = std::max(x, left), y0 = std::max(y, top);
  const int x1 = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(x) + part.w, right));
  const int y1 = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(y) + part.h, bottom));
  if (x1 <= x0 || y1 <= y0) return;
  const int first_row = part.y + (y0 - y);
  BlitArea area;
  area.src = px->row(first_row) + static_cast<size_t>(part.x + (x0 - x)) * 4;
  area.src_pitch = static_cast<ptrdiff_t>(px->width) * 4;
  area.dst = static_cast<uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(s.origin_y + y0) * surface->pitch +
             static_cast<ptrdiff_t>(s.origin_x + x0) * 4;
  area.dst_pitch = surface->pitch;
  area.width = x1 - x0;
  area.height = y1 - y0;
  if (!blended) {
    blit_copy(area);
    return;
  }
  if (!shape->known) *shape = blit_shape(*px);
  if (shape->uniform) {
    // The game's dimming sprite: one colour at one alpha all over.
    int alpha = blit_alpha(static_cast<int>(shape->colour >> 24), intensity);
    if (alpha > 0) blit_blend_colour(area, shape->colour, alpha);
  } else if (shape->opaque) {
    blit_blend_opaque(area, intensity);
  } else {
    blit_blend(area, intensity, shape->rows.data() + first_row, part.x + (x0 - x));
  }
}
