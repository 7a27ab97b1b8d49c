// Fitting full-screen pictures: used as they are at the screen's size,
// stretched when of the same rough shape, otherwise covering the screen in
// proportion and cut out of the middle.
#include <cmath>
#include <vector>

#include "game/assets.h"
#include "game/geometry.h"
#include "game/sprites.h"
#include "tests/game/view_fixture.h"

namespace view {
namespace {

// Band colours: stripe i of a striped picture, never black.
uint32_t Band(int i) { return 0xFF000000u | (static_cast<uint32_t>(i * 9 + 10) << 16) | (static_cast<uint32_t>(250 - i * 7) << 8) | 0x40u; }

class Fit : public ViewTest {
 protected:
  // Fits the picture into sprite 20 and shows it on the whole screen.
  void FitAndShow(const std::vector<uint8_t>& png) {
    ASSERT_NE(FitToScreen(png.data(), static_cast<int>(png.size()), 20), 0);
    EXPECT_EQ(sprite_width(20), ScreenWidth);
    EXPECT_EQ(sprite_height(20), ScreenHeight);
    EXPECT_FALSE(image_exists(kFitSourceImage));
    EXPECT_FALSE(image_exists(kFitResultImage));
    sprite_draw(20, 0, 0);
    ReadScreen();
  }

  // A w x h picture of stripes `band` pixels wide, across x (vertical) or y,
  // fitted to the screen: it must cover the screen in proportion, centred.
  // Checks every screen line against the stripe its centre should show
  // (away from stripe edges, which the smooth scaling blurs).
  void ExpectCoverCentred(int w, int h, int band, bool across_x) {
    FitAndShow(Png(w, h, [&](int x, int y) { return Band((across_x ? x : y) / band); }));
    const double scale = std::max(double(ScreenWidth) / w, double(ScreenHeight) / h);
    const int lines = across_x ? ScreenWidth : ScreenHeight;
    const double offset = ((across_x ? w : h) * scale - lines) / 2;  // equal cuts on both ends
    int checked = 0;
    for (int i = 0; i < lines; ++i) {
      const double src = (i + 0.5 + offset) / scale;
      const double in_band = std::fmod(src, band);
      if (in_band < 1.5 || in_band > band - 1.5) continue;
      const uint32_t want = Band(static_cast<int>(src / band)) & 0xFFFFFF;
      for (int j : {0, (across_x ? ScreenHeight : ScreenWidth) - 1}) {
        uint32_t got = across_x ? At(i, j) : At(j, i);
        ASSERT_NEAR(Red(got), Red(want), 2) << "line " << i;
        ASSERT_NEAR(Green(got), Green(want), 2) << "line " << i;
      }
      ++checked;
    }
    EXPECT_GT(checked, lines / 3);
    for (uint32_t p : px_) ASSERT_NE(p, 0u) << "a pixel was left uncovered";
  }
};

TEST_F(Fit, PictureOfTheScreenSizeIsUsedPixelForPixel) {
  OpenScreen(48, 30);
  auto argb = [](int x, int y) { return 0xFF000000u | (x * 5u << 16) | (y * 8u << 8) | ((x ^ y) & 0xFFu); };
  FitAndShow(Png(48, 30, argb));
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 48; ++x) ASSERT_EQ(At(x, y), argb(x, y) & 0xFFFFFF) << x << "," << y;
  }
  // Sprite 0 is a number like any other: the engine answers 1 for it.
  auto png = Png(48, 30, argb);
  ASSERT_NE(FitToScreen(png.data(), static_cast<int>(png.size()), 0), 0);
  sprite_draw(0, 0, 0);
  ReadScreen();
  EXPECT_EQ(At(47, 29), argb(47, 29) & 0xFFFFFF);
}

TEST_F(Fit, SameQuotientIsSqueezedWhole) {
  // 1920x1080 onto 1280x1024 (both quotients 1): the left eighth stays the
  // left eighth; covering in proportion would cut it off entirely.
  OpenScreen(1280, 1024);
  FitAndShow(Png(1920, 1080, [](int x, int y) { return x < 240 ? 0xFF00FF00u : (y < 540 ? 0xFF0000FFu : 0xFFFF0000u); }));
  EXPECT_EQ(At(0, 0), 0x00FF00u);
  EXPECT_EQ(At(155, 1023), 0x00FF00u);
  EXPECT_EQ(At(165, 500), 0x0000FFu);
  EXPECT_EQ(At(1279, 530), 0xFF0000u);
}

TEST_F(Fit, OtherShapesCoverTheScreenCutCentred) {
  // 4:3 onto 32:9: full width, the middle rows.
  OpenScreen(640, 180);
  ExpectCoverCentred(400, 300, 10, false);
  // A picture smaller than the screen, and one of under 100 pixels.
  ExpectCoverCentred(40, 30, 5, false);
  screen_close();
  // Landscape onto a portrait screen: full height, the middle columns.
  OpenScreen(180, 320);
  ExpectCoverCentred(320, 180, 10, true);
}

TEST_F(Fit, DataThatIsNoPictureGivesNoSprite) {
  OpenScreen(48, 30);
  std::vector<uint8_t> junk(500, 0x21);
  EXPECT_EQ(FitToScreen(junk.data(), static_cast<int>(junk.size()), 20), 0);
  EXPECT_EQ(sprite_exists(20), 0);
  EXPECT_FALSE(image_exists(kFitSourceImage));
}

}  // namespace
}  // namespace view
