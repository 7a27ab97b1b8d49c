// State shared by the SDL files of the screen: the open screen, the frame
// being drawn, the window table and the sprite table. Used only inside
// engine/screen.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/image/image_buffer.h"
#include "engine/screen/renderer_probe.h"
#include "engine/screen/screen.h"
#include "engine/screen/sprite_blit.h"
#include "engine/system/objects.h"

// How a sprite's pixels can be made again once they have been given back:
// the encoded picture they were decoded from, and how it was decoded.
struct SpriteSource {
  std::vector<uint8_t> encoded;
  int key = -1;                 // the transparent colour applied, -1 for the picture's own alpha
  int fit_width = 0;            // stretched to this size while decoded, 0 for no stretch
  int fit_height = 0;
  ImageChooseRect choose;       // the part of the picture stretched
  uint32_t fit_alpha = 0;       // a stretched picture's alpha, as sprite_from_image gives it
};

struct Sprite {
  // Full-size pixels, for drawing into, re-keying, stretching and saving,
  // and on the software screen what the engine's own loops draw from. On a
  // renderer they go once the texture has been drawn, and are read back
  // from it when they are needed again, so a picture is never held twice.
  // On the software screen a large sprite that is not drawn for a while
  // gives them back when they can be made again (see sprite_keep_sdl.cpp).
  ImageBuffer pixels;
  std::unique_ptr<SpriteSource> source;  // nullptr: not decoded from a picture
  bool uniform = false;       // every pixel is the word `uniform_word`
  bool uniform_known = false;  // whether `uniform` has been worked out
  uint32_t uniform_word = 0;
  uint64_t used_in_pass = 0;  // the last pass that drew it (or made it)
  bool drawn_ever = false;    // drawn since it was made
  // What the sprite is drawn from on a renderer; nullptr on the software
  // screen.
  SDL_Texture* texture = nullptr;
  int width = 0;  // full size in texels
  int height = 0;
  int flags = 0;
  SDL_Rect clip{0, 0, 0, 0};  // shown part of the texture, in texels
  int shown_width = 0;        // displayed size (clip or zoom)
  int shown_height = 0;
  std::vector<uint8_t> mask;  // flag 4: 1 where alpha is 255
  // Names these pixels: new at every change, never given twice, so that a
  // frame can tell whether a sprite it drew still looks the same.
  uint64_t stamp = 0;
  // The pass in which the sprite was last put on the frame (see Frame).
  uint64_t drawn_in_pass = 0;

  // Software screen: the shape of the pixels' alpha, read at the first
  // blended draw after they change.
  PixelShape shape;
  // Software screen: a zoomed sprite keeps its shown part stretched to the
  // displayed size, made on the first draw at that size.
  ImageBuffer zoomed;
  PixelShape zoomed_shape;
  SDL_Rect zoomed_clip{0, 0, 0, 0};
  int zoomed_filter = -1;

  Sprite() = default;
  Sprite(const Sprite&) = delete;
  Sprite& operator=(const Sprite&) = delete;
  ~Sprite();
};

struct Window {
  SDL_Window* window = nullptr;
  bool active = false;  // tracked from activation events

  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  ~Window();
};

// One sprite draw of a pass, as it was asked for.
struct DrawItem {
  Sprite* sprite = nullptr;  // valid until the pass is composed; then null
  uint64_t stamp = 0;        // the sprite's pixels as they were
  int x = 0, y = 0;          // where on the screen
  int width = 0, height = 0;  // displayed size
  SDL_Rect part{0, 0, 0, 0};  // shown part of the texture
  int intensity = 0;          // 0 for an opaque draw, else 1 to 255 blended
  int filter = 0;             // filtering when it was drawn
};

// What the screen shows and what the pass in progress has drawn. Sprite
// draws are collected during a pass and composed at the flip, or earlier
// when something is about to read the screen or change a sprite on it.
// Only what differs from the frame on the screen is composed again (on the
// software screen only the rectangles that changed); a pass that draws
// what the screen already shows composes and presents nothing.
struct Frame {
  std::vector<DrawItem> drawn;  // this pass, in order
  size_t composed = 0;          // drawn[0, composed) are on the screen
  bool piecewise = false;       // composed early: the rest goes on top
  std::vector<DrawItem> shown;  // what the screen shows, sprites null
  bool shown_known = false;     // false: the screen's content is unknown
  std::vector<SDL_Rect> damage;  // composed, not yet presented
  bool repaint = false;          // the system asks for the picture again
  bool back_buffer_drawn = false;  // renderer: composed since the present
  bool composed_in_pass = false;   // something was drawn onto the screen
  bool compose_failed = false;     // the screen could not be drawn on
  uint64_t pass = 1;
  SDL_Surface* surface = nullptr;  // the window surface composed into
  // The software screen's pixels where the window surface holds another
  // format; copied into it as they are presented.
  ImageBuffer own;
  ScreenStats stats;
};

// How the open screen draws.
enum class ScreenPath {
  None,      // no screen
  Surface,   // the engine's own loops into the window's surface
  Renderer,  // an SDL renderer with a texture per sprite
};

struct ScreenContext {
  bool video_started = false;
  ScreenPath path = ScreenPath::None;
  SDL_Renderer* renderer = nullptr;  // ScreenPath::Renderer only
  SDL_Window* window = nullptr;      // where the screen draws
  bool owns_window = false;          // a full screen made its own window
  bool in_window = false;
  int window_object = 0;  // the window number or handle of an in-window screen
  int width = 0;
  int height = 0;
  int origin_x = 0;
  int origin_y = 0;
  int frame_rate = 0;
  int64_t next_frame = 0;  // pacing deadline on the system clock; 0 before the first flip
  int filtering = 0;
  int default_transparent = 0;  // 0x00BBGGRR, black at start
  // The last close event came from a window, so the quit request that SDL
  // sends after it is the same request and is not reported twice.
  bool close_reported = false;
  // A full screen's flip met a quit or close request (screen_quit_requested).
  bool quit_requested = false;
  // A full screen's window has the input focus (from the focus events).
  bool focused = true;
  // The connection to the display is lost: nothing may be asked of SDL's
  // video any more (see display_gone.h).
  bool display_gone = false;
  Frame frame;
};

ScreenContext& screen_state();
ObjectTable<Sprite>& sprite_table();
ObjectTable<Window>& window_table();

// Window of a window number or handle; nullptr if none.
SDL_Window* window_sdl(int window);

// The bits per pixel of the current display mode: 32 for every listed mode,
// 0 before the first display_modes_next (the tests check it).
int display_mode_depth();

// ---- Sprites (sprite_sdl.cpp, sprite_texture_sdl.cpp) ----

// The sprite's full-size pixels, read back from its texture when a renderer
// holds them; nullptr when it has none. A caller that changes them calls
// frame_sprite_changing first.
ImageBuffer* sprite_pixels(Sprite* sprite);

// Takes the sprite's changed pixels: gives them a new stamp, refreshes the
// mask and what the sprite is drawn from. False when its texture cannot be
// had.
bool sprite_upload(Sprite* sprite);

// Makes a sprite from full-size pixels and stores it, with the picture they
// were decoded from when there is one; 0 on failure.
int sprite_store(int number, ImageBuffer pixels, int flags, std::unique_ptr<SpriteSource> source = nullptr);

// Frees every sprite (their textures belong to the renderer).
void sprites_free_all();

// Renderer: (re)makes the sprite's texture from its pixels; false when it
// cannot be had.
bool sprite_texture_load(Sprite* sprite);

// Renderer: draws an item's sprite through SDL, opaque or blended. Once a
// sprite has been drawn its own copy of the pixels goes.
void sprite_texture_draw(const DrawItem& item);

// Renderer: reads a sprite's pixels back from its texture into its pixel
// buffer; false when they cannot be read.
bool sprite_texture_read(Sprite* sprite);

// Makes the sprite's pixels again after they were given back (decoded
// again, filled with their one colour, or read back from the texture);
// false when that cannot be done. True at once when they are there.
bool sprite_restore(Sprite* sprite);

// A sprite of one colour without pixels: change applied to that colour as
// if to every pixel (a fill, a key).
void sprite_change_colour(Sprite* sprite, const std::function<void(ImageBuffer*)>& change);

// A buffer for pictures decoded only to check them (kSpriteLater), kept
// from one to the next and given back at the next flip.
ImageBuffer& sprite_scratch();

// Software screen: gives back the pixels of large sprites that have not been
// drawn for a while and can be made again. Called once a pass.
void sprites_release_idle();

// Software screen: draws an item onto the surface pixels (0xAARRGGBB words,
// pitch bytes a row, the screen's (0, 0) at `origin`), only inside `area`
// (screen coordinates). Returns the pixels written.
int64_t sprite_draw_direct(const DrawItem& item, uint8_t* origin, int pitch, const SDL_Rect& area);

// ---- The frame (frame_sdl.cpp) ----

// Adds a draw to the pass.
void frame_add(Sprite* sprite, int x, int y, int intensity);

// Called before a sprite's pixels change or it is freed: a pass that still
// has to draw it does so first.
void frame_sprite_changing(const Sprite* sprite);

// At the flip: composes the pass and presents what changed, then starts
// the next pass.
void frame_present();

// Forgets what the screen shows: the next pass is drawn whole.
void frame_reset();

// The system asks for the window's picture again (it was exposed, restored
// or shown).
void frame_repaint();

// Reads screen pixels as 0xAARRGGBB words after composing the pass.
bool frame_read(int x, int y, int width, int height, uint32_t* out);

// The kinds of DrawTarget: a sprite's pixels or an image's.
constexpr int kDrawTargetSprite = 1;
constexpr int kDrawTargetImage = 2;

// ---- SDL's memory (memory_sdl.cpp) ----

// Puts SDL's large blocks (a window's frame, software textures) into pixel
// memory from now on; once is enough, later calls do nothing.
void screen_memory_install();

// How many of SDL's blocks are in pixel memory now.
int screen_memory_blocks();

// Handles one SDL event; returns its window event code or 0.
int window_event_translate(const SDL_Event& event);
