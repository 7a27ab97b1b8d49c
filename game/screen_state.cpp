// The one definition of the current screen.
#include "game/screen_state.h"

int ScreenState = LogoSplash;

void ResetScreenState() { ScreenState = LogoSplash; }
