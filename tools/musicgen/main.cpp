// musicgen: composes the game's background music and writes it as an OGG
// Vorbis file, the same bytes on every run.
//   musicgen OUT.ogg
#include <cstdio>
#include <string>

#include "engine/system/file.h"
#include "tools/musicgen/music.h"

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '-') {
    std::fprintf(stderr, "usage: musicgen OUT.ogg\n");
    return 2;
  }
  std::vector<uint8_t> ogg = EncodeOggVorbis(RenderMusic());
  if (ogg.empty()) {
    std::fprintf(stderr, "musicgen: the encoder refused the music\n");
    return 1;
  }
  if (!file_write_atomic(argv[1], ogg.data(), ogg.size())) {
    std::fprintf(stderr, "musicgen: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
