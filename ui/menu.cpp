// The main menu and the new-game and quit questions: their layers over the
// board and what their controls do.
#include "ui/menu.h"

#include "engine/screen/screen.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/geometry.h"
#include "game/screen_state.h"
#include "game/sprites.h"
#include "ui/controls.h"
#include "ui/menu_layout.h"
#include "ui/settings_screen.h"

int QuitRequested = 0;

namespace {

// The board shows through the dimming layer and the panel's shadow at half
// strength; the panel itself is opaque.
constexpr int kHalf = 128;
constexpr int kOpaque = 255;

void DrawQuestion(int title, int question) {
  const int T = PanelTop();
  const int box = sprite_width(kQuitQuestionText);  // both questions place yes and no by it
  const int left = (ScreenWidth - box) / 2;
  DrawCentred(title, T + kPanelTitleTop);
  DrawCentred(kGradientSprite, T + kPanelBarTop);
  DrawCentred(question, T + kQuestionTop);
  sprite_draw(kYesText, left + kAnswerInset, T + kAnswerTop);
  sprite_draw(kNoText, left + box - sprite_width(kNoText) - kAnswerInset, T + kAnswerTop);
}

void MainMenuClick(int x, int y, bool fullScreen) {
  for (int i = kControlStart; i <= kControlQuit; ++i) {
    if (!ControlHit(i, x, y)) continue;
    ClickPause(fullScreen);
    switch (Controls[static_cast<size_t>(i)].sprite) {
      case kStartText:
        StartFromMenu();
        break;
      case kContinueText:
        ContinueFromMenu();
        break;
      case kSettingsText:
        EnterSettings();
        break;
      case kCreditsText:
        ShowCredits();
        break;
      case kQuitText:
        AskQuit();
        break;
      default:
        break;
    }
    return;
  }
}

}  // namespace

void DrawCentred(int sprite, int y) { sprite_draw(sprite, (ScreenWidth - sprite_width(sprite)) / 2, y); }

void DrawMenuBackdrop() {
  const int L = PanelLeft();
  const int T = PanelTop();
  sprite_draw_blended(kDimSprite, 0, 0, kHalf);
  sprite_draw_blended(kPanelShadowSprite, L + kPanelShadowOffset, T + kPanelShadowOffset, kHalf);
  sprite_draw_blended(kPanelSprite, L, T, kOpaque);
}

void DrawMenuScreen() {
  const int T = PanelTop();
  switch (ScreenState) {
    case MainMenu:
      DrawMenuBackdrop();
      for (const MenuEntryPlace& e : kMenuEntries) {
        const bool dim = e.sprite == kContinueText && GameInProgress != 1;
        DrawCentred(dim ? kContinueDimText : e.sprite, T + e.top);
      }
      break;
    case NewGameQuestion:
      DrawMenuBackdrop();
      DrawQuestion(kStartText, kStartQuestionText);
      break;
    case QuitQuestion:
      DrawMenuBackdrop();
      DrawQuestion(kQuitText, kQuitQuestionText);
      break;
    default:
      break;
  }
}

void MenuClick(int x, int y, bool fullScreen) {
  switch (ScreenState) {
    case MainMenu:
      MainMenuClick(x, y, fullScreen);
      break;
    case NewGameQuestion:
      if (ControlHit(kControlYes, x, y)) {
        AnswerNewGameQuestion(true);
        ClickPause(fullScreen);
      } else if (ControlHit(kControlNo, x, y)) {
        ClickPause(fullScreen);
        AnswerNewGameQuestion(false);
      }
      break;
    case QuitQuestion:
      if (ControlHit(kControlYes, x, y)) {
        QuitRequested = 1;
      } else if (ControlHit(kControlNo, x, y)) {
        ClickPause(fullScreen);
        ShowMainMenu();
      }
      break;
    default:
      break;
  }
}
