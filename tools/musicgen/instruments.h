// The instruments of the evening piece: a soft pad, a bell-like melody voice,
// a harp for broken chords, a round bass, and the night around them (owl
// calls, crickets). Each plays one note or call into a MixBus.
#pragma once

#include <cstddef>

#include "tools/musicgen/bus.h"

// Frequency in hertz of a MIDI note number (69 = A 440).
double NoteFrequency(double midi);

// A slow-swelling pad note held for `length` frames, then released.
void PlayPad(MixBus& bus, size_t start, size_t length, int midi, float gain, float pan);

// A warm bell (a music box heard across a room): a struck tone that dies away.
void PlayBell(MixBus& bus, size_t start, int midi, float gain, float pan);

// A plucked harp string: bright at the pluck, mellowing as it rings.
void PlayHarp(MixBus& bus, size_t start, int midi, float gain, float pan);

// A round bass note held for `length` frames.
void PlayBass(MixBus& bus, size_t start, size_t length, int midi, float gain);

// One hoot of a distant owl lasting `seconds`, gliding around `freq`.
void PlayHoot(MixBus& bus, size_t start, double seconds, double freq, float gain, float pan,
              Rng& rng);

// One cricket chirp: a few quick pulses of a high tone.
void PlayChirp(MixBus& bus, size_t start, double freq, int pulses, float gain, float pan);
