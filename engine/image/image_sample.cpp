// Resampling as a texture sampler does it, for renderers that cannot stretch
// sprites quickly themselves: the stretched copy is made once and then drawn
// pixel for pixel.
#include <algorithm>
#include <cmath>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "engine/image/codec_builtin.h"
#include "engine/image/image_buffer.h"
#include "engine/image/image_sample_avx2.h"

namespace {

// Per output position along one axis: the two texels and the weight (0 to
// 256) of the second.
struct AxisSample {
  int first;
  int second;
  int weight;
};

int wrap(int i, int size) {
  i %= size;
  return i < 0 ? i + size : i;
}

std::vector<AxisSample> axis_samples(int start, int length, int out, int full, int filter) {
  std::vector<AxisSample> s(static_cast<size_t>(out));
  for (int d = 0; d < out; ++d) {
    // Texel space: texel i covers [i, i + 1), its centre at i + 0.5.
    double u = start + (d + 0.5) * length / out;
    if (filter == 0) {
      int i = wrap(static_cast<int>(std::floor(u)), full);
      s[static_cast<size_t>(d)] = {i, i, 0};
    } else {
      double t = u - 0.5;
      double base = std::floor(t);
      int w = static_cast<int>(std::lround((t - base) * 256));
      int i = static_cast<int>(base);
      s[static_cast<size_t>(d)] = {wrap(i, full), wrap(i + 1, full), w};
    }
  }
  return s;
}

}  // namespace

void image_sample_stretch(const ImageBuffer& src, int sx, int sy, int sw, int sh, int width, int height,
                          int filter, ImageBuffer* out) {
  out->width = width;
  out->height = height;
  out->depth = 32;
  out->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
  if (src.width <= 0 || src.height <= 0 || sw <= 0 || sh <= 0) return;
  std::vector<AxisSample> xs = axis_samples(sx, sw, width, src.width, filter);
  std::vector<AxisSample> ys = axis_samples(sy, sh, height, src.height, filter);
  for (int y = 0; y < height; ++y) {
    const AxisSample& ay = ys[static_cast<size_t>(y)];
    const uint8_t* r0 = src.row(ay.first);
    const uint8_t* r1 = src.row(ay.second);
    uint8_t* o = out->row(y);
    for (int x = 0; x < width; ++x, o += 4) {
      const AxisSample& ax = xs[static_cast<size_t>(x)];
      const uint8_t* p00 = r0 + ax.first * 4;
      const uint8_t* p01 = r0 + ax.second * 4;
      const uint8_t* p10 = r1 + ax.first * 4;
      const uint8_t* p11 = r1 + ax.second * 4;
      for (int c = 0; c < 4; ++c) {
        int top = p00[c] * (256 - ax.weight) + p01[c] * ax.weight;
        int bottom = p10[c] * (256 - ax.weight) + p11[c] * ax.weight;
        o[c] = static_cast<uint8_t>((top * (256 - ay.weight) + bottom * ay.weight + 32768) >> 16);
      }
    }
  }
}

// ---- The smooth stretch ----
// Each axis gets a table of integer weights (summing to exactly 1 << 14 per
// output position) once; the rows are then filtered across into a small ring
// of 16-bit rows (7 fractional bits) that the columns are filtered from, so
// the whole stretch touches each source row once and stays in the cache.
// Where the processor has SSE2 the products are summed in pairs by one
// multiply-add instruction, where it has AVX2 twice as many at once; the
// plain loops compute the very same integers.

namespace {

constexpr int32_t kWeightOne = 1 << kStretchWeightBits;

// The widest loops the processor has: 0 plain, 1 SSE2, 2 AVX2.
int widest_built() {
#if defined(__SSE2__) && defined(__GNUC__) && defined(__x86_64__)
  static const int widest = stretch_avx2_built() && __builtin_cpu_supports("avx2") ? 2 : 1;
  return widest;
#elif defined(__SSE2__)
  return 1;
#else
  return 0;
#endif
}

int g_vector_limit = 2;

int widest_allowed() { return std::min(widest_built(), g_vector_limit); }

// The weights of one axis: every output position reads `taps` neighbouring
// source positions from first[d]; positions it does not need weigh 0, so
// that the inner loops have a fixed length.
struct SmoothAxis {
  int taps = 1;
  std::vector<int> first;
  std::vector<int32_t> weights;  // taps per output position
};

// Area averaging when shrinking (each source pixel weighs by how much of
// the output pixel it covers), bilinear between pixel centres, clamped at
// the edges, when enlarging or keeping the size. With even_taps the tap
// count is made even where the source is wide enough, for the pairwise sums.
SmoothAxis smooth_axis(int src, int dst, bool even_taps) {
  std::vector<int> first(static_cast<size_t>(dst));
  // Every position's exact weights one after another, from at[d], count[d]
  // of them (one list for all: a list each would cost an allocation each).
  std::vector<double> exact;
  exact.reserve(static_cast<size_t>(dst) * (static_cast<size_t>(src / dst) + 2));
  std::vector<size_t> at(static_cast<size_t>(dst));
  std::vector<int> count(static_cast<size_t>(dst));
  const double scale = static_cast<double>(src) / dst;
  for (int d = 0; d < dst; ++d) {
    const size_t begin = exact.size();
    size_t lead = 0;
    if (dst < src) {
      const double lo = d * scale, hi = (d + 1) * scale;
      const int a = static_cast<int>(std::floor(lo));
      const int last = std::min(src - 1, static_cast<int>(std::ceil(hi)) - 1);
      first[static_cast<size_t>(d)] = a;
      for (int s = a; s <= last; ++s)
        exact.push_back((std::min<double>(hi, s + 1) - std::max<double>(lo, s)) / scale);
      // Bounds that land a hair past a pixel edge add a tap of almost no
      // weight, which would lengthen every position's loop.
      constexpr double kNoWeight = 1e-9;
      while (exact.size() - begin > 1 && exact.back() < kNoWeight) exact.pop_back();
      while (exact.size() - begin - lead > 1 && exact[begin + lead] < kNoWeight) {
        ++lead;
        ++first[static_cast<size_t>(d)];
      }
    } else {
      const double pos = std::max(0.0, std::min((d + 0.5) * scale - 0.5, static_cast<double>(src - 1)));
      const int a = static_cast<int>(std::floor(pos));
      first[static_cast<size_t>(d)] = a;
      exact.push_back(1.0 - (pos - a));
      if (a + 1 < src) exact.push_back(pos - a);
    }
    at[static_cast<size_t>(d)] = begin + lead;
    count[static_cast<size_t>(d)] = static_cast<int>(exact.size() - begin - lead);
  }
  SmoothAxis axis;
  for (int n : count) axis.taps = std::max(axis.taps, n);
  if (even_taps && axis.taps % 2 != 0 && axis.taps < src) ++axis.taps;
  axis.first.resize(static_cast<size_t>(dst));
  axis.weights.assign(static_cast<size_t>(dst) * static_cast<size_t>(axis.taps), 0);
  for (int d = 0; d < dst; ++d) {
    const double* w = &exact[at[static_cast<size_t>(d)]];
    const int n = count[static_cast<size_t>(d)];
    // Shifted left where needed so that all taps lie inside the source.
    const int start = std::min(first[static_cast<size_t>(d)], src - axis.taps);
    axis.first[static_cast<size_t>(d)] = start;
    int32_t* out = &axis.weights[static_cast<size_t>(d) * static_cast<size_t>(axis.taps)];
    const int skip = first[static_cast<size_t>(d)] - start;
    int32_t sum = 0;
    int heaviest = 0;
    for (int k = 0; k < n; ++k) {
      out[skip + k] = static_cast<int32_t>(std::lround(w[k] * kWeightOne));
      sum += out[skip + k];
      if (w[k] > w[heaviest]) heaviest = k;
    }
    // Rounding must neither brighten nor darken a flat area.
    out[skip + heaviest] += kWeightOne - sum;
  }
  return axis;
}

// How many output pixels from the left the AVX2 loop can take (a multiple
// of four): each reads 16 bytes at every fourth tap, so up to three pixels
// past its last tap, and must stay inside the avail pixels left in the row.
int avx2_across_count(const SmoothAxis& axis, int width, int avail) {
  if (axis.taps % 2 != 0) return 0;
  const int reach = (axis.taps + 3) / 4 * 4;
  int count = 0;
  while (count < width && axis.first[static_cast<size_t>(count)] + reach <= avail) ++count;
  return count / 4 * 4;
}

// How many output pixels from the left (a multiple of four, at most count)
// the two-tap AVX2 loop that reads eight source pixels for every four
// output pixels can take: those eight must hold all their taps and stay
// inside the avail pixels left in the row.
int avx2_near_count(const SmoothAxis& axis, int count, int avail) {
  if (axis.taps != 2) return 0;
  int near = 0;
  for (; near < count; near += 4) {
    const int from = axis.first[static_cast<size_t>(near)];
    if (from + 8 > avail || axis.first[static_cast<size_t>(near + 3)] + 2 > from + 8) break;
  }
  return near;
}

// Per four output pixels, the distances of the source pixels the two-tap
// loop reads from the first one's first (see stretch_avx2_across_near).
std::vector<uint8_t> avx2_near_offsets(const SmoothAxis& axis, int near) {
  std::vector<uint8_t> offsets(static_cast<size_t>(near) * 2);
  for (int x = 0; x < near; ++x) {
    const int from = axis.first[static_cast<size_t>(x / 4 * 4)];
    const int d = axis.first[static_cast<size_t>(x)] - from;
    offsets[static_cast<size_t>(x) * 2] = static_cast<uint8_t>(d);
    offsets[static_cast<size_t>(x) * 2 + 1] = static_cast<uint8_t>(d + 1);
  }
  return offsets;
}

// The across weights laid out for the AVX2 loops (see stretch_avx2_across).
std::vector<int32_t> avx2_across_lanes(const SmoothAxis& axis, int count) {
  const int taps = axis.taps, pairs = taps / 2;
  std::vector<int32_t> lanes(static_cast<size_t>(count) * static_cast<size_t>(pairs) * 4);
  for (int x = 0; x < count; ++x) {
    // Pixels 0 and 2 of each four share the first kind of pair, in the low
    // and the high half; 1 and 3 the second.
    const int quad = x / 4, in_quad = x % 4;
    const int32_t* w = &axis.weights[static_cast<size_t>(x) * static_cast<size_t>(taps)];
    for (int j = 0; j < pairs; ++j) {
      const uint32_t both = static_cast<uint32_t>(w[2 * j]) | static_cast<uint32_t>(w[2 * j + 1]) << 16;
      const size_t slot =
          static_cast<size_t>(quad * 16 * pairs + (in_quad % 2) * 8 * pairs + j * 8 + (in_quad / 2) * 4);
      std::fill_n(&lanes[slot], 4, static_cast<int32_t>(both));
    }
  }
  return lanes;
}

// Output pixels x0 to width - 1 of one source row filtered across, 16 bits a
// channel (value times 128), on the widest loops allowed.
void filter_across(const uint8_t* in, const SmoothAxis& axis, int x0, int width, int widest, uint16_t* out) {
  const int taps = axis.taps;
  const int32_t* w = axis.weights.data() + static_cast<size_t>(x0) * static_cast<size_t>(taps);
  out += static_cast<size_t>(x0) * 4;
  int x = x0;
#ifdef __SSE2__
  if (widest >= 1 && taps % 2 == 0) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i round = _mm_set1_epi32(kStretchAcrossRound);
    for (; x < width; ++x, w += taps, out += 4) {
      const uint8_t* p = in + static_cast<size_t>(axis.first[static_cast<size_t>(x)]) * 4;
      __m128i acc = round;
      for (int k = 0; k < taps; k += 2, p += 8) {
        // Two neighbouring pixels, their channels interleaved: b0 b1 g0 g1
        // r0 r1 a0 a1, each pair times the two weights and summed.
        const __m128i both = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), zero);
        const __m128i pairs = _mm_unpacklo_epi16(both, _mm_srli_si128(both, 8));
        const __m128i weights = _mm_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(w[k]) |
                                                                    static_cast<uint32_t>(w[k + 1]) << 16));
        acc = _mm_add_epi32(acc, _mm_madd_epi16(pairs, weights));
      }
      acc = _mm_srai_epi32(acc, kStretchAcrossShift);
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packs_epi32(acc, acc));
    }
    return;
  }
#endif
  (void)widest;
  for (; x < width; ++x, w += taps, out += 4) {
    const uint8_t* p = in + static_cast<size_t>(axis.first[static_cast<size_t>(x)]) * 4;
    for (int c = 0; c < 4; ++c) {
      int32_t acc = kStretchAcrossRound;
      for (int k = 0; k < taps; ++k) acc += p[k * 4 + c] * w[k];
      out[c] = static_cast<uint16_t>(acc >> kStretchAcrossShift);
    }
  }
}

// One output row of n channel values from taps filtered rows, on the widest
// loops allowed.
void filter_down(const uint16_t* const* rows, const int32_t* w, int taps, size_t n, int widest, uint8_t* out) {
  size_t i = widest >= 2 ? stretch_avx2_down(rows, w, taps, n, out) : 0;
#ifdef __SSE2__
  const __m128i round = _mm_set1_epi32(kStretchDownRound);
  for (; widest >= 1 && i + 8 <= n; i += 8) {
    __m128i lo = round, hi = round;
    for (int k = 0; k < taps; k += 2) {
      // An odd last row is paired with itself at weight 0.
      const bool pair = k + 1 < taps;
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + i));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[pair ? k + 1 : k] + i));
      const uint32_t w1 = pair ? static_cast<uint32_t>(w[k + 1]) : 0;
      const __m128i weights = _mm_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(w[k]) | w1 << 16));
      lo = _mm_add_epi32(lo, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), weights));
      hi = _mm_add_epi32(hi, _mm_madd_epi16(_mm_unpackhi_epi16(a, b), weights));
    }
    const __m128i words = _mm_packs_epi32(_mm_srai_epi32(lo, kStretchDownShift), _mm_srai_epi32(hi, kStretchDownShift));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(words, words));
  }
#endif
  for (; i < n; ++i) {
    int32_t acc = kStretchDownRound;
    for (int k = 0; k < taps; ++k) acc += rows[k][i] * w[k];
    out[i] = static_cast<uint8_t>(acc >> kStretchDownShift);
  }
}

}  // namespace

int image_stretch_vector_limit(int widest) {
  g_vector_limit = std::max(0, std::min(widest, 2));
  return widest_allowed();
}

namespace {

// The smooth stretch of an sw x sh rectangle whose rows come from rect_row
// (row r of the rectangle, starting at its left edge, with avail pixels
// readable from there; nullptr stops the stretch): rows are asked for in
// order, each once, and some may be passed over. False when a row was
// missing.
template <typename RowOf>
bool stretch_rows(RowOf rect_row, int avail, int sw, int sh, ImageBuffer* out) {
  const int width = out->width, height = out->height;
  if (width <= 0 || height <= 0 || sw <= 0 || sh <= 0) return true;
  const int widest = widest_allowed();
  const SmoothAxis across = smooth_axis(sw, width, true);
  const SmoothAxis down = smooth_axis(sh, height, false);
  const int avx2_count = widest >= 2 ? avx2_across_count(across, width, avail) : 0;
  const std::vector<int32_t> lanes = avx2_across_lanes(across, avx2_count);
  const int near = avx2_near_count(across, avx2_count, avail);
  const std::vector<uint8_t> near_offsets = avx2_near_offsets(across, near);
  const size_t far_lanes = static_cast<size_t>(near) * static_cast<size_t>(across.taps / 2) * 4;
  // The rows one output row reads are a window that only moves downwards and
  // is never taller than the ring, so a row in the ring is never needed again
  // once another has taken its place.
  const size_t n = static_cast<size_t>(width) * 4;
  const int ring_rows = down.taps;
  std::vector<uint16_t> ring(n * static_cast<size_t>(ring_rows));
  std::vector<int> held(static_cast<size_t>(ring_rows), -1);
  std::vector<const uint16_t*> rows(static_cast<size_t>(ring_rows));
  for (int y = 0; y < height; ++y) {
    const int top = down.first[static_cast<size_t>(y)];
    for (int k = 0; k < ring_rows; ++k) {
      const int r = top + k;
      const size_t slot = static_cast<size_t>(r % ring_rows);
      uint16_t* row = &ring[slot * n];
      if (held[slot] != r) {
        const uint8_t* in = rect_row(r);
        if (in == nullptr) return false;
        if (near > 0) stretch_avx2_across_near(in, across.first.data(), near_offsets.data(), lanes.data(), near, row);
        if (avx2_count > near)
          stretch_avx2_across(in, across.first.data() + near, lanes.data() + far_lanes, across.taps, avx2_count - near,
                              row + static_cast<size_t>(near) * 4);
        filter_across(in, across, avx2_count, width, widest, row);
        held[slot] = r;
      }
      rows[static_cast<size_t>(k)] = row;
    }
    // Rows at either end that weigh nothing are left out (most output rows
    // need fewer than the most any needs); the sums stay the same.
    const int32_t* w = &down.weights[static_cast<size_t>(y) * static_cast<size_t>(down.taps)];
    int lo = 0, hi = down.taps;
    while (hi - lo > 1 && w[lo] == 0) ++lo;
    while (hi - lo > 1 && w[hi - 1] == 0) --hi;
    filter_down(rows.data() + lo, w + lo, hi - lo, n, widest, out->row(y));
  }
  return true;
}

// Whether a chosen rectangle lies inside a w x h picture.
bool rect_inside(const ImageRect& rect, int w, int h) {
  return rect.x >= 0 && rect.y >= 0 && rect.width > 0 && rect.height > 0 && rect.x <= w - rect.width &&
         rect.y <= h - rect.height;
}

}  // namespace

void image_stretch_smooth(const ImageBuffer& src, int sx, int sy, int sw, int sh, ImageBuffer* out) {
  (void)stretch_rows([&](int r) { return src.row(sy + r) + static_cast<size_t>(sx) * 4; }, src.width - sx, sw, sh,
                     out);
}

bool image_decode_stretched_into(const void* data, size_t size, int width, int height,
                                 const ImageChooseRect& choose, ImageBuffer* out) {
  if (!data || size == 0 || width <= 0 || height <= 0 || width > kImageMaxSide || height > kImageMaxSide)
    return false;
  // Sizes *out for the stretched picture, once choose has given a rectangle
  // that lies inside a w x h picture; false when it does not.
  ImageRect rect;
  auto size_out = [&](int w, int h, int depth) {
    if (!rect_inside(rect, w, h)) return false;
    out->width = width;
    out->height = height;
    out->depth = depth;
    return pixels_resize(&out->pixels, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  };
  // A PNG of the kinds the row reader takes is stretched as it is read: only
  // a few of its rows are ever held at once.
  PngRowReader png;
  if (png.open(static_cast<const uint8_t*>(data), std::min(size, kImageMaxInput)) &&
      choose(png.width(), png.height(), &rect)) {
    if (!size_out(png.width(), png.height(), png.depth())) return false;
    const size_t left = static_cast<size_t>(rect.x) * 4;
    const bool stretched = stretch_rows(
        [&](int r) -> const uint8_t* {
          const uint8_t* row = png.row(rect.y + r);
          return row ? row + left : nullptr;
        },
        png.width() - rect.x, rect.width, rect.height, out);
    return stretched && png.finish();
  }
  // Every other picture (and one of the screen's own size) is decoded whole,
  // and is the answer when choose keeps it as it is.
  if (!image_decode_reusing(data, size, -1, out)) return false;
  if (!choose(out->width, out->height, &rect)) return true;
  const ImageBuffer whole = std::move(*out);
  *out = ImageBuffer();
  if (!size_out(whole.width, whole.height, whole.depth)) return false;
  image_stretch_smooth(whole, rect.x, rect.y, rect.width, rect.height, out);
  return true;
}

bool image_check_stretched(const void* data, size_t size, int width, int height, const ImageChooseRect& choose,
                           ImageBuffer* scratch) {
  if (!data || size == 0 || width <= 0 || height <= 0 || width > kImageMaxSide || height > kImageMaxSide)
    return false;
  ImageRect rect;
  PngRowReader png;
  // Kept whole when choose answers false, so then it must already have the size.
  if (png.open(static_cast<const uint8_t*>(data), std::min(size, kImageMaxInput))) {
    if (choose(png.width(), png.height(), &rect)) return rect_inside(rect, png.width(), png.height()) && png.finish();
    return png.width() == width && png.height() == height && png.finish();
  }
  if (!image_decode_reusing(data, size, -1, scratch)) return false;
  if (!choose(scratch->width, scratch->height, &rect)) return scratch->width == width && scratch->height == height;
  return rect_inside(rect, scratch->width, scratch->height);
}

std::unique_ptr<ImageBuffer> image_decode_stretched(const void* data, size_t size, int width, int height,
                                                    const ImageChooseRect& choose) {
  auto out = std::make_unique<ImageBuffer>();
  return image_decode_stretched_into(data, size, width, height, choose, out.get()) ? std::move(out) : nullptr;
}
