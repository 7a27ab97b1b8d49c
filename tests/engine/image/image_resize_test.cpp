// The smooth stretch behind image_resize against a plain floating-point
// resampler written from its definition: each output pixel is the sum of the
// source pixels weighted by how much of it they cover (shrinking) or by the
// bilinear weights between pixel centres (enlarging), per axis.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "engine/image/image.h"

namespace {

// Per output position: the source positions that count and their weights.
using Weights = std::vector<std::vector<std::pair<int, double>>>;

Weights ReferenceAxis(int src, int dst) {
  Weights axis(static_cast<size_t>(dst));
  const double scale = static_cast<double>(src) / dst;
  for (int d = 0; d < dst; ++d) {
    auto& w = axis[static_cast<size_t>(d)];
    if (dst < src) {
      const double lo = d * scale, hi = (d + 1) * scale;
      for (int s = 0; s < src; ++s) {
        const double cover = std::min<double>(hi, s + 1) - std::max<double>(lo, s);
        if (cover > 0) w.emplace_back(s, cover / scale);
      }
    } else {
      const double pos = std::clamp((d + 0.5) * scale - 0.5, 0.0, static_cast<double>(src - 1));
      const int a = static_cast<int>(pos);
      w.emplace_back(a, 1 - (pos - a));
      if (a + 1 < src) w.emplace_back(a + 1, pos - a);
    }
  }
  return axis;
}

ImageBuffer Reference(const ImageBuffer& src, int width, int height) {
  const Weights xs = ReferenceAxis(src.width, width), ys = ReferenceAxis(src.height, height);
  ImageBuffer out;
  out.width = width;
  out.height = height;
  out.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 4; ++c) {
        double sum = 0;
        for (auto [sy, wy] : ys[static_cast<size_t>(y)]) {
          for (auto [sx, wx] : xs[static_cast<size_t>(x)]) sum += wy * wx * src.row(sy)[sx * 4 + c];
        }
        out.row(y)[x * 4 + c] = static_cast<uint8_t>(std::clamp(std::floor(sum + 0.5), 0.0, 255.0));
      }
    }
  }
  return out;
}

// A picture of noise over smooth gradients, every channel its own.
ImageBuffer Noise(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  ImageBuffer img;
  img.width = width;
  img.height = height;
  img.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 4; ++c) {
        const int base = (c == 0 ? x * 255 / width : c == 1 ? y * 255 / height : c == 2 ? 128 : 255);
        const int v = base + static_cast<int>(random() % 121) - 60;
        img.row(y)[x * 4 + c] = static_cast<uint8_t>(std::clamp(v, 0, 255));
      }
    }
  }
  // Full and empty channel values, where rounding overflows would show.
  for (int x = 0; x < width; x += 3) {
    std::fill_n(img.row(0) + x * 4, 4, uint8_t{255});
    std::fill_n(img.row(height - 1) + x * 4, 4, uint8_t{0});
  }
  return img;
}

// Resizes a copy of src through the image table.
ImageBuffer Resized(const ImageBuffer& src, int width, int height) {
  const int id = image_store(-1, std::make_unique<ImageBuffer>(src));
  EXPECT_NE(id, 0);
  EXPECT_NE(image_resize(id, width, height, 0), 0);
  ImageBuffer out = *image_handle(id);
  image_free(id);
  return out;
}

// The largest difference of any channel of any pixel.
int MaxDifference(const ImageBuffer& a, const ImageBuffer& b) {
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  if (a.pixels.size() != b.pixels.size()) return 256;
  int most = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) most = std::max(most, std::abs(a.pixels[i] - b.pixels[i]));
  return most;
}

TEST(ImageResize, SmoothStretchStaysWithinOneOfTheExactFilter) {
  struct Case {
    int sw, sh, dw, dh;
  };
  const Case cases[] = {
      {480, 270, 320, 180},  // the 1920x1080 to 1280x720 ratio
      {480, 270, 256, 192},  // to 1024x768: shrinks both ways by different ratios
      {400, 225, 341, 192},  // to 1366x768: ratios that are no simple fraction
      {37, 23, 5, 3},        // many source pixels per output pixel
      {7, 5, 16, 13},        // enlarging both ways
      {40, 9, 17, 31},       // shrinking across, enlarging down
      {1, 1, 6, 4},          // a single pixel
      {9, 1, 1, 1},          // a whole row into one pixel
      {3, 50, 3, 7},         // one axis kept, the other shrunk
  };
  unsigned seed = 1;
  for (const Case& c : cases) {
    const ImageBuffer src = Noise(c.sw, c.sh, seed++);
    const ImageBuffer got = Resized(src, c.dw, c.dh);
    EXPECT_LE(MaxDifference(got, Reference(src, c.dw, c.dh)), 1)
        << c.sw << "x" << c.sh << " to " << c.dw << "x" << c.dh;
  }
}

TEST(ImageResize, FlatAreasKeepTheirExactValue) {
  // Rounding the weights or the filtered values the wrong way would make
  // flat backgrounds come out a shade lighter or darker.
  for (uint8_t v : {uint8_t{0}, uint8_t{1}, uint8_t{127}, uint8_t{254}, uint8_t{255}}) {
    ImageBuffer flat;
    flat.width = 300;
    flat.height = 170;
    flat.pixels.assign(static_cast<size_t>(flat.width) * static_cast<size_t>(flat.height) * 4, v);
    for (auto [w, h] : {std::pair{211, 97}, std::pair{300, 170 * 3 + 1}, std::pair{13, 1000}}) {
      const ImageBuffer got = Resized(flat, w, h);
      ASSERT_EQ(got.pixels.size(), static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
      for (size_t i = 0; i < got.pixels.size(); ++i) ASSERT_EQ(got.pixels[i], v) << w << "x" << h << " at " << i;
    }
  }
}

TEST(ImageResize, RectangleOfTheSourceIsLikeCuttingItOutFirst) {
  const ImageBuffer src = Noise(90, 60, 7);
  const int x = 13, y = 9, w = 50, h = 31;
  ImageBuffer cut;
  cut.width = w;
  cut.height = h;
  for (int r = 0; r < h; ++r) cut.pixels.insert(cut.pixels.end(), src.row(y + r) + x * 4, src.row(y + r) + (x + w) * 4);
  for (auto [dw, dh] : {std::pair{33, 20}, std::pair{77, 45}}) {
    ImageBuffer direct;
    direct.width = dw;
    direct.height = dh;
    direct.pixels.resize(static_cast<size_t>(dw) * static_cast<size_t>(dh) * 4);
    image_stretch_smooth(src, x, y, w, h, &direct);
    EXPECT_EQ(MaxDifference(direct, Resized(cut, dw, dh)), 0) << dw << "x" << dh;
  }
}

}  // namespace
