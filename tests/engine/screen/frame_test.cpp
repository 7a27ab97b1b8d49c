// The frame: what a pass draws is composed and presented only when it
// differs from the picture on the screen, on the engine's own software
// screen and on a renderer alike; the picture is right after every kind of
// change, and the software screen draws only where something changed.
#include <functional>
#include <string>

#include "engine/screen/screen_sdl.h"
#include "tests/engine/screen/screen_fixture.h"
#include "tests/support/environment.h"

namespace {

// One solid sprite as the test draws it: its colour 0xAARRGGBB and where.
struct Solid {
  int sprite;
  uint32_t argb;
  SDL_Rect at;     // on the screen (the displayed size)
  int intensity;  // 0 opaque, else blended
};

// The screen as the draws give it, worked out pixel by pixel from black.
std::vector<uint32_t> expected(const std::vector<Solid>& draws, int w, int h) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * h, 0);
  for (const Solid& d : draws) {
    for (int y = std::max(0, d.at.y); y < std::min(h, d.at.y + d.at.h); ++y) {
      for (int x = std::max(0, d.at.x); x < std::min(w, d.at.x + d.at.w); ++x) {
        uint32_t& p = px[static_cast<size_t>(y) * w + x];
        if (d.intensity == 0) {
          p = d.argb & 0xFFFFFF;
          continue;
        }
        const int a = (static_cast<int>(d.argb >> 24) * d.intensity + 127) / 255;
        uint32_t out = 0;
        for (int shift : {0, 8, 16}) {
          const int s = (d.argb >> shift) & 0xFF, under = (p >> shift) & 0xFF;
          out |= static_cast<uint32_t>(ScreenTest::blend(s, under, a)) << shift;
        }
        p = out;
      }
    }
  }
  return px;
}

class Frame : public ::testing::TestWithParam<const char*> {
 protected:
  static constexpr int kW = 40, kH = 30;

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(test_screen::StartScreen(0, kW, kH, "frame", kWindowCentred));
    ASSERT_EQ(screen_stats().software, software());
  }
  void TearDown() override { sprite_system_stop(); }

  bool software() const { return std::string(GetParam()) == "software"; }

  // A w x h sprite of one colour.
  static void solid(int number, int w, int h, uint32_t argb) {
    ASSERT_NE(ScreenTest::sprite_of(number, w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, argb),
                                    kSpriteKeepAlpha),
              0);
  }

  // One pass: the draws, then the flip.
  static void pass(const std::vector<Solid>& draws) {
    for (const Solid& d : draws) {
      if (d.intensity == 0) {
        sprite_draw(d.sprite, d.at.x, d.at.y);
      } else {
        sprite_draw_blended(d.sprite, d.at.x, d.at.y, d.intensity);
      }
    }
    screen_flip();
  }

  // The screen holds what the draws give. SDL's software renderer rounds a
  // blend by a step now and then; the engine's own loops are exact.
  void expect_picture(const std::vector<Solid>& draws, const std::string& what) {
    const std::vector<uint32_t> want = expected(draws, kW, kH);
    const std::vector<uint32_t> got = test_screen::ReadPixels();
    const int slack = software() ? 0 : 2;
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        const uint32_t g = got[static_cast<size_t>(y) * kW + x], e = want[static_cast<size_t>(y) * kW + x];
        for (int shift : {0, 8, 16}) {
          ASSERT_LE(std::abs(static_cast<int>((g >> shift) & 0xFF) - static_cast<int>((e >> shift) & 0xFF)), slack)
              << what << " at " << x << "," << y << ": " << std::hex << g << " instead of " << e;
        }
      }
    }
  }

  test_env::Scoped path_{"DUSK_RENDERER", GetParam()};
};

TEST_P(Frame, AStillPictureIsComposedAndPresentedOnce) {
  ASSERT_NO_FATAL_FAILURE(solid(1, kW, kH, 0xFF203040u));
  ASSERT_NO_FATAL_FAILURE(solid(2, 6, 5, 0x80F0E0D0u));
  const std::vector<Solid> scene = {{1, 0xFF203040u, {0, 0, kW, kH}, 0}, {2, 0x80F0E0D0u, {3, 4, 6, 5}, 200}};
  const ScreenStats before = screen_stats();
  for (int i = 0; i < 60; ++i) pass(scene);
  const ScreenStats after = screen_stats();
  EXPECT_EQ(after.passes - before.passes, 60);
  EXPECT_EQ(after.frames_composed - before.frames_composed, 1);
  EXPECT_EQ(after.frames_presented - before.frames_presented, 1);
  expect_picture(scene, "still");
  // A pass that draws nothing leaves the picture as it is.
  pass({});
  EXPECT_EQ(screen_stats().frames_presented, after.frames_presented);
  expect_picture(scene, "after an empty pass");
}

TEST_P(Frame, EveryChangeToWhatIsDrawnComposesInItsPass) {
  ASSERT_NO_FATAL_FAILURE(solid(1, kW, kH, 0xFF102030u));
  ASSERT_NO_FATAL_FAILURE(solid(2, 8, 6, 0xFFC04020u));
  ASSERT_NO_FATAL_FAILURE(solid(3, 5, 5, 0x9020A0F0u));
  std::vector<Solid> scene = {{1, 0xFF102030u, {0, 0, kW, kH}, 0},
                              {2, 0xFFC04020u, {4, 4, 8, 6}, 0},
                              {3, 0x9020A0F0u, {8, 6, 5, 5}, 255}};
  pass(scene);
  struct Change {
    const char* what;
    std::function<void()> apply;  // to the sprites and `scene`
  };
  const std::vector<Change> changes = {
      {"a position", [&] { scene[2].at.x = 20; }},
      {"an intensity", [&] { scene[2].intensity = 90; }},
      {"a picture",
       [&] {
         ASSERT_NE(draw_start(sprite_draw_target(2)), 0);
         draw_box(0, 0, 8, 6, 0x00FF00);  // 0x00BBGGRR: green
         draw_stop();
         scene[1].argb = 0xFF00FF00u;
       }},
      {"a clip",
       [&] {
         sprite_clip(2, 0, 0, 3, 2);
         scene[1].at.w = 3;
         scene[1].at.h = 2;
       }},
      {"a zoom",
       [&] {
         sprite_zoom(2, 12, 9);
         scene[1].at.w = 12;
         scene[1].at.h = 9;
       }},
      {"the order", [&] { std::swap(scene[1], scene[2]); }},
      {"opaque instead of blended",
       [&] {
         scene[0].intensity = 255;  // the same colour, drawn the other way
       }},
      {"one draw fewer", [&] { scene.pop_back(); }},
      {"a sprite made anew with the same pixels",
       [&] { ASSERT_NO_FATAL_FAILURE(solid(1, kW, kH, 0xFF102030u)); }},
  };
  for (const Change& change : changes) {
    change.apply();
    const ScreenStats before = screen_stats();
    pass(scene);
    ScreenStats after = screen_stats();
    EXPECT_EQ(after.frames_composed - before.frames_composed, 1) << change.what;
    EXPECT_EQ(after.frames_presented - before.frames_presented, 1) << change.what;
    ASSERT_NO_FATAL_FAILURE(expect_picture(scene, change.what));
    pass(scene);  // the same again: nothing to do
    EXPECT_EQ(screen_stats().frames_composed, after.frames_composed) << change.what;
  }
}

TEST_P(Frame, TheSoftwareScreenDrawsOnlyWhereSomethingChanged) {
  if (!software()) GTEST_SKIP() << "a renderer draws the whole frame after every present";
  ASSERT_NO_FATAL_FAILURE(solid(1, kW, kH, 0xFF102030u));
  ASSERT_NO_FATAL_FAILURE(solid(2, 4, 4, 0xFFE0E0E0u));
  ASSERT_NO_FATAL_FAILURE(solid(3, 3, 3, 0xFF808000u));
  std::vector<Solid> scene = {{1, 0xFF102030u, {0, 0, kW, kH}, 0},
                              {2, 0xFFE0E0E0u, {2, 2, 4, 4}, 0},
                              {3, 0xFF808000u, {30, 20, 3, 3}, 0}};
  pass(scene);
  // Two small sprites far apart move by a pixel: two rectangles of 5 x 4
  // and 4 x 3 are drawn again (background and sprite in each), not the
  // screen's 1,200 pixels.
  scene[1].at.x += 1;
  scene[2].at.y += 1;
  const int64_t before = screen_stats().pixels_composed;
  pass(scene);
  EXPECT_EQ(screen_stats().pixels_composed - before, (5 * 4 + 4 * 4) + (3 * 4 + 3 * 3));
  expect_picture(scene, "moved");
}

TEST_P(Frame, ARepaintPresentsThePictureAgain) {
  ASSERT_NO_FATAL_FAILURE(solid(1, kW, kH, 0xFF405060u));
  const std::vector<Solid> scene = {{1, 0xFF405060u, {0, 0, kW, kH}, 0}};
  pass(scene);
  pass(scene);
  SDL_Event exposed{};
  exposed.type = SDL_WINDOWEVENT;
  exposed.window.windowID = window_system_id(0);
  exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
  SDL_PushEvent(&exposed);
  ASSERT_EQ(window_event_next(), kWindowEventRepaint);
  const ScreenStats before = screen_stats();
  pass(scene);
  EXPECT_EQ(screen_stats().frames_presented - before.frames_presented, 1);
  expect_picture(scene, "repainted");
}

TEST_P(Frame, ASpriteChangedOrFreedAfterItsDrawShowsAsItWasDrawn) {
  ASSERT_NO_FATAL_FAILURE(solid(1, kW, kH, 0xFF000000u));
  ASSERT_NO_FATAL_FAILURE(solid(2, 5, 5, 0xFFFF0000u));
  ASSERT_NO_FATAL_FAILURE(solid(3, 5, 5, 0xFF0000FFu));
  sprite_draw(1, 0, 0);
  sprite_draw(2, 0, 0);
  ASSERT_NE(draw_start(sprite_draw_target(2)), 0);
  draw_box(0, 0, 5, 5, 0x00FF00);
  draw_stop();
  sprite_draw(2, 10, 0);
  sprite_draw(3, 20, 0);
  sprite_free(3);
  sprite_draw_blended(2, 30, 0, 255);
  screen_flip();
  expect_picture({{1, 0xFF000000u, {0, 0, kW, kH}, 0},
                  {2, 0xFFFF0000u, {0, 0, 5, 5}, 0},
                  {2, 0xFF00FF00u, {10, 0, 5, 5}, 0},
                  {3, 0xFF0000FFu, {20, 0, 5, 5}, 0},
                  {2, 0xFF00FF00u, {30, 0, 5, 5}, 255}},
                 "changed and freed after drawing");
}

TEST_P(Frame, APictureIsHeldOnceAndStaysUsableAfterItIsDrawn) {
  ASSERT_NO_FATAL_FAILURE(solid(1, kW, kH, 0xFF304050u));
  ASSERT_NO_FATAL_FAILURE(solid(2, 6, 6, 0xFFA0B0C0u));
  pass({{1, 0xFF304050u, {0, 0, kW, kH}, 0}, {2, 0xFFA0B0C0u, {1, 1, 6, 6}, 0}});
  Sprite* sp = sprite_table().get(2);
  ASSERT_NE(sp, nullptr);
  // A renderer draws from the texture alone; the software screen from the
  // pixels alone.
  EXPECT_EQ(sp->pixels.pixels.empty(), !software());
  EXPECT_EQ(sp->texture == nullptr, software());
  // Drawing into it afterwards starts from what it holds.
  ASSERT_NE(draw_start(sprite_draw_target(2)), 0);
  draw_box(0, 0, 3, 6, 0x0000FF);  // red, left half
  draw_stop();
  pass({{1, 0xFF304050u, {0, 0, kW, kH}, 0}, {2, 0, {1, 1, 6, 6}, 0}});
  expect_picture({{1, 0xFF304050u, {0, 0, kW, kH}, 0},
                  {2, 0xFFFF0000u, {1, 1, 3, 6}, 0},
                  {2, 0xFFA0B0C0u, {4, 1, 3, 6}, 0}},
                 "drawn into after it was drawn");
  // And it saves as it shows.
  const std::string path = "frame_saved_" + std::string(GetParam()) + ".png";
  ASSERT_NE(sprite_save(2, path, kImageFormatPNG), 0);
  const ImageBuffer saved = test_screen::DecodePicture(path);
  ASSERT_EQ(saved.width, 6);
  EXPECT_EQ(test_screen::ImagePixel(saved, 0, 0), 0xFF0000u);
  EXPECT_EQ(test_screen::ImagePixel(saved, 5, 5), 0xA0B0C0u);
}

INSTANTIATE_TEST_SUITE_P(BothWays, Frame, ::testing::Values("software", "accelerated"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

}  // namespace
