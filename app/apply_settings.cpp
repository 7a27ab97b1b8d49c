// The settings screen's OK: the pending language, music and display settings
// made current, in that order, the display reopened only when the window mode
// changes or a window changes its size.
#include "app/display.h"
#include "app/folders.h"
#include "app/log.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "engine/sound/sound.h"
#include "game/assets.h"
#include "game/board.h"
#include "game/geometry.h"
#include "game/screen_state.h"
#include "ui/languages.h"
#include "ui/settings.h"
#include "ui/text_sprites.h"

namespace {

// Closing the screen frees every sprite, so a reopen makes all of them again;
// the board keeps its faces and states and only moves on the screen.
void ReopenDisplay() {
  ScreenReopened = 1;
  CloseDisplay(GameScreen);
  GameScreen = PendingGameScreen;
  ScreenMode = PendingScreenMode;
  ChooseScreenSize();
  OpenGameDisplay();
  ComputeBoardGeometry(ScreenWidth, ScreenHeight);
  LayoutBoard();
}

}  // namespace

void ApplyPendingSettings() {
  if (PendingLanguage != Language) {
    Language = PendingLanguage;
    // A language that fails to load keeps the texts loaded before it.
    bool loaded = LoadLanguage(GameDir + kLanguagePackName, Language) != 0;
    LogLoadLanguage(Language, loaded);
    RenderTextSprites(0);
  }
  if (Music == 1 && PendingMusic == 0) {
    sound_stop(kMusicSound);
    Music = 0;
  } else if (Music == 0 && PendingMusic == 1) {
    sound_play(kMusicSound, kSoundLoop);
    Music = 1;
  }
  ScreenReopened = 0;
  bool reopen = PendingGameScreen != GameScreen ||
                (GameScreen == kWindowed && PendingScreenMode != ScreenMode);
  if (reopen) ReopenDisplay();
  ShowMainMenu();
}
