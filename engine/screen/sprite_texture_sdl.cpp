// Sprite textures on SDL, and the two ways the software renderer is spared
// work without changing a drawn pixel: opaque pictures lose their alpha
// channel, and the opaque middle of a picture is copied rather than blended.
#include <algorithm>

#include "engine/screen/screen_sdl.h"

namespace {

bool row_opaque(const ImageBuffer& px, int y, int x0, int x1) {
  const uint8_t* p = px.row(y);
  for (int x = x0; x < x1; ++x)
    if (p[x * 4 + 3] != 255) return false;
  return true;
}

// Whether every pixel is opaque; otherwise a band of opaque pixels around
// the centre: the opaque run of the middle row, grown up and down while
// whole rows of it stay opaque. Card pictures and panels with rounded or
// soft edges have most of their pixels in it.
bool analyse(const ImageBuffer& px, SDL_Rect* core) {
  *core = SDL_Rect{0, 0, 0, 0};
  if (row_opaque(px, 0, 0, px.width)) {
    bool all = true;
    for (int y = 1; y < px.height && all; ++y) all = row_opaque(px, y, 0, px.width);
    if (all) return true;
  }
  int cy = px.height / 2, cx = px.width / 2;
  const uint8_t* mid = px.row(cy);
  if (mid[cx * 4 + 3] != 255) return false;
  int x0 = cx, x1 = cx + 1;
  while (x0 > 0 && mid[(x0 - 1) * 4 + 3] == 255) --x0;
  while (x1 < px.width && mid[x1 * 4 + 3] == 255) ++x1;
  int y0 = cy, y1 = cy + 1;
  while (y0 > 0 && row_opaque(px, y0 - 1, x0, x1)) --y0;
  while (y1 < px.height && row_opaque(px, y1, x0, x1)) ++y1;
  *core = SDL_Rect{x0, y0, x1 - x0, y1 - y0};
  return false;
}

void copy(SDL_Texture* tex, const SDL_Rect* src, const SDL_Rect& dst, SDL_BlendMode mode, int alpha) {
  SDL_SetTextureBlendMode(tex, mode);
  SDL_SetTextureAlphaMod(tex, static_cast<Uint8>(alpha));
  SDL_RenderCopy(screen_state().renderer, tex, src, &dst);
}

}  // namespace

bool sprite_texture_load(SpriteTexture* t, const ImageBuffer& px) {
  ScreenContext& s = screen_state();
  SDL_Rect core{0, 0, 0, 0};
  bool opaque = s.software && analyse(px, &core);
  if (!s.software) core = SDL_Rect{0, 0, 0, 0};
  Uint32 format = opaque ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_ARGB8888;
  if (t->texture) {
    Uint32 f = 0;
    int w = 0, h = 0;
    SDL_QueryTexture(t->texture, &f, nullptr, &w, &h);
    if (f != format || w != px.width || h != px.height) t->clear();
  }
  if (!t->texture) {
    t->texture = SDL_CreateTexture(s.renderer, format, SDL_TEXTUREACCESS_STATIC, px.width, px.height);
    if (!t->texture) return false;
    SDL_SetTextureScaleMode(t->texture, s.filtering ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  }
  t->opaque = opaque;
  t->core = core;
  return SDL_UpdateTexture(t->texture, nullptr, px.pixels.data(), px.width * 4) == 0;
}

void sprite_texture_draw(const SpriteTexture& t, const SDL_Rect* src, const SDL_Rect& dst, bool blended,
                         int intensity) {
  SDL_Texture* tex = t.texture;
  // Blending an opaque texture at full intensity is a copy.
  if (!blended || (t.opaque && intensity == 255)) {
    copy(tex, src, dst, SDL_BLENDMODE_NONE, 255);
    return;
  }
  int tw = 0, th = 0;
  SDL_QueryTexture(tex, nullptr, nullptr, &tw, &th);
  SDL_Rect part = src ? *src : SDL_Rect{0, 0, tw, th};
  SDL_Rect inner;
  bool split = intensity == 255 && part.w == dst.w && part.h == dst.h && t.core.w > 0 &&
               SDL_IntersectRect(&part, &t.core, &inner);
  if (!split) {
    copy(tex, &part, dst, SDL_BLENDMODE_BLEND, intensity);
    return;
  }
  // Texture rectangle r drawn at the same offset from dst as from part.
  auto piece = [&](SDL_Rect r, SDL_BlendMode mode) {
    if (r.w <= 0 || r.h <= 0) return;
    SDL_Rect d{dst.x + r.x - part.x, dst.y + r.y - part.y, r.w, r.h};
    copy(tex, &r, d, mode, 255);
  };
  int inner_bottom = inner.y + inner.h, part_bottom = part.y + part.h;
  int inner_right = inner.x + inner.w, part_right = part.x + part.w;
  piece(inner, SDL_BLENDMODE_NONE);
  piece(SDL_Rect{part.x, part.y, part.w, inner.y - part.y}, SDL_BLENDMODE_BLEND);
  piece(SDL_Rect{part.x, inner_bottom, part.w, part_bottom - inner_bottom}, SDL_BLENDMODE_BLEND);
  piece(SDL_Rect{part.x, inner.y, inner.x - part.x, inner.h}, SDL_BLENDMODE_BLEND);
  piece(SDL_Rect{inner_right, inner.y, part_right - inner_right, inner.h}, SDL_BLENDMODE_BLEND);
}
