// Loading the whole picture set from the game's data pack at 1280x720 and
// 1920x1080, against decoding the same PNG entries into plain buffers (and
// reading them from the pack) in the same run, in processor time: the ratio
// is what reading, fitting and making sprites cost on top of the decoder.
// Each size also prints where the time goes: reading the entries (raw ones
// are one file read, packed ones are unpacked too), decoding, fitting the
// screen-sized pictures and making the other sprites, and the rest of the
// loader (opening the pack, buffers, the log).
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

#include "app/asset_load.h"
#include "bench/bench_timing.h"

#include "app/display.h"
#include "app/folders.h"
#include "engine/image/image_buffer.h"
#include "engine/pack/pack.h"
#include "engine/screen/screen.h"
#include "engine/system/file.h"
#include "game/assets.h"
#include "game/board.h"
#include "game/geometry.h"

namespace {

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

// How the loader makes each picture: fitted to the screen, or a sprite or
// image of its own size.
bool IsScreenSized(const std::string& name) {
  return name.rfind("background ", 0) == 0 || name == "title.png" || name == "ogs.png";
}

// Makes the picture as the loader does and frees it again; false when it
// does not decode.
bool MakeAndFree(const std::string& name, const std::vector<uint8_t>& e) {
  const bool image = name == "left.png" || name == "right.png";
  const bool keyed = name == "gradient.png" || name == "left off.png" || name == "right off.png" ||
                     name == "box.png" || name == "boxx.png";
  if (IsScreenSized(name)) {
    const int sprite = FitToScreen(e.data(), static_cast<int>(e.size()), -1);
    if (sprite != 0) sprite_free(sprite);
    return sprite != 0;
  }
  if (image) {
    const int made = image_from_memory_sized(-1, e.data(), e.size());
    if (made != 0) image_free(made);
    return made != 0;
  }
  const int sprite = sprite_from_memory(-1, e.data(), e.size(), keyed ? 0 : kSpriteKeepAlpha);
  if (sprite != 0) sprite_free(sprite);
  return sprite != 0;
}

// Best of `runs` timings of f, in seconds of processor time.
template <typename F>
double Best(int runs, F f) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const double start = bench::cpu_seconds();
    f();
    best = std::min(best, bench::cpu_seconds() - start);
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
  // Raw entries cost one file read; packed ones are unpacked as well.
  std::vector<bool> packed(names.size(), false);
  pack_list_begin(pack);
  while (pack_list_next(pack)) {
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i] == pack_entry_name(pack)) packed[i] = pack_entry_size(pack, 0) != pack_entry_size(pack, 1);
  }
  auto read_some = [&](bool want_packed) {
    for (size_t i = 0; i < names.size(); ++i)
      if (packed[i] == want_packed) (void)pack_read_entry(pack, buffer.data(), kScreenPictureBuffer, names[i]);
  };
  const double read_raw = Best(runs, [&] { read_some(false); });
  const double read_packed = Best(runs, [&] { read_some(true); });
  const double read = read_raw + read_packed;
  pack_close(pack);
  auto decode_some = [&](bool screen_sized) {
    for (size_t i = 0; i < names.size(); ++i) {
      if (IsScreenSized(names[i]) == screen_sized && !image_decode(entries[i].data(), entries[i].size())) std::abort();
    }
  };
  const double decode_screen = Best(runs, [&] { decode_some(true); });
  const double decode_other = Best(runs, [&] { decode_some(false); });
  const double decode = decode_screen + decode_other;
  const size_t packed_count = static_cast<size_t>(std::count(packed.begin(), packed.end(), true));
  std::printf("%zu picture entries, %.1f MB encoded, %zu of them packed\n", names.size(), total_bytes / 1e6,
              packed_count);
  std::printf("pack reads alone:   %8.1f ms processor (raw entries %.1f, packed %.1f)\n", read * 1e3, read_raw * 1e3,
              read_packed * 1e3);
  std::printf("PNG decodes alone:  %8.1f ms processor (the baseline; screen-sized %.1f, others %.1f)\n",
              decode * 1e3, decode_screen * 1e3, decode_other * 1e3);

  for (auto [w, h] : {std::pair{1280, 720}, std::pair{1920, 1080}}) {
    ScreenWidth = w;
    ScreenHeight = h;
    if (window_open(0, 0, 0, w, h, "bench", kWindowHidden) == 0 ||
        screen_open_in_window(0, 0, 0, w, h, 0, 0, 0, 0) == 0) {
      std::fprintf(stderr, "cannot open a %dx%d screen\n", w, h);
      return 1;
    }
    const double load = Best(runs, [] { LoadGameAssets(); });
    auto make_some = [&](bool screen_sized) {
      for (size_t i = 0; i < names.size(); ++i) {
        if (IsScreenSized(names[i]) == screen_sized && !MakeAndFree(names[i], entries[i])) std::abort();
      }
    };
    const double fitted = Best(runs, [&] { make_some(true); });
    const double others = Best(runs, [&] { make_some(false); });
    std::printf("LoadGameAssets %4dx%-4d %8.1f ms processor, ratio to the decodes %.2f, to reads + decodes %.2f\n", w, h,
                load * 1e3, load / decode, load / (read + decode));
    // Each part is a best of its own runs, so under load the differences
    // between them are only as good as a few milliseconds.
    std::printf("  by part: reads %.1f; screen-sized decoded, fitted and made sprites %.1f (decodes alone %.1f); "
                "other sprites and images %.1f (decodes alone %.1f); rest of the loader %.1f ms\n",
                read * 1e3, fitted * 1e3, decode_screen * 1e3, others * 1e3, decode_other * 1e3,
                (load - read - fitted - others) * 1e3);
    screen_close();
    window_close(0);
  }
  sprite_system_stop();
  return 0;
}
