// Playing the real loop without a mouse: key taps and a virtual game pad
// (SDL's virtual joystick on the dummy driver), where the focus stands, and
// walking it to a card or a control by the directions a player would press.
#pragma once

#include <vector>

#include "tests/app/loop_harness.h"
#include "ui/focus.h"

namespace nav_test {

using loop_test::Game;

enum class Device { Keyboard, Pad };

inline const char* DeviceName(Device d) { return d == Device::Keyboard ? "keyboard" : "pad"; }

// What a player does: the four directions, a press (Enter or the south
// button), back (Escape or the east button) and the pad's Start.
enum class Input { Up, Down, Left, Right, Press, Back, Start };

// One virtual pad laid out as SDL's controller buttons and axes, which SDL
// maps by that order.
class Pad {
 public:
  // Plugs the pad in; the loop's next pass takes it.
  static void Attach() {
    index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                       SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index_, 0) << SDL_GetError();
    Game::Pass();
    ASSERT_NE(Joystick(), nullptr) << "the game did not open the pad";
  }
  static void Detach() {
    ASSERT_GE(index_, 0);
    ASSERT_EQ(SDL_JoystickDetachVirtual(index_), 0) << SDL_GetError();
    index_ = -1;
  }
  static bool Attached() { return index_ >= 0; }
  // The game's own handle on the pad: the one SDL's virtual state is set on.
  static SDL_Joystick* Joystick() {
    return index_ < 0 ? nullptr : SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index_));
  }
  static void Button(SDL_GameControllerButton b, bool down) {
    SDL_Joystick* j = Joystick();
    ASSERT_NE(j, nullptr);
    ASSERT_EQ(SDL_JoystickSetVirtualButton(j, b, down ? SDL_PRESSED : SDL_RELEASED), 0);
  }
  static void Axis(SDL_GameControllerAxis a, int value) {
    SDL_Joystick* j = Joystick();
    ASSERT_NE(j, nullptr);
    ASSERT_EQ(SDL_JoystickSetVirtualAxis(j, a, static_cast<Sint16>(value)), 0);
  }
  // Pressed in one pass, let go before the next.
  static void Tap(SDL_GameControllerButton b) {
    Button(b, true);
    Game::Pass();
    Button(b, false);
    Game::Pass();
  }

 private:
  static inline int index_ = -1;
};

// The pad's presses reach SDL only while a window of the program has the
// keyboard focus, which the dummy driver never gives: set before start-up.
inline void AllowPadWithoutFocus() { SDL_setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1); }

inline void Tap(Device device, Input input) {
  if (device == Device::Keyboard) {
    static constexpr SDL_Scancode kKeys[] = {SDL_SCANCODE_UP,     SDL_SCANCODE_DOWN,   SDL_SCANCODE_LEFT,
                                             SDL_SCANCODE_RIGHT,  SDL_SCANCODE_RETURN, SDL_SCANCODE_ESCAPE,
                                             SDL_SCANCODE_UNKNOWN};
    const SDL_Scancode key = kKeys[static_cast<int>(input)];
    ASSERT_NE(key, SDL_SCANCODE_UNKNOWN) << "the keyboard has no Start";
    Game::Tap(key);
    return;
  }
  static constexpr SDL_GameControllerButton kButtons[] = {
      SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_LEFT,
      SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B,
      SDL_CONTROLLER_BUTTON_START};
  Pad::Tap(kButtons[static_cast<int>(input)]);
}

// The card the focus stands on; false when it stands on none.
inline bool FocusedCard(BoardPos* pos) {
  int x = 0, y = 0;
  if (ScreenState != Playing || !FocusClickPoint(&x, &y)) return false;
  for (int c = 0; c < kBoardColumns; ++c)
    for (int r = 0; r < kBoardRows; ++r)
      if (x > CardAt(c, r).X && x < CardAt(c, r).X + CardSize && y > CardAt(c, r).Y &&
          y < CardAt(c, r).Y + CardSize) {
        *pos = {c, r};
        return true;
      }
  return false;
}

// The control of the current screen whose hit area the focus's click point
// lies in, -1 for none. (Controls of different screens overlap.)
inline int FocusedControl() {
  int first = 0, last = -1;
  switch (ScreenState) {
    case MainMenu: first = kControlStart; last = kControlQuit; break;
    case CreditsScreen: first = last = kControlCreditsOk; break;
    case NewGameQuestion:
    case QuitQuestion: first = kControlYes; last = kControlNo; break;
    case SettingsScreen: first = kControlLanguageLeft; last = kControlSettingsCancel; break;
    default: return -1;
  }
  int x = 0, y = 0;
  if (!FocusClickPoint(&x, &y)) return -1;
  for (int i = first; i <= last; ++i)
    if (ControlHit(i, x, y)) return i;
  return -1;
}

// The shortest series of directions that takes the focus from one target
// to another on the current screen, found by asking the game's own search
// from each place as a player trying every key would; empty when there is
// none (or when from is the target).
inline std::vector<Input> Route(const FocusTarget& from, const FocusTarget& to) {
  const std::vector<FocusTarget> targets = FocusTargets(ScreenState);
  const FocusDirection directions[] = {FocusDirection::Up, FocusDirection::Down, FocusDirection::Left,
                                       FocusDirection::Right};
  // Places are numbered by their position in targets; from gets its own
  // number at the end, as it may be a card removed since.
  std::vector<FocusTarget> places = targets;
  places.push_back(from);
  const int start = static_cast<int>(places.size()) - 1;
  std::vector<int> cameFrom(places.size(), -1);
  std::vector<int> by(places.size(), -1);
  std::vector<int> queue{start};
  cameFrom[static_cast<size_t>(start)] = start;
  for (size_t q = 0; q < queue.size(); ++q) {
    const int at = queue[q];
    const FocusTarget& here = places[static_cast<size_t>(at)];
    if (here.kind == to.kind && here.index == to.index && at != start) {
      std::vector<Input> route;
      for (int p = at; p != start; p = cameFrom[static_cast<size_t>(p)]) route.insert(route.begin(), static_cast<Input>(by[static_cast<size_t>(p)]));
      return route;
    }
    for (int d = 0; d < 4; ++d) {
      const int next = NearestTarget(targets, here, directions[d]);
      if (next < 0 || cameFrom[static_cast<size_t>(next)] >= 0) continue;
      cameFrom[static_cast<size_t>(next)] = at;
      by[static_cast<size_t>(next)] = d;
      queue.push_back(next);
    }
  }
  return {};
}

// Presses the directions of the route to a card and checks that the focus
// got there.
inline bool WalkToCard(Device device, BoardPos target) {
  BoardPos at;
  if (!FocusShown() || !FocusedCard(&at)) return false;
  if (at.Column == target.Column && at.Row == target.Row) return true;
  for (Input step : Route(CardTarget(at.Column, at.Row), CardTarget(target.Column, target.Row))) Tap(device, step);
  return FocusedCard(&at) && at.Column == target.Column && at.Row == target.Row;
}

// Likewise to a control; with the keyboard by Tab alone when byTab is set.
inline bool WalkToControl(Device device, int index, bool byTab = false) {
  for (int presses = 0; byTab && presses < 20 && FocusedControl() != index; ++presses) Game::Tap(SDL_SCANCODE_TAB);
  const int at = FocusedControl();
  if (!FocusShown() || at < 0) return false;
  if (!byTab && at != index) {
    for (Input step : Route(ControlTarget(at), ControlTarget(index))) Tap(device, step);
  }
  return FocusedControl() == index;
}

}  // namespace nav_test
