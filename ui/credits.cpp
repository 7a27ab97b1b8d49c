// The credits screen: the credits block under its title, and OK.
#include "ui/credits.h"

#include "engine/screen/screen.h"
#include "game/screen_state.h"
#include "game/sprites.h"
#include "ui/controls.h"
#include "ui/menu.h"
#include "ui/menu_layout.h"

void DrawCreditsScreen() {
  const int T = PanelTop();
  DrawMenuBackdrop();
  DrawCentred(kCreditsText, T + kPanelTitleTop);
  DrawCentred(kGradientSprite, T + kPanelBarTop);
  sprite_draw(kCreditsBlock, PanelLeft() + kPanelBlockLeft, T + kPanelBlockTop);
  // Centred, where control 5 lies (the settings screen's OK stands left).
  DrawCentred(kOkText, T + kPanelButtonTop);
}

void CreditsClick(int x, int y, bool fullScreen) {
  if (!ControlHit(kControlCreditsOk, x, y)) return;
  ClickPause(fullScreen);
  ShowMainMenu();
}
