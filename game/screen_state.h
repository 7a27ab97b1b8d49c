// Which screen the main loop shows. The loop drives it; the rules change it
// when a game is dealt, left, or won.
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

// The current screen, one of ScreenStateValue; starts at LogoSplash.
extern int ScreenState;

// Back to LogoSplash (tests).
void ResetScreenState();
