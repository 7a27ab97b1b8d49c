// What the tests ask of the screen that the game never asks: whether it
// lives in a window, its pixels, a sprite's mask, and drawing passes into
// images. Built on the screen service's own state (screen_sdl.h).
#pragma once

#include <cstdint>

#include "engine/screen/screen.h"

// Whether the screen lives in a window (1) or is a full screen (0).
int screen_in_window();

// Reads the screen rectangle as 0xAARRGGBB words (alpha undefined), with
// everything drawn so far in this pass. The rectangle must lie inside the
// screen. Non-zero on success.
int screen_read_pixels(int x, int y, int width, int height, uint32_t* argb);

// With flag 4: 1 where the pixel at (x, y) of the full sprite is opaque,
// 0 where not, -1 without a mask or outside the sprite.
int sprite_opaque_at(int sprite, int x, int y);

// The drawing target of an image; kind 0 when there is no such image.
DrawTarget image_draw_target(int image);
