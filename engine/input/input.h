// Mouse, keyboard, game pads and mouse pointer. The game reads the pointer's
// window position while its screen lives in a window, a mouse it tracks
// itself while the screen owns the display, and its keys in both cases, by
// scan code; pads, where there are any, move the focus of the menus and the
// board.
#pragma once

#include <string>

// Scan codes of the keys the game reads (standard keyboard layout).
constexpr int kKeyEscape = 1;
constexpr int kKeyS = 31;
constexpr int kKeyM = 50;
constexpr int kKeySpace = 57;
// The keys that move and press the focus (extended keys have bit 7 set).
constexpr int kKeyTab = 15;
constexpr int kKeyEnter = 28;
constexpr int kKeyLeftShift = 42;
constexpr int kKeyRightShift = 54;
constexpr int kKeyLeftAlt = 56;
constexpr int kKeyPadEnter = 0x9C;
constexpr int kKeyRightAlt = 0xB8;
constexpr int kKeyUp = 0xC8;
constexpr int kKeyLeft = 0xCB;
constexpr int kKeyRight = 0xCD;
constexpr int kKeyDown = 0xD0;

// Pointer position relative to the client area of a window, or -1 when the
// pointer is outside that area or the window does not exist. Read by the main
// loop after a click event of the windowed modes.
int window_mouse_x(int window);
int window_mouse_y(int window);

// Starts the tracked mouse; non-zero when one exists. Called once at start-up.
int mouse_start();

// Reads the mouse events since the last poll into the tracked position (kept
// inside the screen) and the button states. Returns 0 without reading while
// the screen is not active or no screen is open; the next poll after it is
// active again takes the mouse back. Called once per pass in full-screen mode.
int mouse_poll();

int mouse_x();             // tracked position, screen pixels
int mouse_y();
int mouse_button(int button);  // 1 left, 2 right, 3 middle: non-zero while down

// Starts the keyboard; non-zero when one exists. Called once at start-up.
int keyboard_start();

// Reads the state of every key. Called once per pass, before key_released.
int keyboard_poll();

// 1 exactly once when the key (a scan code 0 to 255) has been released since
// it was last seen down, else 0. For -1, 1 when any key of 0 to 254 was
// released; every released key is then counted as reported.
int key_released(int scan_code);

// Non-zero when the key (a scan code 0 to 255) was down at the last poll; a
// key pressed and let go between two polls reads as down in one poll.
int key_down(int scan_code);

// ---- Game pads, through the platform's game-controller mappings ----

// The pad controls the game reads, by their place on the pad: south (A),
// east (B), Start, and the four directions of the D-pad.
enum PadButton : int {
  kPadSouth = 0,
  kPadEast = 1,
  kPadStart = 2,
  kPadUp = 3,
  kPadDown = 4,
  kPadLeft = 5,
  kPadRight = 6,
  kPadButtonCount = 7,
};
// The left stick's two axes: -32768 (left, up) to 32767 (right, down).
enum PadAxis : int { kPadLeftX = 0, kPadLeftY = 1 };

// Starts the pad service; non-zero when pads can be used. Without it the
// game simply has no pads. Called once at start-up.
int gamepad_start();

// Takes in the pads connected since the last poll, lets go of those
// removed, and reads the buttons and the left stick of every pad. Returns
// how many pads are connected. Called once per pass.
int gamepad_poll();

// Non-zero while any pad held the button at the last poll; a press shorter
// than a pass reads as held in one poll.
int gamepad_button(int button);

// The left stick's axis at the last poll, from the pad pushed furthest that
// way; 0 without pads.
int gamepad_axis(int axis);

// Loads a Windows cursor file as a pointer. Returns its handle, or 0 when
// the file is missing, malformed or the system has no colour pointers.
int pointer_load(const std::string& path);

// Makes the pointer shown over the window's client area; 0 (or an unknown
// handle) gives the system's default pointer back.
void window_pointer_set(int window, int cursor);

// --- Called by the screen service, not by the game ---

// Tells which platform window (an id of the windowing system, 0 for none)
// carries the game's window number, when a window opens and closes.
void input_window_link(int window, int platform_window_id);

// Tells which screen is open, when one opens and closes (platform window id
// 0): the platform window that shows it, its origin inside that window, its
// size, and whether it lives inside a window (1) or owns the display (0).
void input_screen_link(int platform_window_id, int x, int y, int width, int height,
                       int in_window);

// Tells whether the open screen is active (may be drawn to); reported after
// every present. A newly linked screen counts as active.
void input_screen_active(int active);

// Tells where the button of the click just taken from the window events was
// released (platform window id, client position): window_mouse_x and
// window_mouse_y give that place while the click is handled, even when the
// pointer has moved on since, so that a click lands where it was made. A
// platform window id of 0, sent as the next event is taken, lets them follow
// the pointer again.
void input_click_position(int platform_window_id, int x, int y);

// Releases the mouse, keyboard and pads, lifts the pointer confinement,
// frees every loaded pointer and forgets all state. Called at engine
// shutdown and by tests.
void input_shutdown();
