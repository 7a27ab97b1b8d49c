// Synthesis of the instruments. Oscillators read precomputed one-cycle
// tables, which keeps rendering the whole piece to a second or two.
#include "tools/musicgen/instruments.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kTableSize = 4096;

// One cycle of a wave with an extra guard entry for interpolation.
using WaveTable = std::array<float, kTableSize + 1>;

WaveTable MakeTable(const float* harmonics, int count) {
  WaveTable t{};
  double peak = 0.0;
  for (int i = 0; i <= kTableSize; ++i) {
    double x = 2.0 * kPi * i / kTableSize, v = 0.0;
    for (int h = 0; h < count; ++h) v += harmonics[h] * std::sin((h + 1) * x);
    t[i] = static_cast<float>(v);
    peak = std::max(peak, std::fabs(v));
  }
  for (float& v : t) v = static_cast<float>(v / peak);
  return t;
}

const WaveTable& SineTable() {
  static const float one[] = {1.0f};
  static const WaveTable table = MakeTable(one, 1);
  return table;
}

// The pad's wave: every harmonic, falling off fast, the odd ones a little
// stronger (a soft, hollow string-organ colour).
const WaveTable& PadTable() {
  static const float h[] = {1.0f, 0.30f, 0.22f, 0.09f, 0.07f, 0.035f, 0.03f, 0.015f, 0.012f, 0.006f};
  static const WaveTable table = MakeTable(h, 10);
  return table;
}

// Reads a table at a phase in cycles (any non-negative value).
inline float Read(const WaveTable& t, double phase) {
  double p = (phase - std::floor(phase)) * kTableSize;
  int i = static_cast<int>(p);
  float f = static_cast<float>(p - i);
  return t[i] + (t[i + 1] - t[i]) * f;
}

inline float Sine(double phase) { return Read(SineTable(), phase); }

// Raised-cosine rise from 0 to 1 over `frames`.
inline float Rise(size_t i, size_t frames) {
  if (i >= frames) return 1.0f;
  return 0.5f - 0.5f * std::cos(static_cast<float>(kPi) * i / frames);
}

size_t Seconds(double s) { return static_cast<size_t>(s * kMusicRate); }

}  // namespace

double NoteFrequency(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

void PanGains(float pan, float* left, float* right) {
  float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * static_cast<float>(kPi) / 4.0f;
  *left = std::cos(angle);
  *right = std::sin(angle);
}

void PlayPad(MixBus& bus, size_t start, size_t length, int midi, float gain, float pan) {
  const WaveTable& table = PadTable();
  const size_t attack = Seconds(1.4), release = Seconds(2.2);
  const size_t total = length + release;
  // Two voices a few cents apart, one leaning left and one right: the slow
  // beating between them is what makes it breathe.
  const double f = NoteFrequency(midi);
  const double step_a = f * std::pow(2.0, 6.0 / 1200.0) / kMusicRate;
  const double step_b = f * std::pow(2.0, -6.0 / 1200.0) / kMusicRate;
  const double start_phase = (midi % 7) / 7.0;
  float pl, pr;
  PanGains(pan, &pl, &pr);
  // A gentle low-pass softens the upper harmonics further.
  const float cut = 1.0f - std::exp(-2.0f * static_cast<float>(kPi) * 1800.0f / kMusicRate);
  float lowl = 0.0f, lowr = 0.0f;
  for (size_t i = 0; i < total; ++i) {
    float env = Rise(i, attack);
    if (i >= length) env *= 1.0f - Rise(i - length, release);
    double t = static_cast<double>(i) / kMusicRate;
    float a = Read(table, start_phase + step_a * i);
    float b = Read(table, start_phase + 0.37 + step_b * i);
    float swell = 1.0f + 0.12f * static_cast<float>(std::sin(2.0 * kPi * 0.23 * t + midi));
    lowl += cut * ((0.75f * a + 0.45f * b) - lowl);
    lowr += cut * ((0.45f * a + 0.75f * b) - lowr);
    float g = gain * env * swell;
    bus.Add(start + i, g * lowl * pl * 1.41f, g * lowr * pr * 1.41f);
  }
}

void PlayBell(MixBus& bus, size_t start, int midi, float gain, float pan) {
  const double f = NoteFrequency(midi);
  const size_t total = Seconds(4.5);
  float pl, pr;
  PanGains(pan, &pl, &pr);
  // Frequency modulation at the note's own pitch gives a warm tine whose
  // brightness fades faster than its body; a faint inharmonic partial adds
  // the bell's shimmer at the strike.
  // Decays run as per-frame multipliers rather than calls to exp.
  const double k_index = std::exp(-1.0 / (0.35 * kMusicRate));
  const double k_shimmer = std::exp(-1.0 / (0.18 * kMusicRate));
  const double k_body = std::exp(-1.0 / (1.1 * kMusicRate));
  double d_index = 1.0, d_shimmer = 1.0, d_body = 1.0;
  for (size_t i = 0; i < total; ++i) {
    double t = static_cast<double>(i) / kMusicRate;
    float index = static_cast<float>(1.3 * d_index + 0.15);
    float body = Sine(f * t + index * Sine(f * t) / (2.0 * kPi));
    float shimmer = Sine(3.98 * f * t) * static_cast<float>(0.22 * d_shimmer);
    float env = static_cast<float>(d_body) * Rise(i, Seconds(0.004));
    float tail = 1.0f - Rise(i > total - Seconds(0.5) ? i - (total - Seconds(0.5)) : 0, Seconds(0.5));
    float v = gain * env * tail * (body + shimmer);
    bus.Add(start + i, v * pl, v * pr);
    d_index *= k_index;
    d_shimmer *= k_shimmer;
    d_body *= k_body;
  }
}

void PlayHarp(MixBus& bus, size_t start, int midi, float gain, float pan) {
  const double f = NoteFrequency(midi);
  const size_t total = Seconds(3.0);
  float pl, pr;
  PanGains(pan, &pl, &pr);
  constexpr int kPartials = 7;
  double fall[kPartials], level[kPartials], step[kPartials];
  for (int h = 0; h < kPartials; ++h) {
    // Higher partials start weaker and die faster, as on a real string.
    fall[h] = std::exp(-(1.0 + 0.9 * h) / (0.9 * kMusicRate));
    level[h] = 1.0 / std::pow(h + 1.0, 1.4);
    // A slight stretch of the overtones, as a stiff string has.
    step[h] = (h + 1) * f * (1.0 + 0.0004 * h * h);
  }
  for (size_t i = 0; i < total; ++i) {
    double t = static_cast<double>(i) / kMusicRate;
    float v = 0.0f;
    for (int h = 0; h < kPartials; ++h) {
      // A slight stretch of the overtones, as a stiff string has.
      v += static_cast<float>(level[h]) * Sine(step[h] * t);
      level[h] *= fall[h];
    }
    float tail = 1.0f - Rise(i > total - Seconds(0.4) ? i - (total - Seconds(0.4)) : 0, Seconds(0.4));
    v *= gain * 0.5f * Rise(i, Seconds(0.002)) * tail;
    bus.Add(start + i, v * pl, v * pr);
  }
}

void PlayBass(MixBus& bus, size_t start, size_t length, int midi, float gain) {
  const double f = NoteFrequency(midi);
  const size_t attack = Seconds(0.09), release = Seconds(0.6);
  const size_t total = length + release;
  const double fall = std::exp(-1.0 / (0.8 * kMusicRate));
  double decay = 1.0;
  for (size_t i = 0; i < total; ++i) {
    double t = static_cast<double>(i) / kMusicRate;
    float env = Rise(i, attack) * static_cast<float>(0.55 + 0.45 * decay);
    decay *= fall;
    if (i >= length) env *= 1.0f - Rise(i - length, release);
    float v = Sine(f * t) + 0.22f * Sine(2.0 * f * t) + 0.06f * Sine(3.0 * f * t);
    v *= gain * env;
    bus.Add(start + i, v, v);
  }
}

void PlayHoot(MixBus& bus, size_t start, double seconds, double freq, float gain, float pan,
              Rng& rng) {
  const size_t total = Seconds(seconds);
  float pl, pr;
  PanGains(pan, &pl, &pr);
  // A hollow tone that rises a touch and sinks at its end, with a breath of
  // noise at the onset; low-passed as if heard from the trees.
  const float cut = 1.0f - std::exp(-2.0f * static_cast<float>(kPi) * 900.0f / kMusicRate);
  float low = 0.0f, breath = 0.0f;
  double phase = 0.0;
  for (size_t i = 0; i < total; ++i) {
    double x = static_cast<double>(i) / total;
    double glide = 1.0 + 0.035 * std::sin(kPi * x) - 0.05 * x * x * x;
    phase += freq * glide / kMusicRate;
    float env = static_cast<float>(std::pow(std::sin(kPi * std::pow(x, 0.7)), 1.5));
    float noise = rng.Range(-1.0f, 1.0f);
    breath += 0.08f * (noise - breath);
    float v = Sine(phase) + 0.12f * Sine(2.0 * phase) +
              breath * static_cast<float>(2.5 * std::exp(-x * 6.0));
    low += cut * (v - low);
    float s = gain * env * low;
    bus.Add(start + i, s * pl, s * pr);
  }
}

void PlayChirp(MixBus& bus, size_t start, double freq, int pulses, float gain, float pan) {
  const size_t pulse = Seconds(0.014), period = Seconds(0.028);
  float pl, pr;
  PanGains(pan, &pl, &pr);
  for (int p = 0; p < pulses; ++p) {
    // The chirp's middle pulses are the loudest.
    float shape = 0.6f + 0.4f * std::sin(static_cast<float>(kPi) * (p + 0.5f) / pulses);
    for (size_t i = 0; i < pulse; ++i) {
      float env = std::sin(static_cast<float>(kPi) * i / pulse);
      double t = static_cast<double>(p * period + i) / kMusicRate;
      float v = gain * shape * env * env * Sine(freq * t);
      bus.Add(start + p * period + i, v * pl, v * pr);
    }
  }
}
