// Resampling as a texture sampler does it, for renderers that cannot stretch
// sprites quickly themselves: the stretched copy is made once and then drawn
// pixel for pixel.
#include <cmath>
#include <vector>

#include "engine/image/image.h"

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
