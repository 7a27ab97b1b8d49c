// The smooth stretch's AVX2 loops: the same sums as the SSE2 and plain loops
// of image_sample.cpp, on twice the lanes. Only the functions marked for
// AVX2 are built for it (the file itself is built like any other), so no
// shared inline function compiled here can end up run on a processor
// without AVX2.
#include "engine/image/image_sample_avx2.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

#define DUSK_AVX2 __attribute__((target("avx2")))

namespace {

DUSK_AVX2 inline __m256i load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }

// Sixteen bytes from each of two places, one in each half.
DUSK_AVX2 inline __m256i load_halves(const uint8_t* lo, const uint8_t* hi) {
  return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(lo))),
                                 _mm_loadu_si128(reinterpret_cast<const __m128i*>(hi)), 1);
}

// The byte shuffles that spread two neighbouring source pixels of each half
// (the first two, or the last two, of the half's 16 bytes) into 16-bit
// lanes with their channels interleaved, b0 b1 g0 g1 r0 r1 a0 a1, so that
// one multiply-add takes both taps of a pair.
DUSK_AVX2 inline __m256i taps01() {
  constexpr char z = -128;  // a shuffle index that gives a zero byte
  return _mm256_setr_epi8(0, z, 4, z, 1, z, 5, z, 2, z, 6, z, 3, z, 7, z,  //
                          0, z, 4, z, 1, z, 5, z, 2, z, 6, z, 3, z, 7, z);
}
DUSK_AVX2 inline __m256i taps23() {
  constexpr char z = -128;
  return _mm256_setr_epi8(8, z, 12, z, 9, z, 13, z, 10, z, 14, z, 11, z, 15, z,  //
                          8, z, 12, z, 9, z, 13, z, 10, z, 14, z, 11, z, 15, z);
}

// The sums of four output pixels, pixels 0 and 2 in one and 1 and 3 in the
// other, shifted and stored in order: packing works within halves, so it
// gives 0 1 2 3.
DUSK_AVX2 inline void store_across(__m256i acc02, __m256i acc13, uint16_t* out) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                      _mm256_packs_epi32(_mm256_srai_epi32(acc02, kStretchAcrossShift),
                                         _mm256_srai_epi32(acc13, kStretchAcrossShift)));
}

// Four output pixels per round. Each half of a register holds the 16 bytes
// of four neighbouring source pixels from one output pixel's first tap on.
// kTaps is the tap count where it is known when built, else 0.
template <int kTaps>
DUSK_AVX2 void across(const uint8_t* in, const int* first, const int32_t* lanes, int any_taps, int count,
                      uint16_t* out) {
  const int taps = kTaps != 0 ? kTaps : any_taps;
  const int pairs = taps / 2;
  const __m256i lo_taps = taps01(), hi_taps = taps23();
  const __m256i round = _mm256_set1_epi32(kStretchAcrossRound);
  for (int x = 0; x < count; x += 4, lanes += 16 * pairs, out += 16) {
    const uint8_t* p0 = in + static_cast<size_t>(first[x]) * 4;
    const uint8_t* p1 = in + static_cast<size_t>(first[x + 1]) * 4;
    const uint8_t* p2 = in + static_cast<size_t>(first[x + 2]) * 4;
    const uint8_t* p3 = in + static_cast<size_t>(first[x + 3]) * 4;
    const int32_t* w02 = lanes;
    const int32_t* w13 = lanes + 8 * pairs;
    __m256i acc02 = round, acc13 = round;
    for (int k = 0; k < taps; k += 4) {
      const __m256i a = load_halves(p0 + 4 * k, p2 + 4 * k);
      const __m256i b = load_halves(p1 + 4 * k, p3 + 4 * k);
      acc02 = _mm256_add_epi32(acc02, _mm256_madd_epi16(_mm256_shuffle_epi8(a, lo_taps), load(w02 + 4 * k)));
      acc13 = _mm256_add_epi32(acc13, _mm256_madd_epi16(_mm256_shuffle_epi8(b, lo_taps), load(w13 + 4 * k)));
      if (k + 2 < taps) {
        acc02 = _mm256_add_epi32(acc02, _mm256_madd_epi16(_mm256_shuffle_epi8(a, hi_taps), load(w02 + 4 * k + 8)));
        acc13 = _mm256_add_epi32(acc13, _mm256_madd_epi16(_mm256_shuffle_epi8(b, hi_taps), load(w13 + 4 * k + 8)));
      }
    }
    store_across(acc02, acc13, out);
  }
}

// Two taps, four output pixels from one load of eight source pixels: one
// lane-crossing permutation puts pixels 0 and 1's taps in the low half and
// 2 and 3's in the high half, and the two byte shuffles take them apart.
DUSK_AVX2 void across_near(const uint8_t* in, const int* first, const uint8_t* near, const int32_t* lanes,
                           int count, uint16_t* out) {
  const __m256i lo_taps = taps01(), hi_taps = taps23();
  const __m256i round = _mm256_set1_epi32(kStretchAcrossRound);
  for (int x = 0; x < count; x += 4, near += 8, lanes += 16, out += 16) {
    const __m256i where = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(near)));
    const __m256i pixels = _mm256_permutevar8x32_epi32(load(in + static_cast<size_t>(first[x]) * 4), where);
    const __m256i acc02 =
        _mm256_add_epi32(round, _mm256_madd_epi16(_mm256_shuffle_epi8(pixels, lo_taps), load(lanes)));
    const __m256i acc13 =
        _mm256_add_epi32(round, _mm256_madd_epi16(_mm256_shuffle_epi8(pixels, hi_taps), load(lanes + 8)));
    store_across(acc02, acc13, out);
  }
}

DUSK_AVX2 inline __m256i pair_weights(const int32_t* w, int k, int taps) {
  const uint32_t second = k + 1 < taps ? static_cast<uint32_t>(w[k + 1]) : 0;
  return _mm256_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(w[k]) | second << 16));
}

// 32 channel values per round. The rows are taken in pairs, their values
// interleaved so that one multiply-add weighs both; an odd last row is
// paired with zeros. Where the row count is known when built (kTaps, else
// 0) the row pointers and weights are read once for the whole row.
template <int kTaps>
DUSK_AVX2 size_t down(const uint16_t* const* rows, const int32_t* w, int any_taps, size_t n, uint8_t* out) {
  const int taps = kTaps != 0 ? kTaps : any_taps;
  constexpr int kHeld = kTaps != 0 ? kTaps : 1;
  const uint16_t* held_rows[kHeld];
  __m256i held_weights[(kHeld + 1) / 2];
  if (kTaps != 0) {
    for (int k = 0; k < kTaps; ++k) held_rows[k] = rows[k];
    for (int k = 0; k < kTaps; k += 2) held_weights[k / 2] = pair_weights(w, k, kTaps);
  }
  const __m256i round = _mm256_set1_epi32(kStretchDownRound);
  const __m256i zero = _mm256_setzero_si256();
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    __m256i acc0 = round, acc1 = round, acc2 = round, acc3 = round;
    for (int k = 0; k < taps; k += 2) {
      const uint16_t* ra = kTaps != 0 ? held_rows[k] : rows[k];
      const __m256i a0 = load(ra + i), a1 = load(ra + i + 16);
      __m256i b0 = zero, b1 = zero;
      if (k + 1 < taps) {
        const uint16_t* rb = kTaps != 0 ? held_rows[k + 1] : rows[k + 1];
        b0 = load(rb + i);
        b1 = load(rb + i + 16);
      }
      const __m256i weights = kTaps != 0 ? held_weights[k / 2] : pair_weights(w, k, taps);
      acc0 = _mm256_add_epi32(acc0, _mm256_madd_epi16(_mm256_unpacklo_epi16(a0, b0), weights));
      acc1 = _mm256_add_epi32(acc1, _mm256_madd_epi16(_mm256_unpackhi_epi16(a0, b0), weights));
      acc2 = _mm256_add_epi32(acc2, _mm256_madd_epi16(_mm256_unpacklo_epi16(a1, b1), weights));
      acc3 = _mm256_add_epi32(acc3, _mm256_madd_epi16(_mm256_unpackhi_epi16(a1, b1), weights));
    }
    // Unpacking and packing both work within halves, so the words come out
    // in order and the bytes in the order 0 2 1 3 (eight at a time).
    const __m256i lo = _mm256_packs_epi32(_mm256_srai_epi32(acc0, kStretchDownShift),
                                          _mm256_srai_epi32(acc1, kStretchDownShift));
    const __m256i hi = _mm256_packs_epi32(_mm256_srai_epi32(acc2, kStretchDownShift),
                                          _mm256_srai_epi32(acc3, kStretchDownShift));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                        _mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8));
  }
  return i;
}

}  // namespace

bool stretch_avx2_built() { return true; }

void stretch_avx2_across(const uint8_t* in, const int* first, const int32_t* lanes, int taps, int count,
                         uint16_t* out) {
  switch (taps) {
    case 2: return across<2>(in, first, lanes, taps, count, out);
    case 4: return across<4>(in, first, lanes, taps, count, out);
    default: return across<0>(in, first, lanes, taps, count, out);
  }
}

void stretch_avx2_across_near(const uint8_t* in, const int* first, const uint8_t* near, const int32_t* lanes,
                              int count, uint16_t* out) {
  across_near(in, first, near, lanes, count, out);
}

size_t stretch_avx2_down(const uint16_t* const* rows, const int32_t* w, int taps, size_t n, uint8_t* out) {
  switch (taps) {
    case 2: return down<2>(rows, w, taps, n, out);
    case 3: return down<3>(rows, w, taps, n, out);
    default: return down<0>(rows, w, taps, n, out);
  }
}

#else

bool stretch_avx2_built() { return false; }
void stretch_avx2_across(const uint8_t*, const int*, const int32_t*, int, int, uint16_t*) {}
void stretch_avx2_across_near(const uint8_t*, const int*, const uint8_t*, const int32_t*, int, uint16_t*) {}
size_t stretch_avx2_down(const uint16_t* const*, const int32_t*, int, size_t, uint8_t*) { return 0; }

#endif
