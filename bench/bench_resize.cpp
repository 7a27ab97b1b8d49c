// Fitting a 1920 x 1080 picture to the screen sizes the game runs at with
// image_stretch_smooth, against two baselines measured in the same run:
// copying the source picture with memcpy (how many picture copies one
// stretch costs) and the same stretch on the plain and SSE2 loops (how much
// the widest loops the processor has gain over them).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/bench_timing.h"

#include "engine/image/image_buffer.h"

namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;

// A picture like the game's backgrounds: smooth gradients with some grain.
ImageBuffer make_picture() {
  ImageBuffer img;
  img.width = kW;
  img.height = kH;
  img.pixels.resize(static_cast<size_t>(kW) * kH * 4);
  uint32_t seed = 7;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = static_cast<int>(seed >> 29);
      uint8_t* p = img.row(y) + x * 4;
      p[0] = static_cast<uint8_t>(40 + 60 * std::sin(x * 0.004) + grain);
      p[1] = static_cast<uint8_t>(30 + y / 12 + grain);
      p[2] = static_cast<uint8_t>(90 + 50 * std::cos((x + y) * 0.003) + grain);
      p[3] = 255;
    }
  return img;
}

}  // namespace

int main() {
  const ImageBuffer src = make_picture();
  std::vector<uint8_t> copy(src.pixels.size());
  auto copy_picture = [&] { std::memcpy(copy.data(), src.pixels.data(), src.pixels.size()); };
  const int widest = image_stretch_vector_limit(2);
  std::printf("widest loops on this processor: %s\n", widest == 2 ? "AVX2" : widest == 1 ? "SSE2" : "plain");
  struct Size {
    int w, h;
  };
  const Size sizes[] = {{1280, 720}, {1024, 768}, {1366, 768}, {1280, 1024}, {2560, 1440}};
  uint64_t checksum = 0;
  for (const Size& s : sizes) {
    ImageBuffer out;
    out.width = s.w;
    out.height = s.h;
    out.pixels.resize(static_cast<size_t>(s.w) * s.h * 4);
    // The stretch on loops of one width (0 plain, 1 SSE2, 2 the widest).
    double t[3] = {0, 0, 0};
    std::vector<uint8_t> first;
    for (int level = 0; level <= 2; ++level) {
      image_stretch_vector_limit(level);
      image_stretch_smooth(src, 0, 0, kW, kH, &out);
      if (level == 0) first.assign(out.pixels.begin(), out.pixels.end());
      if (!std::equal(first.begin(), first.end(), out.pixels.begin())) {
        std::fprintf(stderr, "loops %d give other bytes than the plain loops\n", level);
        return 1;
      }
    }
    copy_picture();
    double t_copy = 0;
    // Interleaved rounds, so that a busy spell of the machine hits all.
    // The plain loops take ten times as long, so they get fewer runs.
    for (int round = 0; round < 3; ++round) {
      t_copy += bench::median_cpu(25, copy_picture);
      for (int level = 0; level <= 2; ++level) {
        image_stretch_vector_limit(level);
        t[level] += bench::median_cpu(level == 0 ? 5 : 25, [&] { image_stretch_smooth(src, 0, 0, kW, kH, &out); });
      }
    }
    image_stretch_vector_limit(2);
    for (size_t i = 0; i < out.pixels.size(); i += 4093) checksum += out.pixels[i];
    std::printf("%dx%d -> %dx%d: stretch %.3f ms, memcpy of the source %.3f ms, ratio %.2f; "
                "plain loops %.3f ms (%.2fx the stretch), SSE2 %.3f ms (%.2fx)\n",
                kW, kH, s.w, s.h, t[2] / 3 * 1e3, t_copy / 3 * 1e3, t[2] / t_copy, t[0] / 3 * 1e3, t[0] / t[2],
                t[1] / 3 * 1e3, t[1] / t[2]);
  }
  std::printf("(processor time: medians of 25 runs, 5 for the plain loops, over 3 rounds; checksum %llu)\n",
              static_cast<unsigned long long>(checksum));
  return 0;
}
