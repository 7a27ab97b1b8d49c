// The sound records and the mixing of playing sounds into the device's
// buffer, free of any audio library so that tests can drive it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/sound/sound.h"

// Linear gains are fixed-point with 16 fraction bits; 100 % is exact, so a
// sound at full volume plays its samples unchanged.
constexpr int32_t kSoundUnityGain = 1 << 16;

// One loaded sound, held in the device's channel count and rate.
struct Sound {
  std::vector<int16_t> samples;   // interleaved
  size_t frames = 0;
  size_t position = 0;            // next frame to play
  bool loop = false;              // remembered from the last play
  int state = kSoundStopped;
  int volume = 100;
  int32_t gain = kSoundUnityGain;
};

// Computes the 101 attenuations once; sound_attenuation builds it on demand.
void sound_volume_table_build();

// The linear gain of a volume: its attenuation as an amplitude factor,
// 10^(attenuation / 2000), and exactly 0 for the silent -10000.
int32_t sound_volume_gain(int volume);

// Adds `frames` frames of a playing sound, scaled by its gain, into acc
// (frames x channels values), moving its position. A looping sound goes on
// from its first frame in the same call; any other stops at its end.
void sound_mixer_add(Sound* sound, int32_t* acc, size_t frames, int channels);

// Clips the sums to 16 bits.
void sound_mixer_clip(const int32_t* acc, int16_t* out, size_t count);
