// The drawing loops of sprite_blit.cpp eight pixels at a time, built for
// AVX2 in a file of their own and called only where the processor has it.
// Each does the whole groups of eight of a run and returns how many pixels
// it did; the caller does the rest. Used only inside engine/screen.
#pragma once

#include <cstdint>

// Whether this build has the AVX2 loops (else each does nothing).
bool blit_avx2_built();

// As blend_run, blend_run_at and blend_colour_run in sprite_blit.cpp:
// blending by each pixel's alpha at an intensity, at one alpha for all, and
// one colour (four bytes) at one alpha.
int blit_avx2_blend(uint8_t* dst, const uint8_t* src, int n, int intensity);
int blit_avx2_blend_at(uint8_t* dst, const uint8_t* src, int n, int alpha);
int blit_avx2_blend_colour(uint8_t* dst, int n, const uint8_t* colour, int alpha);
