// Volumes and mixing: the attenuation table and its linear gains, and the
// loop-aware copy of each playing sound into the device's buffer.
#include "engine/sound/sound_mixer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSilence = -10000;

int g_attenuation[101];
int32_t g_gain[101];
bool g_table_built = false;

int ClampVolume(int volume) { return std::clamp(volume, 0, 100); }

}  // namespace

void sound_volume_table_build() {
  g_attenuation[0] = kSilence;
  g_attenuation[100] = 0;
  for (int v = 1; v < 100; ++v) {
    // Truncated toward zero, as the attenuation is a whole number.
    g_attenuation[v] = static_cast<int>(2000.0 * std::log10(1000.0 * v)) - 10000;
  }
  for (int v = 0; v <= 100; ++v) {
    int att = g_attenuation[v];
    g_gain[v] = att <= kSilence
                    ? 0
                    : static_cast<int32_t>(std::lround(std::pow(10.0, att / 2000.0) * kSoundUnityGain));
  }
  g_table_built = true;
}

int sound_attenuation(int volume) {
  if (!g_table_built) sound_volume_table_build();
  return g_attenuation[ClampVolume(volume)];
}

int32_t sound_volume_gain(int volume) {
  if (!g_table_built) sound_volume_table_build();
  return g_gain[ClampVolume(volume)];
}

void sound_mixer_add(Sound* sound, int32_t* acc, size_t frames, int channels) {
  const size_t step = static_cast<size_t>(channels);
  while (frames > 0 && sound->state == kSoundPlaying) {
    if (sound->position >= sound->frames) {
      sound->position = 0;
      if (!sound->loop || sound->frames == 0) {
        sound->state = kSoundStopped;
        break;
      }
    }
    size_t run = std::min(frames, sound->frames - sound->position);
    const int16_t* src = sound->samples.data() + sound->position * step;
    const int32_t gain = sound->gain;
    if (gain == kSoundUnityGain) {
      for (size_t i = 0; i < run * step; ++i) acc[i] += src[i];
    } else if (gain != 0) {
      for (size_t i = 0; i < run * step; ++i) acc[i] += (src[i] * gain) >> 16;
    }
    acc += run * step;
    frames -= run;
    sound->position += run;
  }
  // A sound that reaches its very last frame here stops now, not one
  // buffer later, so its status says stopped as soon as it is silent.
  if (sound->state == kSoundPlaying && !sound->loop && sound->position >= sound->frames) {
    sound->position = 0;
    sound->state = kSoundStopped;
  }
}

void sound_mixer_clip(const int32_t* acc, int16_t* out, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    out[i] = static_cast<int16_t>(std::clamp<int32_t>(acc[i], -32768, 32767));
  }
}
