// The control table of the menu screens and the hit rule shared by every
// menu screen's clicks.
#include "ui/controls.h"

#include "engine/screen/screen.h"
#include "engine/system/system.h"
#include "game/geometry.h"
#include "game/sprites.h"
#include "ui/menu_layout.h"
#include "ui/settings_layout.h"

namespace {
// The full-screen mouse is read as a level, once per frame: without the
// pause a held button would repeat a control's action every frame.
constexpr int kClickPauseMs = 100;
}  // namespace

std::array<Control, kControlCount> Controls;

int ControlHeight(int index) {
  if (index >= kControlStart && index <= kControlQuit) return kMenuEntryHeight;
  if (index >= kControlLanguageLeft && index <= kControlSizeRight) return kSettingsHitSize;
  return kButtonHeight;
}

bool ControlHit(int index, int x, int y) {
  if (index < 0 || index >= kControlCount) return false;
  const Control& c = Controls[static_cast<size_t>(index)];
  // Strictly inside: the left and top edge pixels belong to no control, and
  // a control of width 0 (an empty text) can never be hit. 64-bit sums keep
  // a far-off control from wrapping round.
  return x > c.left && static_cast<int64_t>(x) < static_cast<int64_t>(c.left) + c.width && y > c.top &&
         static_cast<int64_t>(y) < static_cast<int64_t>(c.top) + ControlHeight(index);
}

void ClickPause(bool fullScreen) {
  if (fullScreen) system_sleep(kClickPauseMs);
}

int PanelLeft() { return (ScreenWidth - sprite_width(kPanelSprite)) / 2; }

int PanelTop() { return (ScreenHeight - sprite_height(kPanelSprite)) / 2; }

void ResetControls() { Controls.fill(Control()); }
