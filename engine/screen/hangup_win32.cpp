// Windows sends a windowed program no hang-up: closing a console it was
// started from does not end it.
#include "engine/screen/session_end.h"

void screen_hangup_ends_in_order() {}
