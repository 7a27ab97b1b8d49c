// Loading the whole picture set from the game's data pack at 1280x720 and
// 1920x1080, against decoding the same PNG entries into plain buffers (and
// reading them from the pack) in the same run, in processor time: the ratio
// is what reading, fitting and making sprites cost on top of the decoder.
//
// Usage: bench_assets [folder holding DuskmatchData.pack, default ../bin/ beside
// this program]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/display.h"
#include "app/folders.h"
#include "engine/image/image.h"
#include "engine/pack/pack.h"
#include "engine/screen/screen.h"
#include "engine/system/file.h"
#include "game/assets.h"
#include "game/board.h"

namespace {

// Processor time of this process in seconds: the machine's cores are
// shared, and elapsed time says more about the neighbours than the loader.
double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Every picture entry the loader reads, in its order.
std::vector<std::string> PictureEntries() {
  std::vector<std::string> names;
  for (int n = 1; n <= kBackgrounds; ++n) names.push_back(BackgroundEntry(n));
  for (int set = 1; set <= kCardSets; ++set) names.push_back(CardBackEntry(set));
  for (int set = 1; set <= kCardSets; ++set) {
    for (int card = 1; card <= kFacesPerSet; ++card) names.push_back(CardFaceEntry(set, card));
  }
  for (const char* name : {"shadow.png", "menu.png", "menushadow.png", "well done shadow.png", "well done.png",
                           "gradient.png", "pointer.png", "left.png", "left off.png", "right.png",
                           "right off.png", "box.png", "boxx.png", "title.png", "ogs.png"}) {
    names.push_back(name);
  }
  return names;
}

// Best of `runs` timings of f, in seconds of processor time.
template <typename F>
double Best(int runs, F f) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const double start = CpuSeconds();
    f();
    best = std::min(best, CpuSeconds() - start);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  GameDir = argc > 1 ? std::string(argv[1]) : file_program_folder() + "../bin/";
  if (GameDir.back() != '/') GameDir += '/';
  pack_register_formats();
  if (sprite_system_start() == 0) {
    std::fprintf(stderr, "no renderer\n");
    return 1;
  }

  // The entries read once, for the decode baseline.
  const int pack = pack_open(-1, GameDir + kDataPackName, kPackFormatData);
  if (pack == 0) {
    std::fprintf(stderr, "cannot open %s%s (build the game_packs target)\n", GameDir.c_str(), kDataPackName);
    return 1;
  }
  const auto names = PictureEntries();
  std::vector<std::vector<uint8_t>> entries;
  std::vector<uint8_t> buffer(kScreenPictureBuffer);
  size_t total_bytes = 0;
  for (const auto& name : names) {
    int64_t n = pack_read_entry(pack, buffer.data(), kScreenPictureBuffer, name);
    if (n <= 0) {
      std::fprintf(stderr, "entry %s missing\n", name.c_str());
      return 1;
    }
    entries.emplace_back(buffer.begin(), buffer.begin() + n);
    total_bytes += static_cast<size_t>(n);
  }
  const int runs = 5;
  const double read = Best(runs, [&] {
    for (const auto& name : names) (void)pack_read_entry(pack, buffer.data(), kScreenPictureBuffer, name);
  });
  pack_close(pack);
  const double decode = Best(runs, [&] {
    for (const auto& e : entries) {
      if (!image_decode(e.data(), e.size())) std::abort();
    }
  });
  std::printf("%zu picture entries, %.1f MB encoded\n", names.size(), total_bytes / 1e6);
  std::printf("pack reads alone:   %8.1f ms processor\n", read * 1e3);
  std::printf("PNG decodes alone:  %8.1f ms processor (the baseline)\n", decode * 1e3);

  for (auto [w, h] : {std::pair{1280, 720}, std::pair{1920, 1080}}) {
    ScreenWidth = w;
    ScreenHeight = h;
    if (window_open(0, 0, 0, w, h, "bench", kWindowHidden) == 0 ||
        screen_open_in_window(0, 0, 0, w, h, 0, 0, 0, 0) == 0) {
      std::fprintf(stderr, "cannot open a %dx%d screen\n", w, h);
      return 1;
    }
    const double load = Best(runs, [] { LoadGameAssets(); });
    std::printf("LoadGameAssets %4dx%-4d %8.1f ms processor, ratio to the decodes %.2f, to reads + decodes %.2f\n", w, h,
                load * 1e3, load / decode, load / (read + decode));
    screen_close();
    window_close(0);
  }
  sprite_system_stop();
  return 0;
}
