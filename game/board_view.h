// Drawing the game: the background and the 48 cards under every screen after
// the splashes, the fade of a found pair, the well-done screen, and the
// pointer sprite of the full-screen mode; and which card a screen point hits.
#pragma once

#include "game/board.h"

// Background opaque, then per card (row by row) its shadow and its picture,
// scaled to CardSize; a vanishing card lowers MatchFade after it is drawn.
void DrawBoard();
// The well-done layers over the board: dimming, shadow, picture; raises
// WellDoneFade towards 128.
void DrawWellDone();
// The pointer sprite at a screen position, full opacity (full screen only).
void DrawPointer(int x, int y);

// The card whose square strictly contains screen position (px, py), into
// *pos; false on the edge lines, in the gaps and off the board. Any card
// state counts, removed cards too.
bool CardUnder(int px, int py, BoardPos* pos);
// A left click at a screen position on the board: the card under it, if
// any, turned by the rules (TurnCard). Returns whether a card turned.
bool TurnCardAt(int px, int py);
