// What the tests ask of numbered images that the game never asks: their
// size and depth, a rectangle cut out into a new image, and a stretch in
// place. Built on the engine's image buffers (image_buffer.h).
#pragma once

int image_width(int image);   // 0 if none
int image_height(int image);  // 0 if none
int image_depth(int image);   // 0 if none

// Stretches an image to width x height: mode 0 smooth (area averaging when
// shrinking, bilinear when enlarging, alpha included), mode 1 nearest pixel.
// The same size leaves it untouched. Non-zero on success.
int image_resize(int image, int width, int height, int mode);

// Copies a rectangle of a source image into a new image of the same depth
// under number (or -1). The rectangle must lie inside the source. Returns
// the number, a handle, or 0.
int image_grab(int source, int number, int x, int y, int width, int height);
