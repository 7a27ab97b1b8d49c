// Private to the SDL input back end: the state its files share. SDL events
// reach the input service through an event watch, which sees every event when
// it is queued, whoever drains the queue later (the window event source).
#pragma once

#include <SDL.h>

#include <cstdint>

// The game's scan code of an SDL scancode; 0 for a key the game cannot name.
int input_scan_code_from_sdl(SDL_Scancode sc);

// The keyboard's, the mouse's and the pads' parts of the event watch.
void input_keyboard_event(const SDL_Event& e);
void input_mouse_event(const SDL_Event& e);
void input_gamepad_event(const SDL_Event& e);

// Installs the event watch (and SDL's event subsystem) on first use; true on
// success. Both start operations call it.
bool input_watch_start();

// Forgets the keyboard's, the mouse's and the pads' state (input_shutdown's
// parts); the pads' reset also closes them and stops their service.
void input_keyboard_reset();
void input_mouse_reset();
void input_pointer_reset();
void input_gamepad_reset();

// The screen the tracked mouse belongs to, as the screen service told it.
struct InputScreen {
  Uint32 window_id = 0;  // 0: no screen open
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool in_window = false;
  bool active = true;
};
InputScreen& input_screen();

// The mouse's movement in the last poll (the tests check the deltas).
int mouse_dx();
int mouse_dy();
