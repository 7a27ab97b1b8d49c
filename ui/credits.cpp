// The credits screen: the credits block under its title, and OK.
#include "ui/credits.h"

#include "engine/screen/screen.h"
#include "game/assets.h"
#include "game/screen_state.h"
#include "ui/controls.h"
#include "ui/menu.h"
#include "ui/text_sprites.h"

void DrawCreditsScreen() {
  const int T = PanelTop();
  DrawMenuBackdrop();
  DrawCentred(kCreditsText, T + 140);
  DrawCentred(kGradientSprite, T + 216);
  sprite_draw(kCreditsBlock, PanelLeft() + 74, T + 220);
  // Centred, where control 5 lies (the settings screen's OK stands left).
  DrawCentred(kOkText, T + 540);
}

void CreditsClick(int x, int y, bool fullScreen) {
  if (!ControlHit(kControlCreditsOk, x, y)) return;
  ClickPause(fullScreen);
  ShowMainMenu();
}
