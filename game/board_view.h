// Drawing the game: the background and the 48 cards under every screen after
// the splashes, the fade of a found pair, the well-done screen, and the
// pointer sprite of the full-screen mode.
#pragma once

// Background opaque, then per card (row by row) its shadow and its picture,
// scaled to CardSize; a vanishing card lowers MatchFade after it is drawn.
void DrawBoard();
// The well-done layers over the board: dimming, shadow, picture; raises
// WellDoneFade towards 128.
void DrawWellDone();
// The pointer sprite at a screen position, full opacity (full screen only).
void DrawPointer(int x, int y);
