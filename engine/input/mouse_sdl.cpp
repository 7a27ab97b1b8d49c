// The mouse on SDL: the pointer's position over the game's window for the
// windowed modes, and the tracked mouse of the full screen, fed by relative
// motion while the screen owns the display.
#include "engine/input/input.h"
#include "engine/input/input_sdl.h"

#include <algorithm>

namespace {

constexpr int kButtons = 3;

struct Mouse {
  bool started = false;
  bool acquired = false;  // relative motion taken (full screen) or pointer confined
  bool confined = false;  // a screen inside a window: pointer grabbed and hidden
  // Since the last poll, from the event watch.
  int pending_dx = 0;
  int pending_dy = 0;
  bool live[kButtons] = {};
  bool went_down[kButtons] = {};
  // The record of the last poll.
  int x = 0;
  int y = 0;
  int dx = 0;
  int dy = 0;
  bool down[kButtons] = {};
};

// Where the system pointer was last seen over one of the program's windows.
struct WindowPointer {
  Uint32 window_id = 0;  // 0: over none of them
  int x = 0;
  int y = 0;
};

Mouse g_mouse;
WindowPointer g_pointer;
// The release of the click being handled (window id 0: none); it stands
// for the pointer until the next window event is taken.
WindowPointer g_click;

// The game's window numbers and the platform windows carrying them.
struct WindowLink {
  int window;
  Uint32 id;
};
WindowLink g_links[8];
int g_link_count = 0;

int button_index(Uint8 sdl_button) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    default: return -1;
  }
}

Uint32 linked_id(int window) {
  for (int i = 0; i < g_link_count; ++i)
    if (g_links[i].window == window) return g_links[i].id;
  return 0;
}

// Gives the mouse back to the system: relative motion off, confinement lifted.
// Both are skipped when SDL's video is already shut down: nothing is held then.
void release_mouse() {
  if (g_mouse.acquired && !input_screen().in_window && SDL_WasInit(SDL_INIT_VIDEO))
    SDL_SetRelativeMouseMode(SDL_FALSE);
  g_mouse.acquired = false;
}

void lift_confinement() {
  if (!g_mouse.confined || !SDL_WasInit(SDL_INIT_VIDEO)) {
    g_mouse.confined = false;
    return;
  }
  if (SDL_Window* w = SDL_GetWindowFromID(input_screen().window_id)) SDL_SetWindowGrab(w, SDL_FALSE);
  SDL_ShowCursor(SDL_ENABLE);
  g_mouse.confined = false;
}

}  // namespace

void input_mouse_event(const SDL_Event& e) {
  switch (e.type) {
    case SDL_MOUSEMOTION:
      g_pointer = {e.motion.windowID, e.motion.x, e.motion.y};
      g_mouse.pending_dx += e.motion.xrel;
      g_mouse.pending_dy += e.motion.yrel;
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      g_pointer = {e.button.windowID, e.button.x, e.button.y};
      int b = button_index(e.button.button);
      if (b < 0) break;
      bool down = e.type == SDL_MOUSEBUTTONDOWN;
      g_mouse.live[b] = down;
      if (down) g_mouse.went_down[b] = true;
      break;
    }
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_LEAVE && e.window.windowID == g_pointer.window_id)
        g_pointer.window_id = 0;
      break;
    default:
      break;
  }
}

void input_window_link(int window, int platform_window_id) {
  int i = 0;
  while (i < g_link_count && g_links[i].window != window) ++i;
  if (platform_window_id == 0) {
    if (i < g_link_count) g_links[i] = g_links[--g_link_count];
    return;
  }
  if (i == g_link_count) {
    if (g_link_count == static_cast<int>(sizeof g_links / sizeof g_links[0])) return;
    ++g_link_count;
  }
  g_links[i] = {window, static_cast<Uint32>(platform_window_id)};
}

namespace {

// The pointer's client position in one axis, or -1 (outside, or no window).
int window_pointer_axis(int window, bool vertical) {
  Uint32 id = linked_id(window);
  SDL_Window* w = id ? SDL_GetWindowFromID(id) : nullptr;
  const WindowPointer& p = g_click.window_id != 0 ? g_click : g_pointer;
  if (!w || p.window_id != id) return -1;
  int width = 0, height = 0;
  SDL_GetWindowSize(w, &width, &height);
  // A held button keeps the pointer's events coming from beyond the edges.
  if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height) return -1;
  return vertical ? p.y : p.x;
}

}  // namespace

void input_click_position(int platform_window_id, int x, int y) {
  g_click = {static_cast<Uint32>(platform_window_id), x, y};
}

int window_mouse_x(int window) { return window_pointer_axis(window, false); }
int window_mouse_y(int window) { return window_pointer_axis(window, true); }

void input_screen_link(int platform_window_id, int x, int y, int width, int height, int in_window) {
  release_mouse();
  lift_confinement();
  InputScreen& s = input_screen();
  s = InputScreen{};
  if (platform_window_id == 0 || width <= 0 || height <= 0) return;
  s.window_id = static_cast<Uint32>(platform_window_id);
  s.x = x;
  s.y = y;
  s.width = width;
  s.height = height;
  s.in_window = in_window != 0;
  // The tracked pointer starts in the middle of a new screen, inside it.
  g_mouse.x = width / 2;
  g_mouse.y = height / 2;
}

void input_screen_active(int active) { input_screen().active = active != 0; }

int mouse_start() {
  if (!input_watch_start()) return 0;
  g_mouse.started = true;
  return 1;
}

int mouse_poll() {
  g_mouse.dx = g_mouse.dy = 0;
  const InputScreen& s = input_screen();
  SDL_Window* w = s.window_id ? SDL_GetWindowFromID(s.window_id) : nullptr;
  if (!g_mouse.started || !w || !s.active) {
    release_mouse();
    return 0;
  }
  if (s.in_window && !g_mouse.confined) {
    SDL_SetWindowGrab(w, SDL_TRUE);
    SDL_ShowCursor(SDL_DISABLE);
    g_mouse.confined = true;
  }
  SDL_PumpEvents();
  if (!g_mouse.acquired) {
    // Taking the mouse (back): what moved while it was not ours is dropped.
    if (!s.in_window) SDL_SetRelativeMouseMode(SDL_TRUE);
    g_mouse.pending_dx = g_mouse.pending_dy = 0;
    g_mouse.acquired = true;
  }
  g_mouse.dx = g_mouse.pending_dx;
  g_mouse.dy = g_mouse.pending_dy;
  g_mouse.pending_dx = g_mouse.pending_dy = 0;
  // A click shorter than a pass still reads as down for one poll.
  for (int b = 0; b < kButtons; ++b) {
    g_mouse.down[b] = g_mouse.live[b] || g_mouse.went_down[b];
    g_mouse.went_down[b] = false;
  }
  if (s.in_window && g_pointer.window_id == s.window_id) {
    // The system pointer is confined to the window and stays where the
    // player moves it: the tracked position follows it, kept to the screen.
    g_mouse.x = g_pointer.x - s.x;
    g_mouse.y = g_pointer.y - s.y;
  } else {
    g_mouse.x += g_mouse.dx;
    g_mouse.y += g_mouse.dy;
  }
  g_mouse.x = std::clamp(g_mouse.x, 0, s.width - 1);
  g_mouse.y = std::clamp(g_mouse.y, 0, s.height - 1);
  return 1;
}

int mouse_x() { return g_mouse.x; }
int mouse_y() { return g_mouse.y; }
int mouse_dx() { return g_mouse.dx; }
int mouse_dy() { return g_mouse.dy; }

int mouse_button(int button) {
  if (button < 1 || button > kButtons) return 0;
  return g_mouse.down[button - 1] ? 1 : 0;
}

void input_mouse_reset() {
  release_mouse();
  lift_confinement();
  g_mouse = Mouse{};
  g_pointer = WindowPointer{};
  g_click = WindowPointer{};
  g_link_count = 0;
  input_screen() = InputScreen{};
}
