// The one place where the current screen and the frame count change.
#include "game/screen_state.h"

int ScreenState = LogoSplash;
int FrameCounter = 0;

void ShowMainMenu() { ScreenState = MainMenu; }
void StartPlaying() { ScreenState = Playing; }
void AskNewGame() { ScreenState = NewGameQuestion; }
void AskQuit() { ScreenState = QuitQuestion; }
void ShowSettings() { ScreenState = SettingsScreen; }
void ShowCredits() { ScreenState = CreditsScreen; }
void ShowWellDone() { ScreenState = WellDone; }

void EndSplash() {
  if (ScreenState == LogoSplash) {
    ScreenState = TitleSplash;
  } else if (ScreenState == TitleSplash) {
    ScreenState = MainMenu;
  } else {
    return;
  }
  FrameCounter = 0;
}

void CountSplashPass() {
  // Both checks run in the same pass, so the title's count starts in the
  // pass in which the logo ends.
  if (ScreenState == LogoSplash && ++FrameCounter > kSplashPasses) EndSplash();
  if (ScreenState == TitleSplash && ++FrameCounter > kSplashPasses) EndSplash();
}

bool MismatchPauseOver(int checks) {
  if (FrameCounter > checks) {
    FrameCounter = 0;
    return true;
  }
  ++FrameCounter;
  return false;
}

void ResetScreenState() {
  ScreenState = LogoSplash;
  FrameCounter = 0;
}
