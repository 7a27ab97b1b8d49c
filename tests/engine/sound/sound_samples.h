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

// Sets the rate field of an OGG Vorbis stream's identification header (and
// its page's checksum): the same frames, played at another rate. libvorbisenc
// only encodes the usual rates.
void SetOggRate(std::vector<uint8_t>* ogg, uint32_t rate);

// Starts the sound system on SDL's disk output, which writes every mixed
// buffer to a file at the pace of a real device, or with a delay of
// `delay_ms` between buffers of 1024 frames when it is not negative.
class DiskOutput {
 public:
  explicit DiskOutput(const std::string& path, int delay_ms = -1);
  ~DiskOutput();
  DiskOutput(const DiskOutput&) = delete;
  DiskOutput& operator=(const DiskOutput&) = delete;
  bool started() const { return started_; }
  // Waits until the output has written `frames` more stereo frames (at
  // most 5 s), so that a loaded machine slows the test down instead of
  // failing it.
  void WaitFrames(long frames);
  // Closes the output; every stereo sample it wrote.
  std::vector<int16_t> Finish();

 private:
  uintmax_t Size() const;
  std::string path_;
  bool started_;
};
