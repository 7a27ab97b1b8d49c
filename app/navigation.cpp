// The keyboard's and the pads' navigation: held directions repeating, the
// presses taken when let go, the pointer watched so that the focus steps
// aside for the mouse, and a press sent through the mouse's own click path.
#include "app/navigation.h"

#include <cstdint>
#include <cstdlib>

#include "app/display.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "engine/input/input.h"
#include "engine/screen/screen.h"
#include "game/flow.h"
#include "ui/focus.h"
#include "ui/focus_targets.h"
#include "ui/settings.h"

namespace {

// Passes (of the 60 a second) a direction is held before it repeats, and
// between repeats.
constexpr int kRepeatDelay = 24;
constexpr int kRepeatEvery = 6;
// How far the left stick must be pushed to count as a direction, and how
// far it must come back before that direction is let go (a stick resting
// near the line must not flicker).
constexpr int kStickOn = 16384;
constexpr int kStickOff = 12000;
// The mouse moved further than this from where it rested hides the focus.
constexpr int kPointerSlack = 4;

constexpr FocusDirection kDirections[4] = {FocusDirection::Up, FocusDirection::Down, FocusDirection::Left,
                                           FocusDirection::Right};

// An input that acts in the pass it goes down, then again after the delay
// and at every interval while it stays down.
struct Repeater {
  int held = 0;  // passes down so far
  bool Fire(bool down) {
    if (!down) {
      held = 0;
      return false;
    }
    ++held;
    return held == 1 || (held > kRepeatDelay && (held - 1 - kRepeatDelay) % kRepeatEvery == 0);
  }
};

// A pad button that acts once, in the pass it is seen let go.
struct Release {
  bool down = false;
  bool Fire(bool now) {
    const bool released = down && !now;
    down = now;
    return released;
  }
};

// Where the pointer rested when the focus was last used: the platform
// window it was read from and the position there.
struct PointerPlace {
  uint32_t window = 0;
  int x = 0;
  int y = 0;
};

struct Navigation {
  Repeater directions[4];
  Repeater tab;
  Release south;
  Release east;
  Release start;
  int stick = -1;  // the direction the stick is held in, -1 none
  int pads = 0;    // pads connected at the last pass
  bool pads_started = false;
  bool anchored = false;
  PointerPlace anchor;
};

Navigation g_nav;

// The pointer as the open display reads it: the tracked mouse of the full
// screen, the system pointer over the game's window otherwise.
PointerPlace Pointer() {
  if (GameScreen == kFullScreen) return {screen_system_window_id(), mouse_x(), mouse_y()};
  return {window_system_id(kGameWindow), window_mouse_x(kGameWindow), window_mouse_y(kGameWindow)};
}

void Anchor() {
  g_nav.anchor = Pointer();
  g_nav.anchored = true;
}

// A display reopened reads the pointer from another window: that is no
// movement of the mouse.
bool PointerMoved() {
  const PointerPlace now = Pointer();
  if (!g_nav.anchored || now.window != g_nav.anchor.window) {
    Anchor();
    return false;
  }
  return std::abs(now.x - g_nav.anchor.x) > kPointerSlack || std::abs(now.y - g_nav.anchor.y) > kPointerSlack;
}

// The left stick as one of the four directions (its index), or -1.
int StickDirection() {
  const int x = gamepad_axis(kPadLeftX);
  const int y = gamepad_axis(kPadLeftY);
  const int along[4] = {-y, y, -x, x};
  if (g_nav.stick >= 0 && along[g_nav.stick] > kStickOff) return g_nav.stick;
  g_nav.stick = -1;
  for (int d = 0; d < 4; ++d) {
    // The axis pushed further decides, so a diagonal gives one direction.
    const int across = d < 2 ? std::abs(x) : std::abs(y);
    if (along[d] > kStickOn && along[d] >= across) g_nav.stick = d;
  }
  return g_nav.stick;
}

// The first input shows the focus; later ones act.
void Move(int direction) {
  if (FocusShown()) {
    MoveFocus(kDirections[direction]);
  } else {
    ShowFocus();
  }
  Anchor();
}

void Step(int step) {
  if (FocusShown()) {
    StepFocus(step);
  } else {
    ShowFocus();
  }
  Anchor();
}

// A click at the focused target's middle, as a click from the window's
// events (an edge, never the full-screen mouse's held level). On a screen
// with nothing to ring (the well-done screen) the first press acts at once.
void Press() {
  const bool wasShown = FocusShown();
  Anchor();
  if (!wasShown && ShowFocus()) return;
  int x = 0;
  int y = 0;
  if (FocusClickPoint(&x, &y)) ClickAt(x, y, false);
}

}  // namespace

void HandleNavigation() {
  // The pads start once the first frame is on the screen: nothing but what
  // the start-up has to do stands between the start and the logo.
  if (!g_nav.pads_started && screen_stats().frames_presented > 0) {
    g_nav.pads_started = true;
    (void)PadStart();
  }
  const int pads = gamepad_poll();
  // A pad pulled out with a button held lets go of nothing.
  if (pads < g_nav.pads) g_nav.south.down = g_nav.east.down = g_nav.start.down = false;
  g_nav.pads = pads;
  if (FocusShown() && PointerMoved()) HideFocus();

  const int stick = StickDirection();
  const bool keys[4] = {key_down(kKeyUp) != 0, key_down(kKeyDown) != 0, key_down(kKeyLeft) != 0,
                        key_down(kKeyRight) != 0};
  constexpr int kPadDirections[4] = {kPadUp, kPadDown, kPadLeft, kPadRight};
  for (int d = 0; d < 4; ++d) {
    const bool down = keys[d] || gamepad_button(kPadDirections[d]) != 0 || stick == d;
    if (g_nav.directions[d].Fire(down)) Move(d);
  }
  // Alt+Tab belongs to the desktop.
  const bool alt = key_down(kKeyLeftAlt) != 0 || key_down(kKeyRightAlt) != 0;
  if (g_nav.tab.Fire(key_down(kKeyTab) != 0 && !alt)) {
    const bool shift = key_down(kKeyLeftShift) != 0 || key_down(kKeyRightShift) != 0;
    Step(shift ? -1 : 1);
  }

  // Both Enter keys are asked every pass, so each one's release is taken.
  const bool enter = key_released(kKeyEnter) != 0;
  const bool padEnter = key_released(kKeyPadEnter) != 0;
  const bool south = g_nav.south.Fire(gamepad_button(kPadSouth) != 0);
  const bool east = g_nav.east.Fire(gamepad_button(kPadEast) != 0);
  const bool start = g_nav.start.Fire(gamepad_button(kPadStart) != 0);
  if (enter || padEnter || south) Press();
  if (east) EscapeReleased();
  if (start) LeavePlay();
}

void PointerClicked() { HideFocus(); }

void ResetNavigation() { g_nav = Navigation{}; }
