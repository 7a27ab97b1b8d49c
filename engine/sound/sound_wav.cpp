// WAV files: a RIFF header, then chunks of an 8-byte header (name, size) and
// their bytes padded to an even length. Only "fmt " and "data" matter.
#include <cstring>

#include "engine/sound/sound_decode.h"

namespace {

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

struct Chunk {
  const uint8_t* bytes = nullptr;
  size_t size = 0;
};

}  // namespace

bool sound_decode_wav(const uint8_t* data, size_t size, DecodedSound* out, size_t max_bytes) {
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
    return false;
  }
  // The RIFF size field is not trusted (streaming writers leave it 0 or
  // all ones); the end of the block is the end of the file.
  Chunk fmt, pcm;
  size_t pos = 12;
  while (size - pos >= 8 && (fmt.bytes == nullptr || pcm.bytes == nullptr)) {
    const uint8_t* header = data + pos;
    size_t chunk_size = ReadU32(header + 4);
    pos += 8;
    if (chunk_size > size - pos) return false;  // points beyond the data
    if (std::memcmp(header, "fmt ", 4) == 0 && fmt.bytes == nullptr) {
      fmt = {data + pos, chunk_size};
    } else if (std::memcmp(header, "data", 4) == 0 && pcm.bytes == nullptr) {
      pcm = {data + pos, chunk_size};
    }
    pos += chunk_size;
    if ((chunk_size & 1) != 0 && pos < size) ++pos;  // pad byte, absent at the very end
  }
  if (fmt.bytes == nullptr || pcm.bytes == nullptr || fmt.size < 16) return false;

  uint16_t format = ReadU16(fmt.bytes);
  int channels = ReadU16(fmt.bytes + 2);
  uint32_t rate = ReadU32(fmt.bytes + 4);
  int bits = ReadU16(fmt.bytes + 14);
  if (format == kFormatExtensible) {
    // The real format is the first two bytes of the sub-format GUID.
    if (fmt.size < 40) return false;
    format = ReadU16(fmt.bytes + 24);
  }
  if (format != kFormatPcm || (channels != 1 && channels != 2) || (bits != 8 && bits != 16) ||
      rate < static_cast<uint32_t>(kSoundMinRate) || rate > static_cast<uint32_t>(kSoundMaxRate)) {
    return false;
  }

  size_t bytes_per_sample = static_cast<size_t>(bits / 8);
  size_t frame_bytes = bytes_per_sample * static_cast<size_t>(channels);
  size_t frames = pcm.size / frame_bytes;  // a partial last frame is dropped
  size_t out_bytes = frames * static_cast<size_t>(channels) * 2;
  if (frames == 0 || out_bytes > max_bytes) return false;

  out->channels = channels;
  out->rate = static_cast<int>(rate);
  out->samples.resize(frames * static_cast<size_t>(channels));
  const uint8_t* src = pcm.bytes;
  if (bits == 8) {
    // 8-bit WAV samples are unsigned around 128.
    for (int16_t& s : out->samples) s = static_cast<int16_t>((*src++ - 128) * 256);
  } else {
    for (int16_t& s : out->samples) {
      s = static_cast<int16_t>(ReadU16(src));
      src += 2;
    }
  }
  return true;
}
