// Whole-image pixel work: transparent colour, copies and fills into another
// buffer, stretching and cutting out rectangles.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "engine/image/image.h"

namespace {

// Pixel colour as it sits in memory (0x00RRGGBB) from a 0x00BBGGRR value.
uint32_t memory_rgb(int rgb) {
  uint32_t c = static_cast<uint32_t>(rgb);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// One output position of a stretch: the source samples it averages.
struct Tap {
  int first;
  std::vector<float> weights;
};

// Weights along one axis: area averaging when shrinking, bilinear
// interpolation between pixel centres when enlarging.
std::vector<Tap> axis_taps(int src, int dst) {
  std::vector<Tap> taps(static_cast<size_t>(dst));
  double scale = static_cast<double>(src) / dst;
  for (int d = 0; d < dst; ++d) {
    Tap& t = taps[static_cast<size_t>(d)];
    if (dst < src) {
      double lo = d * scale, hi = (d + 1) * scale;
      int first = static_cast<int>(std::floor(lo));
      int last = std::min(src - 1, static_cast<int>(std::ceil(hi)) - 1);
      t.first = first;
      for (int s = first; s <= last; ++s) {
        double cover = std::min<double>(hi, s + 1) - std::max<double>(lo, s);
        t.weights.push_back(static_cast<float>(cover / scale));
      }
    } else {
      double pos = (d + 0.5) * scale - 0.5;
      pos = std::max(0.0, std::min(pos, static_cast<double>(src - 1)));
      int a = static_cast<int>(std::floor(pos));
      double f = pos - a;
      t.first = a;
      t.weights.push_back(static_cast<float>(1.0 - f));
      if (a + 1 < src) t.weights.push_back(static_cast<float>(f));
    }
  }
  return taps;
}

// Smooth stretch, rows first and then columns, all four channels.
void stretch_smooth(const ImageBuffer& src, ImageBuffer* dst) {
  std::vector<Tap> xt = axis_taps(src.width, dst->width);
  std::vector<Tap> yt = axis_taps(src.height, dst->height);
  std::vector<float> mid(static_cast<size_t>(dst->width) * static_cast<size_t>(src.height) * 4);
  for (int y = 0; y < src.height; ++y) {
    const uint8_t* in = src.row(y);
    float* out = &mid[static_cast<size_t>(y) * static_cast<size_t>(dst->width) * 4];
    for (int x = 0; x < dst->width; ++x) {
      const Tap& t = xt[static_cast<size_t>(x)];
      float acc[4] = {0, 0, 0, 0};
      for (size_t k = 0; k < t.weights.size(); ++k) {
        const uint8_t* p = in + static_cast<size_t>(t.first + static_cast<int>(k)) * 4;
        for (int c = 0; c < 4; ++c) acc[c] += p[c] * t.weights[k];
      }
      std::memcpy(out + static_cast<size_t>(x) * 4, acc, sizeof acc);
    }
  }
  size_t mid_stride = static_cast<size_t>(dst->width) * 4;
  for (int y = 0; y < dst->height; ++y) {
    const Tap& t = yt[static_cast<size_t>(y)];
    uint8_t* out = dst->row(y);
    for (size_t i = 0; i < mid_stride; ++i) {
      float acc = 0;
      for (size_t k = 0; k < t.weights.size(); ++k)
        acc += mid[static_cast<size_t>(t.first + static_cast<int>(k)) * mid_stride + i] * t.weights[k];
      out[i] = static_cast<uint8_t>(std::min(255.0f, std::max(0.0f, acc + 0.5f)));
    }
  }
}

void stretch_nearest(const ImageBuffer& src, ImageBuffer* dst) {
  for (int y = 0; y < dst->height; ++y) {
    int sy = static_cast<int>(static_cast<int64_t>(y) * src.height / dst->height);
    const uint32_t* in = reinterpret_cast<const uint32_t*>(src.row(sy));
    uint32_t* out = reinterpret_cast<uint32_t*>(dst->row(y));
    for (int x = 0; x < dst->width; ++x) out[x] = in[static_cast<int64_t>(x) * src.width / dst->width];
  }
}

}  // namespace

void image_apply_transparent_color(ImageBuffer* image, int rgb) {
  uint32_t key = memory_rgb(rgb);
  auto* p = reinterpret_cast<uint32_t*>(image->pixels.data());
  size_t n = image->pixels.size() / 4;
  for (size_t i = 0; i < n; ++i) {
    uint32_t c = p[i] & 0xFFFFFF;
    p[i] = c == key ? c : c | 0xFF000000u;
  }
}

void image_copy_rgb(ImageBuffer* dst, const ImageBuffer& src, int x, int y) {
  int x0 = std::max(0, x), y0 = std::max(0, y);
  int x1 = static_cast<int>(std::min<int64_t>(dst->width, static_cast<int64_t>(x) + src.width));
  int y1 = static_cast<int>(std::min<int64_t>(dst->height, static_cast<int64_t>(y) + src.height));
  for (int ty = y0; ty < y1; ++ty) {
    const uint32_t* in = reinterpret_cast<const uint32_t*>(src.row(ty - y)) + (x0 - x);
    uint32_t* out = reinterpret_cast<uint32_t*>(dst->row(ty)) + x0;
    for (int i = 0; i < x1 - x0; ++i) out[i] = (out[i] & 0xFF000000u) | (in[i] & 0xFFFFFF);
  }
}

void image_fill_rgb(ImageBuffer* dst, int x, int y, int width, int height, int rgb) {
  uint32_t c = memory_rgb(rgb);
  int x0 = std::max(0, x), y0 = std::max(0, y);
  int x1 = static_cast<int>(std::min<int64_t>(dst->width, static_cast<int64_t>(x) + std::max(0, width)));
  int y1 = static_cast<int>(std::min<int64_t>(dst->height, static_cast<int64_t>(y) + std::max(0, height)));
  for (int ty = y0; ty < y1; ++ty) {
    uint32_t* out = reinterpret_cast<uint32_t*>(dst->row(ty));
    for (int tx = x0; tx < x1; ++tx) out[tx] = (out[tx] & 0xFF000000u) | c;
  }
}

int image_resize(int image, int width, int height, int mode) {
  ImageBuffer* src = image_handle(image);
  if (!src || width <= 0 || height <= 0 || width > kImageMaxSide || height > kImageMaxSide) return 0;
  if (mode != 0 && mode != 1) return 0;
  if (src->width == width && src->height == height) return 1;
  ImageBuffer resized;
  resized.width = width;
  resized.height = height;
  resized.depth = src->depth;
  resized.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  if (mode == 0) {
    stretch_smooth(*src, &resized);
  } else {
    stretch_nearest(*src, &resized);
  }
  *src = std::move(resized);
  return 1;
}

int image_grab(int source, int number, int x, int y, int width, int height) {
  const ImageBuffer* src = image_handle(source);
  if (!src || x < 0 || y < 0 || width <= 0 || height <= 0) return 0;
  if (static_cast<int64_t>(x) + width > src->width || static_cast<int64_t>(y) + height > src->height) return 0;
  auto part = std::make_unique<ImageBuffer>();
  part->width = width;
  part->height = height;
  part->depth = src->depth;
  part->pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (int r = 0; r < height; ++r)
    std::memcpy(part->row(r), src->row(y + r) + static_cast<size_t>(x) * 4, static_cast<size_t>(width) * 4);
  // Grabbing into the source's own number replaces it only after the copy.
  return image_store(number, std::move(part));
}
