// The software renderer's drawing loops. Pixels are blended in 16-bit lanes,
// eight at a time where the processor has AVX2, four where it has SSE2
// (every x86-64 does), one at a time elsewhere and at the end of a row; all
// give the same rounding.
#include "engine/screen/sprite_blit.h"

#include "engine/screen/sprite_blit_avx2.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define DUSK_BLIT_SSE2 1
#endif

namespace {

// One pixel blended channel by channel (alpha byte included) at alpha a.
inline void mix_pixel(uint8_t* d, const uint8_t* s, int a) {
  for (int c = 0; c < 4; ++c) d[c] = static_cast<uint8_t>(blit_mix(s[c], d[c], a));
}

#if DUSK_BLIT_SSE2

#if defined(__GNUC__) && defined(__x86_64__)
const bool g_avx2 = blit_avx2_built() && __builtin_cpu_supports("avx2");
#else
const bool g_avx2 = false;
#endif

inline __m128i load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void store(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// floor(x / 255) in each 16-bit lane, exact for every x below 65536.
inline __m128i div255(__m128i x) {
  return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(static_cast<short>(0x8081))), 7);
}

// Source over destination in 16-bit lanes at the alpha of each lane,
// rounded to nearest: the largest sum, 255 * 255 + 127, still fits a lane.
inline __m128i mix(__m128i s, __m128i d, __m128i a) {
  const __m128i k255 = _mm_set1_epi16(255), k127 = _mm_set1_epi16(127);
  __m128i x = _mm_add_epi16(_mm_mullo_epi16(s, a), _mm_mullo_epi16(d, _mm_sub_epi16(k255, a)));
  return div255(_mm_add_epi16(x, k127));
}

// Two pixels widened to 16-bit lanes: each pixel's alpha in all four of
// its lanes.
inline __m128i alpha_lanes(__m128i px) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(px, 0xFF), 0xFF); }

// Blends n pixels by their own alpha at an intensity.
void blend_run(uint8_t* d, const uint8_t* s, int n, int intensity) {
  const __m128i zero = _mm_setzero_si128(), alpha_mask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i k127 = _mm_set1_epi16(127), level = _mm_set1_epi16(static_cast<short>(intensity));
  const bool full = intensity == 255;
  int x = g_avx2 ? blit_avx2_blend(d, s, n, intensity) : 0;
  s += x * 4;
  d += x * 4;
  for (; x + 4 <= n; x += 4, s += 16, d += 16) {
    __m128i sp = load(s);
    __m128i alpha = _mm_and_si128(sp, alpha_mask);
    // Four opaque pixels at full intensity are a copy, four clear ones
    // leave the screen as it is.
    if (full && _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, alpha_mask)) == 0xFFFF) {
      store(d, sp);
      continue;
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, zero)) == 0xFFFF) continue;
    __m128i dp = load(d);
    __m128i slo = _mm_unpacklo_epi8(sp, zero), shi = _mm_unpackhi_epi8(sp, zero);
    __m128i alo = alpha_lanes(slo), ahi = alpha_lanes(shi);
    if (!full) {
      alo = div255(_mm_add_epi16(_mm_mullo_epi16(alo, level), k127));
      ahi = div255(_mm_add_epi16(_mm_mullo_epi16(ahi, level), k127));
    }
    __m128i lo = mix(slo, _mm_unpacklo_epi8(dp, zero), alo);
    __m128i hi = mix(shi, _mm_unpackhi_epi8(dp, zero), ahi);
    store(d, _mm_packus_epi16(lo, hi));
  }
  for (; x < n; ++x, s += 4, d += 4) {
    if (s[3] != 0) mix_pixel(d, s, full ? s[3] : blit_alpha(s[3], intensity));
  }
}

// Blends n pixels at one alpha for all.
void blend_run_at(uint8_t* d, const uint8_t* s, int n, int alpha) {
  const __m128i zero = _mm_setzero_si128(), a = _mm_set1_epi16(static_cast<short>(alpha));
  int x = g_avx2 ? blit_avx2_blend_at(d, s, n, alpha) : 0;
  s += x * 4;
  d += x * 4;
  for (; x + 4 <= n; x += 4, s += 16, d += 16) {
    __m128i sp = load(s), dp = load(d);
    __m128i lo = mix(_mm_unpacklo_epi8(sp, zero), _mm_unpacklo_epi8(dp, zero), a);
    __m128i hi = mix(_mm_unpackhi_epi8(sp, zero), _mm_unpackhi_epi8(dp, zero), a);
    store(d, _mm_packus_epi16(lo, hi));
  }
  for (; x < n; ++x, s += 4, d += 4) mix_pixel(d, s, alpha);
}

// Blends one colour at one alpha over n pixels: the colour's share and the
// rounding are the same for every pixel, so each lane is one multiply-add.
void blend_colour_run(uint8_t* d, int n, const uint8_t* colour, int alpha) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i keep = _mm_set1_epi16(static_cast<short>(255 - alpha));
  int share[4];
  for (int c = 0; c < 4; ++c) share[c] = colour[c] * alpha + 127;
  const __m128i add = _mm_setr_epi16(static_cast<short>(share[0]), static_cast<short>(share[1]),
                                     static_cast<short>(share[2]), static_cast<short>(share[3]),
                                     static_cast<short>(share[0]), static_cast<short>(share[1]),
                                     static_cast<short>(share[2]), static_cast<short>(share[3]));
  int x = g_avx2 ? blit_avx2_blend_colour(d, n, colour, alpha) : 0;
  d += x * 4;
  for (; x + 4 <= n; x += 4, d += 16) {
    __m128i dp = load(d);
    __m128i lo = div255(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(dp, zero), keep), add));
    __m128i hi = div255(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(dp, zero), keep), add));
    store(d, _mm_packus_epi16(lo, hi));
  }
  for (; x < n; ++x, d += 4) mix_pixel(d, colour, alpha);
}

#else  // one pixel at a time

void blend_run(uint8_t* d, const uint8_t* s, int n, int intensity) {
  for (int x = 0; x < n; ++x, s += 4, d += 4) {
    if (s[3] != 0) mix_pixel(d, s, intensity == 255 ? s[3] : blit_alpha(s[3], intensity));
  }
}

void blend_run_at(uint8_t* d, const uint8_t* s, int n, int alpha) {
  for (int x = 0; x < n; ++x, s += 4, d += 4) mix_pixel(d, s, alpha);
}

void blend_colour_run(uint8_t* d, int n, const uint8_t* colour, int alpha) {
  for (int x = 0; x < n; ++x, d += 4) mix_pixel(d, colour, alpha);
}

#endif

RowSpan row_span(const uint8_t* row, int width) {
  RowSpan r;
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

}  // namespace

PixelShape blit_shape(const ImageBuffer& px) {
  PixelShape shape;
  shape.known = true;
  shape.rows.resize(static_cast<size_t>(px.height));
  const size_t n = static_cast<size_t>(px.width);
  uint32_t first = 0;
  if (!px.pixels.empty()) std::memcpy(&first, px.pixels.data(), 4);
  bool uniform = true, opaque = true;
  for (int y = 0; y < px.height; ++y) {
    const uint8_t* row = px.row(y);
    // AND of the row's words (which the compiler vectorises) tells whether
    // every alpha is 255, a difference from the first word that the row is
    // not all one colour; only other rows need looking at pixel by pixel.
    uint32_t all = 0xFFFFFFFFu, differ = 0;
    for (size_t x = 0; x < n; ++x) {
      uint32_t w;
      std::memcpy(&w, row + x * 4, 4);
      all &= w;
      differ |= w ^ first;
    }
    RowSpan& r = shape.rows[static_cast<size_t>(y)];
    if ((all >> 24) == 0xFF) {
      r = RowSpan{0, px.width, 0, px.width};
    } else {
      r = row_span(row, px.width);
      opaque = false;
    }
    uniform = uniform && differ == 0;
  }
  shape.opaque = opaque;
  shape.uniform = uniform && px.height > 0;
  shape.colour = first;
  return shape;
}

void blit_copy(const BlitArea& a) {
  const size_t bytes = static_cast<size_t>(a.width) * 4;
  for (int y = 0; y < a.height; ++y) std::memcpy(a.dst + y * a.dst_pitch, a.src + y * a.src_pitch, bytes);
}

void blit_blend(const BlitArea& a, int intensity, const RowSpan* rows, int column) {
  for (int y = 0; y < a.height; ++y) {
    uint8_t* d = a.dst + y * a.dst_pitch;
    const uint8_t* s = a.src + y * a.src_pitch;
    if (!rows) {
      blend_run(d, s, a.width, intensity);
      continue;
    }
    // The row's span in the area's own columns: blend up to the solid run,
    // copy the run, blend after it; nothing outside the visible part.
    const RowSpan& r = rows[y];
    const int lo = std::max(r.lo - column, 0), hi = std::min(r.hi - column, a.width);
    if (lo >= hi) continue;
    const int sa = std::clamp(r.a - column, lo, hi), sb = std::clamp(r.b - column, sa, hi);
    if (sa > lo) blend_run(d + lo * 4, s + lo * 4, sa - lo, intensity);
    if (sb > sa) {
      if (intensity == 255) {
        std::memcpy(d + sa * 4, s + sa * 4, static_cast<size_t>(sb - sa) * 4);
      } else {
        blend_run_at(d + sa * 4, s + sa * 4, sb - sa, intensity);
      }
    }
    if (hi > sb) blend_run(d + sb * 4, s + sb * 4, hi - sb, intensity);
  }
}

void blit_blend_opaque(const BlitArea& a, int intensity) {
  if (intensity >= 255) {
    blit_copy(a);
    return;
  }
  for (int y = 0; y < a.height; ++y) blend_run_at(a.dst + y * a.dst_pitch, a.src + y * a.src_pitch, a.width, intensity);
}

void blit_blend_colour(const BlitArea& a, uint32_t colour, int alpha) {
  uint8_t c[4];
  std::memcpy(c, &colour, 4);
  if (alpha >= 255) {
    for (int y = 0; y < a.height; ++y) {
      uint8_t* d = a.dst + y * a.dst_pitch;
      for (int x = 0; x < a.width; ++x) std::memcpy(d + x * 4, c, 4);
    }
    return;
  }
  for (int y = 0; y < a.height; ++y) blend_colour_run(a.dst + y * a.dst_pitch, a.width, c, alpha);
}
