// State shared by the SDL files of the screen: the open screen, the window
// table and the sprite table. Used only inside engine/screen.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "engine/image/image.h"
#include "engine/screen/sprite_blit.h"
#include "engine/system/objects.h"

struct Sprite {
  // Full-size pixels, for drawing into, re-keying, stretching and saving,
  // and on the software renderer what the engine's own loops draw from.
  ImageBuffer pixels;
  // What the sprite is drawn from on the other renderers; nullptr on the
  // software renderer, where pictures are not held twice.
  SDL_Texture* texture = nullptr;
  int width = 0;  // full size in texels
  int height = 0;
  int flags = 0;
  SDL_Rect clip{0, 0, 0, 0};  // shown part of the texture, in texels
  int shown_width = 0;        // displayed size (clip or zoom)
  int shown_height = 0;
  std::vector<uint8_t> mask;  // flag 4: 1 where alpha is 255

  // Software renderer: the shape of the pixels' alpha, read at the first
  // blended draw after they change.
  PixelShape shape;
  // Software renderer: a zoomed sprite keeps its shown part stretched to
  // the displayed size, made on the first draw at that size.
  ImageBuffer zoomed;
  PixelShape zoomed_shape;
  SDL_Rect zoomed_clip{0, 0, 0, 0};
  int zoomed_filter = -1;

  Sprite() = default;
  Sprite(const Sprite&) = delete;
  Sprite& operator=(const Sprite&) = delete;
  ~Sprite() {
    if (texture) SDL_DestroyTexture(texture);
  }
};

struct Window {
  SDL_Window* window = nullptr;
  bool active = false;  // tracked from activation events

  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  ~Window() {
    if (window) SDL_DestroyWindow(window);
  }
};

struct ScreenContext {
  bool video_started = false;
  SDL_Renderer* renderer = nullptr;
  SDL_Window* window = nullptr;  // where the screen draws
  bool owns_window = false;      // a full screen made its own window
  bool in_window = false;
  bool software = false;  // the renderer is SDL's software renderer
  // Sprites are drawn by the engine's own loops straight into the window's
  // surface, which the software renderer presents; SDL's blitters are only
  // used when that surface cannot be written (see screen_sdl.cpp).
  bool direct = false;
  int window_object = 0;  // the window number or handle of an in-window screen
  int width = 0;
  int height = 0;
  int origin_x = 0;
  int origin_y = 0;
  int frame_rate = 0;
  uint64_t last_present = 0;
  int filtering = 0;
  int default_transparent = 0;  // 0x00BBGGRR, black at start
  // The last close event came from a window, so the quit request that SDL
  // sends after it is the same request and is not reported twice.
  bool close_reported = false;
  // A full screen's flip met a quit or close request (screen_quit_requested).
  bool quit_requested = false;
};

ScreenContext& screen_state();
ObjectTable<Sprite>& sprite_table();
ObjectTable<Window>& window_table();

// Window of a window number or handle; nullptr if none.
SDL_Window* window_sdl(int window);

// The sprite's full-size pixels; nullptr when it has none.
ImageBuffer* sprite_pixels(Sprite* sprite);

// Takes the sprite's changed pixels: refreshes its mask and what it is drawn
// from. False when its texture cannot be had.
bool sprite_upload(Sprite* sprite);

// Renderers other than a direct screen: (re)makes the sprite's texture from
// its pixels; false when it cannot be had.
bool sprite_texture_load(Sprite* sprite);

// Renderers other than a direct screen: draws the shown part of the sprite
// through SDL into dst, opaque or blended at an intensity of 1 to 255.
void sprite_texture_draw(Sprite* sprite, const SDL_Rect& dst, bool blended, int intensity);

// Draws the shown part of a sprite at (x, y) with the engine's own loops,
// opaque or blended at an intensity of 1 to 255 (direct screens only).
void sprite_draw_direct(Sprite* sprite, int x, int y, bool blended, int intensity);

// Makes a sprite from full-size pixels and stores it; 0 on failure.
int sprite_store(int number, ImageBuffer pixels, int flags);

// Frees every sprite (their textures belong to the renderer).
void sprites_free_all();

// Puts SDL's large blocks (a window's frame, software textures) into pixel
// memory from now on; once is enough, later calls do nothing.
void screen_memory_install();

// How many of SDL's blocks are in pixel memory now.
int screen_memory_blocks();

// Handles one SDL event; returns its window event code or 0.
int window_event_translate(const SDL_Event& event);
