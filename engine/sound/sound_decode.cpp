// Chooses how sound data is read: WAV by its "RIFF" mark, otherwise the
// registered decoders in turn.
#include "engine/sound/sound_decode.h"

#include <cstring>

namespace {

using DecodeFunction = bool (*)(const uint8_t*, size_t, DecodedSound*, size_t);

// Tried in this order; the first that accepts the data wins.
const DecodeFunction kDecoders[] = {
    sound_decode_ogg,
};

}  // namespace

bool sound_decode(const void* data, size_t size, DecodedSound* out, size_t max_bytes) {
  *out = DecodedSound();
  if (data == nullptr || size == 0) return false;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  if (size >= 4 && std::memcmp(bytes, "RIFF", 4) == 0) {
    return sound_decode_wav(bytes, size, out, max_bytes);
  }
  for (DecodeFunction decode : kDecoders) {
    if (decode(bytes, size, out, max_bytes)) return true;
    *out = DecodedSound();
  }
  return false;
}
