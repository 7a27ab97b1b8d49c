// State shared by the SDL files of the screen: the open screen, the window
// table and the sprite table. Used only inside engine/screen.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "engine/image/image.h"
#include "engine/system/objects.h"

// One texture a sprite is drawn from, with what the software renderer needs
// to know about its pixels to draw it quickly.
struct SpriteTexture {
  SDL_Texture* texture = nullptr;
  // Every alpha is 255. On the software renderer such a texture is made
  // without alpha, so that blending it at an intensity takes SDL's fast
  // constant-alpha path.
  bool opaque = false;
  // On the software renderer, rectangles in texels that together hold every
  // pixel that is not fully transparent: a draw at full intensity copies the
  // opaque ones and blends only the rest. Empty when the texture is opaque or
  // is always drawn whole.
  std::vector<SDL_Rect> copy_parts;
  std::vector<SDL_Rect> blend_parts;
  // The same pixels without alpha, which the copy parts are drawn from: a
  // copy between two formats without alpha is a plain row copy in SDL, from
  // one with alpha it converts every pixel.
  SDL_Texture* solid = nullptr;

  SpriteTexture() = default;
  SpriteTexture(const SpriteTexture&) = delete;
  SpriteTexture& operator=(const SpriteTexture&) = delete;
  ~SpriteTexture() { clear(); }
  void clear() {
    if (texture) SDL_DestroyTexture(texture);
    if (solid) SDL_DestroyTexture(solid);
    texture = nullptr;
    solid = nullptr;
  }
};

struct Sprite {
  // Full-size copy of the texture's pixels, for drawing into, re-keying,
  // stretching and saving. On the software renderer the texture already
  // holds them in memory, so there the copy is made from it only while one
  // of those needs it (sprite_pixels) and dropped again at the upload.
  ImageBuffer pixels;
  SpriteTexture main;
  int width = 0;  // full size in texels
  int height = 0;
  int flags = 0;
  SDL_Rect clip{0, 0, 0, 0};  // shown part of the texture, in texels
  int shown_width = 0;        // displayed size (clip or zoom)
  int shown_height = 0;
  std::vector<uint8_t> mask;  // flag 4: 1 where alpha is 255

  // The software renderer stretches slowly, so there a zoomed sprite keeps
  // its shown part stretched to the displayed size, made on the first draw.
  SpriteTexture zoomed;
  SDL_Rect zoomed_clip{0, 0, 0, 0};
  int zoomed_width = 0;
  int zoomed_height = 0;
  int zoomed_filter = -1;
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
};

ScreenContext& screen_state();
ObjectTable<Sprite>& sprite_table();
ObjectTable<Window>& window_table();

// Window of a window number or handle; nullptr if none.
SDL_Window* window_sdl(int window);

// Loads full-size pixels into a sprite texture, (re)making the texture in
// the form the renderer draws fastest. False when the texture cannot be had.
bool sprite_texture_load(SpriteTexture* t, const ImageBuffer& pixels);

// Reads a texture's pixels back into out (software renderer only); false
// when they cannot be had.
bool sprite_texture_read(const SpriteTexture& t, ImageBuffer* out);

// Draws the part src (nullptr: all) of a sprite texture into dst, opaque
// or blended at an intensity of 1 to 255.
void sprite_texture_draw(const SpriteTexture& t, const SDL_Rect* src, const SDL_Rect& dst, bool blended,
                         int intensity);

// The sprite's full-size pixels, read back from its texture when the copy
// was dropped; nullptr when they cannot be had.
ImageBuffer* sprite_pixels(Sprite* sprite);

// Copies the sprite's pixels into its texture and refreshes its mask; on the
// software renderer the copy is then dropped.
bool sprite_upload(Sprite* sprite);

// Makes a sprite from full-size pixels and stores it; 0 on failure.
int sprite_store(int number, ImageBuffer pixels, int flags);

// Frees every sprite (their textures belong to the renderer).
void sprites_free_all();

// Handles one SDL event; returns its window event code or 0.
int window_event_translate(const SDL_Event& event);
