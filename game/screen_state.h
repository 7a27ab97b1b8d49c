// Which screen the main loop shows, and the frame count the splash screens
// and the mismatch pause wait on. Both change only through the functions
// below, each named for what happens in the game; every file may read them.
#pragma once

// The values of ScreenState.
enum ScreenStateValue : int {
  LogoSplash = 0,
  TitleSplash = 1,
  Playing = 2,
  MainMenu = 3,
  NewGameQuestion = 4,
  SettingsScreen = 5,
  CreditsScreen = 6,
  QuitQuestion = 7,
  WellDone = 8,
};

// A splash screen ends in the pass whose count goes above this.
constexpr int kSplashPasses = 100;

// The current screen, one of ScreenStateValue; starts at LogoSplash.
extern int ScreenState;
// Counts the passes of a splash screen and the checks of a mismatch pause;
// the two share it, so a deal during a pause shortens the next one.
extern int FrameCounter;

// The main menu over the board: after the splashes, and on leaving the
// board, a question, the credits, the settings or the well-done screen.
void ShowMainMenu();
// The board takes clicks: a new deal, or CONTINUE on the main menu.
void StartPlaying();
// The question whether to drop the game in progress for a new one.
void AskNewGame();
// The question whether to end the program.
void AskQuit();
// The settings screen, once its pending copies are filled.
void ShowSettings();
// The credits screen.
void ShowCredits();
// The last pair is gone: the well-done screen over the board.
void ShowWellDone();

// Space, Escape or the timer on a splash: the logo gives way to the title
// and the title to the main menu, the count starting again. Does nothing on
// any other screen.
void EndSplash();
// The splash timer, once per main-loop pass after the mouse: counts the pass
// and ends the splash shown once the count goes above kSplashPasses.
void CountSplashPass();

// One check of a mismatch pause, by the rules: true once the count is above
// checks, the count then starting again; otherwise counts the check.
bool MismatchPauseOver(int checks);

// Back to LogoSplash with the count at 0 (tests).
void ResetScreenState();
