// A stereo hall reverb (parallel damped combs into allpasses) run over the
// loop so that its tail wraps round onto the start.
#pragma once

#include "tools/musicgen/music.h"

// Returns the reverberated send. The loop is run through twice and the
// second pass kept: by then the filters hold the tail of the loop's own
// end, which is exactly what rings on into its start when it repeats.
StereoPcm Reverberate(const StereoPcm& send, float room, float damping);
