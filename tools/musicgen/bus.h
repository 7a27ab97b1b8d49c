// The circular mixing buses the instruments play into: a write past the end
// of the loop lands at its start, so a note that rings over the bar line at
// the end is heard at the start of the next time round.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/musicgen/music.h"

// Where an instrument's sound goes: the dry mix and the reverb's send.
struct MixBus {
  StereoPcm* dry;
  StereoPcm* send;
  float send_level;  // 0 = dry only, 1 = as loud into the reverb as dry

  // Adds one frame at an absolute position, which may lie past the loop.
  void Add(size_t frame, float left, float right) {
    size_t i = frame % kMusicLoopFrames;
    dry->left[i] += left;
    dry->right[i] += right;
    send->left[i] += left * send_level;
    send->right[i] += right * send_level;
  }
};

// Equal-power pan gains for a position from -1 (left) to 1 (right).
void PanGains(float pan, float* left, float* right);

// A small deterministic random generator (xorshift), the same on every
// compiler, unlike the standard library's distributions.
class Rng {
 public:
  explicit Rng(uint32_t seed) : state_(seed ? seed : 1u) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // Uniform in [0, 1).
  float Unit() { return static_cast<float>(Next() >> 8) / 16777216.0f; }
  // Uniform in [low, high).
  float Range(float low, float high) { return low + (high - low) * Unit(); }

 private:
  uint32_t state_;
};
