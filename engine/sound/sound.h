// Sounds: data decoded whole into 16-bit PCM and played by the audio device
// (the game's one sound is its looping background music, number 0). Sounds
// are numbered objects: a number of the caller's choosing, or -1 for a handle.
// A sound keeps the decoded stream's own rate and channel count and is
// converted to the device's as it plays.
#pragma once

#include <cstddef>

// Results of sound_status.
constexpr int kSoundStopped = 0;
constexpr int kSoundPlaying = 1;
constexpr int kSoundPaused = 2;
constexpr int kSoundMissing = 3;

// Flag of sound_play: start over at the end instead of stopping.
constexpr int kSoundLoop = 1;

// The largest playback buffer in bytes, the stream as decoded; a longer
// stream keeps its beginning.
constexpr size_t kSoundMaxBytes = 64000000;

// The sample rates a playback buffer takes, in frames per second; a stream
// outside them cannot be made into a sound.
constexpr int kSoundMinRate = 100;
constexpr int kSoundMaxRate = 200000;

// The most channels a sound may have (as many as OGG Vorbis can carry).
constexpr int kSoundMaxChannels = 255;

// Builds the volume table and opens the audio device. Non-zero when a device
// is available. Called once at start-up, before any sound is loaded.
int sound_system_start();

// Frees every sound and closes the audio device. Called at shutdown (and by
// tests to start from nothing).
void sound_system_stop();

// Decodes OGG Vorbis or WAV data and stores it as sound number `sound`
// (replacing an old sound of that number), or under a new handle for -1.
// Returns the handle for -1, non-zero for a number, 0 when the data cannot be
// decoded or the buffer cannot be made: a rate outside kSoundMinRate to
// kSoundMaxRate, or before sound_system_start.
int sound_from_memory(int sound, const void* data, size_t size);

// Plays from the beginning, restarting a sound that already plays; flags
// kSoundLoop loops.
void sound_play(int sound, int flags);

// Stops a sound, or every sound for -1; the next play starts at the beginning.
void sound_stop(int sound);

// Stops a sound without rewinding it; its status is paused from now on.
void sound_pause(int sound);

// Plays a sound on from its kept position with the loop flag of its last
// play: a paused sound where it was paused, a stopped one from its start.
void sound_resume(int sound);

// kSoundStopped, kSoundPlaying, kSoundPaused, or kSoundMissing when there is
// no such sound. A sound that ran to its end without looping is stopped.
int sound_status(int sound);

// Sets a sound's volume, 0 (silent) to 100 (as decoded); values outside are
// clamped. It stays in effect for later plays.
void sound_volume(int sound, int volume);

