// Opening and closing the display in the three window modes, the screen
// size and the dimming sprite.
#include "app/display.h"

#include <algorithm>
#include <climits>

#include "app/folders.h"
#include "app/log.h"
#include "engine/image/image.h"
#include "engine/input/input.h"
#include "engine/screen/screen.h"
#include "engine/system/system.h"
#include "game/geometry.h"
#include "game/sprites.h"
#include "ui/screen_modes.h"
#include "ui/settings.h"
#include "ui/studio.h"

int Screen = 0;
int CursorHandle = 0;

namespace {

// The renderer's largest texture side, once a screen has told it (0 before):
// a reopen checks the new size against it before opening anything.
int LargestScreenSide = 0;

}  // namespace

std::string WindowTitle() {
  return std::string("Duskmatch 1.0 - Vornhollow Interactive (") + kStudioWebAddress + ")";
}

namespace {

// A decimal integer at the start of text: blanks skipped, an optional sign,
// digits up to the first other character; 0 without digits. Values beyond
// the int range stop at its ends instead of wrapping.
int leading_integer(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace

void SplitScreenMode(const std::string& mode, int* width, int* height) {
  size_t first = mode.find('x');
  *width = leading_integer(mode.substr(0, first));
  if (first == std::string::npos) {
    *height = 0;
    return;
  }
  size_t second = mode.find('x', first + 1);
  *height = leading_integer(mode.substr(first + 1, second == std::string::npos ? std::string::npos
                                                                               : second - first - 1));
}

void ChooseScreenSize() {
  desktops_examine();
  ScreenWidth = desktop_width(0);
  ScreenHeight = desktop_height(0);
  if (GameScreen == kWindowed) SplitScreenMode(ScreenMode, &ScreenWidth, &ScreenHeight);
}

bool WindowSizeFits(int width, int height, int largestSide, long long memoryBytes) {
  if (width < 1 || height < 1) return false;
  const int side = largestSide > 0 && largestSide < kMaxWindowSide ? largestSide : kMaxWindowSide;
  if (width > side || height > side) return false;
  const long long pixels = static_cast<long long>(width) * height;
  if (pixels > kMaxWindowPixels) return false;
  return memoryBytes <= 0 || pixels * kScreenBytesPerPixel <= memoryBytes / 4;
}

void OpenDisplay() {
  Screen = 0;
  constexpr int kFlipOnVerticalBlank = 2;
  switch (GameScreen) {
    case kFullScreen:
      Screen = screen_open_full(ScreenWidth, ScreenHeight, 32, WindowTitle(), kFlipOnVerticalBlank) ? 1 : 0;
      break;
    case kWindowed:
    case kBorderless: {
      // The window size comes from the settings file, which anyone may edit:
      // a size that cannot work fails here, before a window or its buffers
      // take any memory.
      const bool windowed = GameScreen == kWindowed;
      const long long memory = system_total_memory();
      if (windowed && !WindowSizeFits(ScreenWidth, ScreenHeight, LargestScreenSide, memory)) break;
      int flags = kWindowCentred | (GameScreen == kBorderless ? kWindowBorderless : 0);
      if (window_open(kGameWindow, 0, 0, ScreenWidth, ScreenHeight, WindowTitle(), flags)) {
        Screen = screen_open_in_window(kGameWindow, 0, 0, ScreenWidth, ScreenHeight, 0, 0, 0,
                                       kFlipOnVerticalBlank)
                     ? 1
                     : 0;
        // The pointer goes with the window, whether or not its screen opened.
        CursorHandle = pointer_load(GameDir + kCursorPackName);
      }
      // Only an open renderer tells its largest texture: a window larger
      // than that is closed again, as one that could not be opened.
      if (Screen != 0) {
        if (screen_largest_texture() > 0) LargestScreenSide = screen_largest_texture();
        if (windowed && !WindowSizeFits(ScreenWidth, ScreenHeight, LargestScreenSide, memory)) {
          CloseDisplay(kWindowed);
        }
      }
      break;
    }
    default:
      return;  // no such mode: nothing opened, nothing logged
  }
  LogOpeningScreen(GameScreen, Screen != 0);
  if (Screen != 0) {
    LogOpenedSize(ScreenWidth, ScreenHeight);
    GiveWindowsTheIcon();
  }
}

void CloseDisplay(int gameScreen) {
  screen_close();
  if (gameScreen == kWindowed || gameScreen == kBorderless) window_close(kGameWindow);
  Screen = 0;
}

void MakeDimSprite() {
  if (!sprite_create(kDimSprite, ScreenWidth, ScreenHeight, kSpriteKeepAlpha)) return;
  if (draw_start(sprite_draw_target(kDimSprite))) {
    draw_box(0, 0, ScreenWidth, ScreenHeight, 0x000000);
    draw_stop();
  }
  // The sprite was made with alpha 0 and the box keeps it; making white the
  // transparent colour turns every black pixel fully opaque.
  sprite_transparent_color(kDimSprite, 0xFFFFFF);
}

void FinishDisplay() {
  MakeDimSprite();
  frame_rate_set(60);
  sprite_filtering_set(1);
  if (GameScreen == kWindowed || GameScreen == kBorderless) {
    window_show(kGameWindow);
    window_activate(kGameWindow);
    window_pointer_set(kGameWindow, CursorHandle);
  }
}

void ResetDisplay() {
  ScreenWidth = 0;
  ScreenHeight = 0;
  Screen = 0;
  CursorHandle = 0;
  ResetScreenModes();
  if (WindowIcon != 0) image_free(WindowIcon);
  WindowIcon = 0;
  LargestScreenSide = 0;
}
