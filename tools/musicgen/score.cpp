// The notes of the piece, written out bar by bar, and the arrangement that
// plays them: which instrument plays what in each section.
#include "tools/musicgen/score.h"

#include <cmath>
#include <vector>

#include "tools/musicgen/instruments.h"

namespace {

// A chord: the bass root and a four-note pad voicing (MIDI numbers). When
// `from` is set, that pad note moves to `to` half-way through the bar (the
// suspended fourth of the dominant falling to its third).
struct Chord {
  int bass;
  int pad[4];
  int from = 0, to = 0;
};

// Dmaj7 Bm7 Gmaj7 A | D/F# Em7 Gmaj7 A7sus4, then a middle that leans on
// the relative minor, then the opening again with a turn at its end.
const Chord kChords[kMusicBars] = {
    {38, {50, 57, 61, 66}},         {35, {50, 57, 59, 66}},
    {43, {50, 55, 59, 66}},         {45, {52, 57, 61, 64}},
    {42, {52, 57, 62, 66}},         {40, {50, 55, 59, 64}},
    {43, {50, 55, 59, 66}},         {45, {50, 55, 57, 64}, 50, 49},
    {43, {50, 55, 59, 66}},         {45, {52, 57, 61, 64}},
    {42, {52, 57, 61, 66}},         {35, {50, 57, 59, 66}},
    {40, {50, 55, 59, 64}},         {42, {52, 57, 61, 66}},
    {43, {50, 55, 59, 66}},         {45, {50, 55, 57, 64}, 50, 49},
    {38, {50, 57, 61, 66}},         {35, {50, 57, 59, 66}},
    {43, {50, 55, 59, 66}},         {42, {52, 57, 62, 66}},
    {40, {50, 55, 59, 64}},         {45, {52, 57, 61, 64}},
    {43, {50, 55, 59, 66}},         {45, {50, 55, 57, 64}, 50, 49},
};

// A melody note: bar, beat within the bar, MIDI number.
struct MelodyNote {
  int bar;
  double beat;
  int note;
};

const MelodyNote kMelody[] = {
    // The theme: a falling figure answered by a rising one.
    {0, 0, 78}, {0, 1.5, 76}, {0, 2, 74}, {0, 3, 69},
    {1, 0, 71}, {1, 1, 74}, {1, 2, 78},
    {2, 0, 81}, {2, 1.5, 79}, {2, 2, 78}, {2, 3, 74},
    {3, 0, 76}, {3, 3, 73}, {3, 3.5, 76},
    {4, 0, 78}, {4, 1.5, 76}, {4, 2, 74}, {4, 3, 78},
    {5, 0, 79}, {5, 1, 83}, {5, 2, 81}, {5, 3.5, 79},
    {6, 0, 78}, {6, 1, 74}, {6, 2, 71}, {6, 3, 74},
    {7, 0, 76}, {7, 3.5, 69},
    // The middle: higher and busier.
    {8, 0, 83}, {8, 1.5, 81}, {8, 2, 78}, {8, 3, 74},
    {9, 0, 76}, {9, 0.5, 81}, {9, 1, 85}, {9, 2.5, 83}, {9, 3, 81},
    {10, 0, 81}, {10, 1.5, 78}, {10, 2, 76}, {10, 3, 73},
    {11, 0, 74}, {11, 1, 78}, {11, 2, 83},
    {12, 0, 79}, {12, 1.5, 78}, {12, 2, 76}, {12, 3, 71},
    {13, 0, 73}, {13, 1, 76}, {13, 2, 81}, {13, 3.5, 78},
    {14, 0, 79}, {14, 1, 78}, {14, 2, 74}, {14, 3, 71},
    {15, 0, 74}, {15, 2, 73}, {15, 3, 76},
    // The theme again, in longer notes, turning back to the start.
    {16, 0, 78}, {16, 2, 81},
    {17, 0, 78}, {17, 1, 74}, {17, 2, 71},
    {18, 0, 74}, {18, 1, 79}, {18, 2, 78},
    {19, 0, 81}, {19, 1.5, 78}, {19, 2, 76}, {19, 3, 74},
    {20, 0, 76}, {20, 1, 79}, {20, 2, 83},
    {21, 0, 81}, {21, 1.5, 76}, {21, 2, 73},
    {22, 0, 71}, {22, 1, 74}, {22, 2, 78}, {22, 3, 76},
    {23, 0, 74}, {23, 2, 73}, {23, 3, 76},
};

// The pad notes of a bar, after the suspension (if any) has resolved.
std::vector<int> PadNotesAt(int bar, bool second_half) {
  const Chord& c = kChords[bar];
  std::vector<int> notes(c.pad, c.pad + 4);
  if (second_half && c.from != 0) {
    for (int& n : notes) {
      if (n == c.from) n = c.to;
    }
  }
  return notes;
}

bool Contains(const std::vector<int>& notes, int n) {
  for (int m : notes) {
    if (m == n) return true;
  }
  return false;
}

// Pads in half bars: a note held across the next half bar is tied rather
// than struck again, so the voicing glides from chord to chord.
void PlayPads(MixBus& bus) {
  const int halves = kMusicBars * 2;
  for (int h = 0; h < halves; ++h) {
    std::vector<int> now = PadNotesAt(h / 2, h % 2 == 1);
    std::vector<int> before = h > 0 ? PadNotesAt((h - 1) / 2, (h - 1) % 2 == 1) : std::vector<int>();
    int section = h / 16;
    float gain = section == 1 ? 0.085f : section == 2 ? 0.065f : 0.075f;
    for (int n : now) {
      if (Contains(before, n)) continue;
      int end = h + 1;
      while (end < halves && Contains(PadNotesAt(end / 2, end % 2 == 1), n)) ++end;
      // Lower notes a little softer, so the voicing does not get muddy.
      float g = gain * (n < 55 ? 0.8f : 1.0f);
      PlayPad(bus, BeatFrame(h * 2.0), BeatFrame((end - h) * 2.0), n, g, 0.0f);
    }
  }
}

void PlayMelody(MixBus& bus, Rng& rng) {
  for (const MelodyNote& m : kMelody) {
    // A few milliseconds late now and then, and never quite the same
    // strength twice: played, not programmed.
    size_t at = BeatFrame(m.bar * kBeatsPerBar + m.beat) +
                static_cast<size_t>(rng.Range(0.0f, 0.012f) * kMusicRate);
    float on_beat = std::fmod(m.beat, 1.0) == 0.0 ? 1.0f : 0.85f;
    float gain = 0.2f * on_beat * rng.Range(0.85f, 1.0f);
    if (m.bar >= 16) gain *= 0.9f;
    PlayBell(bus, at, m.note, gain, 0.12f);
  }
}

// The harp: a single pluck in the second half of the theme, broken chords in
// eighths through the middle, and rising quarters in the last section.
void PlayHarpPart(MixBus& bus, Rng& rng) {
  static const int kEighths[8] = {0, 1, 2, 3, 2, 1, 3, 2};
  for (int bar = 0; bar < kMusicBars; ++bar) {
    for (int e = 0; e < 8; ++e) {
      double beat = e * 0.5;
      std::vector<int> notes = PadNotesAt(bar, beat >= 2.0);
      int note = 0;
      float gain = 0.0f;
      if (bar >= 4 && bar < 8 && (e == 0 || e == 4)) {
        note = notes[e == 0 ? 1 : 3] + 12;
        gain = 0.09f;
      } else if (bar >= 8 && bar < 16) {
        note = notes[kEighths[e]] + 12;
        gain = (e % 2 == 0 ? 0.11f : 0.08f);
      } else if (bar >= 16 && bar < 23 && e % 2 == 0 && e < 6) {
        note = notes[1 + e / 2] + 12;
        gain = 0.09f;
      }
      if (note == 0) continue;
      float pan = -0.35f + 0.1f * static_cast<float>(e % 4);
      size_t at = BeatFrame(bar * kBeatsPerBar + beat) +
                  static_cast<size_t>(rng.Range(0.0f, 0.006f) * kMusicRate);
      PlayHarp(bus, at, note, gain * rng.Range(0.85f, 1.0f), pan);
    }
  }
}

void PlayBassPart(MixBus& bus) {
  for (int bar = 0; bar < kMusicBars; ++bar) {
    int root = kChords[bar].bass;
    double start = bar * kBeatsPerBar;
    if (bar < 8) {
      PlayBass(bus, BeatFrame(start), BeatFrame(3.5), root, 0.3f);
    } else if (bar < 16) {
      // The middle walks: root, then the fifth (below, when above would
      // climb out of the bass's range).
      int fifth = root + 7 > 47 ? root - 5 : root + 7;
      PlayBass(bus, BeatFrame(start), BeatFrame(1.8), root, 0.3f);
      PlayBass(bus, BeatFrame(start + 2.5), BeatFrame(1.3), fifth, 0.24f);
    } else {
      PlayBass(bus, BeatFrame(start), BeatFrame(3.8), root, 0.26f);
    }
  }
}

// A tawny owl's call: "hoo ... hu-hoo ... hooooo".
void PlayOwlCall(MixBus& bus, double beat, double freq, float gain, float pan, Rng& rng) {
  struct Hoot {
    double at, seconds, pitch;
  };
  static const Hoot kCall[] = {{0.0, 0.55, 1.0}, {0.95, 0.22, 1.02}, {1.22, 0.3, 1.0},
                               {1.8, 0.9, 0.97}};
  size_t start = BeatFrame(beat);
  for (const Hoot& h : kCall) {
    PlayHoot(bus, start + static_cast<size_t>(h.at * kMusicRate), h.seconds, freq * h.pitch, gain,
             pan, rng);
  }
}

void PlayNight(MixBus& bus, Rng& rng) {
  // Two owls calling to each other in the theme, one far off in the middle,
  // and the first again near the end.
  PlayOwlCall(bus, 5 * 4 + 1.0, NoteFrequency(67), 0.05f, -0.6f, rng);
  PlayOwlCall(bus, 6 * 4 + 2.5, NoteFrequency(66), 0.04f, 0.55f, rng);
  PlayOwlCall(bus, 12 * 4 + 1.5, NoteFrequency(66), 0.025f, 0.75f, rng);
  PlayOwlCall(bus, 20 * 4 + 1.0, NoteFrequency(67), 0.05f, -0.5f, rng);

  // Two crickets, chirping at their own pace all the way round; their level
  // sways with the loop so they come forward at the start and the end.
  struct Cricket {
    double freq, interval;
    int pulses;
    float pan;
  };
  static const Cricket kCrickets[] = {{4400.0, 0.62, 3, -0.45f}, {4950.0, 0.91, 4, 0.5f}};
  for (const Cricket& c : kCrickets) {
    double t = rng.Range(0.0f, 0.5f);
    const double length = static_cast<double>(kMusicLoopFrames) / kMusicRate;
    while (t < length) {
      double sway = 0.55 + 0.45 * std::cos(2.0 * 3.14159265358979 * t / length);
      PlayChirp(bus, static_cast<size_t>(t * kMusicRate), c.freq, c.pulses,
                static_cast<float>(0.012 * sway), c.pan);
      t += c.interval * rng.Range(0.85f, 1.2f);
    }
  }
}

// Stars: very high, faint bell notes from the pentatonic scale, scattered
// over the middle and the end.
void PlayStars(MixBus& bus, Rng& rng) {
  static const int kHigh[] = {86, 88, 90, 93, 95, 98};
  for (int i = 0; i < 14; ++i) {
    double beat = (i < 2 ? 4.0 * 4 : 8.0 * 4) + rng.Range(0.0f, i < 2 ? 16.0f : 62.0f);
    int note = kHigh[rng.Next() % 6];
    PlayBell(bus, BeatFrame(beat), note, rng.Range(0.025f, 0.045f), rng.Range(-0.8f, 0.8f));
  }
}

}  // namespace

size_t BeatFrame(double beat) { return static_cast<size_t>(std::llround(beat * kBeatFrames)); }

void PlayScore(BandBuses& band) {
  // One seed per part, so that changing one part leaves the others as they
  // were.
  Rng melody_rng(0x6d656c6fu), harp_rng(0x68617270u), night_rng(0x6e696768u),
      star_rng(0x73746172u);
  PlayPads(band.pad);
  PlayMelody(band.bell, melody_rng);
  PlayHarpPart(band.harp, harp_rng);
  PlayBassPart(band.bass);
  PlayNight(band.night, night_rng);
  PlayStars(band.bell, star_rng);
}
