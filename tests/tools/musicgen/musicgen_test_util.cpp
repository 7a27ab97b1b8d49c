// One render of the piece per test run: it takes seconds, and every test
// looks at the same result.
#include "tests/tools/musicgen/musicgen_test_util.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tools/musicgen/music.h"

namespace {

struct MemorySource {
  const std::vector<uint8_t>* data;
  size_t at;
};

size_t read_memory(void* out, size_t size, size_t count, void* source) {
  MemorySource* m = static_cast<MemorySource*>(source);
  if (size == 0) return 0;
  const size_t left = m->data->size() - m->at;
  const size_t items = std::min(count, left / size);
  std::memcpy(out, m->data->data() + m->at, items * size);
  m->at += items * size;
  return items;
}

int seek_memory(void* source, ogg_int64_t offset, int whence) {
  MemorySource* m = static_cast<MemorySource*>(source);
  ogg_int64_t base = whence == SEEK_SET ? 0
                     : whence == SEEK_CUR ? static_cast<ogg_int64_t>(m->at)
                                          : static_cast<ogg_int64_t>(m->data->size());
  const ogg_int64_t target = base + offset;
  if (target < 0 || target > static_cast<ogg_int64_t>(m->data->size())) return -1;
  m->at = static_cast<size_t>(target);
  return 0;
}

long tell_memory(void* source) { return static_cast<long>(static_cast<MemorySource*>(source)->at); }

}  // namespace

DecodedMusic decode_ogg(const std::vector<uint8_t>& ogg) {
  DecodedMusic result;
  MemorySource source{&ogg, 0};
  ov_callbacks callbacks{read_memory, seek_memory, nullptr, tell_memory};
  OggVorbis_File file;
  if (ov_open_callbacks(&source, &file, nullptr, 0, callbacks) != 0) return result;
  const vorbis_info* info = ov_info(&file, -1);
  result.channels = info->channels;
  result.rate = info->rate;
  char buffer[4096];
  int section = 0;
  bool failed = false;
  for (;;) {
    const long got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section);
    if (got == 0) break;
    if (got < 0) {
      failed = true;
      break;
    }
    // Little-endian pairs of bytes, as asked for above.
    for (long i = 0; i + 1 < got; i += 2) {
      const unsigned char* b = reinterpret_cast<const unsigned char*>(buffer + i);
      result.samples.push_back(static_cast<int16_t>(b[0] | (b[1] << 8)));
    }
  }
  ov_clear(&file);
  result.ok = !failed && result.channels > 0;
  return result;
}

const StereoPcm& music_pcm() {
  static const StereoPcm pcm = RenderMusic();
  return pcm;
}

const std::vector<uint8_t>& music_ogg() {
  static const std::vector<uint8_t> ogg = EncodeOggVorbis(music_pcm());
  return ogg;
}

const DecodedMusic& music_decoded() {
  static const DecodedMusic decoded = decode_ogg(music_ogg());
  return decoded;
}

std::string musicgen_tool() {
#ifdef MUSICGEN_TOOL
  return MUSICGEN_TOOL;
#else
  return std::string();
#endif
}
