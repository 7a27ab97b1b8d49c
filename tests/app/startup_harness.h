// A scratch installation of the game for the start-up tests: a program
// folder with its three packs (the real ones of the build, or a tiny data
// pack of 2x2 pictures and a short sound under "music.ogg" so a start takes
// little time), a home folder the game may write to, and readers for what
// the game left behind.
#pragma once

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/image/image_buffer.h"
#include "engine/pack/pack.h"
#include "engine/system/file.h"

namespace startup_test {

// The data pack's pictures in the order the game loads them.
inline std::vector<std::string> PictureEntries() {
  std::vector<std::string> names;
  for (int n = 1; n <= 4; ++n) names.push_back("background " + std::to_string(n) + ".png");
  for (int set = 1; set <= 2; ++set) names.push_back(std::to_string(set) + "-back.png");
  for (int set = 1; set <= 2; ++set) {
    for (int m = 1; m <= 24; ++m) {
      names.push_back(std::to_string(set) + "-card" + (m < 10 ? "0" : "") + std::to_string(m) + ".png");
    }
  }
  for (const char* name : {"shadow.png", "menu.png", "menushadow.png", "well done shadow.png",
                           "well done.png", "gradient.png", "pointer.png", "left.png", "left off.png",
                           "right.png", "right off.png", "box.png", "boxx.png", "title.png", "ogs.png"}) {
    names.push_back(name);
  }
  return names;
}

// The log label of a picture that loaded: all in parentheses but one.
inline std::string PictureLabel(const std::string& name) {
  return name == "left off.png" ? "Load asset left off.png:" : "Load asset (" + name + "):";
}

// A 2x2 PNG picture, half transparent.
inline std::vector<uint8_t> TinyPng() {
  ImageBuffer image;
  image.width = 2;
  image.height = 2;
  image.pixels = {0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 255, 255, 255, 255, 0};
  std::vector<uint8_t> out;
  EXPECT_TRUE(image_encode(image, kImageFormatPNG, &out));
  return out;
}

// A tenth of a second of a quiet tone as 16-bit mono WAV of `rate` frames a
// second (at least ten frames); the sound service decodes it like the OGG
// music.
inline std::vector<uint8_t> TinyWav(uint32_t rate = 22050) {
  const uint32_t samples = rate / 10 < 10 ? 10 : rate / 10, bytes = samples * 2;
  std::vector<uint8_t> w;
  auto u32 = [&w](uint32_t v) {
    for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto u16 = [&w](uint16_t v) {
    w.push_back(static_cast<uint8_t>(v));
    w.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto tag = [&w](const char* t) { w.insert(w.end(), t, t + 4); };
  tag("RIFF");
  u32(36 + bytes);
  tag("WAVE");
  tag("fmt ");
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(rate);
  u32(rate * 2);
  u16(2);
  u16(16);
  tag("data");
  u32(bytes);
  for (uint32_t i = 0; i < samples; ++i) u16(static_cast<uint16_t>((i % 50) < 25 ? 800 : -800));
  return w;
}

// A PNG whose compressed pixels fail their own checksum (Adler-32) while
// every chunk's CRC is right, as a damaged file rewritten by another tool
// would be: the last byte of the pixel data changed, its chunk's CRC made anew.
inline std::vector<uint8_t> WithBrokenPixelChecksum(std::vector<uint8_t> png) {
  auto be32 = [&png](size_t at) {
    return static_cast<uint32_t>(png[at]) << 24 | static_cast<uint32_t>(png[at + 1]) << 16 |
           static_cast<uint32_t>(png[at + 2]) << 8 | png[at + 3];
  };
  for (size_t pos = 8; pos + 12 <= png.size(); pos += 12 + be32(pos)) {
    if (std::memcmp(&png[pos + 4], "IDAT", 4) != 0) continue;
    const size_t length = be32(pos);
    png[pos + 8 + length - 1] ^= 0x5A;
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = pos + 4; i < pos + 8 + length; ++i) {
      crc ^= png[i];
      for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc = ~crc;
    for (int i = 0; i < 4; ++i) png[pos + 8 + length + static_cast<size_t>(i)] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    break;
  }
  return png;
}

// Writes a data pack with every picture and the music, leaving out the
// entry named `missing` (none when empty), with `music` as the music, and
// with the picture `damaged` failing its pixels' checksum.
inline void WriteTinyDataPack(const std::string& path, const std::string& missing = "",
                              const std::vector<uint8_t>& music = TinyWav(), const std::string& damaged = "") {
  pack_register_formats();
  int pack = pack_create(-1, path, kPackFormatData, 1);
  ASSERT_NE(pack, 0);
  const std::vector<uint8_t> png = TinyPng();
  const std::vector<uint8_t> broken = WithBrokenPixelChecksum(png);
  for (const std::string& name : PictureEntries()) {
    if (name != missing) {
      const std::vector<uint8_t>& bytes = name == damaged ? broken : png;
      ASSERT_TRUE(pack_add_memory(pack, name, bytes.data(), bytes.size()));
    }
  }
  if (missing != "music.ogg") {
    ASSERT_TRUE(pack_add_memory(pack, "music.ogg", music.data(), music.size()));
  }
  ASSERT_TRUE(pack_finish(pack));
}

// The texts the tests recognise in messages, in a language file of the
// game's syntax.
constexpr const char* kErrorWord = "Trouble";
constexpr const char* kSubsystemText = "A part is missing";
constexpr const char* kAssetText = "A picture is missing";
constexpr const char* kScreenText = "No screen";

inline std::string LanguageFile(const std::string& name, const std::string& start) {
  return "[LANGUAGE FILE]\r\ntLangFileNAME = " + name +
         "\r\ntLangFileVERSION = 1.0\r\n"
         "[Menu]\r\ntMenuSTART = " + start +
         "\r\n[Errors]\r\ntErrorERROR = " + kErrorWord + "\r\ntErrorSUBSYSTEM = " + kSubsystemText +
         "\r\ntErrorASSET = " + kAssetText + "\r\ntErrorSCREEN = " + kScreenText + "\r\n";
}

// The lines of a log file, without their CR LF ends.
inline std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<uint8_t> data;
  std::vector<std::string> lines;
  if (!file_read_all(path, &data)) return lines;
  std::string text(data.begin(), data.end());
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(text.substr(pos) + "<no CR LF>");
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// The log files in a folder ("Log *.log").
inline std::vector<std::string> LogFiles(const std::string& folder) {
  std::vector<std::string> logs;
  for (const std::string& name : folder_list(folder)) {
    if (name.rfind("Log ", 0) == 0 && name.size() > 8 && name.substr(name.size() - 4) == ".log") {
      logs.push_back(folder + name);
    }
  }
  return logs;
}

// One scratch installation: <cwd>/scratch/<test name>/ with prog/ (the
// program folder) and home/ (HOME and XDG_DATA_HOME). Made afresh by Make.
struct Installation {
  std::string root, prog, home, user;

  // kind: "tiny" (the tiny data pack and test languages) or "real" (the
  // build's packs); the cursor file is the build's in both.
  void Make(const std::string& kind, const std::string& missing = "") {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
      if (c == '/') c = '_';
    root = std::filesystem::current_path().string() + "/scratch/" + name + "/";
    prog = root + "prog/";
    home = root + "home/";
    user = home + "owlreach game studio/Duskmatch/";
    ASSERT_TRUE(folder_remove_all(root));
    ASSERT_TRUE(folder_make(prog));
    ASSERT_TRUE(folder_make(home));
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "en_GB.UTF-8", 1);
    std::string bin = BuildBin();
    ASSERT_FALSE(bin.empty()) << "DUSK_BINARY_DIR is not set";
    Copy(bin + "DuskmatchCursor.pack", prog + "DuskmatchCursor.pack");
    if (kind == "real") {
      Copy(bin + "DuskmatchData.pack", prog + "DuskmatchData.pack");
      Copy(bin + "DuskmatchLanguages.pack", prog + "DuskmatchLanguages.pack");
      return;
    }
    WriteTinyDataPack(prog + "DuskmatchData.pack", missing);
    std::string langs = prog + "DuskmatchLanguages.pack/";
    ASSERT_TRUE(folder_make(langs));
    Write(langs + "en_GB.language", LanguageFile("English (UK)", "Begin"));
    Write(langs + "de_DE.language", LanguageFile("Deutsch", "Neues Spiel"));
  }

  static std::string BuildBin() {
    const char* dir = std::getenv("DUSK_BINARY_DIR");
    return dir ? std::string(dir) + "/bin/" : std::string();
  }
  static void Copy(const std::string& from, const std::string& to) {
    std::vector<uint8_t> data;
    ASSERT_TRUE(file_read_all(from, &data)) << from;
    ASSERT_TRUE(file_write(to, data.data(), data.size()));
  }
  static void Write(const std::string& path, const std::string& text) {
    ASSERT_TRUE(file_write(path, text.data(), text.size()));
  }
  // Settings beside the program, or in the user folder.
  void SettingsBeside(const std::string& lines) const { Write(prog + "Duskmatch.prefs", "[Settings]\r\n" + lines); }
  void SettingsInUserFolder(const std::string& lines) const {
    ASSERT_TRUE(folder_make(user));
    Write(user + "Duskmatch.prefs", "[Settings]\r\n" + lines);
  }
  // The single log of a folder; empty when there is none or more than one.
  static std::vector<std::string> OnlyLog(const std::string& folder) {
    std::vector<std::string> logs = LogFiles(folder);
    return logs.size() == 1 ? ReadLines(logs[0]) : std::vector<std::string>();
  }
};

}  // namespace startup_test
