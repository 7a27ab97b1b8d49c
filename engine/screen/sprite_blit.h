// The engine's own pixel loops for drawing sprites on the software renderer:
// copying, blending by each pixel's alpha and an intensity, and blending one
// colour at one alpha. Pixels are 32-bit words 0xAARRGGBB in memory order
// blue, green, red, alpha on both sides. Used only inside engine/screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/image/image_buffer.h"

// A rectangle of width x height pixels to draw: its first source and
// destination pixels and the bytes from one row to the next on each side.
struct BlitArea {
  uint8_t* dst = nullptr;
  ptrdiff_t dst_pitch = 0;
  const uint8_t* src = nullptr;
  ptrdiff_t src_pitch = 0;
  int width = 0;
  int height = 0;
};

// Where a row of a sprite is clear, solid and in between: every pixel
// outside [lo, hi) has alpha 0 and every pixel in [a, b) alpha 255 (the
// longest such run; a == b when there is none).
struct RowSpan {
  int lo = 0, hi = 0;
  int a = 0, b = 0;
};

// What a sprite's alpha looks like, so a draw can skip, copy or take a
// short cut instead of blending pixel by pixel.
struct PixelShape {
  bool known = false;
  bool uniform = false;  // every pixel is the same word `colour`
  bool opaque = false;   // every alpha is 255
  uint32_t colour = 0;
  std::vector<RowSpan> rows;  // one per row
};

// Reads the shape of a buffer of pixels.
PixelShape blit_shape(const ImageBuffer& pixels);

// The blended value of one channel: source s over destination d at alpha a
// (0 to 255), rounded to nearest, which is what every loop below gives.
inline int blit_mix(int s, int d, int a) {
  int x = s * a + d * (255 - a) + 127;
  return (x + 1 + (x >> 8)) >> 8;
}

// The alpha of a texel of alpha a drawn at an intensity, rounded to nearest.
inline int blit_alpha(int a, int intensity) { return (a * intensity + 127) / 255; }

// Copies the source over the destination, alpha and all.
void blit_copy(const BlitArea& area);

// Blends the source over the destination by each pixel's alpha times
// intensity / 255 (1 to 255). rows, when given, holds the span of each
// source row of the area, whose columns start at column `column` of the
// sprite: clear pixels are skipped and solid ones copied (or blended at the
// intensity alone).
void blit_blend(const BlitArea& area, int intensity, const RowSpan* rows, int column);

// Blends a source whose every alpha is 255 at the constant alpha intensity.
void blit_blend_opaque(const BlitArea& area, int intensity);

// Blends the single pixel word colour at alpha (1 to 255) over every
// destination pixel of the area (its source is not read).
void blit_blend_colour(const BlitArea& area, uint32_t colour, int alpha);
