// The sound operations the game calls: the table of numbered sounds, their
// states and volumes, and the mix the audio output pulls.
#include <algorithm>
#include <memory>

#include "engine/sound/sound.h"
#include "engine/sound/sound_backend.h"
#include "engine/sound/sound_decode.h"
#include "engine/sound/sound_mixer.h"
#include "engine/system/objects.h"

namespace {

ObjectTable<Sound> g_sounds(64);
bool g_started = false;
int g_rate = 0;
int g_channels = 0;

// Keeps the output from pulling while a sound changes.
class DeviceLock {
 public:
  DeviceLock() { sound_backend_lock(); }
  ~DeviceLock() { sound_backend_unlock(); }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;
};

}  // namespace

int sound_system_start() {
  if (g_started) return 1;
  sound_volume_table_build();
  if (!sound_backend_open(&g_rate, &g_channels)) return 0;
  g_started = true;
  return 1;
}

void sound_system_stop() {
  if (!g_started) return;
  {
    DeviceLock lock;
    g_sounds.free(-1);
  }
  sound_backend_close();
  g_started = false;
}

int sound_from_memory(int sound, const void* data, size_t size) {
  if (!g_started || (sound < 0 && sound != -1)) return 0;
  // Decoding takes long; it runs while the output goes on playing. The
  // stream is kept as decoded, within kSoundMaxBytes: it is converted to the
  // output's rate and channels only as it plays.
  DecodedSound pcm;
  if (!sound_decode(data, size, &pcm, kSoundMaxBytes)) return 0;
  auto record = std::make_unique<Sound>();
  record->frames = pcm.frames();
  record->rate = pcm.rate;
  record->channels = pcm.channels;
  record->samples = std::move(pcm.samples);
  if (!sound_mixer_prepare(record.get(), g_rate, g_channels)) return 0;
  int id;
  {
    DeviceLock lock;
    id = g_sounds.put(sound, std::move(record));
  }
  if (id < 0) return 0;
  return sound == -1 ? id : 1;
}

void sound_play(int sound, int flags) {
  DeviceLock lock;
  Sound* s = g_sounds.get(sound);
  if (s == nullptr) return;
  sound_convert_rewind(&s->convert);
  s->loop = (flags & kSoundLoop) != 0;
  s->state = kSoundPlaying;
}

void sound_stop(int sound) {
  DeviceLock lock;
  auto stop = [](int, Sound& s) {
    s.state = kSoundStopped;
    sound_convert_rewind(&s.convert);
  };
  if (sound == -1) {
    g_sounds.for_each(stop);
  } else if (Sound* s = g_sounds.get(sound)) {
    stop(sound, *s);
  }
}

// Pausing stops without rewinding and resuming starts again with the loop
// flag of the last play, whatever the sound was doing: a stopped sound is
// at its start, so resuming it plays it from there.
void sound_pause(int sound) {
  DeviceLock lock;
  Sound* s = g_sounds.get(sound);
  if (s != nullptr) s->state = kSoundPaused;
}

void sound_resume(int sound) {
  DeviceLock lock;
  Sound* s = g_sounds.get(sound);
  if (s != nullptr) s->state = kSoundPlaying;
}

int sound_status(int sound) {
  DeviceLock lock;
  const Sound* s = g_sounds.get(sound);
  return s == nullptr ? kSoundMissing : s->state;
}

void sound_volume(int sound, int volume) {
  DeviceLock lock;
  Sound* s = g_sounds.get(sound);
  if (s == nullptr) return;
  s->volume = std::clamp(volume, 0, 100);
  s->gain = sound_volume_gain(s->volume);
}

void sound_render(int16_t* out, size_t frames) {
  // Mixed in slices so the sums fit a fixed buffer on the stack: nothing is
  // allocated on the output's thread.
  constexpr size_t kSliceValues = 4096;
  int32_t acc[kSliceValues];
  const size_t step = static_cast<size_t>(g_channels > 0 ? g_channels : 1);
  const size_t slice_frames = kSliceValues / step;
  while (frames > 0) {
    size_t n = std::min(frames, slice_frames);
    std::fill(acc, acc + n * step, 0);
    g_sounds.for_each([&](int, Sound& s) { sound_mixer_add(&s, acc, n); });
    sound_mixer_clip(acc, out, n * step);
    out += n * step;
    frames -= n;
  }
}
