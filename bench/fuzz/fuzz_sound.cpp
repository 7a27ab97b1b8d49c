// libFuzzer entry for the sound decoders behind sound_from_memory: any bytes
// must either be refused or give whole frames of a rate and channel count
// the mixer takes, within the cap, and a smaller cap must keep exactly the
// beginning.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/sound/sound.h"
#include "engine/sound/sound_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodedSound s;
  if (!sound_decode(data, size, &s, kSoundMaxBytes)) {
    if (!s.samples.empty()) abort();  // a refusal leaves nothing behind
    return 0;
  }
  if (s.channels < 1 || s.channels > kSoundMaxChannels) abort();
  if (s.rate < kSoundMinRate || s.rate > kSoundMaxRate) abort();
  if (s.samples.empty() || s.samples.size() % static_cast<size_t>(s.channels) != 0) abort();
  if (s.samples.size() * 2 > kSoundMaxBytes) abort();

  // Half the decoded bytes: a WAV over its cap is refused, an OGG stream
  // keeps its first whole frames.
  size_t cap = s.samples.size();
  DecodedSound start;
  bool got = sound_decode(data, size, &start, cap);
  size_t want = cap / 2 / static_cast<size_t>(s.channels) * static_cast<size_t>(s.channels);
  bool wav = size >= 4 && std::memcmp(data, "RIFF", 4) == 0;
  if (wav || want == 0) {
    if (got) abort();
  } else if (!got || start.samples.size() != want ||
             !std::equal(start.samples.begin(), start.samples.end(), s.samples.begin())) {
    abort();
  }
  return 0;
}
