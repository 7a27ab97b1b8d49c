// The moves between the board, the menu, the new-game question and the
// well-done screen that follow from the state of the game. Each acts only
// from the screen named and returns whether it did anything; the caller adds
// any pause the input path needs.
#pragma once

// START on the main menu: the new-game question while a game is in
// progress, otherwise a new deal straight away.
bool StartFromMenu();

// CONTINUE on the main menu: back to the board exactly as it was left, if a
// game is in progress; otherwise nothing.
bool ContinueFromMenu();

// The answer to the new-game question: YES drops the old game and deals a
// new one, NO returns to the menu.
bool AnswerNewGameQuestion(bool yes);

// A right click or Escape on the board: to the menu; the game stays in progress.
bool LeavePlay();

// A left click anywhere or Escape on the well-done screen: to the menu.
bool LeaveWellDone();
