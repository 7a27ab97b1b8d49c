// Loading the data pack: the log of a full load, which entry becomes which
// picture and how, the reload, the music, and every fatal path.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/asset_load.h"
#include "app/folders.h"
#include "app/log.h"
#include "game/assets.h"
#include "game/sprites.h"
#include "tests/game/view_fixture.h"
#include "tests/support/image_probe.h"

namespace view {
namespace {

// A short silent 16-bit mono WAV: the sound service takes it like music.
std::vector<uint8_t> ShortWav() {
  const uint8_t header[44] = {'R', 'I', 'F', 'F', 36 + 64, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                              1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0, 'd', 'a', 't', 'a', 64, 0, 0, 0};
  std::vector<uint8_t> wav(header, header + 44);
  wav.resize(44 + 64, 0);
  return wav;
}

struct Entry {
  std::string name;
  std::vector<uint8_t> bytes;
};

// Colours of the test pack's pictures, so a drawn pixel tells which one it is.
uint32_t BackgroundColour(int n) { return 0xFF000000u | (static_cast<uint32_t>(40 * n) << 8) | 0x20u; }
uint32_t BackColour(int set) { return 0xFF000000u | (static_cast<uint32_t>(100 * set) << 16); }
uint32_t FaceColour(int set, int card) {
  return 0xFF000000u | (static_cast<uint32_t>(200 + set) << 16) | (static_cast<uint32_t>(card * 10) << 8) | 0x80u;
}

// Every entry of a complete data pack, in the game's load order, with the
// names written out here from the naming rules (not asked of the loader).
std::vector<Entry> FullPack() {
  std::vector<Entry> e;
  for (int n = 1; n <= 4; ++n) e.push_back({"background " + std::to_string(n) + ".png", SolidPng(64, 36, BackgroundColour(n))});
  for (int set = 1; set <= 2; ++set) e.push_back({std::to_string(set) + "-back.png", SolidPng(8, 8, BackColour(set))});
  for (int set = 1; set <= 2; ++set) {
    for (int card = 1; card <= 24; ++card) {
      char name[32];
      std::snprintf(name, sizeof name, "%d-card%02d.png", set, card);
      e.push_back({name, SolidPng(6, 6, FaceColour(set, card))});
    }
  }
  for (const char* name : {"shadow.png", "menu.png", "menushadow.png", "well done shadow.png", "well done.png",
                           "gradient.png", "pointer.png", "left.png", "left off.png", "right.png",
                           "right off.png", "box.png", "boxx.png"}) {
    e.push_back({name, SolidPng(4, 4, 0xFF102030u)});
  }
  e.push_back({"title.png", SolidPng(32, 18, 0xFF405060u)});
  e.push_back({"ogs.png", SolidPng(32, 18, 0xFF605040u)});
  e.push_back({"music.ogg", ShortWav()});
  return e;
}

Entry* Find(std::vector<Entry>& entries, const std::string& name) {
  for (auto& e : entries) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

void WritePack(const std::string& path, const std::vector<Entry>& entries) {
  int pack = pack_create(-1, path, kPackFormatData);
  ASSERT_NE(pack, 0);
  for (const auto& e : entries) ASSERT_TRUE(pack_add_memory(pack, e.name, e.bytes.data(), e.bytes.size())) << e.name;
  ASSERT_TRUE(pack_finish(pack));
}


// The log lines of a complete, successful picture load.
std::vector<std::string> ExpectedLoadLog() {
  std::vector<std::string> lines;
  for (const auto& e : FullPack()) {
    if (e.name == "music.ogg") continue;
    lines.push_back((e.name == "left off.png" ? "Load asset left off.png:" : "Load asset (" + e.name + "):") +
                    std::string("\t\tOK"));
  }
  return lines;
}

// The game's folder is the test's scratch folder; the log and the folders
// start fresh for each test.
class Assets : public ViewTest {
 protected:
  void SetUp() override {
    ResetLog();
    ResetFolders();
    ViewTest::SetUp();
    GameDir = dir_;
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  }
  void TearDown() override {
    ResetLog();
    ViewTest::TearDown();
  }
  std::string PackPath() const { return dir_ + "DuskmatchData.pack"; }

  std::string LogPath() const { return dir_ + "test.log"; }
  void StartLog() {
    ASSERT_EQ(OpenLog(LogPath(), "Duskmatch"), 1);
    EnableLog();
  }
  // The log's lines after its header.
  std::vector<std::string> LogBody() {
    auto lines = test_screen::CrLfLines(LogPath());
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
  }

};

TEST_F(Assets, EntryNamesArePaddedToTwoDigits) {
  EXPECT_EQ(CardFaceEntry(2, 7), "2-card07.png");
  EXPECT_EQ(CardFaceEntry(2, 10), "2-card10.png");
  EXPECT_EQ(CardFaceEntry(1, 1), "1-card01.png");
  EXPECT_EQ(BackgroundEntry(4), "background 4.png");
  EXPECT_EQ(CardBackEntry(1), "1-back.png");
}

TEST_F(Assets, FullLoadLogsEveryPictureInOrderAndReloadMakesNewHandles) {
  OpenScreen(320, 200);
  auto entries = FullPack();
  // A background over the small-picture buffer still fits its own.
  Find(entries, "background 3.png")->bytes = Png(400, 300, [](int x, int y) {
    return 0xFF000000u | ((x * 7919u + y * 104729u) * 2654435761u >> 8);
  });
  ASSERT_GT(Find(entries, "background 3.png")->bytes.size(), static_cast<size_t>(kPictureBuffer));
  // Exactly the capacity is still accepted: padding after the picture's end.
  auto& face = Find(entries, "1-card09.png")->bytes;
  face.resize(kPictureBuffer, 0);
  WritePack(PackPath(), entries);
  StartLog();

  LoadGameAssets();
  EXPECT_EQ(LogBody(), ExpectedLoadLog());
  for (int b : Backgrounds) {
    EXPECT_EQ(sprite_width(b), 320);
    EXPECT_EQ(sprite_height(b), 200);
  }
  for (int s : {kTitleSprite, kLogoSprite}) EXPECT_EQ(sprite_width(s) * 1000 + sprite_height(s), 320200);
  for (int s : {kPointerSprite, kShadowSprite, kPanelSprite, kPanelShadowSprite, kWellDoneSprite,
                kWellDoneShadowSprite, kGradientSprite, kLeftArrowOffSprite, kRightArrowOffSprite, kBoxSprite,
                kTickedBoxSprite}) {
    EXPECT_EQ(sprite_width(s), 4) << "sprite " << s;
  }
  EXPECT_EQ(image_width(kLeftArrowImage), 4);
  EXPECT_EQ(image_width(kRightArrowImage), 4);
  EXPECT_FALSE(image_exists(kFitSourceImage));
  EXPECT_FALSE(image_exists(kFitResultImage));

  // Each table slot holds the picture of its own entry: draw a few and look.
  struct Probe { int sprite; uint32_t colour; };
  const Probe probes[] = {{Backgrounds[0], BackgroundColour(1)}, {Backgrounds[3], BackgroundColour(4)},
                          {CardSets[0].Back, BackColour(1)},      {CardSets[1].Back, BackColour(2)},
                          {CardSets[0].Faces[1], FaceColour(1, 1)}, {CardSets[0].Faces[9], FaceColour(1, 9)},
                          {CardSets[1].Faces[7], FaceColour(2, 7)}, {CardSets[1].Faces[24], FaceColour(2, 24)}};
  for (const Probe& p : probes) {
    sprite_zoom(p.sprite, 10, 10);
    sprite_draw(p.sprite, 0, 0);
    ReadScreen();
    EXPECT_EQ(At(5, 5), p.colour & 0xFFFFFF) << std::hex << p.colour;
  }

  // A reload writes the same lines again and replaces the numbered pictures'
  // handles, freeing the old sprites.
  const auto old_backgrounds = Backgrounds;
  const int old_face = CardSets[1].Faces[24];
  LoadGameAssets();
  auto twice = ExpectedLoadLog();
  auto again = ExpectedLoadLog();
  twice.insert(twice.end(), again.begin(), again.end());
  EXPECT_EQ(LogBody(), twice);
  for (size_t i = 0; i < old_backgrounds.size(); ++i) {
    EXPECT_NE(Backgrounds[i], old_backgrounds[i]);
    EXPECT_EQ(sprite_exists(old_backgrounds[i]), 0);
    EXPECT_NE(sprite_exists(Backgrounds[i]), 0);
  }
  EXPECT_EQ(sprite_exists(old_face), 0);
}

TEST_F(Assets, AlphaPicturesKeepTheirAlphaAndKeyedOnesLoseBlack) {
  OpenScreen(64, 32);
  auto entries = FullPack();
  // Black, and half-transparent red: into one alpha sprite and one keyed one each.
  Find(entries, "shadow.png")->bytes = SolidPng(4, 4, 0xFF000000u);
  Find(entries, "gradient.png")->bytes = SolidPng(4, 4, 0xFF000000u);
  Find(entries, "menu.png")->bytes = SolidPng(4, 4, 0x80FF0000u);
  Find(entries, "box.png")->bytes = SolidPng(4, 4, 0x80FF0000u);
  WritePack(PackPath(), entries);
  LoadGameAssets();
  sprite_draw(Backgrounds[0], 0, 0);
  for (int s : {kShadowSprite, kGradientSprite, kPanelSprite, kBoxSprite}) sprite_zoom(s, 8, 8);
  sprite_draw_blended(kShadowSprite, 0, 0, 255);
  sprite_draw_blended(kGradientSprite, 10, 0, 255);
  sprite_draw_blended(kPanelSprite, 20, 0, 255);
  sprite_draw_blended(kBoxSprite, 30, 0, 255);
  ReadScreen();
  const uint32_t bg = BackgroundColour(1) & 0xFFFFFF;
  EXPECT_EQ(At(4, 4), 0x000000u);  // alpha channel: opaque black
  EXPECT_EQ(At(14, 4), bg);        // colour key: black is transparent
  EXPECT_NEAR(Red(At(24, 4)), 128, 2);  // alpha channel: half red over the background
  EXPECT_NEAR(Green(At(24, 4)), Green(bg) / 2, 2);
  EXPECT_EQ(At(34, 4), 0xFF0000u);  // colour key: its own alpha replaced, opaque
}

TEST_F(Assets, MusicLoadsAsSoundZero) {
  ASSERT_NE(sound_system_start(), 0);
  WritePack(PackPath(), FullPack());
  StartLog();
  LoadMusic();
  EXPECT_NE(sound_status(kMusicSound), kSoundMissing);
  EXPECT_EQ(LogBody(), std::vector<std::string>{"Load asset (music.ogg):\t\tOK"});
}

// Every way a load can fail ends the program with exit code 0 after a FAILED
// line naming the entry, every picture before it having logged OK.
TEST_F(Assets, EveryFailureEndsTheProgramNamingTheEntry) {
  struct Case {
    const char* entry;      // the entry spoiled ("" for the whole pack)
    int spoil;              // 0 missing, 1 one byte over its buffer, 2 not a picture, 3 cut short
    bool music;             // LoadMusic instead of LoadGameAssets
    const char* label;      // the last log line's label
    size_t oks;             // OK lines before it
  };
  const Case cases[] = {
      {"ogs.png", 0, false, "Load asset (ogs.png):", 68},
      {"1-card05.png", 1, false, "Load asset (1-card05.png):", 10},
      {"left off.png", 2, false, "Load asset (left off.png):", 62},
      {"background 2.png", 3, false, "Load asset (background 2.png):", 1},
      {"", 0, false, "Load asset ():", 0},
      {"", 0, true, "Load asset (music.ogg):", 0},
      {"music.ogg", 0, true, "Load asset (music.ogg):", 0},
      {"music.ogg", 2, true, "Load asset (music.ogg):", 0},
      // The two larger buffers are bounds too (last: the child of each case
      // writes the packs of all cases before it again).
      {"title.png", 1, false, "Load asset (title.png):", 67},
      {"music.ogg", 1, true, "Load asset (music.ogg):", 0},
  };
  OpenScreen(64, 32);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    auto entries = FullPack();
    (void)file_remove(PackPath());
    if (*c.entry != 0) {
      auto it = std::find_if(entries.begin(), entries.end(), [&c](const Entry& e) { return e.name == c.entry; });
      if (c.spoil == 0) entries.erase(it);
      if (c.spoil == 1) {
        const bool screen_sized = std::string(c.entry) == "title.png";
        it->bytes.resize((c.music ? kMusicBuffer : screen_sized ? kScreenPictureBuffer : kPictureBuffer) + 1, 0);
      }
      if (c.spoil == 2) it->bytes.assign(300, 0x5A);
      if (c.spoil == 3) it->bytes.resize(it->bytes.size() / 2);
      WritePack(PackPath(), entries);
    }
    // The log opens in the child alone: on Windows a log open for writing
    // in this process could be neither removed nor opened again there.
    if (c.music) {
      EXPECT_EXIT({ StartLog(); LoadMusic(); }, ::testing::ExitedWithCode(0), "");
    } else {
      EXPECT_EXIT({ StartLog(); LoadGameAssets(); }, ::testing::ExitedWithCode(0), "");
    }
    // No ASSERT here: a death test's child runs this loop too, up to its own
    // case, and must not leave it early.
    auto expected = ExpectedLoadLog();
    expected.resize(c.oks);
    expected.push_back(std::string(c.label) + "\t\tFAILED");
    EXPECT_EQ(LogBody(), expected);
  }
}

}  // namespace
}  // namespace view
