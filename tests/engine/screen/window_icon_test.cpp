// The icon of the game's windows: taken from an image of the game's, given
// to every open window and a full screen's own, refused without either.
// (The dummy driver shows no icon; the real-window test reads it back from
// the X server.)
#include <gtest/gtest.h>

#include "engine/image/image.h"
#include "engine/screen/screen.h"
#include "tests/support/screen_fixture.h"

namespace {

class WindowIcon : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(test_screen::StartSprites()); }
  void TearDown() override {
    image_free(-1);
    sprite_system_stop();
  }
};

TEST_F(WindowIcon, NeedsAnImageAndAnOpenWindow) {
  const int icon = image_create(-1, 16, 16, 32, 0x3366CC);
  ASSERT_NE(icon, 0);
  EXPECT_EQ(window_icon_set(icon), 0) << "no window is open yet";
  ASSERT_NE(window_open(0, 0, 0, 64, 48, "icon", kWindowCentred), 0);
  EXPECT_EQ(window_icon_set(icon + 1000), 0) << "no such image";
  EXPECT_NE(window_icon_set(icon), 0);
  window_close(0);
  EXPECT_EQ(window_icon_set(icon), 0) << "the window is closed";
}

TEST_F(WindowIcon, ReachesWindowsWithoutAScreenAndAFullScreensOwnWindow) {
  const int icon = image_create(-1, 48, 48, 24, 0x000000);
  ASSERT_NE(icon, 0);
  ASSERT_NE(window_open(3, 0, 0, 64, 48, "hidden", kWindowHidden), 0);
  EXPECT_NE(window_icon_set(icon), 0);
  window_close(-1);
  ASSERT_NE(screen_open_full(320, 200, 32, "full", 0), 0);
  EXPECT_NE(window_icon_set(icon), 0);
  screen_close();
  EXPECT_EQ(window_icon_set(icon), 0);
}

}  // namespace
