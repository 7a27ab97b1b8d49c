// Decoding two minutes of stereo 44.1 kHz OGG Vorbis with sound_from_memory
// against libvorbisfile's own straight decode of the same stream into a
// buffer, rendering the menus' text (twenty lines at 14 to 40 points and a
// wrapped paragraph) against that music decode, in the same run; and the
// share of a core that mixing music of other rates and channel counts takes
// while it plays.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "bench/bench_timing.h"

#include "engine/image/image.h"
#include "engine/sound/sound.h"
#include "engine/sound/sound_decode.h"
#include "engine/sound/sound_mixer.h"
#include "engine/text/text.h"
#include "tools/musicgen/music.h"

namespace {

// Two minutes of slowly changing chords with a little noise: enough for the
// encoder to spend bits the way it does on real music.
std::vector<uint8_t> make_music() {
  const size_t frames = static_cast<size_t>(kMusicRate) * 120;
  StereoPcm pcm;
  pcm.left.resize(frames);
  pcm.right.resize(frames);
  uint32_t seed = 1;
  const double base[4] = {146.83, 185.0, 220.0, 293.66};
  for (size_t i = 0; i < frames; ++i) {
    double t = static_cast<double>(i) / kMusicRate, l = 0, r = 0;
    for (int k = 0; k < 4; ++k) {
      double f = base[k] * (1.0 + 0.25 * ((static_cast<int>(t / 4) + k) % 3));
      double v = std::sin(2 * M_PI * f * t) * (0.5 + 0.5 * std::sin(t * 0.7 + k));
      l += v * (k < 2 ? 0.2 : 0.1);
      r += v * (k < 2 ? 0.1 : 0.2);
    }
    seed = seed * 1664525u + 1013904223u;
    double noise = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 0.02;
    pcm.left[i] = static_cast<float>(l + noise);
    pcm.right[i] = static_cast<float>(r - noise);
  }
  return EncodeOggVorbis(pcm);
}

struct Memory {
  const std::vector<uint8_t>* data;
  size_t at;
};

size_t read_memory(void* out, size_t size, size_t count, void* source) {
  auto* m = static_cast<Memory*>(source);
  if (size == 0) return 0;
  size_t n = std::min(count, (m->data->size() - m->at) / size);
  std::memcpy(out, m->data->data() + m->at, n * size);
  m->at += n * size;
  return n;
}

// libvorbisfile alone: the stream (not seekable, as a plain reader sees it)
// into a growing buffer of 16-bit samples.
size_t libvorbis_decode(const std::vector<uint8_t>& ogg) {
  Memory m{&ogg, 0};
  ov_callbacks cb{read_memory, nullptr, nullptr, nullptr};
  OggVorbis_File vf;
  if (ov_open_callbacks(&m, &vf, nullptr, 0, cb) != 0) return 0;
  std::vector<int16_t> out;
  char buffer[4096];
  int section = 0;
  long got;
  while ((got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section)) > 0) {
    size_t old = out.size();
    out.resize(old + static_cast<size_t>(got) / 2);
    std::memcpy(out.data() + old, buffer, static_cast<size_t>(got));
  }
  ov_clear(&vf);
  return out.size();
}

// The menus' text: twenty captions from 14 to 40 points and one paragraph,
// each into an image of its own, with the fonts loaded on the way.
bool render_text() {
  static const char* kLines[] = {"New game", "Continue", "Settings", "Credits", "Quit",
                                 "Full screen", "Window", "Borderless", "Music volume", "Card set",
                                 "Language", "Back", "Well done!", "Moves: 48", "Time: 03:25",
                                 "Best time", "Pairs found", "Play again", "Yes", "No"};
  bool ok = true;
  for (int i = 0; i < 20; ++i) {
    int points = 14 + (26 * i) / 19;
    ok = font_load(1 + i, "Arial Black", points, kFontHighQuality) != 0 && ok;
    int img = image_create(-1, 900, font_points_to_pixels(points, font_dpi()) * 2, 32, -1);
    ok = vector_start(image_vector_target(img, kVectorUnitPixel)) != 0 && ok;
    vector_font(font_handle(1 + i));
    vector_color(0xFFFFFFFFu);
    vector_move_to(4, 4);
    vector_draw_text(kLines[i]);
    ok = vector_text_width(kLines[i]) > 0 && ok;
    vector_stop();
    image_free(img);
  }
  ok = font_load(30, "Arial Black", 16, kFontHighQuality) != 0 && ok;
  int img = image_create(-1, 600, 400, 32, -1);
  ok = vector_start(image_vector_target(img, kVectorUnitPixel)) != 0 && ok;
  vector_font(font_handle(30));
  vector_move_to(10, 10);
  vector_draw_paragraph(
      "Turn over two cards at a time and find every pair. A pair stays face up; two cards that do "
      "not match turn back after a moment. Clear the board in as few moves and as little time as "
      "you can: the best results are kept for each card set.",
      580, 380, kParagraphCentre);
  vector_stop();
  image_free(img);
  for (int i = 1; i <= 30; ++i) font_free(i);
  return ok;
}

// Mixes `seconds` of output at 44.1 kHz stereo from frames of the given
// rate and channel count, looping, in the output's pieces of 1024 frames.
bool mix_seconds(const std::vector<int16_t>& samples, int rate, int channels, int seconds) {
  Sound sound;
  sound.rate = rate;
  sound.channels = channels;
  sound.frames = samples.size() / static_cast<size_t>(channels);
  sound.samples.assign(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(sound.frames * channels));
  if (!sound_mixer_prepare(&sound, 44100, 2)) return false;
  sound.loop = true;
  sound.state = kSoundPlaying;
  std::vector<int32_t> acc(2048);
  for (int done = 0; done < 44100 * seconds; done += 1024) {
    std::fill(acc.begin(), acc.end(), 0);
    sound_mixer_add(&sound, acc.data(), 1024);
  }
  return sound.state == kSoundPlaying;
}

}  // namespace

int main() {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  std::vector<uint8_t> ogg = make_music();
  if (ogg.empty() || !sound_system_start()) {
    std::fprintf(stderr, "setup failed\n");
    return 1;
  }
  bool ok = true;
  size_t samples = 0;
  auto plain = [&] { samples = libvorbis_decode(ogg); };
  auto engine = [&] { ok = sound_from_memory(1, ogg.data(), ogg.size()) != 0 && ok; };
  auto text = [&] { ok = render_text() && ok; };
  plain();
  engine();
  text();
  double t_plain = 0, t_engine = 0, t_text = 0;
  // Interleaved rounds, so that a busy spell of the machine hits each.
  for (int round = 0; round < 3; ++round) {
    t_plain += bench::median_cpu(3, plain);
    t_engine += bench::median_cpu(3, engine);
    t_text += bench::median_cpu(3, text);
  }
  if (!ok || samples != static_cast<size_t>(kMusicRate) * 120 * 2) {
    std::fprintf(stderr, "decoding or drawing failed (%zu samples)\n", samples);
    return 1;
  }
  double ratio = t_engine / t_plain, text_share = t_text / t_engine;
  std::printf("120 s stereo OGG of %zu bytes: sound_from_memory %.1f ms, libvorbisfile alone %.1f ms "
              "(processor time), ratio %.2f (target <= 1.1)\n",
              ogg.size(), t_engine / 3 * 1e3, t_plain / 3 * 1e3, ratio);
  std::printf("menu text (20 lines at 14-40 pt, one paragraph): %.1f ms, %.3f of the music decode "
              "(target < 0.1)\n",
              t_text / 3 * 1e3, text_share);
  // Ten seconds of the piece as the mix plays it: as decoded (a straight
  // copy), relabelled 48 kHz stereo, its left channel at 22.05 kHz, and six
  // channels at 96 kHz.
  DecodedSound decoded;
  if (!sound_decode(ogg.data(), ogg.size(), &decoded, kSoundMaxBytes)) return 1;
  std::vector<int16_t> ten(decoded.samples.begin(), decoded.samples.begin() + 44100 * 10 * 2);
  std::vector<int16_t> left, six;
  for (size_t i = 0; i < ten.size(); i += 2) {
    left.push_back(ten[i]);
    for (int c = 0; c < 3; ++c) six.insert(six.end(), {ten[i], ten[i + 1]});
  }
  double t_copy = 0, t_48 = 0, t_22 = 0, t_96 = 0;
  for (int round = 0; round < 3; ++round) {
    t_copy += bench::median_cpu(3, [&] { ok = mix_seconds(ten, 44100, 2, 10) && ok; });
    t_48 += bench::median_cpu(3, [&] { ok = mix_seconds(ten, 48000, 2, 10) && ok; });
    t_22 += bench::median_cpu(3, [&] { ok = mix_seconds(left, 22050, 1, 10) && ok; });
    t_96 += bench::median_cpu(3, [&] { ok = mix_seconds(six, 96000, 6, 10) && ok; });
  }
  if (!ok) {
    std::fprintf(stderr, "mixing failed\n");
    return 1;
  }
  // What playing costs is a share of one core for as long as it plays.
  const double mix_share = std::max({t_48, t_22, t_96}) / 3 / 10;
  std::printf("mixing 10 s of music as it plays: as decoded %.1f ms, 48 kHz stereo %.1f ms, 22.05 kHz mono "
              "%.1f ms, 96 kHz 6 channels %.1f ms; the slowest takes %.4f of a core while it plays "
              "(target < 0.01)\n",
              t_copy / 3 * 1e3, t_48 / 3 * 1e3, t_22 / 3 * 1e3, t_96 / 3 * 1e3, mix_share);
  sound_system_stop();
  text_reset();
  return ratio <= 1.1 && text_share < 0.1 && mix_share < 0.01 ? 0 : 2;
}
