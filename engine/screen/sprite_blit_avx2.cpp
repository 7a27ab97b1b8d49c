// The AVX2 drawing loops: the same arithmetic as the SSE2 ones in
// sprite_blit.cpp on eight pixels at once. This file is built with AVX2
// enabled, so it holds nothing but these loops: any shared inline function
// built here could end up used on a processor without AVX2.
#include "engine/screen/sprite_blit_avx2.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace {

inline __m256i load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void store(uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

// floor(x / 255) in each 16-bit lane, exact for every x below 65536.
inline __m256i div255(__m256i x) {
  return _mm256_srli_epi16(_mm256_mulhi_epu16(x, _mm256_set1_epi16(static_cast<short>(0x8081))), 7);
}

inline __m256i mix(__m256i s, __m256i d, __m256i a) {
  const __m256i k255 = _mm256_set1_epi16(255), k127 = _mm256_set1_epi16(127);
  __m256i x = _mm256_add_epi16(_mm256_mullo_epi16(s, a), _mm256_mullo_epi16(d, _mm256_sub_epi16(k255, a)));
  return div255(_mm256_add_epi16(x, k127));
}

inline __m256i alpha_lanes(__m256i px) {
  return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(px, 0xFF), 0xFF);
}

}  // namespace

bool blit_avx2_built() { return true; }

int blit_avx2_blend(uint8_t* d, const uint8_t* s, int n, int intensity) {
  const __m256i zero = _mm256_setzero_si256(), alpha_mask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i k127 = _mm256_set1_epi16(127), level = _mm256_set1_epi16(static_cast<short>(intensity));
  const bool full = intensity == 255;
  int x = 0;
  for (; x + 8 <= n; x += 8, s += 32, d += 32) {
    __m256i sp = load(s);
    __m256i alpha = _mm256_and_si256(sp, alpha_mask);
    if (full && _mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, alpha_mask)) == -1) {
      store(d, sp);
      continue;
    }
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, zero)) == -1) continue;
    __m256i dp = load(d);
    __m256i slo = _mm256_unpacklo_epi8(sp, zero), shi = _mm256_unpackhi_epi8(sp, zero);
    __m256i alo = alpha_lanes(slo), ahi = alpha_lanes(shi);
    if (!full) {
      alo = div255(_mm256_add_epi16(_mm256_mullo_epi16(alo, level), k127));
      ahi = div255(_mm256_add_epi16(_mm256_mullo_epi16(ahi, level), k127));
    }
    __m256i lo = mix(slo, _mm256_unpacklo_epi8(dp, zero), alo);
    __m256i hi = mix(shi, _mm256_unpackhi_epi8(dp, zero), ahi);
    store(d, _mm256_packus_epi16(lo, hi));
  }
  return x;
}

int blit_avx2_blend_at(uint8_t* d, const uint8_t* s, int n, int alpha) {
  const __m256i zero = _mm256_setzero_si256(), a = _mm256_set1_epi16(static_cast<short>(alpha));
  int x = 0;
  for (; x + 8 <= n; x += 8, s += 32, d += 32) {
    __m256i sp = load(s), dp = load(d);
    __m256i lo = mix(_mm256_unpacklo_epi8(sp, zero), _mm256_unpacklo_epi8(dp, zero), a);
    __m256i hi = mix(_mm256_unpackhi_epi8(sp, zero), _mm256_unpackhi_epi8(dp, zero), a);
    store(d, _mm256_packus_epi16(lo, hi));
  }
  return x;
}

int blit_avx2_blend_colour(uint8_t* d, int n, const uint8_t* colour, int alpha) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i keep = _mm256_set1_epi16(static_cast<short>(255 - alpha));
  short share[4];
  for (int c = 0; c < 4; ++c) share[c] = static_cast<short>(colour[c] * alpha + 127);
  const __m256i add = _mm256_setr_epi16(share[0], share[1], share[2], share[3], share[0], share[1], share[2],
                                        share[3], share[0], share[1], share[2], share[3], share[0], share[1],
                                        share[2], share[3]);
  int x = 0;
  for (; x + 8 <= n; x += 8, d += 32) {
    __m256i dp = load(d);
    __m256i lo = div255(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(dp, zero), keep), add));
    __m256i hi = div255(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(dp, zero), keep), add));
    store(d, _mm256_packus_epi16(lo, hi));
  }
  return x;
}

#else

bool blit_avx2_built() { return false; }
int blit_avx2_blend(uint8_t*, const uint8_t*, int, int) { return 0; }
int blit_avx2_blend_at(uint8_t*, const uint8_t*, int, int) { return 0; }
int blit_avx2_blend_colour(uint8_t*, int, const uint8_t*, int) { return 0; }

#endif
