// What the sound core needs of an audio output, and the one call an output
// makes back. sound_sdl.cpp provides it with an SDL audio device; a port to
// another audio library replaces only that file.
#pragma once

#include <cstddef>
#include <cstdint>

// Opens the default audio device and starts it pulling sound_render. *rate
// and *channels receive the format the mix must be in (16-bit signed, the
// machine's byte order). False when no device is available.
bool sound_backend_open(int* rate, int* channels);

// Stops and closes the device. Nothing is pulled afterwards.
void sound_backend_close();

// Held by the game thread while it changes sounds: the device never pulls
// in between. Does nothing while no device is open.
void sound_backend_lock();
void sound_backend_unlock();

// Called by the output, on its own thread with the lock held: fills `out`
// with `frames` frames of every playing sound mixed. Defined by the core.
void sound_render(int16_t* out, size_t frames);
