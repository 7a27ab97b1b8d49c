// On Windows the desktop a window lives on cannot go away under a running
// program, so there is no lost display to hear of.
#include "engine/screen/session_end.h"

void screen_on_display_lost(void (*)()) {}
