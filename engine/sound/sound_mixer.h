// The sound records and the mixing of playing sounds into the device's
// buffer, free of any audio library so that tests can drive it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/sound/sound.h"
#include "engine/sound/sound_convert.h"

// One loaded sound: its frames as decoded, in the stream's own rate and
// channel count, converted to the output's as they play.
struct Sound {
  std::vector<int16_t> samples;   // interleaved
  size_t frames = 0;
  int rate = 0;
  int channels = 0;
  SoundConverter convert;         // holds the play position
  bool loop = false;              // remembered from the last play
  int state = kSoundStopped;
  int volume = 100;
  int32_t gain = kSoundUnityGain;
};

// Computes the 101 attenuations once; sound_attenuation builds it on demand.
void sound_volume_table_build();

// A volume (clamped to 0..100) as an attenuation in hundredths of a decibel:
// 0 for 100, -10000 (silence) for 0 (the tests check the table).
int sound_attenuation(int volume);

// The linear gain of a volume: its attenuation as an amplitude factor,
// 10^(attenuation / 2000), and exactly 0 for the silent -10000.
int32_t sound_volume_gain(int volume);

// Readies a sound whose samples, rate and channels are set for an output
// of out_rate and out_channels, at its first frame. False when the output
// cannot take it (see sound_convert_prepare).
[[nodiscard]] bool sound_mixer_prepare(Sound* sound, int out_rate, int out_channels);

// Adds `frames` output frames of a playing sound, scaled by its gain, into
// acc (frames x the output's channels), moving its position. A looping
// sound goes on from its first frame in the same call; any other stops at
// its end and is rewound.
void sound_mixer_add(Sound* sound, int32_t* acc, size_t frames);

// Clips the sums to 16 bits.
void sound_mixer_clip(const int32_t* acc, int16_t* out, size_t count);
