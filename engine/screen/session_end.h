// The ends the player did not ask for from inside the game: the terminal it
// was started from closing, and the display going away under it. Included by
// screen.h; the back ends are hangup_posix.cpp and display_lost_x11.cpp
// (and their Windows counterparts, where neither happens).
#pragma once

// Makes a hang-up (the terminal the game was started from closing) end the
// game the way the end of a session and an interrupt do: as a request to
// close, which the main loop sees through the flip or the window events.
// A hang-up the game was started to ignore (nohup) stays ignored. Called
// once at start-up.
void screen_hangup_ends_in_order();

// Has lost() called when the connection to the display is lost (the X
// server ended): on the game thread, from inside whatever screen or window
// call met the loss, with the screen and its windows no longer usable.
// lost() must end the program without touching them; should it return, the
// display library ends the program itself. Called once at start-up.
void screen_on_display_lost(void (*lost)());
