// Keyboard, mouse and pointer handling with events pushed into SDL's queue,
// as the system would deliver them, on SDL's dummy video driver.
#include "engine/input/input.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "engine/input/cursor_file.h"
#include "engine/input/input_sdl.h"
#include "tests/support/sdl_events.h"
#include "engine/system/file.h"
#include "tests/engine/input/cursor_test_files.h"

namespace {

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_NE(keyboard_start(), 0);
    ASSERT_NE(mouse_start(), 0);
  }
  void TearDown() override {
    if (window_) SDL_DestroyWindow(window_);
    input_shutdown();
    SDL_Quit();
  }

  // A window for the screen or the pointer; returns its platform id.
  int open_window(int w, int h) {
    window_ = SDL_CreateWindow("input test", 0, 0, w, h, 0);
    EXPECT_NE(window_, nullptr) << SDL_GetError();
    return window_ ? static_cast<int>(SDL_GetWindowID(window_)) : 0;
  }

  static void key(SDL_Scancode sc, bool down) { test_events::Key(sc, down); }
  static void motion(int id, int x, int y, int dx, int dy) {
    test_events::MouseMotion(static_cast<Uint32>(id), x, y, dx, dy);
  }
  static void button(Uint8 which, bool down) { test_events::MouseButton(0, which, down); }

  SDL_Window* window_ = nullptr;
};

TEST_F(InputTest, KeyHeldAcrossPollsIsReleasedOnce) {
  EXPECT_EQ(key_released(kKeyS), 0);  // nothing read yet
  key(SDL_SCANCODE_S, true);
  for (int i = 0; i < 3; ++i) {
    keyboard_poll();
    EXPECT_EQ(key_released(kKeyS), 0) << "poll " << i;
  }
  key(SDL_SCANCODE_S, false);
  keyboard_poll();
  EXPECT_EQ(key_released(kKeyS), 1);
  EXPECT_EQ(key_released(kKeyS), 0);
  // A tap between two polls reads as down in the first, released in the next.
  key(SDL_SCANCODE_S, true);
  key(SDL_SCANCODE_S, false);
  keyboard_poll();
  EXPECT_EQ(key_released(kKeyS), 0);
  keyboard_poll();
  EXPECT_EQ(key_released(kKeyS), 1);
}

TEST_F(InputTest, GameKeysMapToTheirScanCodes) {
  const struct {
    SDL_Scancode sdl;
    int code;
  } keys[] = {{SDL_SCANCODE_ESCAPE, kKeyEscape}, {SDL_SCANCODE_S, 31}, {SDL_SCANCODE_M, 50},
              {SDL_SCANCODE_SPACE, 57}, {SDL_SCANCODE_RIGHT, 0xCD}};
  // Two keys released in the same poll each report once, independently.
  for (const auto& k : keys) key(k.sdl, true);
  keyboard_poll();
  for (const auto& k : keys) EXPECT_EQ(key_released(k.code), 0);
  for (const auto& k : keys) key(k.sdl, false);
  keyboard_poll();
  EXPECT_EQ(key_released(kKeyM), 1);
  EXPECT_EQ(key_released(kKeyEscape), 1);
  EXPECT_EQ(key_released(kKeyM), 0);
  EXPECT_EQ(key_released(31), 1);
  EXPECT_EQ(key_released(57), 1);
  EXPECT_EQ(key_released(0xCD), 1);
  EXPECT_EQ(key_released(32), 0);  // D was never touched
  EXPECT_EQ(key_released(256), 0);
  EXPECT_EQ(key_released(-2), 0);
}

TEST_F(InputTest, AnyKeyReportsOnceAndConsumesEveryRelease) {
  keyboard_poll();
  EXPECT_EQ(key_released(-1), 0);
  key(SDL_SCANCODE_A, true);
  key(SDL_SCANCODE_SPACE, true);
  keyboard_poll();
  EXPECT_EQ(key_released(-1), 0);  // down keys are only marked
  key(SDL_SCANCODE_A, false);
  key(SDL_SCANCODE_SPACE, false);
  keyboard_poll();
  EXPECT_EQ(key_released(-1), 1);
  EXPECT_EQ(key_released(-1), 0);
  EXPECT_EQ(key_released(kKeySpace), 0);  // already reported through -1
}

TEST_F(InputTest, TrackedMouseStaysOnScreen) {
  EXPECT_EQ(mouse_poll(), 0);  // no screen open
  int id = open_window(640, 480);
  input_screen_link(id, 0, 0, 640, 480, 0);
  ASSERT_EQ(mouse_poll(), 1);
  EXPECT_EQ(mouse_x(), 320);
  EXPECT_EQ(mouse_y(), 240);
  motion(id, 0, 0, 15, -7);
  motion(id, 0, 0, 5, 2);
  ASSERT_EQ(mouse_poll(), 1);
  EXPECT_EQ(mouse_dx(), 20);
  EXPECT_EQ(mouse_dy(), -5);
  EXPECT_EQ(mouse_x(), 340);
  EXPECT_EQ(mouse_y(), 235);
  motion(id, 0, 0, 100000, 100000);
  mouse_poll();
  EXPECT_EQ(mouse_x(), 639);
  EXPECT_EQ(mouse_y(), 479);
  motion(id, 0, 0, -1, 0);  // back from the edge at once, no stored excess
  mouse_poll();
  EXPECT_EQ(mouse_x(), 638);
  motion(id, 0, 0, -100000, -100000);
  mouse_poll();
  EXPECT_EQ(mouse_x(), 0);
  EXPECT_EQ(mouse_y(), 0);
  mouse_poll();
  EXPECT_EQ(mouse_dx(), 0);  // deltas belong to one poll
}

TEST_F(InputTest, ButtonsAreLevelsAndShortClicksCount) {
  int id = open_window(200, 100);
  input_screen_link(id, 0, 0, 200, 100, 0);
  mouse_poll();
  EXPECT_EQ(mouse_button(1), 0);
  button(SDL_BUTTON_LEFT, true);
  button(SDL_BUTTON_RIGHT, true);
  for (int i = 0; i < 3; ++i) {
    mouse_poll();
    EXPECT_NE(mouse_button(1), 0) << "held, poll " << i;
    EXPECT_NE(mouse_button(2), 0);
    EXPECT_EQ(mouse_button(3), 0);
  }
  button(SDL_BUTTON_LEFT, false);
  mouse_poll();
  EXPECT_EQ(mouse_button(1), 0);
  EXPECT_NE(mouse_button(2), 0);
  button(SDL_BUTTON_RIGHT, false);
  button(SDL_BUTTON_MIDDLE, true);
  button(SDL_BUTTON_MIDDLE, false);
  mouse_poll();
  EXPECT_EQ(mouse_button(2), 0);
  EXPECT_NE(mouse_button(3), 0);  // a click inside one pass is seen once
  mouse_poll();
  EXPECT_EQ(mouse_button(3), 0);
  EXPECT_EQ(mouse_button(0), 0);
  EXPECT_EQ(mouse_button(4), 0);
}

TEST_F(InputTest, InactiveScreenKeepsPositionAndDropsMotion) {
  int id = open_window(300, 300);
  input_screen_link(id, 0, 0, 300, 300, 0);
  mouse_poll();
  motion(id, 0, 0, 10, 10);
  mouse_poll();
  ASSERT_EQ(mouse_x(), 160);
  input_screen_active(0);
  motion(id, 0, 0, 50, 50);
  EXPECT_EQ(mouse_poll(), 0);
  EXPECT_EQ(mouse_x(), 160);
  EXPECT_EQ(mouse_dx(), 0);
  input_screen_active(1);
  EXPECT_EQ(mouse_poll(), 1);  // taken back; what moved meanwhile is gone
  EXPECT_EQ(mouse_x(), 160);
  motion(id, 0, 0, 1, 0);
  mouse_poll();
  EXPECT_EQ(mouse_x(), 161);
  input_screen_link(0, 0, 0, 0, 0, 0);  // screen closed
  EXPECT_EQ(mouse_poll(), 0);
}

TEST_F(InputTest, ScreenInsideWindowFollowsConfinedPointer) {
  int id = open_window(200, 100);
  input_screen_link(id, 10, 20, 100, 50, 1);  // screen at (10, 20) in the window
  motion(id, 60, 45, 0, 0);
  ASSERT_EQ(mouse_poll(), 1);
  EXPECT_NE(SDL_GetWindowFlags(window_) & SDL_WINDOW_MOUSE_GRABBED, 0u);  // pointer kept inside
  EXPECT_EQ(mouse_x(), 50);
  EXPECT_EQ(mouse_y(), 25);
  motion(id, 199, 5, 0, 0);  // over the window but beyond the screen
  mouse_poll();
  EXPECT_EQ(mouse_x(), 99);
  EXPECT_EQ(mouse_y(), 0);
  input_screen_link(0, 0, 0, 0, 0, 0);
  EXPECT_EQ(SDL_GetWindowFlags(window_) & SDL_WINDOW_MOUSE_GRABBED, 0u);  // closing the screen lets it go
}

TEST_F(InputTest, WindowPositionIsMinusOneOutsideClientArea) {
  int id = open_window(320, 200);
  EXPECT_EQ(window_mouse_x(0), -1);  // window not known yet
  input_window_link(0, id);
  EXPECT_EQ(window_mouse_x(0), -1);  // pointer not seen over it
  motion(id, 319, 199, 0, 0);
  SDL_PumpEvents();
  EXPECT_EQ(window_mouse_x(0), 319);
  EXPECT_EQ(window_mouse_y(0), 199);
  EXPECT_EQ(window_mouse_x(1), -1);  // no such window
  motion(id, 320, 10, 0, 0);  // the column just right of the client area
  EXPECT_EQ(window_mouse_x(0), -1);
  EXPECT_EQ(window_mouse_y(0), -1);
  motion(id, -1, 5, 0, 0);
  EXPECT_EQ(window_mouse_x(0), -1);
  SDL_Event leave{};
  leave.type = SDL_WINDOWEVENT;
  leave.window.event = SDL_WINDOWEVENT_LEAVE;
  leave.window.windowID = static_cast<Uint32>(id);
  SDL_PushEvent(&leave);
  EXPECT_EQ(window_mouse_x(0), -1);
  motion(id, 40, 50, 0, 0);
  EXPECT_EQ(window_mouse_x(0), 40);
  input_window_link(0, 0);  // window closed
  EXPECT_EQ(window_mouse_x(0), -1);
}

TEST_F(InputTest, PointerFileLoadsOrFailsCleanly) {
  EXPECT_EQ(pointer_load("no such file.cur"), 0);
  cursor_test::Bytes junk = {0, 0, 2, 0, 1, 0, 32, 32, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(file_write("junk.cur", junk.data(), junk.size()));
  EXPECT_EQ(pointer_load("junk.cur"), 0);

  std::vector<uint8_t> rgba(16 * 16 * 4, 255);
  std::vector<uint8_t> file = cursor_file_write(rgba.data(), 16, 16, 3, 4);
  ASSERT_TRUE(file_write("DuskmatchCursor.pack", file.data(), file.size()));
  int handle = pointer_load("DuskmatchCursor.pack");
  int id = open_window(100, 100);
  input_window_link(0, id);
  if (std::string(SDL_GetCurrentVideoDriver()) == "dummy") {
    // The dummy driver has no colour pointers: the load fails and says so.
    EXPECT_EQ(handle, 0);
    window_pointer_set(0, handle);  // installing 0 is harmless
    return;
  }
  ASSERT_NE(handle, 0);
  window_pointer_set(0, handle);
  SDL_Cursor* custom = SDL_GetCursor();
  EXPECT_NE(custom, SDL_GetDefaultCursor());
  window_pointer_set(0, 0);
  EXPECT_EQ(SDL_GetCursor(), SDL_GetDefaultCursor());
  window_pointer_set(0, handle);
  EXPECT_EQ(SDL_GetCursor(), custom);
  EXPECT_NE(pointer_load("DuskmatchCursor.pack"), handle);  // each load its own handle
}

}  // namespace
