// The OGG Vorbis decoder: libvorbisfile reads the stream out of the memory
// block through read, seek, tell and close callbacks, and the whole stream is
// decoded at once into 16-bit PCM.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "engine/sound/sound_decode.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

namespace {

struct MemoryStream {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

size_t MemoryRead(void* ptr, size_t size, size_t nmemb, void* source) {
  MemoryStream* s = static_cast<MemoryStream*>(source);
  if (size == 0) return 0;
  size_t items = std::min(nmemb, (s->size - s->pos) / size);
  std::memcpy(ptr, s->data + s->pos, items * size);
  s->pos += items * size;
  return items;
}

int MemorySeek(void* source, ogg_int64_t offset, int whence) {
  MemoryStream* s = static_cast<MemoryStream*>(source);
  ogg_int64_t base;
  switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<ogg_int64_t>(s->pos); break;
    case SEEK_END: base = static_cast<ogg_int64_t>(s->size); break;
    default: return -1;
  }
  // Checked before adding so that a wild offset cannot overflow.
  if (offset < -base || offset > static_cast<ogg_int64_t>(s->size) - base) return -1;
  s->pos = static_cast<size_t>(base + offset);
  return 0;
}

long MemoryTell(void* source) { return static_cast<long>(static_cast<MemoryStream*>(source)->pos); }

// The block belongs to the caller; there is nothing to close.
int MemoryClose(void*) { return 0; }

bool HostIsBigEndian() {
  const uint16_t probe = 1;
  uint8_t first;
  std::memcpy(&first, &probe, 1);
  return first == 0;
}

// Decodes an opened stream; its links must agree on channels and rate, since
// the result is one buffer.
bool DecodeOpened(OggVorbis_File* vf, DecodedSound* out, size_t max_bytes) {
  vorbis_info* info = ov_info(vf, -1);
  if (info == nullptr || info->channels < 1 || info->channels > kSoundMaxChannels ||
      info->rate < kSoundMinRate || info->rate > kSoundMaxRate) {
    return false;
  }
  long links = ov_streams(vf);
  for (long i = 0; i < links; ++i) {
    vorbis_info* link = ov_info(vf, static_cast<int>(i));
    if (link == nullptr || link->channels != info->channels || link->rate != info->rate) return false;
  }
  ogg_int64_t total = ov_pcm_total(vf, -1);
  if (total <= 0) return false;

  size_t frame_bytes = static_cast<size_t>(info->channels) * 2;
  size_t limit = max_bytes / frame_bytes * frame_bytes;
  if (static_cast<uint64_t>(total) < limit / frame_bytes) limit = static_cast<size_t>(total) * frame_bytes;
  if (limit == 0) return false;

  // Reserved, not filled: a stream that claims more than it holds costs no
  // more than what it really decodes to.
  std::vector<int16_t>& samples = out->samples;
  samples.reserve(limit / 2);
  int big_endian = HostIsBigEndian() ? 1 : 0;
  size_t filled = 0;
  while (filled < limit) {
    int want = static_cast<int>(std::min(kSoundDecodePiece, limit - filled));
    samples.resize((filled + static_cast<size_t>(want) + 1) / 2);
    int bitstream = 0;
    long got = ov_read(vf, reinterpret_cast<char*>(samples.data()) + filled, want, big_endian, 2, 1,
                       &bitstream);
    if (got == OV_HOLE) continue;  // a gap in the pages: decoding goes on after it
    if (got <= 0) break;           // the end, or damage it cannot pass
    filled += static_cast<size_t>(got);
  }
  // Whole frames only, even when a damaged stream stopped mid-frame.
  filled = filled / frame_bytes * frame_bytes;
  samples.resize(filled / 2);
  if (samples.empty()) return false;
  samples.shrink_to_fit();
  out->channels = info->channels;
  out->rate = static_cast<int>(info->rate);
  return true;
}

}  // namespace

bool sound_decode_ogg(const uint8_t* data, size_t size, DecodedSound* out, size_t max_bytes) {
  if (size < 4 || std::memcmp(data, "OggS", 4) != 0) return false;
  MemoryStream stream{data, size, 0};
  ov_callbacks callbacks{MemoryRead, MemorySeek, MemoryClose, MemoryTell};
  OggVorbis_File vf;
  // A failed open has already released what it took; only a successful one
  // needs ov_clear.
  if (ov_open_callbacks(&stream, &vf, nullptr, 0, callbacks) != 0) return false;
  bool ok = DecodeOpened(&vf, out, max_bytes);
  ov_clear(&vf);
  if (!ok) *out = DecodedSound();
  return ok;
}
