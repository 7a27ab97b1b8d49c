// The settings screen's OK for a new window size: the display closed and
// opened again with every picture and text sprite made anew and the board
// laid out again, on SDL's dummy driver after a start-up at 1280x720 in a
// window with the build's packs. Measured against reloading the pictures
// alone in the same run (the largest part of a reopen).
//
// Usage: bench_reopen [runs]   (from the build folder's bench/ folder, or
// with DUSK_BINARY_DIR naming the build folder)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/asset_load.h"
#include "app/settings_file.h"
#include "bench/bench_timing.h"

#include "app/display.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "engine/screen/screen.h"
#include "engine/system/file.h"
#include "game/assets.h"
#include "ui/settings.h"
#include "ui/text_sprites.h"

namespace {


using bench::Timing;

// A scratch program folder: links to the packs and a settings file for a
// 1280x720 window with the music off.
std::string MakeProgramFolder(const std::string& bin) {
  namespace fs = std::filesystem;
  const std::string root = file_private_temp_folder() + "bench_reopen/";
  const std::string prog = root + "prog/";
  fs::remove_all(root);
  fs::create_directories(prog);
  fs::create_directories(root + "home");
  setenv("HOME", (root + "home").c_str(), 1);
  setenv("XDG_DATA_HOME", (root + "home").c_str(), 1);
  for (const char* pack : {"DuskmatchData.pack", "DuskmatchLanguages.pack", "DuskmatchCursor.pack"}) {
    std::error_code error;
    fs::create_symlink(fs::absolute(bin + pack), prog + pack, error);
    if (error) {
      std::fprintf(stderr, "%s%s: %s\n", bin.c_str(), pack, error.message().c_str());
      std::exit(1);
    }
  }
  const std::string prefs =
      "[Settings]\r\nLanguage = en_GB\r\nMusic = 0\r\nGameScreen = 1\r\nScreenMode = 1280x720\r\n";
  if (!file_write(prog + kSettingsFileName, prefs.data(), prefs.size())) std::exit(1);
  return prog;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(2, std::atoi(argv[1])) : 8;
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  const char* build = std::getenv("DUSK_BINARY_DIR");
  const std::string bin = build ? std::string(build) + "/bin/" : file_program_folder() + "../bin/";
  const std::string prog = MakeProgramFolder(bin);

  const Timing startup = bench::measure([&] { StartUp({}, prog); });
  if (Screen == 0 || screen_width() != 1280) {
    std::fprintf(stderr, "start-up did not open a 1280x720 window\n");
    return 1;
  }

  // Alternating sizes, so that every apply is a real change.
  const char* sizes[] = {"1024x768", "1280x720"};
  Timing apply, assets, texts;
  for (int i = 0; i < runs; ++i) {
    PendingLanguage = Language;
    PendingMusic = Music;
    PendingGameScreen = GameScreen;
    PendingScreenMode = sizes[i % 2];
    const Timing a = bench::measure(ApplyPendingSettings);
    if (ScreenReopened != 1 || ScreenMode != sizes[i % 2]) {
      std::fprintf(stderr, "the apply did not reopen the display\n");
      return 1;
    }
    const Timing p = bench::measure(LoadGameAssets);
    const Timing t = bench::measure([] { RenderTextSprites(1); });
    apply.wall += a.wall / runs;
    apply.cpu += a.cpu / runs;
    assets.wall += p.wall / runs;
    assets.cpu += p.cpu / runs;
    texts.wall += t.wall / runs;
    texts.cpu += t.cpu / runs;
  }

  std::printf("start-up (music decode included): %8.1f ms wall\n", startup.wall * 1e3);
  std::printf("window-size apply, mean of %d:     %8.1f ms wall  %8.1f ms cpu   (target < 300 ms)\n", runs,
              apply.wall * 1e3, apply.cpu * 1e3);
  std::printf("pictures alone (LoadGameAssets):   %8.1f ms wall  %8.1f ms cpu\n", assets.wall * 1e3,
              assets.cpu * 1e3);
  std::printf("text sprites alone (full pass):    %8.1f ms wall  %8.1f ms cpu\n", texts.wall * 1e3,
              texts.cpu * 1e3);
  std::printf("apply / pictures: %.2f (cpu %.2f)\n", apply.wall / assets.wall, apply.cpu / assets.cpu);
  ResetProgram();
  return 0;
}
