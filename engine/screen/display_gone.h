// Private to engine/screen: what the screen does once the display has gone.
#pragma once

// Marks the display as gone (its connection lost): from then on nothing is
// composed or presented, and sprites and windows are let go without a word
// to the display library, since any such word would meet the loss again.
void screen_display_gone();
