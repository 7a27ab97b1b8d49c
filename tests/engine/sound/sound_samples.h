// Sound data made by the tests themselves: OGG Vorbis encoded here with
// libvorbisenc, WAV files written byte by byte, and the audio a disk-output
// run wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A sine tone (freq Hz, amplitude 0..1), the same on every channel.
std::vector<uint8_t> EncodeSineOgg(int channels, int rate, int frames, double freq, double amplitude);

// A RIFF WAVE file: "fmt " (PCM), then the given chunks in order; `data` is
// the payload of the "data" chunk. Extra chunks are name + bytes.
struct WavChunk {
  std::string name;
  std::vector<uint8_t> bytes;
};
std::vector<uint8_t> MakeWav(int channels, int rate, int bits, const std::vector<uint8_t>& data,
                             const std::vector<WavChunk>& before_fmt = {},
                             const std::vector<WavChunk>& before_data = {});

// 16-bit samples as WAV payload bytes.
std::vector<uint8_t> Pcm16Bytes(const std::vector<int16_t>& samples);

// Everything SDL's disk output wrote to `path`, as 16-bit samples.
std::vector<int16_t> ReadCapture(const std::string& path);
