// Shared steps for the game tests: a fresh game state, clicks on card
// centres, and the loop's frame as far as the rules see it.
#pragma once

#include <vector>

#include "game/board.h"
#include "game/rules.h"
#include "game/screen_state.h"

namespace play {

// Known state: everything reset, a 1280x720 screen laid out, a fixed seed.
void FreshState(unsigned seed = 1234);

// Deals from the main menu, as START does with no game in progress.
void DealFromMenu();

// Clicks the centre of the card at a column and row.
bool ClickCard(int column, int row);

// What drawing one frame of the board does to the game state: cards are
// drawn row by row, left to right, and each vanishing card is drawn at the
// current MatchFade, which then drops. Returns the intensities drawn for the
// vanishing cards in drawing order.
std::vector<int> DrawFrame();

// One active pass of the loop as the rules see it: the frame is drawn, then
// the move is checked.
void Pass();

// The other card with the same face as the card at pos.
BoardPos PartnerOf(BoardPos pos);

// The first card in storage order that is still face down.
BoardPos FirstFaceDown();

// Any face-down card whose face differs from the card at pos; returns false
// when there is none.
bool MismatchFor(BoardPos pos, BoardPos* out);

}  // namespace play
