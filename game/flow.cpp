// Screen changes that belong to the game rather than to the menus.
#include "game/flow.h"

#include "game/board.h"
#include "game/screen_state.h"

bool StartFromMenu() {
  if (ScreenState != MainMenu) return false;
  if (GameInProgress != 0) {
    AskNewGame();
  } else {
    DealNewGame();
  }
  return true;
}

bool ContinueFromMenu() {
  if (ScreenState != MainMenu || GameInProgress == 0) return false;
  StartPlaying();
  return true;
}

bool AnswerNewGameQuestion(bool yes) {
  if (ScreenState != NewGameQuestion) return false;
  if (yes) {
    DealNewGame();
  } else {
    ShowMainMenu();
  }
  return true;
}

bool LeavePlay() {
  if (ScreenState != Playing) return false;
  ShowMainMenu();
  return true;
}

bool LeaveWellDone() {
  if (ScreenState != WellDone) return false;
  ShowMainMenu();
  return true;
}
