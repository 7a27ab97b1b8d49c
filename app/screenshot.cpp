// Key S: the whole screen saved as a PNG file named after the local date and
// time, in the folder of the settings.
#include "app/main_loop.h"

#include "app/folders.h"
#include "app/log.h"
#include "engine/image/image.h"
#include "engine/screen/screen.h"
#include "engine/system/date.h"
#include "game/geometry.h"
#include "game/sprites.h"

std::string ScreenshotFileName(const std::string& folder, int64_t date) {
  return folder + "Duskmatch " + date_format("%dd-%mm-%yyyy %hh-%ii-%ss", date) + ".png";
}

void TakeScreenshot() {
  // Nothing is shown to the player either way; two shots in one second
  // share a name and the later one wins.
  bool saved = false;
  if (sprite_grab_screen(kScreenshotSprite, 0, 0, ScreenWidth, ScreenHeight) != 0) {
    saved = sprite_save(kScreenshotSprite, ScreenshotFileName(SaveTo, date_now()), kImageFormatPNG) != 0;
  }
  LogScreenshot(saved);
}
