// Playing sounds: states and numbering on SDL's dummy output, and what is
// really played, captured through SDL's disk output.
#include "engine/sound/sound.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>

#include "engine/sound/sound_decode.h"
#include "engine/sound/sound_mixer.h"
#include "tests/engine/sound/sound_samples.h"
#include "tests/support/environment.h"

namespace {

// A fade without waits, as the orderly end makes it: if the sound plays, its
// volume goes 100, 90, ..., 10 in turn and then it stops.
void sound_fade_out(int sound) {
  if (sound_status(sound) != kSoundPlaying) return;
  for (int volume = 100; volume >= 10; volume -= 10) sound_volume(sound, volume);
  sound_stop(sound);
}

// A stereo WAV whose every frame tells its own position, never 0 0.
constexpr int kPerLeft = 30000;
std::vector<uint8_t> CountingWav(int frames) {
  std::vector<int16_t> pcm;
  for (int i = 0; i < frames; ++i) {
    pcm.push_back(static_cast<int16_t>(i % kPerLeft + 1));
    pcm.push_back(static_cast<int16_t>(i / kPerLeft + 1));
  }
  return MakeWav(2, 44100, 16, Pcm16Bytes(pcm));
}

// The played output as stretches: silence (first -1) or a run of frames
// of a counting WAV in order, starting at position `first`.
struct Stretch {
  long first, length;
  bool operator==(const Stretch& o) const { return first == o.first && length == o.length; }
};
std::vector<Stretch> Stretches(const std::vector<int16_t>& out) {
  std::vector<Stretch> list;
  for (size_t i = 0; i + 1 < out.size(); i += 2) {
    long pos = out[i] == 0 && out[i + 1] == 0 ? -1 : (out[i + 1] - 1L) * kPerLeft + out[i] - 1;
    if (!list.empty()) {
      Stretch& last = list.back();
      bool goes_on = pos == -1 ? last.first == -1 : last.first >= 0 && pos == last.first + last.length;
      if (goes_on) {
        ++last.length;
        continue;
      }
    }
    list.push_back({pos, 1});
  }
  if (!list.empty() && list.front().first == -1) list.erase(list.begin());  // before the first play
  return list;
}

TEST(SoundDevice, StatesNumbersAndRefusalsOnTheDummyOutput) {
  sound_system_stop();
  std::vector<uint8_t> wav = CountingWav(4410);
  EXPECT_EQ(sound_from_memory(0, wav.data(), wav.size()), 0);  // no device yet
  test_env::Set("SDL_AUDIODRIVER", "dummy");
  ASSERT_NE(sound_system_start(), 0);

  EXPECT_EQ(sound_status(0), kSoundMissing);
  sound_play(0, kSoundLoop);  // a missing sound: nothing happens
  EXPECT_NE(sound_from_memory(0, wav.data(), wav.size()), 0);
  EXPECT_EQ(sound_status(0), kSoundStopped);
  EXPECT_EQ(sound_from_memory(0, wav.data(), 40), 0);  // a failed load keeps the old sound
  EXPECT_EQ(sound_status(0), kSoundStopped);
  std::vector<uint8_t> mono = MakeWav(1, 22050, 8, std::vector<uint8_t>(2000, 200));
  int h1 = sound_from_memory(-1, mono.data(), mono.size());
  int h2 = sound_from_memory(-1, wav.data(), wav.size());
  EXPECT_NE(h1, 0);
  EXPECT_NE(h2, 0);
  EXPECT_NE(h1, h2);

  sound_play(0, kSoundLoop);
  sound_play(h1, kSoundLoop);
  EXPECT_EQ(sound_status(0), kSoundPlaying);
  sound_pause(0);
  EXPECT_EQ(sound_status(0), kSoundPaused);
  sound_fade_out(0);  // only a playing sound fades
  EXPECT_EQ(sound_status(0), kSoundPaused);
  sound_resume(0);
  EXPECT_EQ(sound_status(0), kSoundPlaying);
  sound_fade_out(0);
  EXPECT_EQ(sound_status(0), kSoundStopped);
  // Pausing stops without rewinding and resuming starts again, whatever the
  // sound was doing.
  sound_pause(0);
  EXPECT_EQ(sound_status(0), kSoundPaused);
  sound_stop(0);
  EXPECT_EQ(sound_status(0), kSoundStopped);
  sound_resume(0);
  EXPECT_EQ(sound_status(0), kSoundPlaying);
  sound_resume(0);
  EXPECT_EQ(sound_status(0), kSoundPlaying);
  sound_stop(-1);
  EXPECT_EQ(sound_status(0), kSoundStopped);
  EXPECT_EQ(sound_status(h1), kSoundStopped);

  sound_system_stop();
  EXPECT_EQ(sound_status(0), kSoundMissing);
  EXPECT_EQ(sound_status(h2), kSoundMissing);
}

TEST(SoundVolume, TableFollowsTheDecibelScale) {
  EXPECT_EQ(sound_attenuation(100), 0);
  EXPECT_EQ(sound_attenuation(150), 0);
  EXPECT_EQ(sound_attenuation(0), -10000);
  EXPECT_EQ(sound_attenuation(-5), -10000);
  EXPECT_EQ(sound_attenuation(50), -603);
  EXPECT_EQ(sound_attenuation(10), -2000);
  EXPECT_EQ(sound_attenuation(1), -4000);
  for (int v = 1; v <= 100; ++v) EXPECT_GT(sound_attenuation(v), sound_attenuation(v - 1)) << v;
}

TEST(SoundDevice, PlaysTheDecodedMusicAndLoopsWithoutAGap) {
  std::vector<uint8_t> ogg = EncodeSineOgg(2, 44100, 8820, 523, 0.6);
  DecodedSound music;
  ASSERT_TRUE(sound_decode(ogg.data(), ogg.size(), &music, kSoundMaxBytes));
  DiskOutput output("loop.raw");
  ASSERT_TRUE(output.started());
  ASSERT_NE(sound_from_memory(0, ogg.data(), ogg.size()), 0);
  sound_play(0, kSoundLoop);
  output.WaitFrames(3 * 8820 + 4410);  // three and a half rounds of the 0.2 s tune
  EXPECT_EQ(sound_status(0), kSoundPlaying);
  sound_stop(0);
  output.WaitFrames(4410);
  std::vector<int16_t> out = output.Finish();

  const std::vector<int16_t>& pcm = music.samples;
  size_t start = 0;
  while (start + 128 <= out.size() && !std::equal(pcm.begin(), pcm.begin() + 128, out.begin() + start)) {
    start += 2;
  }
  ASSERT_LT(start + 128, out.size()) << "the music's first frames were never played";
  EXPECT_TRUE(std::all_of(out.begin(), out.begin() + start, [](int16_t v) { return v == 0; }));
  size_t played = 0;
  while (start + played < out.size() && out[start + played] == pcm[played % pcm.size()]) ++played;
  EXPECT_GE(played, 2 * pcm.size());  // wrapped at least twice, sample for sample
  EXPECT_TRUE(std::all_of(out.begin() + start + played, out.end(), [](int16_t v) { return v == 0; }))
      << "sound after the stop";
}

TEST(SoundDevice, PauseIsSilentAndResumeGoesOnWhereItStopped) {
  std::vector<uint8_t> wav = CountingWav(3 * 44100);
  DiskOutput output("pause.raw");
  ASSERT_TRUE(output.started());
  ASSERT_NE(sound_from_memory(0, wav.data(), wav.size()), 0);
  sound_play(0, 0);
  output.WaitFrames(11025);
  sound_pause(0);
  EXPECT_EQ(sound_status(0), kSoundPaused);
  output.WaitFrames(11025);
  sound_resume(0);
  EXPECT_EQ(sound_status(0), kSoundPlaying);
  output.WaitFrames(11025);
  sound_stop(0);
  output.WaitFrames(4410);
  std::vector<Stretch> s = Stretches(output.Finish());
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(s[0].first, 0);
  EXPECT_EQ(s[1].first, -1);
  EXPECT_GT(s[1].length, 44100 / 10);  // most of the pause was heard as silence
  EXPECT_EQ(s[2].first, s[0].length);  // on from the kept position
  EXPECT_EQ(s[3].first, -1);
}

TEST(SoundDevice, ResumingAStoppedSoundPlaysItFromItsStartWithItsLoopFlag) {
  const int frames = 44100 / 5;
  std::vector<uint8_t> wav = CountingWav(frames);
  DiskOutput output("resume.raw");
  ASSERT_TRUE(output.started());
  ASSERT_NE(sound_from_memory(0, wav.data(), wav.size()), 0);
  sound_play(0, kSoundLoop);
  output.WaitFrames(4410);
  sound_stop(0);
  output.WaitFrames(4410);
  sound_resume(0);  // the loop flag of the last play
  output.WaitFrames(frames + 4410);
  sound_resume(0);  // while it plays: it goes on, it does not start over
  output.WaitFrames(4410);
  EXPECT_EQ(sound_status(0), kSoundPlaying);
  sound_stop(0);
  output.WaitFrames(4410);
  std::vector<Stretch> s = Stretches(output.Finish());
  ASSERT_GE(s.size(), 4u);
  EXPECT_EQ(s[0].first, 0);
  EXPECT_EQ(s[1].first, -1);
  EXPECT_EQ(s.back().first, -1);
  // From the start, looping: only whole rounds until the stop, none cut
  // short by the second resume.
  long played = 0;
  for (size_t i = 2; i + 1 < s.size(); ++i) {
    EXPECT_EQ(s[i].first, 0) << i;
    if (i + 2 < s.size()) {
      EXPECT_EQ(s[i].length, frames) << i;
    }
    played += s[i].length;
  }
  EXPECT_GE(played, frames + 4410);
}

TEST(SoundDevice, PlayingAgainRestartsAndASoundThatEndsIsStopped) {
  const int frames = 44100 * 3 / 10;
  std::vector<uint8_t> wav = CountingWav(frames);
  DiskOutput output("restart.raw");
  ASSERT_TRUE(output.started());
  ASSERT_NE(sound_from_memory(0, wav.data(), wav.size()), 0);
  sound_play(0, 0);
  output.WaitFrames(4410);
  sound_play(0, 0);
  output.WaitFrames(frames + 4410);
  EXPECT_EQ(sound_status(0), kSoundStopped);
  std::vector<Stretch> s = Stretches(output.Finish());
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0].first, 0);
  EXPECT_GT(s[0].length, 0);
  EXPECT_LT(s[0].length, frames);
  EXPECT_EQ(s[1], (Stretch{0, frames}));  // from the start, right away, to the end
  EXPECT_EQ(s[2].first, -1);
}

TEST(SoundDevice, LowerVolumeScalesTheOutputByItsGain) {
  // A steady level on each channel makes every frame show the gain in force.
  std::vector<int16_t> level;
  for (int i = 0; i < 2205; ++i) level.insert(level.end(), {20000, -10000});
  std::vector<uint8_t> wav = MakeWav(2, 44100, 16, Pcm16Bytes(level));
  DiskOutput output("volume.raw");
  ASSERT_TRUE(output.started());
  ASSERT_NE(sound_from_memory(0, wav.data(), wav.size()), 0);
  sound_play(0, kSoundLoop);
  for (int volume : {100, 50, -5, 150}) {
    sound_volume(0, volume);
    output.WaitFrames(8820);
  }
  sound_stop(0);
  output.WaitFrames(4410);
  std::vector<int16_t> out = output.Finish();

  std::vector<std::pair<int16_t, int16_t>> levels;  // each steady level in turn
  for (size_t i = 0; i + 1 < out.size(); i += 2) {
    std::pair<int16_t, int16_t> frame(out[i], out[i + 1]);
    bool before_play = levels.empty() && frame == std::make_pair<int16_t, int16_t>(0, 0);
    if (!before_play && (levels.empty() || levels.back() != frame)) levels.push_back(frame);
  }
  ASSERT_EQ(levels.size(), 5u);
  using Level = std::pair<int16_t, int16_t>;
  EXPECT_EQ(levels[0], Level(20000, -10000));
  EXPECT_EQ(levels[2], Level(0, 0));  // -5 silences
  EXPECT_EQ(levels[3], Level(20000, -10000));  // 150 acts as 100
  EXPECT_EQ(levels[4], Level(0, 0));
  double gain = std::pow(10.0, sound_attenuation(50) / 2000.0);
  EXPECT_NEAR(levels[1].first / 20000.0, gain, 1e-4);
  EXPECT_NEAR(levels[1].second / -10000.0, gain, 2e-4);
}

}  // namespace
