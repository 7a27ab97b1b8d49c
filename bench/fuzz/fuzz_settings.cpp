// libFuzzer entry for the settings file on its way to the display, on SDL's
// dummy video driver: any bytes as "Duskmatch.prefs" are read as start-up
// reads them, the screen size is chosen, the board laid out and the display
// opened in the mode the file asks for, the settings screen entered and
// drawn, and the display closed again. A window size the game refuses must
// open nothing; whatever opens must have the size chosen; nothing may stay
// open afterwards; and the settings written back must read the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/display.h"
#include "app/folders.h"
#include "app/settings_file.h"
#include "engine/screen/screen.h"
#include "engine/system/file.h"
#include "engine/system/system.h"
#include "game/board.h"
#include "game/geometry.h"
#include "game/sprites.h"
#include "ui/screen_modes.h"
#include "ui/settings.h"
#include "ui/settings_screen.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

const std::string& Scratch() {
  static const std::string folder = file_private_temp_folder() + "fuzz-settings/";
  return folder;
}

bool Setup() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  check(sprite_system_start() != 0);
  check(folder_make(Scratch()) && folder_make(Scratch() + "again/"));
  // No pointer file here: the windowed modes go on without one.
  GameDir = Scratch();
  BuildScreenModeList();
  // Only the scratch folder needs going at the end; the engine's tables
  // outlive this handler only in part, so the video system is left as it is.
  std::atexit(file_system_cleanup);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = Setup();
  check(ready);
  check(file_write(Scratch() + kSettingsFileName, data, size));
  ResetSettings();
  check(LoadSettings(Scratch()) == 1);

  ChooseScreenSize();
  if (GameScreen == kWindowed) {
    int w = 0, h = 0;
    SplitScreenMode(ScreenMode, &w, &h);
    check(ScreenWidth == w && ScreenHeight == h);
  } else {
    check(ScreenWidth == desktop_width(0) && ScreenHeight == desktop_height(0));
  }
  ComputeBoardGeometry(ScreenWidth, ScreenHeight);
  LayoutBoard();

  OpenDisplay();
  const bool known_mode = GameScreen == kFullScreen || GameScreen == kWindowed || GameScreen == kBorderless;
  if (!known_mode) check(Screen == 0);
  if (GameScreen == kWindowed && !WindowSizeFits(ScreenWidth, ScreenHeight, 0, system_total_memory())) {
    check(Screen == 0 && !screen_is_open() && !window_exists(kGameWindow));
  }
  if (Screen != 0) {
    check(screen_width() == ScreenWidth && screen_height() == ScreenHeight);
    MakeDimSprite();
    check(sprite_width(kDimSprite) == ScreenWidth);
    sprite_draw_blended(kDimSprite, 0, 0, 128);
    EnterSettings();
    DrawSettingsScreen();
    screen_flip();
  }
  CloseDisplay(GameScreen);
  check(!screen_is_open() && !window_exists(kGameWindow));

  // Written back as the game writes it at its end, the file reads the same.
  const std::string language = Language, mode = ScreenMode;
  const int music = Music, screen = GameScreen;
  check(SaveSettings(Scratch() + "again/") == 1);
  ResetSettings();
  check(LoadSettings(Scratch() + "again/") == 1);
  check(Language == language && Music == music && GameScreen == screen && ScreenMode == mode);
  return 0;
}
