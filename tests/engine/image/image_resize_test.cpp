// The smooth stretch behind image_resize against a plain floating-point
// resampler written from its definition: each output pixel is the sum of the
// source pixels weighted by how much of it they cover (shrinking) or by the
// bilinear weights between pixel centres (enlarging), per axis; and each of
// its vector loops (SSE2, AVX2) against its plain loops, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/image/image_buffer.h"
#include "tests/support/image_probe.h"

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

// The rectangle sx, sy, sw x sh of src stretched to width x height on the
// loops of one width (0 plain, 1 SSE2, 2 AVX2), then back to the default.
ImageBuffer StretchOn(int widest, const ImageBuffer& src, int sx, int sy, int sw, int sh, int width, int height) {
  image_stretch_vector_limit(widest);
  ImageBuffer out;
  out.width = width;
  out.height = height;
  out.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0xA5);
  image_stretch_smooth(src, sx, sy, sw, sh, &out);
  image_stretch_vector_limit(2);
  return out;
}

// Where two stretches first differ, or "" when they are the same bytes.
std::string FirstDifference(const ImageBuffer& a, const ImageBuffer& b) {
  if (a.pixels.size() != b.pixels.size()) return "sizes differ";
  const auto m = std::mismatch(a.pixels.begin(), a.pixels.end(), b.pixels.begin());
  if (m.first == a.pixels.end()) return "";
  const size_t i = static_cast<size_t>(m.first - a.pixels.begin());
  const size_t stride = static_cast<size_t>(a.width) * 4;
  return "pixel " + std::to_string(i % stride / 4) + "," + std::to_string(i / stride) + " channel " +
         std::to_string(i % 4) + ": " + std::to_string(*m.first) + " against " + std::to_string(*m.second);
}

TEST(ImageResize, RectangleOfTheSourceIsLikeCuttingItOutFirst) {
  // On the vector loops a pixel may read past the end of the rectangle (not
  // of the row); what lies there must not count.
  const ImageBuffer src = Noise(90, 60, 7);
  struct Rect {
    int x, y, w, h;
  };
  for (const Rect r : {Rect{13, 9, 50, 31}, Rect{40, 29, 50, 31}, Rect{0, 0, 37, 60}}) {
    ImageBuffer cut;
    cut.width = r.w;
    cut.height = r.h;
    for (int row = 0; row < r.h; ++row)
      cut.pixels.insert(cut.pixels.end(), src.row(r.y + row) + r.x * 4, src.row(r.y + row) + (r.x + r.w) * 4);
    for (auto [dw, dh] : {std::pair{33, 20}, std::pair{77, 45}, std::pair{8, 3}}) {
      for (int widest = 0; widest <= 2; ++widest) {
        EXPECT_EQ(FirstDifference(StretchOn(widest, src, r.x, r.y, r.w, r.h, dw, dh),
                                  StretchOn(widest, cut, 0, 0, r.w, r.h, dw, dh)),
                  "")
            << r.w << "x" << r.h << " at " << r.x << "," << r.y << " to " << dw << "x" << dh << " on loops "
            << widest;
      }
    }
  }
}

TEST(ImageResize, EveryVectorPathGivesThePlainLoopsBytes) {
  // The limit must really change the loops used, or the comparison below
  // would compare the widest loops with themselves.
  const int widest = image_stretch_vector_limit(2);
  for (int level = 0; level <= 2; ++level) ASSERT_EQ(image_stretch_vector_limit(level), std::min(level, widest));
  image_stretch_vector_limit(2);
  if (widest < 2) std::printf("this processor has no AVX2: only SSE2 is compared with the plain loops\n");
  struct Case {
    int src_w, src_h, sx, sy, sw, sh, dw, dh;
  };
  std::vector<Case> cases = {
      {1920, 1080, 0, 0, 1920, 1080, 1280, 720},  // the game's own sizes
      {1920, 1080, 0, 0, 1920, 1080, 1366, 768},
      {480, 270, 0, 0, 480, 270, 256, 192},     // four taps across, three down
      {480, 270, 0, 0, 480, 270, 640, 360},     // enlarging
      {500, 40, 0, 0, 500, 40, 71, 9},          // six and eight taps
      {700, 300, 0, 0, 700, 300, 37, 11},       // many taps both ways
      {1, 1, 0, 0, 1, 1, 9, 5},                 // one pixel
      {1, 30, 0, 0, 1, 30, 7, 4},               // one column
      {30, 1, 0, 0, 30, 1, 7, 4},               // one row
      {3, 7, 0, 0, 3, 7, 1, 2},                 // an odd tap count across
      {64, 64, 0, 0, 64, 64, 1, 1},             // everything into one pixel
      {64, 64, 0, 0, 64, 64, 64, 64},           // the same size
      {97, 53, 0, 0, 97, 53, 35, 93},           // shrinking across, enlarging down
      {100, 80, 61, 17, 39, 50, 29, 31},        // a rectangle against the right edge
      {100, 80, 5, 41, 43, 39, 57, 17},         // against the bottom edge
      {100, 80, 57, 41, 43, 39, 29, 17},        // against both
      {100, 80, 20, 10, 3, 5, 13, 21},          // a small rectangle enlarged
  };
  // Random shapes: odd widths and widths that are no multiple of the vector
  // sizes, in both directions, from random rectangles.
  std::mt19937 random(2024);
  for (int i = 0; i < 150; ++i) {
    const int src_w = 1 + static_cast<int>(random() % 120), src_h = 1 + static_cast<int>(random() % 60);
    const int sw = 1 + static_cast<int>(random() % static_cast<unsigned>(src_w));
    const int sh = 1 + static_cast<int>(random() % static_cast<unsigned>(src_h));
    const int sx = static_cast<int>(random() % static_cast<unsigned>(src_w - sw + 1));
    const int sy = static_cast<int>(random() % static_cast<unsigned>(src_h - sh + 1));
    cases.push_back({src_w, src_h, sx, sy, sw, sh, 1 + static_cast<int>(random() % 150),
                     1 + static_cast<int>(random() % 70)});
  }
  unsigned seed = 100;
  for (const Case& c : cases) {
    const ImageBuffer src = Noise(c.src_w, c.src_h, seed++);
    const ImageBuffer plain = StretchOn(0, src, c.sx, c.sy, c.sw, c.sh, c.dw, c.dh);
    for (int widest = 1; widest <= 2; ++widest) {
      ASSERT_EQ(FirstDifference(StretchOn(widest, src, c.sx, c.sy, c.sw, c.sh, c.dw, c.dh), plain), "")
          << c.sw << "x" << c.sh << " at " << c.sx << "," << c.sy << " of " << c.src_w << "x" << c.src_h << " to "
          << c.dw << "x" << c.dh << " on loops " << widest;
    }
  }
}

}  // namespace
