// The two ends of the program: the engine shutdown that every end goes
// through, and the single fatal path with its message box.
#include "app/fatal.h"

#include <cstdio>
#include <cstdlib>

#include "app/display.h"
#include "app/log.h"
#include "engine/image/image.h"
#include "engine/input/input.h"
#include "engine/pack/pack.h"
#include "engine/screen/screen.h"
#include "engine/sound/sound.h"
#include "engine/system/file.h"
#include "engine/text/text.h"
#include "ui/languages.h"
#include "ui/settings.h"

namespace {

bool g_display_lost = false;
bool g_ending_fatally = false;

}  // namespace

void MarkDisplayLost() { g_display_lost = true; }

bool EndingFatally() { return g_ending_fatally; }

void StopEngine(bool withFiles) {
  sound_system_stop();
  pack_shutdown();
  // Closes the log and every other file still open, and the run's temporary
  // folder (where the language pack's files were unpacked).
  if (withFiles) file_system_cleanup();
  if (!g_display_lost) {
    screen_close();
    sprite_system_stop();
    input_shutdown();  // keyboard, mouse and pads, and the pointer confinement
    window_close(-1);
  }
  image_free(-1);
  text_reset();  // the fonts and the drawing pass
}

void ShutdownAndExit() {
  StopEngine(true);
  Screen = 0;
  std::exit(0);
}

void ShowFatalMessage(const std::string& text) {
  g_ending_fatally = true;
  const std::string title = "Duskmatch::" + Text("tErrorERROR");
  // Standard error first: a machine without a display still learns why the
  // game ended, and the text is out even if the box never returns.
  std::fprintf(stderr, "%s\n%s\n", title.c_str(), text.c_str());
  std::fflush(stderr);
  message_box_show(title, text);
}

void AssetFailure(const std::string& name) {
  LogLoadAsset(name, false);
  if (screen_is_open()) screen_close();
  if (GameScreen != kFullScreen && window_exists(kGameWindow)) window_close(kGameWindow);
  Screen = 0;
  ShowFatalMessage(Text("tErrorASSET"));
  ShutdownAndExit();
}

void ScreenFailure() {
  // A window that opened without its screen stays until the shutdown, so the
  // box is shown over it.
  ShowFatalMessage(Text("tErrorSCREEN"));
  ShutdownAndExit();
}

void SubsystemFailure(const std::string& part) {
  ShowFatalMessage(Text("tErrorSUBSYSTEM") + "  : " + part);
  ShutdownAndExit();
}
