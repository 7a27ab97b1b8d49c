// Sprite textures on SDL, and the two ways the software renderer is spared
// work without changing a drawn pixel: opaque pictures lose their alpha
// channel, and a partly transparent picture is drawn as rectangles, its
// opaque ones copied, only those with soft or transparent pixels blended,
// and wholly transparent ones skipped.
#include <algorithm>
#include <cstring>

#include "engine/screen/screen_sdl.h"

namespace {

// What the software renderer's work costs, in units of one blended pixel:
// copying a pixel, and the fixed cost of one more draw call.
constexpr double kCopyCost = 1.0 / 16;
constexpr double kDrawCost = 48;
// The tallest band of rows the split considers; taller regions become
// several bands, at the price of a few more draw calls.
constexpr int kMaxBand = 256;
// An opaque stretch narrower than this is blended with its neighbours.
constexpr int kMinCopyWidth = 8;

bool all_opaque(const ImageBuffer& px) {
  // Alpha is the top byte of each little-endian pixel word; AND every word
  // of a row together (which the compiler vectorises) and look once.
  const size_t n = static_cast<size_t>(px.width);
  for (int y = 0; y < px.height; ++y) {
    const uint8_t* row = px.row(y);
    uint32_t all = 0xFFFFFFFFu;
    for (size_t x = 0; x < n; ++x) {
      uint32_t w;
      std::memcpy(&w, row + x * 4, 4);
      all &= w;
    }
    if ((all >> 24) != 0xFF) return false;
  }
  return true;
}

// One row's outline: where its visible (alpha > 0) pixels start and end,
// and its longest run of opaque pixels. Empty ranges have first == last.
struct RowShape {
  int lo = 0, hi = 0;
  int a = 0, b = 0;
};

RowShape row_shape(const uint8_t* row, int width) {
  RowShape r;
  int x = 0;
  while (x < width && row[x * 4 + 3] == 0) ++x;
  if (x == width) return r;
  r.lo = x;
  int last = width - 1;
  while (row[last * 4 + 3] == 0) --last;
  r.hi = last + 1;
  for (x = r.lo; x < r.hi;) {
    if (row[x * 4 + 3] != 255) {
      ++x;
      continue;
    }
    int start = x;
    while (x < r.hi && row[x * 4 + 3] == 255) ++x;
    if (x - start > r.b - r.a) {
      r.a = start;
      r.b = x;
    }
  }
  return r;
}

// A band of rows [y0, y1) cut into at most three rectangles: blended on
// the left, copied in the middle where every row is opaque, blended on the
// right. Nothing for a band with no visible pixel.
struct Band {
  int lo, hi, a, b;  // visible columns [lo, hi), copied columns [a, b)
  bool empty() const { return lo >= hi; }
  bool copies() const { return b - a >= kMinCopyWidth; }
  // Takes one more row into the band.
  void add(const RowShape& r) {
    if (r.hi > r.lo) {
      lo = std::min(lo, r.lo);
      hi = std::max(hi, r.hi);
    }
    a = std::max(a, r.a);
    b = std::min(b, r.b);
  }
  double cost(int rows) const {
    if (empty()) return 0;
    if (!copies()) return kDrawCost + static_cast<double>(hi - lo) * rows;
    int pieces = 1 + (a > lo) + (hi > b);
    return kDrawCost * pieces + (static_cast<double>(a - lo + hi - b) + kCopyCost * (b - a)) * rows;
  }
};

// The band of rows [y0, y1): every visible pixel lies in [lo, hi), and
// every row is opaque in [a, b). A transparent row leaves nothing to copy.
Band band_of(const std::vector<RowShape>& rows, int width, int y0, int y1) {
  Band band{width, 0, 0, width};
  for (int y = y1 - 1; y >= y0; --y) band.add(rows[static_cast<size_t>(y)]);
  return band;
}

// Chooses the bands that make drawing cheapest (by the costs above) and
// turns them into rectangles.
void split_into_parts(const ImageBuffer& px, SpriteTexture* t) {
  const int h = px.height;
  std::vector<RowShape> rows(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) rows[static_cast<size_t>(y)] = row_shape(px.row(y), px.width);

  // best[y]: cheapest way to draw rows [0, y); from[y]: where its last band
  // starts. The band grows upwards one row at a time.
  std::vector<double> best(static_cast<size_t>(h) + 1, 0.0);
  std::vector<int> from(static_cast<size_t>(h) + 1, 0);
  for (int y1 = 1; y1 <= h; ++y1) {
    Band band{px.width, 0, 0, px.width};
    best[static_cast<size_t>(y1)] = -1;
    for (int y0 = y1 - 1; y0 >= std::max(0, y1 - kMaxBand); --y0) {
      band.add(rows[static_cast<size_t>(y0)]);
      double c = best[static_cast<size_t>(y0)] + band.cost(y1 - y0);
      if (best[static_cast<size_t>(y1)] < 0 || c < best[static_cast<size_t>(y1)]) {
        best[static_cast<size_t>(y1)] = c;
        from[static_cast<size_t>(y1)] = y0;
      }
    }
  }

  for (int y1 = h; y1 > 0;) {
    const int y0 = from[static_cast<size_t>(y1)], n = y1 - y0;
    const Band band = band_of(rows, px.width, y0, y1);
    if (band.empty()) {
      // nothing visible in these rows
    } else if (band.copies()) {
      t->copy_parts.push_back(SDL_Rect{band.a, y0, band.b - band.a, n});
      if (band.a > band.lo) t->blend_parts.push_back(SDL_Rect{band.lo, y0, band.a - band.lo, n});
      if (band.hi > band.b) t->blend_parts.push_back(SDL_Rect{band.b, y0, band.hi - band.b, n});
    } else {
      t->blend_parts.push_back(SDL_Rect{band.lo, y0, band.hi - band.lo, n});
    }
    y1 = y0;
  }
}

void copy(SDL_Texture* tex, const SDL_Rect* src, const SDL_Rect& dst, SDL_BlendMode mode, int alpha) {
  SDL_SetTextureBlendMode(tex, mode);
  SDL_SetTextureAlphaMod(tex, static_cast<Uint8>(alpha));
  SDL_RenderCopy(screen_state().renderer, tex, src, &dst);
}

// Makes or keeps a static texture of that format and size and fills it.
bool fill_texture(SDL_Texture** tex, Uint32 format, const ImageBuffer& px) {
  ScreenContext& s = screen_state();
  if (*tex) {
    Uint32 f = 0;
    int w = 0, h = 0;
    SDL_QueryTexture(*tex, &f, nullptr, &w, &h);
    if (f != format || w != px.width || h != px.height) {
      SDL_DestroyTexture(*tex);
      *tex = nullptr;
    }
  }
  if (!*tex) {
    // On the software renderer a streaming texture is the same surface as a
    // static one, and locking it is how its pixels are read back.
    int access = s.software ? SDL_TEXTUREACCESS_STREAMING : SDL_TEXTUREACCESS_STATIC;
    *tex = SDL_CreateTexture(s.renderer, format, access, px.width, px.height);
    if (!*tex) return false;
    SDL_SetTextureScaleMode(*tex, s.filtering ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  }
  return SDL_UpdateTexture(*tex, nullptr, px.pixels.data(), px.width * 4) == 0;
}

}  // namespace

bool sprite_texture_load(SpriteTexture* t, const ImageBuffer& px) {
  ScreenContext& s = screen_state();
  bool opaque = s.software && all_opaque(px);
  t->copy_parts.clear();
  t->blend_parts.clear();
  if (s.software && !opaque) split_into_parts(px, t);
  t->opaque = opaque;
  if (!fill_texture(&t->texture, opaque ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_ARGB8888, px)) return false;
  if (t->copy_parts.empty()) {
    if (t->solid) SDL_DestroyTexture(t->solid);
    t->solid = nullptr;
  } else if (!fill_texture(&t->solid, SDL_PIXELFORMAT_RGB888, px)) {
    // Without it the parts are copied from the texture itself.
    t->solid = nullptr;
  }
  return true;
}

bool sprite_texture_read(const SpriteTexture& t, ImageBuffer* out) {
  if (!screen_state().software || !t.texture) return false;
  Uint32 format = 0;
  int access = 0, w = 0, h = 0;
  if (SDL_QueryTexture(t.texture, &format, &access, &w, &h) != 0 || access != SDL_TEXTUREACCESS_STREAMING)
    return false;
  void* data = nullptr;
  int pitch = 0;
  // The software renderer's lock hands out the texture's own surface, which
  // holds the bytes last uploaded (an opaque texture's unused byte included,
  // which was uploaded as alpha 255).
  if (SDL_LockTexture(t.texture, nullptr, &data, &pitch) != 0) return false;
  out->width = w;
  out->height = h;
  out->depth = 32;
  out->pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  size_t row = static_cast<size_t>(w) * 4;
  for (int y = 0; y < h; ++y) {
    const uint8_t* from = static_cast<const uint8_t*>(data) + static_cast<size_t>(y) * static_cast<size_t>(pitch);
    std::copy(from, from + row, out->pixels.data() + static_cast<size_t>(y) * row);
  }
  SDL_UnlockTexture(t.texture);
  if (t.opaque) {
    for (size_t i = 3; i < out->pixels.size(); i += 4) out->pixels[i] = 255;
  }
  return true;
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
  bool split = intensity == 255 && part.w == dst.w && part.h == dst.h &&
               (!t.copy_parts.empty() || !t.blend_parts.empty());
  if (!split) {
    copy(tex, &part, dst, SDL_BLENDMODE_BLEND, intensity);
    return;
  }
  // Each rectangle's share of the shown part, drawn at the same offset from
  // dst as from part. Copies first, then blends: a texture's blend mode
  // changes at most once per draw, not once per rectangle.
  auto pieces = [&](SDL_Texture* from, const std::vector<SDL_Rect>& list, SDL_BlendMode mode) {
    for (const SDL_Rect& r : list) {
      SDL_Rect inside;
      if (!SDL_IntersectRect(&part, &r, &inside)) continue;
      SDL_Rect d{dst.x + inside.x - part.x, dst.y + inside.y - part.y, inside.w, inside.h};
      copy(from, &inside, d, mode, 255);
    }
  };
  pieces(t.solid ? t.solid : tex, t.copy_parts, SDL_BLENDMODE_NONE);
  pieces(tex, t.blend_parts, SDL_BLENDMODE_BLEND);
}
