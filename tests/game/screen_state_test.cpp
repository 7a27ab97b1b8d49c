// The screen changes of the splash screens and the mismatch pause's count,
// which only the screen state's own functions make.
#include <gtest/gtest.h>

#include "tests/game/play_helpers.h"

namespace {

// The logo counts 101 passes, the title starts counting in the pass the logo
// ends and shows for 100 more; Space or Escape (EndSplash) skips one splash
// and starts the count again; no other screen is touched by either.
TEST(Splash, TimerAndSkipEndOneSplashAtATime) {
  ResetScreenState();
  int passes = 0;
  while (ScreenState == LogoSplash && passes < 1000) {
    CountSplashPass();
    ++passes;
  }
  EXPECT_EQ(passes, kSplashPasses + 1);
  EXPECT_EQ(ScreenState, TitleSplash);
  EXPECT_EQ(FrameCounter, 1);
  while (ScreenState == TitleSplash && passes < 1000) {
    CountSplashPass();
    ++passes;
  }
  EXPECT_EQ(passes, 2 * kSplashPasses + 1);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(FrameCounter, 0);
  // Past the splashes nothing counts and nothing ends.
  for (int i = 0; i < 300; ++i) CountSplashPass();
  EndSplash();
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(FrameCounter, 0);

  ResetScreenState();
  for (int i = 0; i < 50; ++i) CountSplashPass();
  EndSplash();
  EXPECT_EQ(ScreenState, TitleSplash);
  EXPECT_EQ(FrameCounter, 0);
  EndSplash();
  EXPECT_EQ(ScreenState, MainMenu);

  // A mismatch pause that is counting is not ended by a skip on a later screen.
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(MismatchPauseOver(80));
  AskQuit();
  EndSplash();
  EXPECT_EQ(ScreenState, QuitQuestion);
  EXPECT_EQ(FrameCounter, 5);
}

}  // namespace
