// musicgen: the game's background music, composed from a score written in
// code, rendered as one seamless loop and encoded as OGG Vorbis.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Frames per second of the rendered and encoded music.
constexpr int kMusicRate = 44100;
// 72 beats a minute: a beat is a whole number of frames, so every bar line
// falls on an exact frame and the loop length is exact too.
constexpr size_t kBeatFrames = 36750;
constexpr int kBeatsPerBar = 4;
constexpr int kMusicBars = 24;
constexpr size_t kMusicLoopFrames = kBeatFrames * kBeatsPerBar * kMusicBars;  // 80 s
// Peak level of the finished mix, as a fraction of full scale (about -3 dB):
// room for the encoder's small overshoots.
constexpr float kMusicPeak = 0.7f;

// Two channels of float samples, each kMusicLoopFrames long.
struct StereoPcm {
  std::vector<float> left, right;
};

// Renders the whole piece. The last frame runs straight on into the first:
// every note, echo and reverb tail that passes the end is wrapped round
// onto the start.
StereoPcm RenderMusic();

// Encodes the loop as an OGG Vorbis stream (stereo, kMusicRate) that decodes
// to exactly as many frames as it is given. The same samples give the same
// bytes. Empty on failure.
std::vector<uint8_t> EncodeOggVorbis(const StereoPcm& pcm);
