// The conversion of a playing sound to the output's format: channel weights
// for the layouts an OGG Vorbis stream can have, a straight copy when the
// formats agree, and a Kaiser-windowed sinc filter read from a table when
// the rates differ.
#include "engine/sound/sound_convert.h"

#include <algorithm>
#include <cmath>

#include "engine/sound/sound.h"

namespace {

// The filter: a sinc reaching this many zero crossings either side,
// tabulated at this many points per crossing and read with linear
// interpolation between them.
constexpr int kZeroCrossings = 8;
constexpr int kTablePerCrossing = 512;
constexpr int kTableSize = kZeroCrossings * kTablePerCrossing;
// A stretch beyond this only costs time: at the output rate of 44.1 kHz the
// highest input rate needs about 4.5.
constexpr double kMaxStretch = 8.0;

double BesselI0(double x) {
  double sum = 1.0, term = 1.0;
  for (int k = 1; k < 64 && term > sum * 1e-12; ++k) {
    double f = x / (2.0 * k);
    term *= f * f;
    sum += term;
  }
  return sum;
}

struct Kernel {
  // One point past the end, 0, so that interpolating at the last point
  // needs no check; slope[i] leads from value[i] to value[i + 1].
  float value[kTableSize + 2];
  float slope[kTableSize + 1];
  Kernel() {
    const double pi = std::acos(-1.0);
    const double beta = 8.0;  // about 80 dB of stop-band attenuation
    const double norm = BesselI0(beta);
    value[0] = 1.0f;
    for (int i = 1; i <= kTableSize; ++i) {
      double x = static_cast<double>(i) / kTablePerCrossing;
      double r = x / kZeroCrossings;
      double window = BesselI0(beta * std::sqrt(std::max(0.0, 1.0 - r * r))) / norm;
      // The sinc is exactly 0 at its crossings: an unchanged rate would then
      // copy the input as it is.
      double sinc = i % kTablePerCrossing == 0 ? 0.0 : std::sin(pi * x) / (pi * x);
      value[i] = static_cast<float>(sinc * window);
    }
    value[kTableSize + 1] = 0.0f;
    for (int i = 0; i <= kTableSize; ++i) slope[i] = value[i + 1] - value[i];
  }
};

const Kernel& TheKernel() {
  static const Kernel kernel;
  return kernel;
}

// Left and right weights of each input channel, in the channel order of an
// OGG Vorbis stream of that many channels: centre channels go to both sides
// at -3 dB, the low-frequency channel is left out, and a stream of more
// than eight channels (whose layout the format leaves open) alternates left
// and right.
void StereoWeights(int channels, std::vector<float>* left, std::vector<float>* right) {
  constexpr float h = 0.70710678f;
  static const std::vector<std::vector<float>> kLeft = {
      {1},                       // mono
      {1, 0},                    // left, right
      {1, h, 0},                 // left, centre, right
      {1, 0, 1, 0},              // front left, front right, rear left, rear right
      {1, h, 0, 1, 0},           // front left, centre, front right, rear left, rear right
      {1, h, 0, 1, 0, 0},        // the same and low frequency
      {1, h, 0, 1, 0, h, 0},     // ..., side left, side right, rear centre, low frequency
      {1, h, 0, 1, 0, 1, 0, 0},  // ..., side left, side right, rear left, rear right, low frequency
  };
  static const std::vector<std::vector<float>> kRight = {
      {1},
      {0, 1},
      {0, h, 1},
      {0, 1, 0, 1},
      {0, h, 1, 0, 1},
      {0, h, 1, 0, 1, 0},
      {0, h, 1, 0, 1, h, 0},
      {0, h, 1, 0, 1, 0, 1, 0},
  };
  if (channels <= static_cast<int>(kLeft.size())) {
    *left = kLeft[static_cast<size_t>(channels - 1)];
    *right = kRight[static_cast<size_t>(channels - 1)];
  } else {
    left->assign(static_cast<size_t>(channels), 0.0f);
    right->assign(static_cast<size_t>(channels), 0.0f);
    for (int c = 0; c < channels; ++c) (c % 2 == 0 ? *left : *right)[static_cast<size_t>(c)] = 1.0f;
  }
  // Never louder than the loudest channel: weights that add up to more
  // than 1 are scaled down together.
  for (std::vector<float>* side : {left, right}) {
    float sum = 0;
    for (float w : *side) sum += w;
    if (sum > 1.0f) {
      for (float& w : *side) w /= sum;
    }
  }
}

int32_t Scaled(float value, float gain) { return static_cast<int32_t>(std::lrintf(value * gain)); }

// Weighs input frame `frame` of the source into out (out_channels values).
void MixFrame(const SoundConverter& c, const int16_t* frame, float* out) {
  const float* w = c.weights.data();
  for (int o = 0; o < c.out_channels; ++o) {
    float sum = 0;
    for (int i = 0; i < c.in_channels; ++i) sum += *w++ * frame[i];
    out[o] = sum;
  }
}

size_t AddCopy(SoundConverter* c, const SoundSource& s, bool loop, int32_t gain, int32_t* acc, size_t frames,
               bool* ended) {
  const size_t step = static_cast<size_t>(c->out_channels);
  const size_t total = s.frames;
  size_t done = 0;
  while (done < frames) {
    if (static_cast<size_t>(c->clock) >= total) {
      c->clock = 0;
      if (!loop || total == 0) {
        *ended = true;
        return done;
      }
    }
    const size_t at = static_cast<size_t>(c->clock);
    size_t run = std::min(frames - done, total - at);
    int32_t* out = acc + done * step;
    if (c->path == SoundConverter::Path::kCopy) {
      const int16_t* src = s.samples + at * step;
      if (gain == kSoundUnityGain) {
        for (size_t i = 0; i < run * step; ++i) out[i] += src[i];
      } else if (gain != 0) {
        for (size_t i = 0; i < run * step; ++i) out[i] += (src[i] * gain) >> 16;
      }
    } else {
      const float g = static_cast<float>(gain) / kSoundUnityGain;
      float mixed[kSoundMaxOutChannels];
      const int16_t* src = s.samples + at * static_cast<size_t>(c->in_channels);
      for (size_t f = 0; f < run; ++f) {
        MixFrame(*c, src, mixed);
        for (size_t o = 0; o < step; ++o) out[o] += Scaled(mixed[o], g);
        src += c->in_channels;
        out += step;
      }
    }
    done += run;
    c->clock += static_cast<int64_t>(run);
  }
  // A sound that reaches its very last frame here ends now, not one buffer
  // later, so its status says stopped as soon as it is silent.
  if (!loop && static_cast<size_t>(c->clock) >= total) {
    c->clock = 0;
    *ended = true;
  }
  return done;
}

// Weighs input frames into the ring up to and including `last`. Frames
// before the start and past the end of a sound that does not loop are
// silence.
void FillRing(SoundConverter* c, const SoundSource& s, bool loop, int64_t last) {
  const int64_t total = static_cast<int64_t>(s.frames);
  const size_t step = static_cast<size_t>(c->out_channels);
  for (; c->fetched <= last; ++c->fetched) {
    const int64_t v = c->fetched;
    float* slot = c->ring.data() + static_cast<size_t>(v & c->ring_mask) * step;
    if (v < 0 || total == 0 || (!loop && v >= total)) {
      std::fill(slot, slot + step, 0.0f);
    } else {
      const int64_t at = v < total ? v : v % total;
      MixFrame(*c, s.samples + static_cast<size_t>(at) * static_cast<size_t>(c->in_channels), slot);
    }
  }
}

size_t AddResampled(SoundConverter* c, const SoundSource& s, bool loop, int32_t gain, int32_t* acc,
                    size_t frames, bool* ended) {
  const Kernel& kernel = TheKernel();
  const int64_t total = static_cast<int64_t>(s.frames);
  const size_t step = static_cast<size_t>(c->out_channels);
  const float g = static_cast<float>(gain) / kSoundUnityGain;
  // Table points per input frame of distance from the current time.
  const float table_step = static_cast<float>(kTablePerCrossing / c->stretch);
  const float* ring = c->ring.data();
  size_t done = 0;
  for (; done < frames; ++done) {
    if (!loop && c->clock >= total) break;
    FillRing(c, s, loop, c->clock + c->half);
    const float frac = static_cast<float>(c->phase) / static_cast<float>(c->out_rate);
    float sum[kSoundMaxOutChannels] = {};
    float weight_sum = 0;
    // From the farthest frame before the current time to the farthest after
    // it: the table position falls by a step per frame and passes 0 between
    // the frame at or before the time and the one after it.
    float pos = (static_cast<float>(c->half - 1) + frac) * table_step;
    for (int64_t v = c->clock - c->half + 1; v <= c->clock + c->half; ++v, pos -= table_step) {
      const float x = std::fabs(pos);
      const int i = static_cast<int>(x);
      if (i >= kTableSize) continue;
      const float w = kernel.value[i] + kernel.slope[i] * (x - static_cast<float>(i));
      weight_sum += w;
      const float* slot = ring + static_cast<size_t>(v & c->ring_mask) * step;
      if (step == 2) {
        sum[0] += w * slot[0];
        sum[1] += w * slot[1];
      } else {
        for (size_t o = 0; o < step; ++o) sum[o] += w * slot[o];
      }
    }
    // Dividing by the weights' sum keeps a steady level exactly as it is,
    // wherever the current time falls between two input frames.
    const float scale = weight_sum > 1e-6f ? g / weight_sum : 0.0f;
    int32_t* out = acc + done * step;
    for (size_t o = 0; o < step; ++o) out[o] += Scaled(sum[o], scale);
    c->phase += c->in_rate;
    c->clock += c->phase / c->out_rate;
    c->phase %= c->out_rate;
  }
  if (!loop && c->clock >= total) {
    sound_convert_rewind(c);
    *ended = true;
  }
  return done;
}

}  // namespace

bool sound_convert_prepare(SoundConverter* c, int in_rate, int in_channels, int out_rate, int out_channels) {
  if (in_rate < kSoundMinRate || in_rate > kSoundMaxRate || in_channels < 1 ||
      in_channels > kSoundMaxChannels || out_rate <= 0 || out_channels < 1 ||
      out_channels > kSoundMaxOutChannels) {
    return false;
  }
  *c = SoundConverter();
  c->in_rate = in_rate;
  c->in_channels = in_channels;
  c->out_rate = out_rate;
  c->out_channels = out_channels;

  std::vector<float> left, right;
  StereoWeights(in_channels, &left, &right);
  const size_t in = static_cast<size_t>(in_channels);
  c->weights.assign(static_cast<size_t>(out_channels) * in, 0.0f);
  for (size_t i = 0; i < in; ++i) {
    if (out_channels == 1) {
      c->weights[i] = (left[i] + right[i]) / 2;
    } else {
      c->weights[i] = left[i];
      c->weights[in + i] = right[i];
    }
  }
  const bool same_channels = in_channels == out_channels && in_channels <= 2;
  if (in_rate != out_rate) {
    c->path = SoundConverter::Path::kResample;
    c->stretch = std::min(kMaxStretch, std::max(1.0, static_cast<double>(in_rate) / out_rate));
    c->half = static_cast<int>(std::ceil(kZeroCrossings * c->stretch));
    int64_t ring_frames = 1;
    while (ring_frames < 2 * c->half + 1) ring_frames *= 2;
    c->ring.assign(static_cast<size_t>(ring_frames) * static_cast<size_t>(out_channels), 0.0f);
    c->ring_mask = ring_frames - 1;
    (void)TheKernel();  // made here, on the caller's thread, not the output's
  } else {
    c->path = same_channels ? SoundConverter::Path::kCopy : SoundConverter::Path::kMix;
  }
  sound_convert_rewind(c);
  return true;
}

void sound_convert_rewind(SoundConverter* c) {
  c->clock = 0;
  c->phase = 0;
  // The first output frame needs the frames before the start too: silence.
  c->fetched = -static_cast<int64_t>(c->half) + 1;
}

size_t sound_convert_add(SoundConverter* c, const SoundSource& source, bool loop, int32_t gain, int32_t* acc,
                         size_t frames, bool* ended) {
  *ended = false;
  if (source.channels != c->in_channels || source.samples == nullptr) {
    *ended = true;
    return 0;
  }
  if (c->path == SoundConverter::Path::kResample) return AddResampled(c, source, loop, gain, acc, frames, ended);
  return AddCopy(c, source, loop, gain, acc, frames, ended);
}
