// The score of the evening piece: 24 bars in D major at 72 beats a minute,
// three eight-bar sections (a calm theme, a fuller middle with a harp, the
// theme again, sparser, with the night coming forward), then round again.
#pragma once

#include "tools/musicgen/bus.h"

// One bus per part of the band; they share the dry mix and the reverb send
// and differ in how much reverb each part gets.
struct BandBuses {
  MixBus pad, bell, harp, bass, night;
};

// Plays every note and call of the piece into the buses.
void PlayScore(BandBuses& band);

// Frame at which a beat (counted from the start of the loop) falls.
size_t BeatFrame(double beat);
