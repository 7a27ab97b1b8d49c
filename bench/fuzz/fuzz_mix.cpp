// libFuzzer entry for decoded sound on its way to the output: a sound of
// any rate and channel count is readied for the output and converted while
// it plays, pulled in pieces as the audio device pulls them, with a pause
// through the mixer midway. A rate or channel count no buffer takes must be
// refused; anything else must give exactly the frames its length promises,
// within a sane level, never a read out of bounds.
// Input: rate (4 bytes, little-endian), channels, flags, volume, length,
// then 16-bit samples. Flags: bit 0 loop, bit 1 a mono output, bit 2 a
// pause and resume midway, bits 3-7 the piece size.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/sound/sound.h"
#include "engine/sound/sound_mixer.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

constexpr int kOutRate = 44100;

// Output frames a sound of `frames` input frames gives without looping:
// one for every output time that falls before its end.
uint64_t FramesWithoutLoop(uint64_t frames, uint64_t in_rate) {
  return (frames * kOutRate + in_rate - 1) / in_rate;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  const uint32_t rate = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                        static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
  const int channels = data[4];
  const uint8_t flags = data[5];
  const bool loop = (flags & 1) != 0;
  const int out_channels = (flags & 2) != 0 ? 1 : 2;
  const bool pause_midway = (flags & 4) != 0;
  const size_t piece = 1 + static_cast<size_t>(flags >> 3) * 67;  // 1 to 2078 frames
  const int volume = data[6] % 101;
  const size_t want = 64 * (1 + static_cast<size_t>(data[7]));  // up to 16,384 frames

  Sound sound;
  sound.rate = static_cast<int>(rate > 0x7FFFFFFF ? 0x7FFFFFFF : rate);
  sound.channels = channels;
  const size_t samples = (size - 8) / 2;
  sound.frames = channels > 0 ? samples / static_cast<size_t>(channels) : 0;
  sound.samples.resize(sound.frames * static_cast<size_t>(channels > 0 ? channels : 0));
  for (size_t i = 0; i < sound.samples.size(); ++i) {
    sound.samples[i] = static_cast<int16_t>(data[8 + 2 * i] | data[9 + 2 * i] << 8);
  }
  const bool takeable = rate >= static_cast<uint32_t>(kSoundMinRate) && rate <= static_cast<uint32_t>(kSoundMaxRate) &&
                        channels >= 1 && channels <= kSoundMaxChannels && sound.frames > 0;
  const bool prepared = sound_mixer_prepare(&sound, kOutRate, out_channels);
  check(prepared == takeable);
  if (!prepared) return 0;
  sound.gain = sound_volume_gain(volume);
  sound.loop = loop;
  sound.state = kSoundPlaying;

  // A full-scale square wave on every channel, resampled, overshoots a
  // little; nothing may go far beyond 16 bits.
  constexpr int32_t kBound = 2 * 32768;
  const uint64_t promised = loop ? want : std::min<uint64_t>(want, FramesWithoutLoop(sound.frames, rate));
  const SoundSource source{sound.samples.data(), sound.frames, sound.channels, sound.rate};
  std::vector<int32_t> acc(piece * static_cast<size_t>(out_channels));
  uint64_t played = 0;
  size_t pulls = 0;
  bool ended = false;
  while (played < want && !ended) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(piece, want - played));
    std::fill(acc.begin(), acc.end(), 0);
    const int64_t clock_before = sound.convert.clock;
    const size_t got = sound_convert_add(&sound.convert, source, loop, sound.gain, acc.data(), n, &ended);
    check(got <= n && (ended || got == n));
    for (size_t i = 0; i < acc.size(); ++i) {
      check(acc[i] > -kBound && acc[i] < kBound);
      check(i < got * static_cast<size_t>(out_channels) || acc[i] == 0);  // nothing past what it gave
    }
    played += got;
    if (ended) {
      // At the end of a sound that does not loop, and back at its start.
      check(!loop);
      check(sound.convert.clock == 0 && sound.convert.phase == 0);
    } else if (sound.convert.path == SoundConverter::Path::kResample) {
      check(sound.convert.clock >= clock_before);
    }
    if (pause_midway && ++pulls == 2) {
      // Paused: the mixer adds nothing and nothing moves.
      sound.state = kSoundPaused;
      const int64_t clock = sound.convert.clock, phase = sound.convert.phase;
      std::fill(acc.begin(), acc.end(), 0);
      sound_mixer_add(&sound, acc.data(), n);
      for (int32_t v : acc) check(v == 0);
      check(sound.convert.clock == clock && sound.convert.phase == phase);
      sound.state = kSoundPlaying;
    }
  }
  check(played == promised);
  return 0;
}
