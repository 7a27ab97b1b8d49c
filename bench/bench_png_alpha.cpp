// Decoding the data pack's pictures with alpha (the card faces and backs,
// the panels and shadows: 8-bit RGBA) through the engine's decoder, against
// libpng reading the same files with its own red-blue swap (png_set_bgr)
// into the same kind of pixel buffer, in the same run. The ratio is what the
// engine's path costs against libpng's transform; below 1 it is cheaper.
//
// Usage: bench_png_alpha [folder holding DuskmatchData.pack, default ../bin/
// beside this program]
#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_libpng.h"
#include "bench/bench_timing.h"

#include "engine/image/image_buffer.h"
#include "engine/pack/pack.h"
#include "engine/system/file.h"

namespace {

// libpng with its own swap into an image buffer, checking what it checks by
// default (as the decoder does), row by row as the decoder reads.
bool libpng_bgr(const std::vector<uint8_t>& file, ImageBuffer* out) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  bench::PngMemoryReader reader{&file, 0};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &reader, bench::png_read_memory);
  png_read_info(png, info);
  png_set_bgr(png);
  png_read_update_info(png, info);
  out->width = static_cast<int>(png_get_image_width(png, info));
  out->height = static_cast<int>(png_get_image_height(png, info));
  out->pixels.resize(static_cast<size_t>(out->width) * static_cast<size_t>(out->height) * 4);
  for (int y = 0; y < out->height; ++y) png_read_row(png, out->row(y), nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

// Whether a PNG file is 8-bit RGBA and not interlaced.
bool is_plain_rgba(const std::vector<uint8_t>& f) {
  return f.size() > 33 && std::memcmp(&f[12], "IHDR", 4) == 0 && f[24] == 8 && f[25] == 6 && f[28] == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = argc > 1 ? std::string(argv[1]) : file_program_folder() + "../bin/";
  if (folder.back() != '/') folder += '/';
  pack_register_formats();
  const int pack = pack_open(-1, folder + "DuskmatchData.pack", kPackFormatData);
  if (pack == 0) {
    std::fprintf(stderr, "cannot open %sDuskmatchData.pack (build the game_packs target)\n", folder.c_str());
    return 1;
  }
  std::vector<std::string> names;
  pack_list_begin(pack);
  while (pack_list_next(pack)) names.push_back(pack_entry_name(pack));
  std::vector<std::vector<uint8_t>> files;
  size_t pixels = 0;
  for (const auto& name : names) {
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".png") != 0) continue;
    std::vector<uint8_t> buffer(16 << 20);
    int64_t n = pack_read_entry(pack, buffer.data(), static_cast<int64_t>(buffer.size()), name);
    if (n <= 0) continue;
    buffer.resize(static_cast<size_t>(n));
    if (!is_plain_rgba(buffer)) continue;
    auto img = image_decode(buffer.data(), buffer.size());
    if (!img) {
      std::fprintf(stderr, "%s does not decode\n", name.c_str());
      return 1;
    }
    pixels += img->pixels.size() / 4;
    files.push_back(std::move(buffer));
  }
  pack_close(pack);
  if (files.empty()) {
    std::fprintf(stderr, "no 8-bit RGBA pictures in the pack\n");
    return 1;
  }

  // Each picture gets a new buffer, as a picture being loaded does, and the
  // two ways give the same bytes.
  bool ok = true;
  auto engine = [&] {
    for (const auto& f : files) ok = image_decode(f.data(), f.size()) != nullptr && ok;
  };
  auto libpng = [&] {
    for (const auto& f : files) {
      ImageBuffer b;
      ok = libpng_bgr(f, &b) && ok;
    }
  };
  for (const auto& f : files) {
    ImageBuffer b;
    auto img = image_decode(f.data(), f.size());
    ok = ok && libpng_bgr(f, &b) && img && img->pixels == b.pixels;
  }
  if (!ok) {
    std::fprintf(stderr, "the engine's decode differs from libpng's\n");
    return 1;
  }
  double t_engine = 0, t_libpng = 0;
  // Interleaved rounds, so that a busy spell of the machine hits both.
  for (int round = 0; round < 3; ++round) {
    t_libpng += bench::median_cpu(7, libpng);
    t_engine += bench::median_cpu(7, engine);
  }
  std::printf("%zu RGBA pictures, %.1f Mpixels: engine decode %.2f ms, libpng with png_set_bgr %.2f ms "
              "(processor time), ratio %.3f\n",
              files.size(), pixels / 1e6, t_engine / 3 * 1e3, t_libpng / 3 * 1e3, t_engine / t_libpng);
  return ok ? 0 : 1;
}
