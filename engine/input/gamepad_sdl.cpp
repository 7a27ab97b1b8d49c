// Game pads on SDL's game-controller API: SDL's own mappings (and those a
// player adds through SDL_GAMECONTROLLERCONFIG) name every pad's buttons
// alike, so the south button is A on one pad and Cross on another. Pads come
// and go at any time: each poll opens the new ones and closes those gone.
#include <array>
#include <cstdlib>
#include <vector>

#include "engine/input/input.h"
#include "engine/input/input_sdl.h"

namespace {

struct Pad {
  SDL_JoystickID id;
  SDL_GameController* controller;
};

struct Pads {
  bool started = false;
  std::vector<Pad> open;
  std::array<bool, kPadButtonCount> held{};       // the record of the last poll
  std::array<bool, kPadButtonCount> went_down{};  // pressed since the last poll
  std::array<int, 2> axis{};
};

Pads g_pads;

// The game's pad controls as SDL's controller buttons, in PadButton order.
constexpr SDL_GameControllerButton kSdlButtons[kPadButtonCount] = {
    SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,          SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_DPAD_UP,   SDL_CONTROLLER_BUTTON_DPAD_DOWN,  SDL_CONTROLLER_BUTTON_DPAD_LEFT,
    SDL_CONTROLLER_BUTTON_DPAD_RIGHT};

constexpr SDL_GameControllerAxis kSdlAxes[2] = {SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY};

int pad_button_of(Uint8 sdl_button) {
  for (int b = 0; b < kPadButtonCount; ++b)
    if (kSdlButtons[b] == sdl_button) return b;
  return -1;
}

bool is_open(SDL_JoystickID id) {
  for (const Pad& p : g_pads.open)
    if (p.id == id) return true;
  return false;
}

// A pad unplugged stays an object until it is closed; what it held goes
// with it.
void close_removed() {
  for (size_t i = 0; i < g_pads.open.size();) {
    if (SDL_GameControllerGetAttached(g_pads.open[i].controller)) {
      ++i;
      continue;
    }
    SDL_GameControllerClose(g_pads.open[i].controller);
    g_pads.open.erase(g_pads.open.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

// Devices without a controller mapping (a flight stick, a wheel) are left
// alone: the game cannot tell which of their buttons is which.
void open_new() {
  const int count = SDL_NumJoysticks();
  for (int i = 0; i < count; ++i) {
    if (!SDL_IsGameController(i)) continue;
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
    if (id < 0 || is_open(id)) continue;
    if (SDL_GameController* c = SDL_GameControllerOpen(i)) g_pads.open.push_back({id, c});
  }
}

}  // namespace

void input_gamepad_event(const SDL_Event& e) {
  if (!g_pads.started || e.type != SDL_CONTROLLERBUTTONDOWN) return;
  const int b = pad_button_of(e.cbutton.button);
  if (b >= 0) g_pads.went_down[static_cast<size_t>(b)] = true;
}

int gamepad_start() {
  if (g_pads.started) return 1;
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return 0;
  g_pads.started = true;
  return 1;
}

int gamepad_poll() {
  if (!g_pads.started) return 0;
  // Plugging, unplugging and the pads' own state all arrive with the events.
  SDL_PumpEvents();
  close_removed();
  open_new();
  Pads& p = g_pads;
  for (size_t b = 0; b < kPadButtonCount; ++b) {
    bool down = p.went_down[b];
    for (const Pad& pad : p.open) down = down || SDL_GameControllerGetButton(pad.controller, kSdlButtons[b]) != 0;
    p.held[b] = down;
    p.went_down[b] = false;
  }
  for (size_t a = 0; a < 2; ++a) {
    int furthest = 0;
    for (const Pad& pad : p.open) {
      const int v = SDL_GameControllerGetAxis(pad.controller, kSdlAxes[a]);
      if (std::abs(v) > std::abs(furthest)) furthest = v;
    }
    p.axis[a] = furthest;
  }
  return static_cast<int>(p.open.size());
}

int gamepad_button(int button) {
  if (button < 0 || button >= kPadButtonCount) return 0;
  return g_pads.held[static_cast<size_t>(button)] ? 1 : 0;
}

int gamepad_axis(int axis) {
  if (axis != kPadLeftX && axis != kPadLeftY) return 0;
  return g_pads.axis[static_cast<size_t>(axis)];
}

void input_gamepad_reset() {
  if (g_pads.started && SDL_WasInit(SDL_INIT_GAMECONTROLLER)) {
    for (const Pad& pad : g_pads.open) SDL_GameControllerClose(pad.controller);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
  g_pads = Pads{};
}
