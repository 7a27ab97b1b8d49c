// A lost connection to the X server (the server ended, the network to it
// broke). Xlib learns of it inside any call that reads from or writes to
// the connection, calls the program's handler for it and then ends the
// process with exit code 1 unless the handler ends it first. SDL sets no
// handler of its own, so without one here the game would end at once,
// its settings unsaved. The handler is process-wide: it serves SDL's own
// connections (the screen's, a message box's) without needing any of them.
#include <X11/Xlib.h>

#include "engine/screen/display_gone.h"
#include "engine/screen/session_end.h"

namespace {

void (*g_lost)() = nullptr;

int on_connection_lost(Display*) {
  // Only once: whatever the game does on its way out must not come back here.
  void (*lost)() = g_lost;
  g_lost = nullptr;
  screen_display_gone();
  if (lost) lost();
  return 0;
}

}  // namespace

void screen_on_display_lost(void (*lost)()) {
  g_lost = lost;
  XSetIOErrorHandler(lost ? on_connection_lost : nullptr);
}
