// Large pictures held only while they are shown: on the software screen a
// sprite of a megabyte or more that is not drawn for a second gives its
// pixels back when they can be made again, and shows exactly as before
// when it is drawn again.
#include <cstring>
#include <string>

#include "tests/engine/screen/screen_fixture.h"
#include "tests/support/environment.h"

namespace {

// 640 x 480 pixels: 1.2 MB, a large sprite.
constexpr int kBigW = 640, kBigH = 480;

// A picture whose every pixel differs from its neighbours, with clear,
// solid and half-clear parts, so that a wrong decode would show.
std::vector<uint32_t> busy_picture() {
  std::vector<uint32_t> px(static_cast<size_t>(kBigW) * kBigH);
  for (int y = 0; y < kBigH; ++y)
    for (int x = 0; x < kBigW; ++x) {
      const uint32_t alpha = (x / 40) % 3 == 0 ? 0u : (x / 40) % 3 == 1 ? 255u : 128u;
      px[static_cast<size_t>(y) * kBigW + x] = alpha << 24 | static_cast<uint32_t>(x * 7 + y * 13) % 256 << 16 |
                                               static_cast<uint32_t>(x * y) % 256 << 8 | 0x40u;
    }
  return px;
}

class SpriteKeep : public ScreenTest {
 protected:
  // Passes with nothing drawn but `keep`, enough for an idle sprite to go.
  static void idle(int keep = -1) {
    for (int i = 0; i < 70; ++i) {
      if (keep >= 0) sprite_draw(keep, 0, 0);
      screen_flip();
    }
  }
  // The screen after drawing a grey cover and then the sprite at (-300, -200),
  // opaque or blended.
  std::vector<uint32_t> shown(int sprite, bool blended) {
    fill_screen(0x808080);
    if (blended) {
      sprite_draw_blended(sprite, -300, -200, 200);
    } else {
      sprite_draw(sprite, -300, -200);
    }
    screen_flip();
    return read_screen();
  }
  static int64_t held() { return screen_stats().bytes_held; }
};

TEST_F(SpriteKeep, APictureNotDrawnForASecondGoesAndComesBackTheSame) {
  ASSERT_TRUE(screen_stats().software);
  const std::vector<uint32_t> pic = busy_picture();
  ASSERT_NE(sprite_of(1, kBigW, kBigH, pic, kSpriteKeepAlpha), 0);  // its own alpha
  ASSERT_NE(sprite_of(2, kBigW, kBigH, pic, 0), 0);                 // black made clear
  ASSERT_NE(sprite_of(3, 20, 20, std::vector<uint32_t>(400, 0xFF123456u), 0), 0);  // small
  const std::vector<uint32_t> first_1 = shown(1, true), first_2 = shown(2, true);
  const int64_t all = held();
  idle(3);
  const int64_t picture = int64_t{kBigW} * kBigH * 4;
  EXPECT_EQ(all - held(), 2 * picture) << "both large pictures go, the small one stays";
  EXPECT_EQ(shown(1, true), first_1);
  EXPECT_EQ(shown(2, true), first_2);
  EXPECT_EQ(held(), all) << "drawn again, they are held again";
  // A sprite drawn in every pass is never given back.
  idle(1);
  EXPECT_EQ(held(), all - picture);
}

TEST_F(SpriteKeep, APictureMadeAndNotYetShownGoesAfterAPass) {
  // As the title and the backgrounds at start-up: loaded before the first
  // frame, not on it.
  fill_screen(0x808080);
  screen_flip();
  const int64_t before = held();
  ASSERT_NE(sprite_of(1, kBigW, kBigH, busy_picture(), 0), 0);
  screen_flip();  // the pass it was made in keeps it
  EXPECT_EQ(held() - before, int64_t{kBigW} * kBigH * 4);
  screen_flip();
  EXPECT_EQ(held(), before);
  EXPECT_EQ(sprite_width(1), kBigW);
}

TEST_F(SpriteKeep, APictureFittedToASizeComesBackFittedTheSame) {
  const std::vector<uint32_t> pic = busy_picture();
  const std::vector<uint8_t> png = png_of(kBigW, kBigH, pic);
  auto choose = [](int w, int h, ImageRect* rect) {
    *rect = ImageRect{w / 4, h / 4, w / 2, h / 2};  // the middle, stretched
    return true;
  };
  ASSERT_NE(sprite_from_memory_fitted(4, png.data(), png.size(), 700, 500, choose), 0);
  EXPECT_EQ(sprite_width(4), 700);
  const std::vector<uint32_t> first = shown(4, false);
  const int64_t all = held();
  idle();
  EXPECT_EQ(all - held(), int64_t{700} * 500 * 4);
  EXPECT_EQ(shown(4, false), first);
}

TEST_F(SpriteKeep, APictureWantedLaterIsCheckedNowAndMadeWhenFirstDrawn) {
  const std::vector<uint8_t> png = png_of(kBigW, kBigH, busy_picture());
  auto whole = [](int, int, ImageRect*) { return false; };
  fill_screen(0x808080);
  screen_flip();
  const int64_t before = held();
  ASSERT_NE(sprite_from_memory_fitted(8, png.data(), png.size(), kBigW, kBigH, whole, kSpriteLater), 0);
  ASSERT_NE(sprite_from_memory_fitted(9, png.data(), png.size(), kBigW, kBigH, whole, kSpriteLater), 0);
  EXPECT_EQ(held(), before) << "checked, not kept";
  EXPECT_EQ(sprite_width(8), kBigW);
  // A picture that does not decode is refused at once, as without the flag.
  std::vector<uint8_t> cut(png.begin(), png.begin() + static_cast<ptrdiff_t>(png.size() / 2));
  EXPECT_EQ(sprite_from_memory_fitted(10, cut.data(), cut.size(), kBigW, kBigH, whole, kSpriteLater), 0);
  EXPECT_FALSE(sprite_exists(10));
  // Drawn, it is the picture made at once.
  ASSERT_NE(sprite_from_memory_fitted(11, png.data(), png.size(), kBigW, kBigH, whole), 0);
  EXPECT_EQ(shown(8, false), shown(11, false));
  EXPECT_EQ(held() - before, 2 * int64_t{kBigW} * kBigH * 4);
}

TEST_F(SpriteKeep, OneColourAllOverIsDrawnFromTheColourAndRemadeWhenNeeded) {
  // The game's dimming sprite: made, filled black, made solid by a white
  // key. It is one colour all along and needs no pixels.
  fill_screen(0x808080);
  const int64_t before = held();
  ASSERT_NE(sprite_create(5, kBigW, kBigH, kSpriteKeepAlpha), 0);
  ASSERT_NE(draw_start(sprite_draw_target(5)), 0);
  draw_box(0, 0, kBigW, kBigH, 0x000000);
  draw_stop();
  sprite_transparent_color(5, 0xFFFFFF);
  EXPECT_EQ(held(), before);
  const std::vector<uint32_t> opaque = shown(5, false), blended = shown(5, true);
  EXPECT_EQ(at(opaque, 20, 20), 0x000000u);
  EXPECT_EQ(at(blended, 20, 20), static_cast<uint32_t>(blend(0, 0x80, 200)) * 0x010101u);
  // Made clear by a black key instead, a blended draw leaves the screen.
  sprite_transparent_color(5, 0x000000);
  EXPECT_EQ(at(shown(5, true), 20, 20), 0x808080u);
  sprite_transparent_color(5, 0xFFFFFF);
  // A big sprite with pixels of one colour gives them back when idle.
  ASSERT_NE(sprite_of(7, kBigW, kBigH, std::vector<uint32_t>(static_cast<size_t>(kBigW) * kBigH, 0xFF336699u),
                      kSpriteKeepAlpha),
            0);
  const std::vector<uint32_t> plain = shown(7, true);
  idle();
  EXPECT_EQ(held(), before) << "decoded from a picture of one colour, and given back";
  EXPECT_EQ(shown(7, true), plain);
  // Drawing part of it makes its pixels first: a red box on the black.
  const int64_t with_7 = held();
  ASSERT_NE(draw_start(sprite_draw_target(5)), 0);
  draw_box(0, 0, 10, 10, 0x0000FF);
  draw_stop();
  EXPECT_EQ(held() - with_7, int64_t{kBigW} * kBigH * 4);
  fill_screen(0x808080);
  sprite_draw(5, 0, 0);
  const std::vector<uint32_t> px = read_screen();
  EXPECT_EQ(at(px, 5, 5), 0xFF0000u);
  EXPECT_EQ(at(px, 15, 5), 0x000000u);
}

TEST_F(SpriteKeep, PixelsThatCannotBeMadeAgainStay) {
  // Drawn into, not one colour, from no picture: nothing to make them from.
  ASSERT_NE(sprite_create(6, kBigW, kBigH, kSpriteKeepAlpha), 0);
  ASSERT_NE(draw_start(sprite_draw_target(6)), 0);
  draw_box(0, 0, 10, 10, 0x00FF00);
  draw_stop();
  const int64_t all = held();
  idle();
  EXPECT_EQ(held(), all);
}

TEST(SpriteKeepRenderer, ARendererHoldsEachPictureInItsTextureAlone) {
  test_env::Scoped path("DUSK_RENDERER", "accelerated");
  ASSERT_NO_FATAL_FAILURE(test_screen::StartScreen(0, 40, 30, "keep", kWindowCentred));
  const std::vector<uint32_t> pic = busy_picture();
  ASSERT_NE(ScreenTest::sprite_of(1, kBigW, kBigH, pic, 0), 0);
  sprite_draw(1, 0, 0);
  screen_flip();
  EXPECT_EQ(screen_stats().bytes_held, int64_t{kBigW} * kBigH * 4);
  sprite_system_stop();
}

}  // namespace
