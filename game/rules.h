// The rules of a move: turning cards, the match test, a found pair fading
// out and a mismatch turning back, and the win. Timings count frames of the
// 60-per-second loop.
#pragma once

#include "game/board.h"

// Checks of a mismatch pause: the cards turn back at the first check that
// finds FrameCounter above this.
constexpr int kMismatchFrames = 80;
// MatchFade at rest; a found pair starts vanishing only at this value.
constexpr int kMatchFadeRest = 255;
// How much drawing one vanishing card lowers MatchFade.
constexpr int kMatchFadeStep = 4;
// Fade level at which the well-done screen stays, and its step per frame.
constexpr int kWellDoneFadeFull = 128;
constexpr int kWellDoneFadeStep = 4;

// Turns the card at a board position while the board is played, as the
// first or second card of the move. Does nothing while two cards are shown,
// on a card that is not face down, off the board, or when ScreenState is
// not Playing. Returns whether the card turned.
bool TurnCard(BoardPos pos);

// The per-frame check of the move, run by the main loop once in every frame
// in which the screen is active, after drawing, whatever screen is shown:
// starts a found pair vanishing, removes it once faded (and ends the game
// with the last pair), or counts the mismatch pause and turns the cards back.
void ResolveMove();

// Called by the board drawing after it has drawn a vanishing card (at the
// intensity MatchFade had before the call): lowers MatchFade by 4, so a pair
// loses 8 per drawn frame. Never takes it below -1 from the resting value.
void LowerMatchFade();

// Called by the well-done drawing once per frame after its layers: raises
// WellDoneFade by 4 until it reaches 128.
void RaiseWellDoneFade();
