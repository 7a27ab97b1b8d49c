// The SDL input back end's shared parts: the event watch that feeds the
// keyboard, the mouse and the pads, the screen record and shutdown.
#include "engine/input/input.h"
#include "engine/input/input_sdl.h"

namespace {

bool g_watching = false;
bool g_events_started = false;  // SDL's event subsystem started here
InputScreen g_screen;

int SDLCALL watch_event(void*, SDL_Event* e) {
  input_keyboard_event(*e);
  input_mouse_event(*e);
  input_gamepad_event(*e);
  return 0;
}

}  // namespace

InputScreen& input_screen() { return g_screen; }

bool input_watch_start() {
  if (g_watching) return true;
  // Keyboard and mouse events need SDL's video subsystem; the screen service
  // normally started it already, and SDL counts each start.
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  g_events_started = true;
  SDL_AddEventWatch(watch_event, nullptr);
  g_watching = true;
  return true;
}

void input_shutdown() {
  input_mouse_reset();
  input_keyboard_reset();
  input_pointer_reset();
  input_gamepad_reset();
  if (g_watching) SDL_DelEventWatch(watch_event, nullptr);
  g_watching = false;
  if (g_events_started) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  g_events_started = false;
}
