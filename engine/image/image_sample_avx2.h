// The smooth stretch's loops of image_sample.cpp on AVX2 registers, in a file
// of their own whose functions alone are built for AVX2 and are called only
// where the processor has it. They compute the very same integers as the
// plain loops. Used only inside engine/image.
#pragma once

#include <cstddef>
#include <cstdint>

// The fixed-point layout both files share: weights summing to 1 << 14 per
// output position, and rows filtered across kept with 7 bits of fraction
// (so that 255 still fits a signed 16-bit lane), with what rounding adds
// before each shift.
constexpr int kStretchWeightBits = 14;
constexpr int kStretchMidFraction = 7;
constexpr int kStretchAcrossShift = kStretchWeightBits - kStretchMidFraction;
constexpr int32_t kStretchAcrossRound = 1 << (kStretchAcrossShift - 1);
constexpr int kStretchDownShift = kStretchWeightBits + kStretchMidFraction;
constexpr int32_t kStretchDownRound = 1 << (kStretchDownShift - 1);

// Whether this build has the AVX2 loops (else they do nothing).
bool stretch_avx2_built();

// Filters output pixels 0 to count - 1 (count a multiple of 4) of one row
// across, taps an even number. first holds each pixel's first source pixel,
// and every pixel may read 16 bytes at each multiple of four taps from it.
// lanes holds, per four output pixels and per pair of taps, eight words for
// pixels 0 and 2 then eight for pixels 1 and 3 (all pairs of the first
// kind, then all of the second): each pixel's two weights (the second in the
// high half) four times.
void stretch_avx2_across(const uint8_t* in, const int* first, const int32_t* lanes, int taps, int count,
                         uint16_t* out);

// As stretch_avx2_across for two taps where each four output pixels read
// eight source pixels from the first one's first: near holds, per four
// output pixels, the eight source pixels' distances from that one (each
// pixel's first and the one after it).
void stretch_avx2_across_near(const uint8_t* in, const int* first, const uint8_t* near, const int32_t* lanes,
                              int count, uint16_t* out);

// Filters the first channel values of an output row down from taps rows
// with weights w, in groups of 32; returns how many it did.
size_t stretch_avx2_down(const uint16_t* const* rows, const int32_t* w, int taps, size_t n, uint8_t* out);
