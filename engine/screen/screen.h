// The sprite screen: windows, the screen the game draws on, frame pacing,
// display modes and desktops, and numbered sprites with their drawing rules.
// Everything here runs on the game thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/screen/session_end.h"  // a hang-up, a lost display

// ---- Start, screen and presentation ----

// Starts the video system once at start-up. Non-zero when a screen can be
// shown; 0 is a subsystem failure for the game. A machine without a display
// has no video system: SDL's dummy and offscreen drivers count only when
// SDL_VIDEODRIVER names them (as the tests do).
int sprite_system_start();

// Closes the screen and every window and stops the video system (engine
// shutdown, and between tests). Default transparent colour, frame rate and
// filtering return to their initial values.
void sprite_system_stop();

// Opens a screen that owns the display: width x height, depth 32, with the
// window title; flip mode 0 presents at once, any other value waits for the
// vertical blank. Hides the system pointer. Non-zero on success.
int screen_open_full(int width, int height, int depth, const std::string& title, int flip_mode);

// Opens a screen inside window (a window number or handle) covering the
// rectangle x, y, width, height of its client area. The stretch and offset
// arguments are accepted and ignored (the game passes 0). Non-zero on success.
int screen_open_in_window(int window, int x, int y, int width, int height, int auto_stretch,
                          int right_offset, int bottom_offset, int flip_mode);

// Closes the screen and frees every sprite; shows the system pointer again.
void screen_close();

// Ends a pass: presents what was drawn since the last flip, then waits for
// the next frame when a frame rate F is set (1/(F + 1) s after the last,
// sleeping, not spinning). A pass that drew exactly the picture the screen
// shows presents nothing; one that drew nothing leaves the picture as it
// is. A full screen first handles pending system events. Returns non-zero.
int screen_flip();

// Non-zero once when the flip of a full screen met a request to end the
// program among the system events (the signal a session sends as it ends,
// a close of the screen's window): the game cannot see it otherwise, since
// a full screen leaves the window events to the flip. Reading it clears it.
int screen_quit_requested();

// Non-zero while the screen may be drawn to: for a full screen, while its
// window has the input focus and is neither minimised nor hidden; for a
// screen in a window, while that window is the active one.
int screen_is_active();

// What the screen has done since the video system started, for tests and
// benchmarks: passes (flips), the passes that drew something onto the
// screen and that presented something, and the screen pixels drawn; and
// what its sprites hold now: the bytes of their pictures (4 a texel) and
// the bytes of pixels actually kept for them (pixels, stretched copies and
// textures).
struct ScreenStats {
  bool software = false;  // the engine's own drawing, without a renderer
  int64_t passes = 0;
  int64_t frames_composed = 0;
  int64_t frames_presented = 0;
  int64_t pixels_composed = 0;
  int64_t sprite_bytes = 0;
  int64_t bytes_held = 0;
};
ScreenStats screen_stats();

// The largest width and height a sprite of the open screen may have, as its
// renderer states it; 0 when no screen is open or the renderer sets no limit.
int screen_largest_texture();

// Whether a screen is open, and its size (0 when none).
int screen_is_open();
int screen_width();
int screen_height();

// The system id of the window the screen draws in (0 when none).
uint32_t screen_system_window_id();

// Sets the frame-rate target (0 = no pacing). Non-zero when a
// high-resolution counter exists.
int frame_rate_set(int frames_per_second);

// 0 = nearest pixel, 1 = bilinear filtering for every sprite draw.
void sprite_filtering_set(int mode);

// ---- Display modes and desktops ----

// Reads the primary display's list of 32-bit modes; returns how many.
int display_modes_examine();
// Steps to the next mode of the list; 0 after the last.
int display_modes_next();
// Fields of the current mode (0 before the first display_modes_next).
int display_mode_width();
int display_mode_height();

// Reads the list of attached displays; returns how many.
int desktops_examine();
// Current size of a desktop (0 = primary); 0 for an index out of range.
int desktop_width(int index);
int desktop_height(int index);

// Number of monitors, for the diagnostic log (0 when video is not started).
int monitor_count();

// ---- Windows (windowed and borderless modes) ----

// Window flags. A plain window has a title bar with a minimise button and
// cannot be resized; borderless has neither border nor title bar.
constexpr int kWindowBorderless = 1;
constexpr int kWindowCentred = 2;
constexpr int kWindowHidden = 4;

// Window event codes returned by window_event_next.
constexpr int kWindowEventActivated = 13104;
constexpr int kWindowEventMinimised = 13107;
constexpr int kWindowEventRestored = 13109;
constexpr int kWindowEventRightClick = 13111;
constexpr int kWindowEventLeftClick = 13112;
constexpr int kWindowEventDoubleClick = 13113;
constexpr int kWindowEventDeactivated = 13114;
constexpr int kWindowEventRepaint = 13115;
constexpr int kWindowEventClose = 13116;

// Opens a window whose client area is width x height at (x, y), or centred
// on the primary desktop with kWindowCentred. Number or -1 (handle); 0 on
// failure. Growth step 16.
int window_open(int number, int x, int y, int width, int height, const std::string& title, int flags);

// Closes a window (-1: all). A screen inside it is closed first.
void window_close(int window);

// Shows the window, and raises it to the front with input focus.
void window_show(int window);
void window_activate(int window);
// Minimises a window to the task bar (a borderless game window that loses
// the focus gets out of the way).
void window_minimise(int window);

int window_exists(int window);

// The system's id for the window (what input needs to find it); 0 if none.
uint32_t window_system_id(int window);

// Gives every open window (a full screen's own included) the image's pixels
// as its icon, which the title bar and the task bar show; the game calls it
// after each display open. Non-zero when the windows carry the icon; 0 when
// the image does not exist or no window is open.
int window_icon_set(int image);

// Shows a modal message box with an OK button only, owned by window 0 when
// that window is open (its windows are disabled while it is shown). Returns
// non-zero when the box was shown; 0 without a display to show it on (the
// dummy video driver counts as none), so the caller writes the text elsewhere.
int message_box_show(const std::string& title, const std::string& text);

// Handles pending system events and returns the next window event code, 0
// when none is pending. Events other than window events are consumed too,
// so input reads keyboard and mouse as state, never from the event queue.
int window_event_next();

// ---- Sprites ----

// Sprite creation flags.
constexpr int kSpriteMask = 4;          // keep a mask of opaque pixels
constexpr int kSpriteKeepAlpha = 8;     // do not derive alpha from the transparent colour
// A picture not shown at once: checked now, its pixels made (decoded again)
// when it is first drawn, on the software screen.
constexpr int kSpriteLater = 16;

// Most bytes of an encoded picture that sprite_from_memory reads.
constexpr size_t kSpriteMaxInput = 10000000;

// Makes a sprite of width x height, black with alpha 0, then (without flag
// 8) applies the default transparent colour. Number or -1; 0 on failure or
// without an open screen.
int sprite_create(int number, int width, int height, int flags);

// Makes a sprite of the image's size holding what sprite_create followed by
// drawing the image in at (0, 0) would hold (the image's colour under the
// alpha sprite_create gives), but takes the image's pixels over instead of
// copying them. The image is freed either way. Number or -1; 0 on failure.
int sprite_from_image(int number, int image, int flags);

// Makes a sprite from an encoded picture of size bytes (at most
// kSpriteMaxInput are read). 24-bit pictures become 32-bit; without flag 8
// the default transparent colour replaces the picture's own alpha. 0 when no
// decoder accepts the data.
int sprite_from_memory(int number, const void* data, size_t size, int flags);

// Makes a sprite of exactly width x height from an encoded picture
// stretched while it is decoded, choose saying which part of the picture
// fills it (as image_decode_stretched). It holds what sprite_create followed
// by drawing that stretched picture in at (0, 0) would hold. Flags 0, or
// kSpriteLater. Number or -1; 0 when the picture does not decode to that
// size.
struct ImageRect;
int sprite_from_memory_fitted(int number, const void* data, size_t size, int width, int height,
                              const std::function<bool(int width, int height, ImageRect* rect)>& choose,
                              int flags = 0);

// Re-applies colour rgb (0x00BBGGRR) as the sprite's transparent colour:
// alpha 0 where the pixel is exactly that colour, 255 elsewhere. With -1
// only the default for sprites made later changes.
void sprite_transparent_color(int sprite, int rgb);

// Shows only the rectangle x, y, width, height of the sprite (-1 width or
// height: the full extent), clamped to the sprite; resets the zoom.
void sprite_clip(int sprite, int x, int y, int width, int height);

// Sets the displayed size (-1: the full width or height).
void sprite_zoom(int sprite, int width, int height);

// Displayed size; 0 when the sprite does not exist.
int sprite_width(int sprite);
int sprite_height(int sprite);

// Whether the sprite exists, and frees one (or all with -1).
int sprite_exists(int sprite);
void sprite_free(int sprite);


// Copies the displayed rectangle to the screen at (x, y), alpha ignored.
void sprite_draw(int sprite, int x, int y);

// Blends the sprite over the screen at (x, y): texel alpha times
// intensity / 255 (0 leaves the screen unchanged, 255 plain alpha blending).
void sprite_draw_blended(int sprite, int x, int y, int intensity);

// ---- The 2-D drawing pass (into a sprite or an image) ----

// Where a drawing pass writes; kind 0 means no target.
struct DrawTarget {
  int kind = 0;
  int object = 0;
};

// The drawing target of a sprite.
DrawTarget sprite_draw_target(int sprite);

// Starts the pass on a target (one pass at a time). Non-zero on success.
int draw_start(DrawTarget target);

// Copies an image (see image_handle) into the target at (x, y), clipped;
// only red, green and blue are written, the target keeps its alpha.
struct ImageBuffer;
void draw_image(const ImageBuffer* image, int x, int y);

// Fills a rectangle of the target with the colour rgb (0x00BBGGRR); the
// target keeps its alpha.
void draw_box(int x, int y, int width, int height, int rgb);

// Ends the pass; a sprite shows what was drawn from now on.
void draw_stop();

// ---- Screenshots ----

// Copies the screen rectangle into sprite number (reused when it has that
// size, else made anew); only colour is written. The rectangle must lie
// inside the screen. Non-zero on success.
int sprite_grab_screen(int number, int x, int y, int width, int height);

// Encodes the sprite's pixels with the encoder of format_key (for example
// kImageFormatPNG) and writes them to path. Non-zero on success.
int sprite_save(int sprite, const std::string& path, uint32_t format_key);
