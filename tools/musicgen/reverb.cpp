// The reverb: eight damped feedback combs in parallel and four allpasses in
// series per channel, the right channel's delays a little longer than the
// left's for width.
#include "tools/musicgen/reverb.h"

#include <vector>

namespace {

// Delay lengths in frames at 44.1 kHz, mutually prime-ish so that the
// echoes do not pile up on one another.
constexpr int kCombDelays[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int kAllpassDelays[] = {556, 441, 341, 225};
constexpr int kStereoSpread = 23;

class Comb {
 public:
  Comb(int delay, float feedback, float damping)
      : line_(delay, 0.0f), feedback_(feedback), damping_(damping) {}
  float Process(float in) {
    float out = line_[pos_];
    // A low-pass inside the loop: high frequencies die sooner, as in a room.
    held_ = out * (1.0f - damping_) + held_ * damping_;
    line_[pos_] = in + held_ * feedback_;
    if (++pos_ == line_.size()) pos_ = 0;
    return out;
  }

 private:
  std::vector<float> line_;
  size_t pos_ = 0;
  float held_ = 0.0f, feedback_, damping_;
};

class Allpass {
 public:
  explicit Allpass(int delay) : line_(delay, 0.0f) {}
  float Process(float in) {
    float delayed = line_[pos_];
    float out = delayed - in;
    line_[pos_] = in + delayed * 0.5f;
    if (++pos_ == line_.size()) pos_ = 0;
    return out;
  }

 private:
  std::vector<float> line_;
  size_t pos_ = 0;
};

class Channel {
 public:
  Channel(int spread, float room, float damping) {
    for (int d : kCombDelays) combs_.emplace_back(d + spread, room, damping);
    for (int d : kAllpassDelays) allpasses_.emplace_back(d + spread);
  }
  float Process(float in) {
    float sum = 0.0f;
    for (Comb& c : combs_) sum += c.Process(in);
    for (Allpass& a : allpasses_) sum = a.Process(sum);
    return sum;
  }

 private:
  std::vector<Comb> combs_;
  std::vector<Allpass> allpasses_;
};

}  // namespace

StereoPcm Reverberate(const StereoPcm& send, float room, float damping) {
  Channel left(0, room, damping), right(kStereoSpread, room, damping);
  const size_t frames = send.left.size();
  StereoPcm out;
  out.left.assign(frames, 0.0f);
  out.right.assign(frames, 0.0f);
  // The small input gain keeps eight summed combs near unity.
  constexpr float kInput = 0.03f;
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < frames; ++i) {
      // Both channels feed both reverbs a little, so a sound panned hard to
      // one side still fills the room.
      float l = kInput * (send.left[i] * 0.8f + send.right[i] * 0.2f);
      float r = kInput * (send.right[i] * 0.8f + send.left[i] * 0.2f);
      out.left[i] = left.Process(l);
      out.right[i] = right.Process(r);
    }
  }
  return out;
}
