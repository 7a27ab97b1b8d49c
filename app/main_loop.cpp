// The main loop: the order of work in one pass, the window events of the
// windowed modes, the polled mouse of the full screen, the splash timers,
// the four keys and the navigation, and the routing of a click to the
// screen that owns it.
#include "app/main_loop.h"

#include "app/display.h"
#include "app/navigation.h"
#include "app/startup.h"
#include "engine/input/input.h"
#include "engine/screen/screen.h"
#include "engine/sound/sound.h"
#include "engine/system/system.h"
#include "game/assets.h"
#include "game/board_view.h"
#include "game/flow.h"
#include "game/rules.h"
#include "game/screen_state.h"
#include "game/sprites.h"
#include "ui/credits.h"
#include "ui/focus.h"
#include "ui/menu.h"
#include "ui/settings.h"
#include "ui/settings_screen.h"

namespace {

// The only wait the loop makes of its own: one pass in the background, and a
// full-screen click that leaves the well-done screen.
constexpr int kPauseMs = 100;

// A click routed by ScreenState. Returns 1 when it was the settings screen's
// OK and the settings were applied (the display may have been reopened).
int RouteClick(int x, int y, bool fullScreen) {
  switch (ScreenState) {
    case Playing:
      TurnCardAt(x, y);
      return 0;
    case MainMenu:
    case NewGameQuestion:
    case QuitQuestion:
      MenuClick(x, y, fullScreen);
      return 0;
    case SettingsScreen:
      return SettingsClick(x, y, fullScreen, ApplyPendingSettings) == 1 ? 1 : 0;
    case CreditsScreen:
      CreditsClick(x, y, fullScreen);
      return 0;
    case WellDone:
      if (fullScreen) system_sleep(kPauseMs);
      LeaveWellDone();
      return 0;
    default:  // the splash screens take no clicks
      return 0;
  }
}

void PauseMusicIfPlaying() {
  if (sound_status(kMusicSound) == kSoundPlaying) sound_pause(kMusicSound);
}

void ResumeMusicIfPaused() {
  if (sound_status(kMusicSound) == kSoundPaused) sound_resume(kMusicSound);
}

// First in a pass of the windowed and borderless modes: every pending window
// event, one at a time. An OK on the settings screen leaves the rest of the
// queue for the next pass, since the window they were meant for may be gone.
void DrainWindowEvents() {
  for (int code = window_event_next(); code != 0; code = window_event_next()) {
    switch (code) {
      case kWindowEventRepaint:
        screen_flip();
        break;
      case kWindowEventLeftClick:
        PointerClicked();
        if (RouteClick(window_mouse_x(kGameWindow), window_mouse_y(kGameWindow), false) == 1) return;
        break;
      case kWindowEventRightClick:
        PointerClicked();
        LeavePlay();
        break;
      case kWindowEventMinimised:
        if (GameScreen == kWindowed) PauseMusicIfPlaying();
        break;
      case kWindowEventRestored:
      case kWindowEventActivated:
        ResumeMusicIfPaused();
        break;
      case kWindowEventDeactivated:
        if (GameScreen != kBorderless) break;
        PauseMusicIfPlaying();
        // The activation switch that a reopened display brings with it must
        // not send the new borderless window straight to the task bar.
        if (ScreenReopened != 0) {
          ScreenReopened = 0;
        } else {
          window_minimise(kGameWindow);
        }
        break;
      case kWindowEventClose:
        QuitRequested = 1;
        break;
      default:
        break;
    }
  }
}

// Drawn once the flip is done: the splash picture, or the board and the overlay of its screen
// (the focus ring, when shown, goes over them).
void DrawFrame() {
  switch (ScreenState) {
    case LogoSplash:
      sprite_draw(kLogoSprite, 0, 0);
      return;
    case TitleSplash:
      sprite_draw(kTitleSprite, 0, 0);
      return;
    default:
      break;
  }
  DrawBoard();
  switch (ScreenState) {
    case MainMenu:
    case NewGameQuestion:
    case QuitQuestion:
      DrawMenuScreen();
      break;
    case SettingsScreen:
      DrawSettingsScreen();
      break;
    case CreditsScreen:
      DrawCreditsScreen();
      break;
    case WellDone:
      DrawWellDone();
      break;
    default:  // Playing: the board alone
      break;
  }
}

// Full screen only, after the drawing. The buttons are levels: a held left button
// clicks again in every pass (turning the cards it is dragged across).
void PollFullScreenMouse() {
  mouse_poll();
  if (ScreenState >= Playing) DrawPointer(mouse_x(), mouse_y());
  if (mouse_button(1) != 0 || mouse_button(2) != 0) PointerClicked();
  if (mouse_button(1) != 0) RouteClick(mouse_x(), mouse_y(), true);
  if (mouse_button(2) != 0) LeavePlay();
}

void ToggleMusic() {
  if (Music == 1) {
    sound_stop(kMusicSound);
    Music = 0;
  } else {
    sound_play(kMusicSound, kSoundLoop);
    Music = 1;
  }
}

// After the move is resolved. Every key's release is taken each pass, so that M released on the
// settings screen does not toggle the music later on another screen.
void HandleKeys() {
  keyboard_poll();
  if (key_released(kKeyS) != 0) TakeScreenshot();
  if (key_released(kKeyM) != 0 && ScreenState != SettingsScreen) ToggleMusic();
  if (key_released(kKeyEscape) != 0) EscapeReleased();
  if (key_released(kKeySpace) != 0) EndSplash();
}

}  // namespace

void ClickAt(int x, int y, bool fullScreen) { RouteClick(x, y, fullScreen); }

void EscapeReleased() {
  switch (ScreenState) {
    case LogoSplash:
    case TitleSplash:
      EndSplash();
      break;
    case MainMenu:
      QuitRequested = 1;
      break;
    case Playing:
      LeavePlay();
      break;
    case SettingsScreen:
      CancelSettings();
      break;
    case WellDone:
      LeaveWellDone();
      break;
    default:  // the questions and the credits
      ShowMainMenu();
      break;
  }
}

void LoopPass() {
  if (GameScreen == kWindowed || GameScreen == kBorderless) DrainWindowEvents();
  screen_flip();
  // A full screen hears of a request to end (a session ending, a close)
  // only through the flip; the loop ends after this pass, as for the close
  // of a window.
  if (GameScreen == kFullScreen && screen_quit_requested() != 0) QuitRequested = 1;
  if (screen_is_active() == 0) {
    // In the background: nothing drawn, no input read, about 10 passes a second.
    PauseMusicIfPlaying();
    system_sleep(kPauseMs);
    screen_flip();
    return;
  }
  DrawFrame();
  DrawFocus();
  if (GameScreen == kFullScreen) PollFullScreenMouse();
  CountSplashPass();
  ResolveMove();
  HandleKeys();
  HandleNavigation();
}

void RunMainLoop() {
  do {
    LoopPass();
  } while (QuitRequested != 1);
}
