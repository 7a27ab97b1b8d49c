// The audio output on SDL: one device in 16-bit stereo whose callback pulls
// the engine's mix (sounds in another format are converted by the mix).
#include <SDL.h>

#include "engine/sound/sound_backend.h"

namespace {

SDL_AudioDeviceID g_device = 0;
int g_channels = 0;

constexpr int kRate = 44100;
constexpr int kChannels = 2;
// About 23 ms at 44.1 kHz: short enough that pause and stop are heard at once.
constexpr int kBufferFrames = 1024;

void SDLCALL PullMix(void*, Uint8* stream, int len) {
  size_t frames = static_cast<size_t>(len) / (sizeof(int16_t) * static_cast<size_t>(g_channels));
  sound_render(reinterpret_cast<int16_t*>(stream), frames);
}

}  // namespace

bool sound_backend_open(int* rate, int* channels) {
  if (g_device != 0) return false;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want;
  SDL_zero(want);
  want.freq = kRate;
  want.format = AUDIO_S16SYS;
  want.channels = kChannels;
  want.samples = kBufferFrames;
  want.callback = PullMix;
  SDL_AudioSpec have;
  // No changes allowed: SDL converts to the hardware's format itself, so
  // the mix is always in the format asked for.
  g_channels = kChannels;
  g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (g_device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  *rate = have.freq;
  *channels = have.channels;
  SDL_PauseAudioDevice(g_device, 0);
  return true;
}

void sound_backend_close() {
  if (g_device == 0) return;
  SDL_CloseAudioDevice(g_device);
  g_device = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void sound_backend_lock() {
  if (g_device != 0) SDL_LockAudioDevice(g_device);
}

void sound_backend_unlock() {
  if (g_device != 0) SDL_UnlockAudioDevice(g_device);
}
