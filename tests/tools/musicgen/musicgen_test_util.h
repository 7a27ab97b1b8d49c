// Shared by the music generator's tests: the piece rendered and encoded once
// per test run, and an independent decoder for what the game will play.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An OGG Vorbis stream decoded by libvorbisfile into interleaved 16-bit
// samples, as the game's sound service receives them.
struct DecodedMusic {
  bool ok = false;
  int channels = 0;
  long rate = 0;
  std::vector<int16_t> samples;  // interleaved, channels per frame
  size_t frames() const { return channels > 0 ? samples.size() / channels : 0; }
};

// Decodes a whole stream held in memory; ok is false when libvorbisfile
// refuses it or a read fails part way.
DecodedMusic decode_ogg(const std::vector<uint8_t>& ogg);

struct StereoPcm;
// The rendered piece before encoding, made once for the whole run.
const StereoPcm& music_pcm();
// music_pcm() encoded, once for the whole run.
const std::vector<uint8_t>& music_ogg();
// music_ogg() decoded, once for the whole run.
const DecodedMusic& music_decoded();

// Path of the built musicgen command (empty when unknown).
std::string musicgen_tool();
