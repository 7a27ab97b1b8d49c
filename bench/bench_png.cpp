// Decoding a 1920 x 1080 RGB PNG into a sprite, against libpng decoding the
// same file into a plain buffer, measured in the same run: the ratio is the
// cost of the engine's path on top of the decoder itself.
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "bench/bench_libpng.h"
#include "bench/bench_timing.h"

#include "engine/screen/screen.h"

namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;

void append(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

// A picture like the game's backgrounds: smooth gradients with some grain.
std::vector<uint8_t> make_picture() {
  std::vector<uint8_t> rgb(static_cast<size_t>(kW) * kH * 3);
  uint32_t seed = 7;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      seed = seed * 1664525u + 1013904223u;
      int grain = static_cast<int>(seed >> 29);
      uint8_t* p = &rgb[(static_cast<size_t>(y) * kW + x) * 3];
      p[0] = static_cast<uint8_t>(40 + 60 * std::sin(x * 0.004) + grain);
      p[1] = static_cast<uint8_t>(30 + y / 12 + grain);
      p[2] = static_cast<uint8_t>(90 + 50 * std::cos((x + y) * 0.003) + grain);
    }
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) return {};
  png_set_write_fn(png, &out, append, nullptr);
  png_set_IHDR(png, info, kW, kH, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < kH; ++y) png_write_row(png, &rgb[static_cast<size_t>(y) * kW * 3]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// libpng alone: the file into a plain RGB buffer.
bool libpng_decode(const std::vector<uint8_t>& file, std::vector<uint8_t>* rgb) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  bench::PngMemoryReader reader{&file, 0};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &reader, bench::png_read_memory);
  png_read_info(png, info);
  png_read_update_info(png, info);
  size_t stride = png_get_rowbytes(png, info);
  rgb->resize(stride * png_get_image_height(png, info));
  for (png_uint_32 y = 0; y < png_get_image_height(png, info); ++y) png_read_row(png, &(*rgb)[y * stride], nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

int main() {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  std::vector<uint8_t> file = make_picture();
  if (file.empty() || !sprite_system_start() || !window_open(0, 0, 0, 64, 64, "bench", kWindowHidden) ||
      !screen_open_in_window(0, 0, 0, 64, 64, 0, 0, 0, 0)) {
    std::fprintf(stderr, "setup failed\n");
    return 1;
  }
  bool ok = true;
  // Each decode gets a new buffer, as a picture being loaded does.
  auto plain = [&] {
    std::vector<uint8_t> rgb;
    ok = libpng_decode(file, &rgb) && ok;
  };
  auto sprite = [&] { ok = sprite_from_memory(1, file.data(), file.size(), 0) != 0 && ok; };
  plain();
  sprite();
  double t_plain = 0, t_sprite = 0;
  // Interleaved rounds, so that a busy spell of the machine hits both.
  for (int round = 0; round < 3; ++round) {
    t_plain += bench::median_cpu(5, plain);
    t_sprite += bench::median_cpu(5, sprite);
  }
  if (!ok || sprite_width(1) != kW || sprite_height(1) != kH) {
    std::fprintf(stderr, "decoding failed\n");
    return 1;
  }
  double ratio = t_sprite / t_plain;
  std::printf("%dx%d RGB PNG of %zu bytes: into a sprite %.2f ms, libpng alone %.2f ms (processor time), "
              "ratio %.2f (target <= 1.3)\n",
              kW, kH, file.size(), t_sprite / 3 * 1e3, t_plain / 3 * 1e3, ratio);
  sprite_system_stop();
  return ratio <= 1.3 ? 0 : 2;
}
