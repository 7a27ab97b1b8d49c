// Volumes and mixing: the attenuation table and its linear gains, and each
// playing sound added into the device's buffer through its converter.
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

bool sound_mixer_prepare(Sound* sound, int out_rate, int out_channels) {
  if (sound->channels < 1 || sound->frames == 0 || sound->samples.size() != sound->frames * static_cast<size_t>(sound->channels)) {
    return false;
  }
  return sound_convert_prepare(&sound->convert, sound->rate, sound->channels, out_rate, out_channels);
}

void sound_mixer_add(Sound* sound, int32_t* acc, size_t frames) {
  if (sound->state != kSoundPlaying) return;
  const SoundSource source{sound->samples.data(), sound->frames, sound->channels, sound->rate};
  bool ended = false;
  sound_convert_add(&sound->convert, source, sound->loop, sound->gain, acc, frames, &ended);
  if (ended) {
    sound_convert_rewind(&sound->convert);
    sound->state = kSoundStopped;
  }
}

void sound_mixer_clip(const int32_t* acc, int16_t* out, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    out[i] = static_cast<int16_t>(std::clamp<int32_t>(acc[i], -32768, 32767));
  }
}
