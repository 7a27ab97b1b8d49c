// The ring drawn round the focused control or card: a light band inside a
// dark one, each running all the way round. The two colours stand 17 to 1
// apart, so against any colour under or beside the ring one of them stands
// at least 3 to 1 (the panel, the card backs and the dark skies alike).
#pragma once

// Draws the ring round the rectangle, one pixel clear of it; the ring is
// 5 pixels wide, inside the 10-pixel gap between two cards.
void DrawFocusRing(int left, int top, int width, int height);
// How far the ring reaches beyond the rectangle it surrounds.
constexpr int kFocusRingReach = 6;
// Forgets the ring's pictures; they are made again when next drawn.
void ResetFocusRing();
