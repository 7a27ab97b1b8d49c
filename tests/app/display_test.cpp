// Display setup on the dummy video driver: the window sizes offered, the
// reading of a window size, the size chosen per window mode, opening and
// closing in each mode with the log lines, and the dimming sprite.
#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "app/display.h"
#include "app/folders.h"
#include "app/log.h"
#include "app/startup.h"
#include "engine/image/image_buffer.h"
#include "engine/pack/pack.h"
#include "engine/screen/screen.h"
#include "engine/system/file.h"
#include "game/geometry.h"
#include "game/sprites.h"
#include "tests/app/startup_harness.h"
#include "tests/support/image_probe.h"
#include "tests/support/screen_probe.h"
#include "ui/screen_modes.h"
#include "ui/settings.h"

namespace {

// The highest resident size this process has had, in KiB.
size_t PeakResidentKb() {
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<size_t>(usage.ru_maxrss);
}

TEST(ScreenModes, ListKeepsWideModesOnceInStringOrder) {
  ResetDisplay();
  // As a display reports them: several depths and refresh rates per size.
  const int modes[][2] = {{1920, 1080}, {1920, 1080}, {800, 600},   {1280, 720},  {1023, 768},
                          {1280, 1024}, {1024, 768},  {1366, 768},  {1280, 720},  {2560, 1440},
                          {1024, 600},  {640, 480},   {1920, 1080}, {10240, 4320}};
  for (const auto& m : modes) AddScreenMode(m[0], m[1]);
  SortScreenModes();
  // "1280x1024" before "1280x720", "10240x4320" before "1024x768": text order.
  EXPECT_EQ(ScreenModeList,
            (std::vector<std::string>{"10240x4320", "1024x600", "1024x768", "1280x1024", "1280x720", "1366x768",
                                      "1920x1080", "2560x1440"}));
  ResetDisplay();
}

TEST(ScreenModes, BuiltFromTheDisplayFollowsTheSameRules) {
  ResetProgram();
  ASSERT_NE(sprite_system_start(), 0);
  for (int round = 0; round < 2; ++round) {  // a second build starts afresh
    BuildScreenModeList();
    std::vector<std::string> seen;
    for (const std::string& mode : ScreenModeList) {
      int w = 0, h = 0;
      SplitScreenMode(mode, &w, &h);
      EXPECT_GE(w, 1024) << mode;
      EXPECT_GT(h, 0) << mode;
      EXPECT_EQ(std::to_string(w) + "x" + std::to_string(h), mode);
      EXPECT_EQ(std::count(seen.begin(), seen.end(), mode), 0) << mode;
      seen.push_back(mode);
    }
    EXPECT_TRUE(std::is_sorted(ScreenModeList.begin(), ScreenModeList.end()));
  }
  ResetProgram();
}

TEST(ScreenModes, SplitReadsTheLeadingNumberOfEachField) {
  const struct {
    const char* text;
    int width, height;
  } cases[] = {
      {"1280x720", 1280, 720},   {"  1024x 768", 1024, 768}, {"1280x720x32", 1280, 720},
      {"1600", 1600, 0},         {"x900", 0, 900},           {"", 0, 0},
      {"abc", 0, 0},             {"12a4x7b9", 12, 7},        {"1280X720", 1280, 0},
      {"-5x+6", -5, 6},          {"99999999999x1", INT_MAX, 1},
  };
  for (const auto& c : cases) {
    int w = -1, h = -1;
    SplitScreenMode(c.text, &w, &h);
    EXPECT_EQ(w, c.width) << '"' << c.text << '"';
    EXPECT_EQ(h, c.height) << '"' << c.text << '"';
  }
}

TEST(WindowSize, FitsOnlyWhatARendererHoldsAndMemoryKeeps) {
  const long long kGiB = 1LL << 30;
  const struct {
    int width, height, largestSide;
    long long memory;
    bool fits;
  } cases[] = {
      {1280, 720, 0, 8 * kGiB, true},      {1, 1, 0, 8 * kGiB, true},
      {0, 0, 0, 8 * kGiB, false},          {0, 720, 0, 8 * kGiB, false},
      {-5, -5, 0, 8 * kGiB, false},        {1280, -720, 0, 8 * kGiB, false},
      {99999, 1, 0, 8 * kGiB, false},      {1, 99999, 0, 8 * kGiB, false},
      {16385, 1, 0, 8 * kGiB, false},      {16384, 2025, 0, 64 * kGiB, true},  // 8K's pixels exactly
      {16384, 2026, 0, 64 * kGiB, false},  {16384, 16384, 0, 64 * kGiB, false},
      {7680, 4320, 0, 64 * kGiB, true},    {7681, 4320, 0, 64 * kGiB, false},
      {8192, 720, 8192, 8 * kGiB, true},   {8193, 720, 8192, 8 * kGiB, false},  // the renderer's limit
      {16385, 1, 32768, 8 * kGiB, false},  // never beyond the windows' own limit
      {1920, 1080, 0, 1 * kGiB, true},     {3840, 2160, 0, 1 * kGiB, false},  // a quarter of 1 GiB
      {7680, 4320, 0, 0, true},            {7681, 4320, 0, 0, false},  // memory unknown
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WindowSizeFits(c.width, c.height, c.largestSide, c.memory), c.fits)
        << c.width << "x" << c.height << ", side " << c.largestSide << ", memory " << c.memory;
  }
}

TEST(WindowTitle, NamesGameVersionPublisherAndAddress) {
  EXPECT_EQ(WindowTitle(), "Duskmatch 1.0 - Vornhollow Interactive (www.owlreach.example)");
}

// A screen service started, a log open in a scratch folder, the build's
// pointer file in GameDir.
class Display : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgram();
    inst.Make("tiny");
    GameDir = inst.prog;
    ASSERT_NE(sprite_system_start(), 0);
    ASSERT_EQ(OpenLog(inst.root + "display.log", "Duskmatch"), 1);
    EnableLog();
  }
  void TearDown() override { ResetProgram(); }
  // The log lines after the header.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines = startup_test::ReadLines(inst.root + "display.log");
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
  }
  void Open(int mode, const std::string& size = kDefaultScreenMode) {
    GameScreen = mode;
    ScreenMode = size;
    ChooseScreenSize();
    OpenDisplay();
  }
  startup_test::Installation inst;
};

TEST_F(Display, OnlyTheWindowedModeUsesTheWindowSize) {
  desktops_examine();
  const int dw = desktop_width(0), dh = desktop_height(0);
  ASSERT_GT(dw, 0);
  ScreenMode = "1600x900";
  for (int mode : {0, 2, 7}) {
    GameScreen = mode;
    ChooseScreenSize();
    EXPECT_EQ(ScreenWidth, dw) << mode;
    EXPECT_EQ(ScreenHeight, dh) << mode;
  }
  GameScreen = kWindowed;
  ChooseScreenSize();
  EXPECT_EQ(ScreenWidth, 1600);
  EXPECT_EQ(ScreenHeight, 900);
}

TEST_F(Display, EachModeOpensAndLogsItsLabelAndSize) {
  desktops_examine();
  const std::string dw = std::to_string(desktop_width(0)), dh = std::to_string(desktop_height(0));
  const struct {
    int mode;
    const char* label;
    bool window;
    std::string width, height;
  } cases[] = {
      {kFullScreen, "Opening screen (Fullscreen):", false, dw, dh},
      {kWindowed, "Opening screen (Windowed):", true, "1280", "720"},
      {kBorderless, "Opening screen (Borderless):", true, dw, dh},
  };
  size_t at = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Open(c.mode);
    EXPECT_EQ(Screen, 1);
    EXPECT_TRUE(screen_is_open());
    EXPECT_EQ(screen_in_window() != 0, c.window);
    EXPECT_EQ(window_exists(kGameWindow) != 0, c.window);
    EXPECT_EQ(std::to_string(screen_width()), c.width);
    std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), at + 3);
    EXPECT_EQ(lines[at], std::string(c.label) + "\t\tOK");
    EXPECT_EQ(lines[at + 1], "Screenwidth:\t\t" + c.width);
    EXPECT_EQ(lines[at + 2], "Screenheight:\t\t" + c.height);
    at += 3;
    CloseDisplay(c.mode);
    EXPECT_EQ(Screen, 0);
    EXPECT_FALSE(screen_is_open());
    EXPECT_FALSE(window_exists(kGameWindow));
  }
}

TEST_F(Display, FailuresLeaveNoScreenAndUnknownModesNoLine) {
  Open(7);
  EXPECT_EQ(Screen, 0);
  EXPECT_TRUE(Lines().empty());
  Open(-1);
  EXPECT_TRUE(Lines().empty());

  // A window the system cannot make: the failed line, no size lines.
  Open(kWindowed, "0x720");
  EXPECT_EQ(Screen, 0);
  EXPECT_FALSE(screen_is_open());
  EXPECT_EQ(Lines(), std::vector<std::string>{"Opening screen (Windowed):\t\tFAILED"});
}

// Sizes from an edited settings file fail before any window is made, with
// no more memory taken than a small window needs.
TEST_F(Display, WindowSizesThatCannotWorkOpenNothing) {
  const size_t peak_before = PeakResidentKb();
  size_t lines = 0;
  for (const char* size : {"0x0", "-5x-5", "99999x1", "1x99999", "16385x720", "16384x4096", "16384x16384"}) {
    SCOPED_TRACE(size);
    Open(kWindowed, size);
    EXPECT_EQ(Screen, 0);
    EXPECT_FALSE(screen_is_open());
    EXPECT_FALSE(window_exists(kGameWindow));
    std::vector<std::string> log = Lines();
    ASSERT_EQ(log.size(), ++lines);
    EXPECT_EQ(log.back(), "Opening screen (Windowed):\t\tFAILED");
  }
  EXPECT_LT(PeakResidentKb(), peak_before + 64 * 1024);
  // The same sizes mean nothing to the other modes.
  Open(kBorderless, "16384x16384");
  EXPECT_EQ(Screen, 1);
}

TEST_F(Display, AMissingPointerFileIsNoFailure) {
  ASSERT_TRUE(file_remove(inst.prog + kCursorPackName));
  CursorHandle = 12345;
  Open(kWindowed);
  EXPECT_EQ(Screen, 1);
  EXPECT_EQ(CursorHandle, 0);
  EXPECT_EQ(Lines().size(), 3u);
}

TEST_F(Display, TheWindowsTakeTheIconOfTheDataPack) {
  // A data pack holding only the icon, a 3 x 2 picture.
  ImageBuffer picture;
  picture.width = 3;
  picture.height = 2;
  picture.pixels.assign(3 * 2 * 4, 200);
  std::vector<uint8_t> png;
  ASSERT_TRUE(image_encode(picture, kImageFormatPNG, &png));
  const int pack = pack_create(-1, inst.prog + "DuskmatchData.pack", kPackFormatData, 1);
  ASSERT_NE(pack, 0);
  ASSERT_TRUE(pack_add_memory(pack, "icon.png", png.data(), png.size()));
  ASSERT_TRUE(pack_finish(pack));
  size_t lines = 0;
  for (int mode : {kWindowed, kFullScreen, kBorderless}) {
    SCOPED_TRACE(mode);
    Open(mode);
    ASSERT_EQ(Screen, 1);
    ASSERT_NE(WindowIcon, 0);
    EXPECT_EQ(image_width(WindowIcon), 3);
    EXPECT_EQ(image_height(WindowIcon), 2);
    EXPECT_NE(GiveWindowsTheIcon(), 0);
    // The icon has no log line of its own: the open's three are all.
    lines += 3;
    EXPECT_EQ(Lines().size(), lines);
    CloseDisplay(mode);
  }
  EXPECT_EQ(GiveWindowsTheIcon(), 0) << "no window is open";
}

TEST_F(Display, ADataPackWithoutTheIconIsNoFailure) {
  // The tiny data pack has every picture of the game but not the icon.
  Open(kWindowed);
  EXPECT_EQ(Screen, 1);
  EXPECT_EQ(WindowIcon, 0);
  EXPECT_EQ(GiveWindowsTheIcon(), 0);
  EXPECT_EQ(Lines().size(), 3u);
  CloseDisplay(kWindowed);
  ASSERT_TRUE(file_remove(inst.prog + "DuskmatchData.pack"));
  Open(kBorderless);
  EXPECT_EQ(Screen, 1);
  EXPECT_EQ(WindowIcon, 0);
}

TEST_F(Display, ReopeningInAnotherModeReplacesTheWindow) {
  Open(kBorderless);
  ASSERT_EQ(Screen, 1);
  const uint32_t old_id = window_system_id(kGameWindow);
  CloseDisplay(kBorderless);
  EXPECT_FALSE(window_exists(kGameWindow));
  Open(kWindowed, "1024x768");
  ASSERT_EQ(Screen, 1);
  EXPECT_NE(window_system_id(kGameWindow), old_id);
  EXPECT_EQ(screen_width(), 1024);
  EXPECT_EQ(screen_height(), 768);
  FinishDisplay();
  EXPECT_EQ(sprite_width(kDimSprite), 1024);
  EXPECT_EQ(sprite_height(kDimSprite), 768);
}

// The dimming sprite must cover: drawn at half intensity over white it
// halves the white everywhere, drawn fully it is black.
TEST_F(Display, DimSpriteIsOpaqueBlackOverTheWholeScreen) {
  Open(kWindowed, "1024x768");
  ASSERT_EQ(Screen, 1);
  MakeDimSprite();
  ASSERT_TRUE(sprite_exists(kDimSprite));
  const int white = sprite_create(-1, 1024, 768, kSpriteKeepAlpha);
  ASSERT_NE(white, 0);
  ASSERT_NE(draw_start(sprite_draw_target(white)), 0);
  draw_box(0, 0, 1024, 768, 0xFFFFFF);
  draw_stop();

  for (int intensity : {128, 255}) {
    SCOPED_TRACE(intensity);
    sprite_draw(white, 0, 0);
    sprite_draw_blended(kDimSprite, 0, 0, intensity);
    ASSERT_NE(sprite_grab_screen(3, 0, 0, 1024, 768), 0);
    const std::string shot = inst.root + "dim.png";
    ASSERT_NE(sprite_save(3, shot, kImageFormatPNG), 0);
    std::vector<uint8_t> data;
    ASSERT_TRUE(file_read_all(shot, &data));
    std::unique_ptr<ImageBuffer> image = image_decode(data.data(), data.size());
    ASSERT_TRUE(image);
    const int expected = 255 - intensity;
    for (int y : {0, 383, 767}) {
      for (int x : {0, 511, 1023}) {
        const uint8_t* p = image->row(y) + x * 4;
        for (int channel = 0; channel < 3; ++channel) {
          EXPECT_NEAR(p[channel], expected, 2) << x << "," << y;
        }
      }
    }
    screen_flip();
  }
}

}  // namespace
