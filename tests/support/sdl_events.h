// Input as the system delivers it, pushed into SDL's event queue: the input
// service's tests and the game-loop tests press keys, move the mouse and
// click this way.
#pragma once

#include <SDL.h>

namespace test_events {

inline void Key(SDL_Scancode code, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = code;
  SDL_PushEvent(&e);
}

// The pointer at (x, y) of a window, moved by (dx, dy).
inline void MouseMotion(Uint32 window, int x, int y, int dx, int dy) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = window;
  e.motion.x = x;
  e.motion.y = y;
  e.motion.xrel = dx;
  e.motion.yrel = dy;
  SDL_PushEvent(&e);
}

// A button pressed or let go, with the pointer at (x, y) of the window.
inline void MouseButton(Uint32 window, Uint8 button, bool down, int x = 0, int y = 0) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = window;
  e.button.button = button;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = x;
  e.button.y = y;
  SDL_PushEvent(&e);
}

}  // namespace test_events
