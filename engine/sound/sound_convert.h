// Fitting a sound to the output while it plays: its channels are weighed
// into the output's, and a rate that differs from the output's is converted
// by a windowed-sinc filter a few frames at a time. No converted copy of a
// stream is ever made, so a sound costs its decoded frames and a small ring
// of the last frames read, whatever its rate and channel count. Free of any
// audio library: the mixer, the tests and the fuzzer drive it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A sound's frames as decoded: interleaved 16-bit samples.
struct SoundSource {
  const int16_t* samples = nullptr;
  size_t frames = 0;
  int channels = 0;
  int rate = 0;
};

// How one sound becomes the output's frames, and where its playback is.
struct SoundConverter {
  enum class Path { kCopy, kMix, kResample };
  Path path = Path::kCopy;
  int in_rate = 0;
  int in_channels = 0;
  int out_rate = 0;
  int out_channels = 0;
  // Weight of each input channel in each output channel (out x in).
  std::vector<float> weights;
  // Resampling: the filter reaches `half` input frames either side of the
  // current time, stretched by `stretch` (above 1 when the rate falls, so
  // that nothing above the output's highest frequency folds back).
  int half = 0;
  double stretch = 1.0;
  // The input frames around the current time, already weighed into the
  // output's channels; slot (index & ring_mask).
  std::vector<float> ring;
  int64_t ring_mask = 0;
  // The input frame at or before the current time. Copying and mixing keep
  // it within the sound; resampling counts on past the end of a loop.
  int64_t clock = 0;
  // How far the current time is past `clock`, in 1/out_rate of a frame.
  int64_t phase = 0;
  // The next input frame to weigh into the ring.
  int64_t fetched = 0;
};

// Most output channels a converter makes.
constexpr int kSoundMaxOutChannels = 8;

// Gains are fixed-point with 16 fraction bits; 100 % is exact, so a sound
// at full volume in the output's own format plays its samples unchanged.
constexpr int32_t kSoundUnityGain = 1 << 16;

// Sets the converter up for a stream of in_rate and in_channels played at
// out_rate with out_channels, at the stream's start. False for a rate
// outside kSoundMinRate..kSoundMaxRate, no channels, more than
// kSoundMaxChannels in or kSoundMaxOutChannels out, or no output rate.
[[nodiscard]] bool sound_convert_prepare(SoundConverter* c, int in_rate, int in_channels, int out_rate,
                                         int out_channels);

// Back to the stream's first frame (a new play, a stop).
void sound_convert_rewind(SoundConverter* c);

// Adds up to `frames` output frames of the source, scaled by gain (16
// fraction bits), into acc, moving on. A looping source goes on from its
// first frame; one that does not sets *ended when its last frame has been
// played, and adds nothing past it. Returns the frames added.
size_t sound_convert_add(SoundConverter* c, const SoundSource& source, bool loop, int32_t gain, int32_t* acc,
                         size_t frames, bool* ended);
