// A 1280 x 720 screen on SDL's dummy driver with the game's fonts, stand-in
// pictures in plain colours for the panel, shadow, bar, arrows and boxes, and
// a language folder written by the test; reading back what was drawn.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/display.h"
#include "app/startup.h"
#include "engine/image/image_buffer.h"
#include "engine/screen/screen.h"
#include "engine/system/file.h"
#include "engine/text/text.h"
#include "game/geometry.h"
#include "game/sprites.h"
#include "tests/support/screen_fixture.h"
#include "ui/controls.h"
#include "ui/languages.h"
#include "ui/screen_modes.h"
#include "ui/settings.h"
#include "ui/text_keys.h"
#include "ui/text_sprites.h"

namespace ui_test {

constexpr int kW = 1280;
constexpr int kH = 720;
constexpr int kPanelW = 800;
constexpr int kPanelH = 600;
constexpr int kL = (kW - kPanelW) / 2;  // 240
constexpr int kT = (kH - kPanelH) / 2;  // 60
constexpr const char* kPack = "DuskmatchLanguages.pack";

struct Rgb {
  int r = 0, g = 0, b = 0;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Rgb& o) const { return !(*this == o); }
  int bgr() const { return r | (g << 8) | (b << 16); }  // the engine's colour value
};
inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}
// The board (kBoard) under the dimming sprite at intensity 128.
constexpr Rgb kDimmedBoard{0, 100, 0};
inline bool near(const Rgb& a, const Rgb& b) {
  return std::abs(a.r - b.r) <= 3 && std::abs(a.g - b.g) <= 3 && std::abs(a.b - b.b) <= 3;
}

// The stand-in pictures, each its own colour.
constexpr Rgb kBoard{0, 200, 0};          // what the board would be
constexpr Rgb kPanel{200, 200, 255};      // sprite 5
constexpr Rgb kShadow{255, 0, 0};         // sprite 6
constexpr Rgb kBar{255, 255, 0};          // sprite 9
constexpr Rgb kLeftArrow{0, 255, 0};      // image 26
constexpr Rgb kRightArrow{0, 0, 255};     // image 28
constexpr Rgb kLeftOff{128, 0, 128};      // sprite 27
constexpr Rgb kRightOff{0, 128, 128};     // sprite 29
constexpr Rgb kBox{0, 255, 255};          // sprite 30
constexpr Rgb kTickedBox{255, 128, 0};    // sprite 31
constexpr Rgb kTextPanel{241, 172, 71};   // behind every text
constexpr int kBarWidth = 400;

// The texts most tests run with: short, and of clearly different widths.
inline std::map<std::string, std::string> BaseTexts() {
  return {{"tLangFileNAME", "English"},
          {"tMenuSTART", "Start"},
          {"tMenuCONTINUE", "Continue"},
          {"tMenuSETTINGS", "Settings"},
          {"tMenuCREDITS", "Credits"},
          {"tMenuQUIT", "Quit"},
          {"tMenuYES", "Yes"},
          {"tMenuNO", "No"},
          {"tMenuOK", "OK"},
          {"tMenuCANCEL", "Cancel"},
          {"tMenuLANGUAGE", "Language"},
          {"tMenuMUSIC", "Music"},
          {"tMenuGAMESCREEN", "Display"},
          {"tMenuSCREENMODE", "Size"},
          {"tMenuFULLSCREEN", "Full screen"},
          {"tMenuWINDOWED", "A window with a frame"},
          {"tMenuBORDERLESS", "B"},
          {"tQuestionsSTART", "Start a new game?"},
          {"tQuestionsQUIT", "Quit now?"},
          {"tCreditsCODEDESIGN", "Code"},
          {"tCreditsPOINTER", "Pointer"},
          {"tCreditsMUSIC", "Music"},
          {"tCreditsGFX", "Graphics"}};
}

// Writes code + ".language" into the language folder: the header group with
// its name, every other key in one group.
inline void WriteLanguage(const std::string& code, const std::map<std::string, std::string>& texts) {
  std::string body = "[LANGUAGE FILE]\r\n";
  auto name = texts.find("tLangFileNAME");
  if (name != texts.end()) body += "tLangFileNAME = " + name->second + "\r\n";
  body += "[Menu]\r\n";
  for (const auto& [key, text] : texts)
    if (key != "tLangFileNAME") body += key + " = " + text + "\r\n";
  ASSERT_TRUE(file_write(std::string(kPack) + "/" + code + ".language", body.data(), body.size()));
}

// A language's texts made current, on empty texts.
inline void UseLanguage(const std::string& code) {
  ResetLanguages();
  ASSERT_EQ(LoadLanguage(kPack, code), 1);
  Language = code;
}

// The rounded width of a text in a font, measured on a scratch image.
inline int Measure(int font, const std::string& text) {
  int img = image_create(-1, 8, 8, 32, 0);
  EXPECT_NE(vector_start(image_vector_target(img, kVectorUnitPixel)), 0);
  vector_font(font_handle(font));
  double w = vector_text_width(text);
  vector_stop();
  image_free(img);
  return static_cast<int>(std::nearbyint(w));
}

// The pixels of a grabbed part of the screen.
struct Shot {
  ImageBuffer img;
  int x0 = 0, y0 = 0;
  // Screen coordinates.
  Rgb at(int x, int y) const {
    const uint8_t* p = img.row(y - y0) + (x - x0) * 4;
    return Rgb{p[2], p[1], p[0]};
  }
};

// Text ink: the text colour, or its blend with the panel colour (the dimmed
// texts included); neither the panel colour nor any stand-in picture.
inline bool Inked(const Rgb& c) { return c.r > 200 && c.g < 165 && c.b < 100; }

struct InkBox {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
  int pixels = 0;
  int darkestGreen = 255;  // the full-strength ink: lower for bright text than dimmed
  int width() const { return pixels ? right - left + 1 : 0; }
  double centre() const { return (left + right + 1) / 2.0; }
};

inline InkBox Ink(const Shot& s, int x0, int y0, int x1, int y1) {  // [x0, x1) x [y0, y1)
  InkBox b;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      Rgb c = s.at(x, y);
      if (!Inked(c)) continue;
      b.left = std::min(b.left, x);
      b.right = std::max(b.right, x);
      b.top = std::min(b.top, y);
      b.bottom = std::max(b.bottom, y);
      b.darkestGreen = std::min(b.darkestGreen, c.g);
      ++b.pixels;
    }
  return b;
}

class UiScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgram();
    ASSERT_NO_FATAL_FAILURE(test_screen::StartScreen(kGameWindow, kW, kH, "menus", kWindowCentred));
    ScreenWidth = kW;
    ScreenHeight = kH;
    for (int f = 0; f < 4; ++f) {
      const TextFontSpec& spec = kTextFonts[static_cast<size_t>(f)];
      ASSERT_NE(font_load(f, "Arial Black", spec.points, kFontHighQuality | (spec.bold ? kFontBold : 0)), 0);
    }
    Solid(kPanelSprite, kPanelW, kPanelH, kPanel);
    Solid(kPanelShadowSprite, kPanelW, kPanelH, kShadow);
    Solid(kGradientSprite, kBarWidth, 4, kBar);
    Solid(kLeftArrowOffSprite, 16, 16, kLeftOff);
    Solid(kRightArrowOffSprite, 16, 16, kRightOff);
    Solid(kBoxSprite, 16, 16, kBox);
    Solid(kTickedBoxSprite, 16, 16, kTickedBox);
    ASSERT_NE(image_create(kLeftArrowImage, 16, 16, 32, kLeftArrow.bgr()), 0);
    ASSERT_NE(image_create(kRightArrowImage, 16, 16, 32, kRightArrow.bgr()), 0);
    MakeDimSprite();
    std::filesystem::remove_all(kPack);
    ASSERT_TRUE(folder_make(kPack));
    WriteLanguage("en_GB", BaseTexts());
    UseLanguage("en_GB");
    ScreenModeList = {"1024x768", "1280x720", "1920x1080"};
    ScreenMode = "1280x720";
    GameScreen = kFullScreen;
  }
  void TearDown() override { ResetProgram(); }

 public:
  // An opaque sprite of one colour (alpha 255 everywhere).
  static void Solid(int number, int w, int h, const Rgb& c) {
    ASSERT_NE(sprite_create(number, w, h, 0), 0);
    ASSERT_NE(draw_start(sprite_draw_target(number)), 0);
    draw_box(0, 0, w, h, c.bgr());
    draw_stop();
    // Every pixel differs from the new transparent colour, so all turn opaque.
    sprite_transparent_color(number, c == Rgb{255, 0, 255} ? 0 : Rgb{255, 0, 255}.bgr());
  }

  // Covers the screen with one colour, as the board would.
  static void Fill(const Rgb& c) {
    Solid(60, kW, kH, c);
    sprite_draw(60, 0, 0);
  }

  // A rectangle of the screen as drawn so far.
  static Shot Grab(int x, int y, int w, int h) {
    Shot s;
    s.x0 = x;
    s.y0 = y;
    s.img = test_screen::GrabScreen(61, x, y, w, h, "grab.png");
    EXPECT_EQ(s.img.width, w);
    return s;
  }

  // A sprite drawn alone at (0, 0) over blue, and the screen's top-left
  // corner of width x height read back.
  static Shot Show(int sprite, int w, int h) {
    Fill(Rgb{0, 0, 255});
    sprite_draw(sprite, 0, 0);
    return Grab(0, 0, w, h);
  }

  // Milliseconds a call takes.
  static double Millis(const std::function<void()>& f) {
    auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }

  // The middle of a control, where any click hits it.
  static std::pair<int, int> Centre(int index) {
    const Control& c = Controls[static_cast<size_t>(index)];
    return {c.left + c.width / 2, c.top + ControlHeight(index) / 2};
  }
};

}  // namespace ui_test
