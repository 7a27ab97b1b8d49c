// The screen's life cycle, sprite numbering, screenshots, window events,
// desktops and display modes, and frame pacing.
#include <png.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <string>

#include "engine/input/input.h"
#include "engine/screen/screen_sdl.h"
#include "engine/system/file.h"
#include "engine/system/objects.h"
#include "tests/engine/screen/screen_fixture.h"
#include "tests/support/environment.h"
#include "tests/support/screen_probe.h"
#include "tests/support/sdl_events.h"

namespace {

using Screen = ScreenTest;

TEST_F(Screen, SpritesBelongToTheOpenScreen) {
  ASSERT_NE(sprite_create(12, 8, 8, 0), 0);
  ASSERT_NE(sprite_create(12, 3, 2, 0), 0);  // replaces the old 12
  EXPECT_EQ(sprite_width(12), 3);
  int h = sprite_create(-1, 5, 5, 0);
  EXPECT_GE(h, kObjectHandleBase);
  EXPECT_EQ(sprite_width(h), 5);
  EXPECT_NE(sprite_create(0, 1, 1, 0), 0);  // number 0 still reports success
  EXPECT_EQ(sprite_create(13, 0, 5, 0), 0);
  EXPECT_EQ(sprite_create(13, kImageMaxSide + 1, 1, 0), 0);
  EXPECT_EQ(sprite_from_memory(13, "not a picture", 13, 0), 0);
  EXPECT_FALSE(sprite_exists(13));
  screen_close();
  EXPECT_FALSE(sprite_exists(12));
  EXPECT_FALSE(sprite_exists(h));
  EXPECT_EQ(screen_is_open(), 0);
  EXPECT_EQ(sprite_create(12, 8, 8, 0), 0);  // no screen, no sprites
  // Drawing and sizes on missing sprites do nothing.
  sprite_draw(12, 0, 0);
  sprite_clip(12, 0, 0, 1, 1);
  EXPECT_EQ(sprite_height(12), 0);
  // Closing the window a screen lives in closes the screen too.
  ASSERT_NE(screen_open_in_window(0, 0, 0, kW, kH, 0, 0, 0, 0), 0);
  window_close(0);
  EXPECT_EQ(screen_is_open(), 0);
  EXPECT_EQ(screen_open_in_window(0, 0, 0, kW, kH, 0, 0, 0, 0), 0);
}

TEST_F(Screen, PicturesLargerThanTheInputBoundAreRefused) {
  std::vector<uint32_t> px(64 * 64, 0xFF336699u);
  auto png = png_of(64, 64, px);
  ASSERT_NE(sprite_from_memory(1, png.data(), png.size(), 0), 0);
  EXPECT_EQ(sprite_width(1), 64);
  // A picture whose data runs past the bound cannot be decoded from it.
  std::vector<uint8_t> padded(kSpriteMaxInput + 16, 0);
  std::vector<uint32_t> noise(2000 * 1500);
  uint32_t seed = 1;
  for (auto& p : noise) p = (seed = seed * 1103515245u + 12345u);
  auto big = png_of(2000, 1500, noise);
  ASSERT_GT(big.size(), kSpriteMaxInput);
  EXPECT_EQ(sprite_from_memory(2, big.data(), big.size(), 0), 0);
  EXPECT_NE(image_from_memory(-1, big), 0);  // images have the larger bound
  image_free(-1);
}

// Reads a PNG file with libpng alone: RGBA pixels as 0xAARRGGBB.
bool read_png_file(const std::string& path, int* w, int* h, int* color_type, std::vector<uint32_t>* px) {
  std::vector<uint8_t> data;
  if (!file_read_all(path, &data)) return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) return false;
  *color_type = (image.format & PNG_FORMAT_FLAG_ALPHA) ? 6 : 2;
  image.format = PNG_FORMAT_BGRA;
  px->resize(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, px->data(), 0, nullptr)) return false;
  *w = static_cast<int>(image.width);
  *h = static_cast<int>(image.height);
  return true;
}

TEST_F(Screen, GrabAndSaveRoundTripThroughAPngFile) {
  fill_screen(0x204060);
  std::vector<uint32_t> pattern;
  for (int i = 0; i < 12; ++i) pattern.push_back(0xFF000000u | static_cast<uint32_t>(i * 0x151515));
  ASSERT_NE(sprite_of(1, 4, 3, pattern, kSpriteKeepAlpha), 0);
  sprite_draw(1, kW - 4, kH - 3);
  EXPECT_EQ(sprite_grab_screen(3, 0, 0, kW + 1, kH), 0);
  EXPECT_EQ(sprite_grab_screen(3, 1, 0, kW, kH), 0);
  EXPECT_EQ(sprite_grab_screen(3, 0, -1, 5, 5), 0);
  EXPECT_FALSE(sprite_exists(3));
  ASSERT_NE(sprite_grab_screen(3, 0, 0, kW, kH), 0);
  ASSERT_NE(sprite_save(3, "shot.png", kImageFormatPNG), 0);

  int w = 0, h = 0, type = 0;
  std::vector<uint32_t> saved;
  ASSERT_TRUE(read_png_file("shot.png", &w, &h, &type, &saved));
  EXPECT_EQ(w, kW);
  EXPECT_EQ(h, kH);
  EXPECT_EQ(type, 6);
  auto screen = read_screen();
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      uint32_t s = saved[static_cast<size_t>(y) * kW + x];
      ASSERT_EQ(s & 0xFFFFFF, at(screen, x, y)) << x << "," << y;
      ASSERT_EQ(s >> 24, 255u) << "a screenshot is opaque";
    }
  EXPECT_EQ(saved[static_cast<size_t>(kH - 1) * kW + kW - 1] & 0xFFFFFF, pattern[11] & 0xFFFFFF);

  // A second grab of the same size reuses sprite 3; a clipped one makes it anew.
  fill_screen(0xFFFFFF);
  ASSERT_NE(sprite_grab_screen(3, 0, 0, kW, kH), 0);
  ASSERT_NE(sprite_grab_screen(3, 2, 2, 3, 4), 0);
  EXPECT_EQ(sprite_width(3), 3);
  EXPECT_EQ(sprite_save(3, "none.tif", 0x464954), 0);
  EXPECT_EQ(sprite_save(42, "none.png", kImageFormatPNG), 0);
  EXPECT_EQ(sprite_save(3, "no such folder/shot.png", kImageFormatPNG), 0);
  EXPECT_FALSE(file_exists("none.png"));
}

#ifndef _WIN32  // the file-size limit that stands for a full disk
TEST_F(Screen, ASaveThatFailsPartWayLeavesTheEarlierShotWhole) {
  // Two shots in one second share a name. When the disk fills up while the
  // second is written, the first must stay a whole picture, not become a
  // cut-off file that no viewer opens.
  const std::string path = "full disk shot.png";
  fill_screen(0x204060);
  ASSERT_NE(sprite_grab_screen(3, 0, 0, kW, kH), 0);
  ASSERT_NE(sprite_save(3, path, kImageFormatPNG), 0);
  std::vector<uint8_t> first;
  ASSERT_TRUE(file_read_all(path, &first));
  ASSERT_GT(first.size(), 40u);

  fill_screen(0xFFFFFF);
  ASSERT_NE(sprite_grab_screen(3, 0, 0, kW, kH), 0);
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 40;  // room for the signature and the header only
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  int result = sprite_save(3, path, kImageFormatPNG);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(result, 0);
  std::vector<uint8_t> after;
  ASSERT_TRUE(file_read_all(path, &after));
  EXPECT_EQ(after.size(), first.size());
  EXPECT_TRUE(after == first) << "the earlier shot was changed";
  for (const std::string& name : folder_list("./"))
    EXPECT_FALSE(name != path && name.rfind(path, 0) == 0) << "left behind: " << name;
  EXPECT_TRUE(file_remove(path));
}
#endif

void push_window_event(Uint32 window_id, Uint8 event) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = window_id;
  e.window.event = event;
  SDL_PushEvent(&e);
}

void push_button(Uint32 window_id, Uint32 type, Uint8 button, int x, int y, Uint8 clicks = 1) {
  SDL_Event e{};
  e.type = type;
  e.button.windowID = window_id;
  e.button.button = button;
  e.button.state = type == SDL_MOUSEBUTTONUP ? SDL_RELEASED : SDL_PRESSED;
  e.button.clicks = clicks;
  e.button.x = x;
  e.button.y = y;
  SDL_PushEvent(&e);
}

TEST_F(Screen, WindowEventsAreTranslatedAndTrackActivation) {
  while (window_event_next() != 0) {
  }
  Uint32 id = window_system_id(0);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(id, screen_system_window_id());
  EXPECT_EQ(screen_is_active(), 1);

  push_window_event(id, SDL_WINDOWEVENT_FOCUS_LOST);
  EXPECT_EQ(window_event_next(), kWindowEventDeactivated);
  EXPECT_EQ(screen_is_active(), 0);
  // Like the game's loop, each group is drained until 0.
  EXPECT_EQ(window_event_next(), 0);
  push_window_event(id, SDL_WINDOWEVENT_FOCUS_GAINED);
  push_window_event(id, SDL_WINDOWEVENT_MINIMIZED);
  push_window_event(id, SDL_WINDOWEVENT_RESTORED);
  push_window_event(id, SDL_WINDOWEVENT_EXPOSED);
  push_window_event(id, SDL_WINDOWEVENT_MOVED);  // not a game event: skipped
  EXPECT_EQ(window_event_next(), kWindowEventActivated);
  EXPECT_EQ(screen_is_active(), 1);
  EXPECT_EQ(window_event_next(), kWindowEventMinimised);
  EXPECT_EQ(screen_is_active(), 0);
  EXPECT_EQ(window_event_next(), kWindowEventRestored);
  EXPECT_EQ(window_event_next(), kWindowEventRepaint);
  EXPECT_EQ(window_event_next(), 0);
  window_activate(0);
  EXPECT_EQ(screen_is_active(), 1);

  // Releases over the client area only; a press is no click.
  push_button(id, SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 5);
  push_button(id, SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 5, 5);
  push_button(id, SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, kW, 5);
  push_button(id, SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, kW - 1, kH - 1);
  push_button(id, SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 5, 2);
  push_button(id, SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 5, 5);
  EXPECT_EQ(window_event_next(), kWindowEventLeftClick);
  EXPECT_EQ(window_event_next(), kWindowEventRightClick);
  EXPECT_EQ(window_event_next(), kWindowEventDoubleClick);
  EXPECT_EQ(window_event_next(), 0);

  // Closing the window is one close request, even though SDL adds a quit.
  push_window_event(id, SDL_WINDOWEVENT_CLOSE);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  EXPECT_EQ(window_event_next(), kWindowEventClose);
  EXPECT_EQ(window_event_next(), 0);
  SDL_PushEvent(&quit);  // a quit on its own (a signal) is a close request too
  EXPECT_EQ(window_event_next(), kWindowEventClose);
  EXPECT_EQ(window_event_next(), 0);
}

TEST_F(Screen, InputFindsTheWindowsAndTheScreen) {
  ASSERT_NE(mouse_start(), 0);
  SDL_Event move{};
  move.type = SDL_MOUSEMOTION;
  move.motion.windowID = window_system_id(0);
  move.motion.x = 5;
  move.motion.y = 7;
  SDL_PushEvent(&move);
  while (window_event_next() != 0) {
  }
  EXPECT_EQ(window_mouse_x(0), 5);
  EXPECT_EQ(window_mouse_y(0), 7);
  EXPECT_NE(mouse_poll(), 0);  // the screen in window 0 is open and active
  window_close(0);
  EXPECT_EQ(window_mouse_x(0), -1);
  EXPECT_EQ(mouse_poll(), 0);  // no screen any more
  input_shutdown();
}

// A click is read where its button came up, though the pointer moved on in
// the same frame (the events behind it are already in the queue); once the
// next event is taken the position follows the pointer again.
TEST_F(Screen, AClickIsReadWhereItsButtonCameUp) {
  ASSERT_NE(mouse_start(), 0);
  const Uint32 id = window_system_id(0);
  auto motion = [id](int x, int y) { test_events::MouseMotion(id, x, y, 0, 0); };
  auto release = [id](Uint8 button, int x, int y) { test_events::MouseButton(id, button, false, x, y); };
  motion(10, 12);
  release(SDL_BUTTON_LEFT, 10, 12);
  motion(30, 25);
  release(SDL_BUTTON_RIGHT, 31, 26);
  motion(2, 3);
  EXPECT_EQ(window_mouse_x(0), 2);  // before the events are handled: where the pointer is
  ASSERT_EQ(window_event_next(), kWindowEventLeftClick);
  EXPECT_EQ(window_mouse_x(0), 10);
  EXPECT_EQ(window_mouse_y(0), 12);
  ASSERT_EQ(window_event_next(), kWindowEventRightClick);
  EXPECT_EQ(window_mouse_x(0), 31);
  EXPECT_EQ(window_mouse_y(0), 26);
  EXPECT_EQ(window_event_next(), 0);
  EXPECT_EQ(window_mouse_x(0), 2);
  EXPECT_EQ(window_mouse_y(0), 3);
  input_shutdown();
}

TEST_F(Screen, DesktopsAndDisplayModes) {
  int desktops = desktops_examine();
  ASSERT_GE(desktops, 1);
  EXPECT_EQ(monitor_count(), desktops);
  EXPECT_GT(desktop_width(0), 0);
  EXPECT_GT(desktop_height(0), 0);
  EXPECT_EQ(desktop_width(desktops), 0);
  EXPECT_EQ(desktop_height(-1), 0);
  int modes = display_modes_examine();
  EXPECT_EQ(display_mode_width(), 0);
  int seen = 0;
  while (display_modes_next()) {
    ++seen;
    EXPECT_GT(display_mode_width(), 0);
    EXPECT_GT(display_mode_height(), 0);
    EXPECT_EQ(display_mode_depth(), 32);
  }
  EXPECT_EQ(seen, modes);
  EXPECT_EQ(display_modes_next(), 0);
  EXPECT_EQ(display_mode_width(), 0);
}

TEST_F(Screen, FullScreenHidesThePointerUntilClosed) {
  ASSERT_NE(screen_open_full(320, 200, 32, "full", 0), 0) << SDL_GetError();
  EXPECT_EQ(screen_in_window(), 0);
  EXPECT_EQ(screen_width(), 320);
  EXPECT_EQ(screen_height(), 200);
  EXPECT_EQ(screen_is_active(), 1);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  EXPECT_NE(window_exists(0), 0);  // the earlier window stays; its screen went
  fill_screen(0x00FF00);
  EXPECT_EQ(at(read_screen(), 319, 199), 0x00FF00u);
  EXPECT_NE(screen_flip(), 0);
  screen_close();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  EXPECT_EQ(screen_open_full(0, 200, 32, "full", 0), 0);
}

// No display: SDL would fall back to a driver that shows nothing and the game
// would run unseen. Such a driver counts only when asked for by name.
TEST(VideoSystem, WithoutADisplayThereIsNoneUnlessADriverIsNamed) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows always has its display";
#else
  if (file_exists("/dev/dri/card0")) GTEST_SKIP() << "SDL may show windows on the console here";
#endif
  test_env::Scoped display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr);
  test_env::Scoped driver("SDL_VIDEODRIVER", nullptr);
  EXPECT_EQ(sprite_system_start(), 0);
  sprite_system_stop();
  for (const char* named : {"offscreen", "dummy"}) {
    driver.Change(named);
    EXPECT_NE(sprite_system_start(), 0) << named;
    sprite_system_stop();
  }
}

TEST_F(Screen, FlipsAreNeverCloserThanTheFramePeriod) {
  ASSERT_NE(frame_rate_set(200), 0);
  screen_flip();
  uint64_t start = SDL_GetPerformanceCounter();
  for (int i = 0; i < 10; ++i) screen_flip();
  double elapsed = static_cast<double>(SDL_GetPerformanceCounter() - start) / SDL_GetPerformanceFrequency();
  EXPECT_GE(elapsed, 10.0 / 201 - 0.0005);
}

}  // namespace
