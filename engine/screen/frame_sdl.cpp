// The frame: the sprite draws of a pass are collected and compared with the
// frame the screen shows, so that a pass that draws the same picture again
// composes and presents nothing, and on the software screen only the
// rectangles that changed are drawn and sent to the display.
//
// Why a changed rectangle can be composed alone: a screen pixel's colour
// depends only on the draws that cover it, in their order. A pixel outside
// every rectangle of a draw that differs from the shown frame (at the same
// place in the list) is covered by the same draws as before, so it keeps
// its colour; inside, every draw of the pass is drawn again, cut to it.
#include <algorithm>
#include <cstring>

#include "engine/screen/screen_sdl.h"

namespace {

// More changed rectangles than this are drawn as the one around them all.
constexpr size_t kMostRects = 8;

bool same_look(const DrawItem& a, const DrawItem& b) {
  return a.stamp == b.stamp && a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height &&
         a.part.x == b.part.x && a.part.y == b.part.y && a.part.w == b.part.w && a.part.h == b.part.h &&
         a.intensity == b.intensity && a.filter == b.filter;
}

SDL_Rect item_rect(const DrawItem& item) { return SDL_Rect{item.x, item.y, item.width, item.height}; }

SDL_Rect screen_rect() { return SDL_Rect{0, 0, screen_state().width, screen_state().height}; }

// Adds r (cut to the screen) to a list of rectangles that never overlap:
// r takes in every rectangle it meets, and a list grown too long becomes
// the one rectangle around it all.
void add_rect(std::vector<SDL_Rect>* rects, SDL_Rect r) {
  const SDL_Rect screen = screen_rect();
  if (!SDL_IntersectRect(&r, &screen, &r)) return;
  for (size_t i = 0; i < rects->size();) {
    if (SDL_HasIntersection(&(*rects)[i], &r)) {
      SDL_UnionRect(&(*rects)[i], &r, &r);
      rects->erase(rects->begin() + static_cast<ptrdiff_t>(i));
      i = 0;  // the grown rectangle may now meet one passed over
    } else {
      ++i;
    }
  }
  rects->push_back(r);
  if (rects->size() > kMostRects) {
    SDL_Rect all = rects->front();
    for (const SDL_Rect& each : *rects) SDL_UnionRect(&all, &each, &all);
    rects->assign(1, all);
  }
}

// The rectangles where the first `count` draws of `now` differ from `before`.
std::vector<SDL_Rect> differences(const std::vector<DrawItem>& now, size_t count,
                                  const std::vector<DrawItem>& before) {
  std::vector<SDL_Rect> rects;
  const size_t n = std::max(count, before.size());
  for (size_t i = 0; i < n; ++i) {
    const bool in_now = i < count, in_before = i < before.size();
    if (in_now && in_before && same_look(now[i], before[i])) continue;
    if (in_now) add_rect(&rects, item_rect(now[i]));
    if (in_before) add_rect(&rects, item_rect(before[i]));
  }
  return rects;
}

// Where the software screen composes: the screen's pixel (0, 0) and the
// bytes per row, and the part of the screen that has pixels behind it.
struct Canvas {
  uint8_t* origin = nullptr;
  int pitch = 0;
  SDL_Rect bounds{0, 0, 0, 0};
};

// Whether the window surface holds pixels as the sprites do (0xAARRGGBB
// words), so the engine can draw straight into it.
bool surface_takes_sprites(const SDL_Surface* surface) {
  const SDL_PixelFormat* f = surface->format;
  return f->BytesPerPixel == 4 && f->Rmask == 0xFF0000u && f->Gmask == 0xFF00u && f->Bmask == 0xFFu &&
         !SDL_MUSTLOCK(surface);
}

// The window's surface, or nullptr. A surface other than the last one (the
// window was made again or resized) has lost the picture.
SDL_Surface* window_surface() {
  ScreenContext& s = screen_state();
  SDL_Surface* surface = SDL_GetWindowSurface(s.window);
  if (surface != s.frame.surface) {
    s.frame.surface = surface;
    s.frame.shown_known = false;
  }
  return surface && surface->pixels ? surface : nullptr;
}

// The software screen's canvas: the window surface itself where it holds
// pixels as the sprites do, else the screen's own pixels, copied into the
// surface as they are presented.
bool canvas(Canvas* c) {
  ScreenContext& s = screen_state();
  SDL_Surface* surface = window_surface();
  if (!surface) return false;
  if (!surface_takes_sprites(surface)) {
    ImageBuffer& own = s.frame.own;
    if (own.width != s.width || own.height != s.height) {
      own = ImageBuffer();
      own.width = s.width;
      own.height = s.height;
      if (!pixels_resize(&own.pixels, static_cast<size_t>(s.width) * static_cast<size_t>(s.height) * 4)) {
        own = ImageBuffer();
        return false;
      }
      s.frame.shown_known = false;
    }
    c->origin = own.pixels.data();
    c->pitch = s.width * 4;
    c->bounds = screen_rect();
    return true;
  }
  if (s.origin_x < 0 || s.origin_y < 0 || s.origin_x >= surface->w || s.origin_y >= surface->h) return false;
  c->origin = static_cast<uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(s.origin_y) * surface->pitch +
              static_cast<ptrdiff_t>(s.origin_x) * 4;
  c->pitch = surface->pitch;
  // A window smaller than the screen inside it keeps only what it covers.
  const SDL_Rect screen = screen_rect();
  const SDL_Rect inside{0, 0, surface->w - s.origin_x, surface->h - s.origin_y};
  SDL_IntersectRect(&screen, &inside, &c->bounds);
  return true;
}

// Draws items[first, last) onto the canvas, each cut to `area`.
void draw_on_canvas(const Canvas& c, size_t first, size_t last, SDL_Rect area) {
  Frame& f = screen_state().frame;
  if (!SDL_IntersectRect(&area, &c.bounds, &area)) return;
  for (size_t i = first; i < last; ++i) {
    const DrawItem& item = f.drawn[i];
    const SDL_Rect r = item_rect(item);
    SDL_Rect cut;
    if (!SDL_IntersectRect(&r, &area, &cut)) continue;
    f.stats.pixels_composed += sprite_draw_direct(item, c.origin, c.pitch, cut);
  }
}

// Draws items[first, last) through the renderer.
void draw_on_renderer(size_t first, size_t last) {
  Frame& f = screen_state().frame;
  for (size_t i = first; i < last; ++i) {
    sprite_texture_draw(f.drawn[i]);
    f.stats.pixels_composed += static_cast<int64_t>(f.drawn[i].width) * f.drawn[i].height;
  }
  f.back_buffer_drawn = true;
}

// Composes what the pass has drawn and not yet composed. At the flip
// (`early` false) the whole pass is compared with the shown frame. Earlier,
// because the screen is about to be read or a sprite on it to change, what
// has been drawn so far is composed now and the rest of the pass goes on
// top of it as it comes.
void compose(bool early) {
  ScreenContext& s = screen_state();
  Frame& f = s.frame;
  const size_t count = f.drawn.size();
  if (s.path == ScreenPath::None || s.display_gone || (count == 0 && !f.piecewise)) return;
  const size_t first = f.composed;
  f.composed = count;
  if (s.path == ScreenPath::Surface) {
    Canvas c;
    if (!canvas(&c)) {
      f.compose_failed = true;
      return;
    }
    if (f.piecewise) {
      for (size_t i = first; i < count; ++i) {
        draw_on_canvas(c, i, i + 1, item_rect(f.drawn[i]));
        add_rect(&f.damage, item_rect(f.drawn[i]));
        f.composed_in_pass = true;
      }
    } else {
      const std::vector<SDL_Rect> rects =
          f.shown_known ? differences(f.drawn, count, f.shown) : std::vector<SDL_Rect>{screen_rect()};
      for (const SDL_Rect& r : rects) {
        draw_on_canvas(c, 0, count, r);
        add_rect(&f.damage, r);
        f.composed_in_pass = true;
      }
    }
  } else if (f.piecewise) {
    // The back buffer holds the pass so far only once something was drawn
    // into it; until then nothing of the pass is there.
    draw_on_renderer(f.back_buffer_drawn ? first : 0, count);
    f.composed_in_pass = true;
  } else {
    // A renderer's back buffer holds nothing after a present, so any change
    // draws the whole pass; and so does an early compose, whose picture is
    // about to be read or built on.
    const bool changed = !f.shown_known || f.repaint || early || !differences(f.drawn, count, f.shown).empty();
    if (changed) {
      draw_on_renderer(0, count);
      f.composed_in_pass = true;
    }
  }
  if (early) f.piecewise = true;
}

// Sends the changed rectangles of the software screen to the display.
void present_surface() {
  ScreenContext& s = screen_state();
  Frame& f = s.frame;
  std::vector<SDL_Rect> rects = f.repaint ? std::vector<SDL_Rect>{screen_rect()} : f.damage;
  SDL_Surface* surface = window_surface();
  if (rects.empty() || !surface) return;
  std::vector<SDL_Rect> on_window;
  const SDL_Rect whole{0, 0, surface->w, surface->h};
  for (SDL_Rect r : rects) {
    r.x += s.origin_x;
    r.y += s.origin_y;
    if (!SDL_IntersectRect(&r, &whole, &r)) continue;
    if (!surface_takes_sprites(surface) && !f.own.pixels.empty()) {
      // The screen's own pixels, converted into the surface's format.
      const uint8_t* src = f.own.row(r.y - s.origin_y) + static_cast<size_t>(r.x - s.origin_x) * 4;
      if (SDL_LockSurface(surface) != 0) continue;
      uint8_t* dst = static_cast<uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(r.y) * surface->pitch +
                     static_cast<ptrdiff_t>(r.x) * surface->format->BytesPerPixel;
      SDL_ConvertPixels(r.w, r.h, SDL_PIXELFORMAT_ARGB8888, src, f.own.width * 4, surface->format->format, dst,
                        surface->pitch);
      SDL_UnlockSurface(surface);
    }
    on_window.push_back(r);
  }
  if (on_window.empty()) return;
  SDL_UpdateWindowSurfaceRects(s.window, on_window.data(), static_cast<int>(on_window.size()));
  ++f.stats.frames_presented;
}

}  // namespace

void frame_add(Sprite* sprite, int x, int y, int intensity) {
  ScreenContext& s = screen_state();
  DrawItem item;
  item.sprite = sprite;
  item.stamp = sprite->stamp;
  item.x = x;
  item.y = y;
  item.width = sprite->shown_width;
  item.height = sprite->shown_height;
  item.part = sprite->clip;
  item.intensity = intensity;
  item.filter = s.filtering;
  s.frame.drawn.push_back(item);
  // Drawn, composed or not: a picture still on the screen is in use.
  sprite->drawn_in_pass = sprite->used_in_pass = s.frame.pass;
  sprite->drawn_ever = true;
}

void frame_sprite_changing(const Sprite* sprite) {
  Frame& f = screen_state().frame;
  if (sprite->drawn_in_pass == f.pass && f.composed < f.drawn.size()) compose(true);
}

void frame_present() {
  ScreenContext& s = screen_state();
  Frame& f = s.frame;
  if (s.display_gone) return;
  compose(false);
  if (f.composed_in_pass) ++f.stats.frames_composed;
  if (s.path == ScreenPath::Surface) {
    present_surface();
  } else if (s.path == ScreenPath::Renderer) {
    if (f.back_buffer_drawn) {
      SDL_RenderPresent(s.renderer);
      ++f.stats.frames_presented;
    } else if (f.repaint) {
      // Nothing of this pass is in the back buffer: the next pass that
      // draws draws everything and presents it.
      f.shown_known = false;
    }
  }
  // A pass that drew nothing leaves the picture as it was.
  if (!f.drawn.empty() || f.piecewise) {
    f.shown.swap(f.drawn);
    for (DrawItem& item : f.shown) item.sprite = nullptr;
    f.shown_known = !f.compose_failed;
  }
  f.drawn.clear();
  f.composed = 0;
  f.piecewise = false;
  f.damage.clear();
  f.repaint = false;
  f.back_buffer_drawn = false;
  f.composed_in_pass = false;
  f.compose_failed = false;
  sprites_release_idle();
  ++f.pass;
  ++f.stats.passes;
}

void frame_reset() {
  Frame& f = screen_state().frame;
  const ScreenStats stats = f.stats;
  f = Frame();
  f.stats = stats;
}

void frame_repaint() { screen_state().frame.repaint = true; }

bool frame_read(int x, int y, int width, int height, uint32_t* out) {
  ScreenContext& s = screen_state();
  compose(true);
  const SDL_Rect want{x, y, width, height};
  if (s.path == ScreenPath::Renderer) {
    return SDL_RenderReadPixels(s.renderer, &want, SDL_PIXELFORMAT_ARGB8888, out, width * 4) == 0;
  }
  Canvas c;
  if (s.path != ScreenPath::Surface || !canvas(&c)) return false;
  // What lies outside the window's pixels reads as black.
  std::fill_n(out, static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
  SDL_Rect part;
  if (!SDL_IntersectRect(&want, &c.bounds, &part)) return true;
  for (int row = 0; row < part.h; ++row) {
    const uint8_t* src = c.origin + static_cast<ptrdiff_t>(part.y + row) * c.pitch + static_cast<ptrdiff_t>(part.x) * 4;
    std::memcpy(out + static_cast<size_t>(part.y - y + row) * static_cast<size_t>(width) + (part.x - x), src,
                static_cast<size_t>(part.w) * 4);
  }
  return true;
}
