// Turning sound data in memory into 16-bit PCM: WAV files read directly and
// the registered decoders (OGG Vorbis). No audio device is involved, so this
// part runs in tests and under the fuzzer on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/sound/sound.h"

// A whole decoded stream: interleaved signed 16-bit samples.
struct DecodedSound {
  std::vector<int16_t> samples;
  int channels = 0;     // 1 to kSoundMaxChannels
  int rate = 0;         // frames per second
  size_t frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
};

// Decoders hand at most this many bytes per read, whatever the stream.
constexpr size_t kSoundDecodePiece = 4096;

// Data beginning with "RIFF" is read as WAV; anything else is offered to the
// decoders in the order they are registered. True with at least one frame in
// *out; max_bytes caps the decoded PCM (a longer stream keeps its start). A
// stream whose rate lies outside kSoundMinRate..kSoundMaxRate is refused
// before anything is decoded.
[[nodiscard]] bool sound_decode(const void* data, size_t size, DecodedSound* out,
                                size_t max_bytes);

// A RIFF WAVE file of PCM, 8-bit unsigned or 16-bit signed, mono or stereo
// (WAV orders more channels otherwise than OGG Vorbis), found by walking its
// chunks. Refused when a chunk runs past the data, the
// format is another, or the PCM is empty or larger than max_bytes.
[[nodiscard]] bool sound_decode_wav(const uint8_t* data, size_t size, DecodedSound* out,
                                    size_t max_bytes);

// An OGG Vorbis stream of any channel count read through libvorbisfile over
// the memory block. A stream cut short after its headers keeps what decoded;
// true with at least one frame.
[[nodiscard]] bool sound_decode_ogg(const uint8_t* data, size_t size, DecodedSound* out,
                                    size_t max_bytes);
