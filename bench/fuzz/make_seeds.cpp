// Writes the seed corpora of the fuzz harnesses, one folder per harness,
// from the game's own content: the pictures, the music and the cursor of a
// build's packs, the language files of the source tree and the built
// language pack, and settings files written by the game's own writer. The
// seeds stay small: the smallest pictures, the start of the music.
// Usage: make_fuzz_seeds BUILD_BIN SOURCE_ROOT OUT
// (as kept in the repository: build/bench/make_fuzz_seeds build/bin . bench/fuzz/seeds)
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "engine/image/image_buffer.h"
#include "engine/pack/block_codec.h"
#include "engine/pack/pack.h"
#include "engine/sound/sound.h"
#include "engine/sound/sound_decode.h"
#include "engine/system/file.h"
#include "ui/settings.h"

namespace {

using Bytes = std::vector<uint8_t>;

bool g_ok = true;

void Fail(const std::string& what) {
  std::fprintf(stderr, "make_fuzz_seeds: %s\n", what.c_str());
  g_ok = false;
}

void Write(const std::string& path, const Bytes& bytes) {
  if (!file_write(path, bytes.data(), bytes.size())) Fail("cannot write " + path);
}

Bytes Join(const Bytes& a, const Bytes& b) {
  Bytes out = a;
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

Bytes ReadEntry(int pack, const std::string& name) {
  Bytes buffer(16 << 20);
  int64_t n = pack_read_entry(pack, buffer.data(), static_cast<int64_t>(buffer.size()), name);
  if (n < 0) {
    Fail("no entry " + name);
    return {};
  }
  buffer.resize(static_cast<size_t>(n));
  return buffer;
}

void PutLe(Bytes* out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// The start of an OGG stream up to the end of the last whole page within
// `limit` bytes: the headers and the first pages of sound.
Bytes OggStart(const Bytes& ogg, size_t limit) {
  size_t at = 0, end = 0;
  while (at + 27 <= ogg.size() && std::memcmp(&ogg[at], "OggS", 4) == 0) {
    size_t segments = ogg[at + 26];
    if (at + 27 + segments > ogg.size()) break;
    size_t body = 0;
    for (size_t i = 0; i < segments; ++i) body += ogg[at + 27 + i];
    size_t next = at + 27 + segments + body;
    if (next > limit || next > ogg.size()) break;
    end = at = next;
  }
  return Bytes(ogg.begin(), ogg.begin() + static_cast<std::ptrdiff_t>(end));
}

Bytes Wav(int channels, int rate, int bits, const Bytes& data) {
  Bytes out = {'R', 'I', 'F', 'F'};
  PutLe(&out, 36 + data.size(), 4);
  for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<uint8_t>(c));
  PutLe(&out, 16, 4);
  PutLe(&out, 1, 2);
  PutLe(&out, static_cast<uint64_t>(channels), 2);
  PutLe(&out, static_cast<uint64_t>(rate), 4);
  PutLe(&out, static_cast<uint64_t>(rate * channels * bits / 8), 4);
  PutLe(&out, static_cast<uint64_t>(channels * bits / 8), 2);
  PutLe(&out, static_cast<uint64_t>(bits), 2);
  for (char c : std::string("data")) out.push_back(static_cast<uint8_t>(c));
  PutLe(&out, data.size(), 4);
  return Join(out, data);
}

// The settings file the game writes at its end for these settings.
Bytes SettingsAsWritten(const std::string& scratch, const std::string& language, int music, int screen,
                        const std::string& mode) {
  Language = language;
  Music = music;
  GameScreen = screen;
  ScreenMode = mode;
  Bytes out;
  if (!SaveSettings(scratch) || !file_read_all(scratch + kSettingsFileName, &out)) Fail("cannot save settings");
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_fuzz_seeds BUILD_BIN SOURCE_ROOT OUT\n");
    return 2;
  }
  const std::string bin = std::string(argv[1]) + "/", src = std::string(argv[2]) + "/", out = std::string(argv[3]) + "/";
  pack_register_formats();
  image_codecs_start();
  for (const char* h : {"png", "sprite", "pack", "language", "cursor", "keyvalue", "settings", "sound", "mix"}) {
    if (!folder_remove_all(out + h) || !folder_make(out + h)) Fail(std::string("cannot make ") + out + h);
  }

  // ---- Pictures: the small ones of the data pack, a flag, and BMP copies.
  int data = pack_open(-1, bin + "DuskmatchData.pack", kPackFormatData);
  if (data == 0) {
    Fail("cannot open " + bin + "DuskmatchData.pack");
    return 1;
  }
  const char* pictures[] = {"pointer.png", "gradient.png", "box.png",      "boxx.png",  "left.png",
                            "right.png",   "left off.png", "right off.png", "shadow.png"};
  std::vector<std::pair<std::string, Bytes>> seeds;
  for (const char* name : pictures) seeds.push_back({name, ReadEntry(data, name)});
  int langs = pack_open(-1, bin + "DuskmatchLanguages.pack", kPackFormatZip);
  for (const char* flag : {"en_GB.flag", "ja_JP.flag"}) seeds.push_back({flag, ReadEntry(langs, flag)});
  pack_close(langs);
  for (const char* name : {"pointer.png", "box.png"}) {
    const Bytes png = ReadEntry(data, name);
    auto image = image_decode(png.data(), png.size());
    Bytes bmp;
    if (!image || !image_encode(*image, kImageFormatBMP, &bmp)) Fail(std::string("cannot make a BMP of ") + name);
    seeds.push_back({std::string(name, std::strlen(name) - 4) + ".bmp", bmp});
  }
  for (const auto& [name, bytes] : seeds) Write(out + "png/" + name, bytes);

  // The sprite harness reads twelve drawing parameters from the end of its
  // input: position, cut, stretch, intensity, transparent colour, flags.
  const Bytes params[] = {
      {0, 0, 0, 0, 255, 255, 255, 255, 255, 0, 0, 0},      // whole, at the corner
      {20, 10, 2, 2, 8, 8, 24, 24, 128, 255, 1, 0},        // cut and stretched, half blended
      {0xF8, 0xFC, 0, 0, 255, 255, 40, 10, 64, 0x80, 3, 0},  // off the top left, squeezed
  };
  for (size_t i = 0; i < seeds.size(); ++i) {
    Write(out + "sprite/" + seeds[i].first, Join(seeds[i].second, params[i % 3]));
  }

  // ---- The data pack: a small one of some pictures, as a pack (from
  // memory, and from disk against memory), one packed stream, and content
  // to pack (the harness's first byte picks the mode).
  const std::string scratch = file_private_temp_folder();
  const std::string small_pack = scratch + "small.pack";
  int p = pack_create(-1, small_pack, kPackFormatData, 5);
  for (const char* name : {"pointer.png", "gradient.png", "box.png", "left off.png"}) {
    Bytes b = ReadEntry(data, name);
    if (p == 0 || !pack_add_memory(p, name, b.data(), b.size())) Fail("cannot add to the small pack");
  }
  Bytes text(1500);
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<uint8_t>("owls at dusk "[i % 13]);
  if (p == 0 || !pack_add_memory(p, "text.txt", text.data(), text.size()) || !pack_finish(p)) Fail("cannot write the small pack");
  Bytes pack_bytes;
  if (!file_read_all(small_pack, &pack_bytes)) Fail("cannot read the small pack");
  Write(out + "pack/pack", Join({0}, pack_bytes));
  Write(out + "pack/pack-disk", Join({3}, pack_bytes));
  Bytes stream;
  if (!pack_pack_stream(text.data(), text.size(), 0, &stream)) Fail("cannot pack a stream");
  Write(out + "pack/stream", Join({1}, stream));
  Write(out + "pack/content", Join({2}, ReadEntry(data, "gradient.png")));
  pack_close(data);

  // ---- Languages: three files, the built pack, and a small ZIP of one
  // language with its flag and a stranger.
  for (const char* code : {"en_GB", "de_DE", "ja_JP"}) {
    Bytes file;
    if (!file_read_all(src + "data/languages/" + code + ".language", &file)) Fail(std::string("no language ") + code);
    Write(out + "language/" + code + ".language", file);
    if (std::string(code) != "de_DE") Write(out + "keyvalue/" + code + ".language", file);
  }
  Bytes language_pack;
  if (!file_read_all(bin + "DuskmatchLanguages.pack", &language_pack)) Fail("no language pack");
  Write(out + "language/languages.pack", language_pack);
  const std::string small_zip = scratch + "small.zip";
  int z = pack_create(-1, small_zip, kPackFormatZip);
  Bytes en;
  if (!file_read_all(src + "data/languages/en_GB.language", &en)) Fail("no language en_GB");
  const Bytes& flag = seeds[9].second;  // en_GB.flag
  const std::string readme = "not a language";
  if (z == 0 || !pack_add_memory(z, "en_GB.language", en.data(), en.size()) ||
      !pack_add_memory(z, "en_GB.flag", flag.data(), flag.size()) ||
      !pack_add_memory(z, "readme.txt", readme.data(), readme.size()) || !pack_finish(z)) {
    Fail("cannot write the small ZIP");
  }
  Bytes zip;
  if (!file_read_all(small_zip, &zip)) Fail("cannot read the small ZIP");
  Write(out + "language/small.pack", zip);

  // ---- The cursor file.
  Bytes cursor;
  if (!file_read_all(bin + "DuskmatchCursor.pack", &cursor)) Fail("no cursor file");
  Write(out + "cursor/cursor.pack", cursor);

  // ---- Settings as the game writes them, for the key-value reader and the
  // settings harness.
  const struct {
    const char* name;
    const char* language;
    int music, screen;
    const char* mode;
  } settings[] = {{"borderless", "en_GB", 1, 2, "1280x720"},
                  {"windowed", "de_DE", 0, 1, "1920x1080"},
                  {"fullscreen", "ja_JP", 1, 0, "1024x768"}};
  for (const auto& s : settings) {
    Bytes file = SettingsAsWritten(scratch, s.language, s.music, s.screen, s.mode);
    Write(out + "settings/" + s.name + ".prefs", file);
    Write(out + "keyvalue/" + s.name + ".prefs", file);
  }

  // ---- Sound: the start of the music, and its first frames as WAV.
  int reopened = pack_open(-1, bin + "DuskmatchData.pack", kPackFormatData);
  Bytes music = ReadEntry(reopened, "music.ogg");
  pack_close(reopened);
  Bytes start = OggStart(music, 12000);
  Write(out + "sound/music-start.ogg", start);
  DecodedSound decoded;
  if (!sound_decode(start.data(), start.size(), &decoded, kSoundMaxBytes) || decoded.channels != 2) {
    Fail("the start of the music does not decode");
    return 1;
  }
  // 600 frames from a second in, where the music is playing.
  const size_t from = std::min<size_t>(decoded.frames() - 600, 44100) * 2;
  std::vector<int16_t> frames(decoded.samples.begin() + static_cast<std::ptrdiff_t>(from),
                              decoded.samples.begin() + static_cast<std::ptrdiff_t>(from + 1200));
  Bytes pcm16;
  for (int16_t v : frames) PutLe(&pcm16, static_cast<uint16_t>(v), 2);
  Write(out + "sound/stereo16.wav", Wav(2, 44100, 16, pcm16));
  Bytes mono8;
  for (size_t i = 0; i < frames.size(); i += 2) mono8.push_back(static_cast<uint8_t>((frames[i] >> 8) + 128));
  Write(out + "sound/mono8.wav", Wav(1, 22050, 8, mono8));

  // ---- The mixer: the same frames as a sound of many formats. Header:
  // rate (4 bytes), channels, flags, volume, length; then the samples.
  const struct {
    const char* name;
    uint32_t rate;
    uint8_t channels, flags;
  } mixes[] = {{"copy", 44100, 2, 1}, {"mono", 44100, 1, 0},     {"22050", 22050, 2, 5},
               {"48000", 48000, 2, 9}, {"lowest", 100, 8, 1},     {"highest", 200000, 6, 2},
               {"seven", 32000, 7, 13}, {"refused", 99, 2, 0}};
  for (const auto& m : mixes) {
    Bytes seed;
    PutLe(&seed, m.rate, 4);
    seed.push_back(m.channels);
    seed.push_back(m.flags);
    seed.push_back(100);
    seed.push_back(20);
    Write(out + "mix/" + m.name, Join(seed, pcm16));
  }

  file_system_cleanup();
  return g_ok ? 0 : 1;
}
