// Rendering the whole loop: the score into the buses, the reverb over the
// send, the mix, and the level set with headroom.
#include <algorithm>
#include <cmath>

#include "tools/musicgen/music.h"
#include "tools/musicgen/reverb.h"
#include "tools/musicgen/score.h"

StereoPcm RenderMusic() {
  StereoPcm dry, send;
  for (StereoPcm* p : {&dry, &send}) {
    p->left.assign(kMusicLoopFrames, 0.0f);
    p->right.assign(kMusicLoopFrames, 0.0f);
  }
  // The owl and the crickets are far away: mostly reverb, little direct sound.
  BandBuses band{{&dry, &send, 0.55f}, {&dry, &send, 0.7f}, {&dry, &send, 0.6f},
                 {&dry, &send, 0.12f}, {&dry, &send, 1.0f}};
  PlayScore(band);

  StereoPcm wet = Reverberate(send, 0.86f, 0.35f);
  StereoPcm mix;
  mix.left.resize(kMusicLoopFrames);
  mix.right.resize(kMusicLoopFrames);
  float peak = 0.0f;
  for (size_t i = 0; i < kMusicLoopFrames; ++i) {
    mix.left[i] = dry.left[i] + wet.left[i];
    mix.right[i] = dry.right[i] + wet.right[i];
    peak = std::max({peak, std::fabs(mix.left[i]), std::fabs(mix.right[i])});
  }
  if (peak > 0.0f) {
    float scale = kMusicPeak / peak;
    for (size_t i = 0; i < kMusicLoopFrames; ++i) {
      mix.left[i] *= scale;
      mix.right[i] *= scale;
    }
  }
  return mix;
}
