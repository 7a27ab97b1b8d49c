// The main loop with a screen that owns the display: the polled mouse with
// its level-triggered buttons, the pointer sprite, and the background pause
// that only M undoes.
#include "engine/input/input.h"
#include "engine/sound/sound.h"
#include "game/assets.h"
#include "game/geometry.h"
#include "tests/app/loop_harness.h"
#include "tests/support/screen_probe.h"
#include "ui/menu.h"
#include "ui/settings.h"

namespace {

using loop_test::Game;

class LoopFullScreen : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Game::Start("LoopFullScreen", "Language = en_GB\r\nMusic = 1\r\nGameScreen = 0\r\nScreenMode = 1280x720\r\n");
  }
  static void TearDownTestSuite() { Game::Stop(); }
  void SetUp() override {
    ASSERT_EQ(Screen, 1);
    ASSERT_EQ(screen_in_window(), 0);
    // The first poll takes the mouse, dropping what moved before it.
    Game::Pass();
  }
  void TearDown() override {
    Game::MouseButton(SDL_BUTTON_LEFT, false);
    Game::MouseButton(SDL_BUTTON_RIGHT, false);
    Game::Pass();
    Game::Scene(MainMenu);
  }

  // Moves the tracked pointer to a screen position (takes effect at the
  // next poll).
  static void PointTo(int x, int y) { Game::MouseMove(x - mouse_x(), y - mouse_y()); }
  static void PointToCard(BoardPos p) { PointTo(Game::CardCentreX(p.Column, p.Row), Game::CardCentreY(p.Column, p.Row)); }
  static SDL_Window* ScreenWindow() { return SDL_GetWindowFromID(screen_system_window_id()); }
};

TEST_F(LoopFullScreen, ThePointerMovingRedrawsThePass) {
  Game::Scene(Playing);
  Game::Pass(2);
  ScreenStats before = screen_stats();
  Game::Pass(10);
  EXPECT_EQ(screen_stats().frames_composed, before.frames_composed) << "a still pointer";
  // The pass that polls the moved mouse draws the pointer there; the next
  // one's flip puts that picture on the screen.
  Game::MouseMove(5, 3);
  before = screen_stats();
  Game::Pass(2);
  EXPECT_EQ(screen_stats().frames_composed - before.frames_composed, 1) << "a moved pointer";
  EXPECT_EQ(screen_stats().frames_presented - before.frames_presented, 1);
}

TEST_F(LoopFullScreen, HeldLeftButtonClicksInEveryPass) {
  Game::Scene(MainMenu);
  GameInProgress = 0;
  const Control& start = Controls[kControlStart];
  PointTo(start.left + start.width / 2, start.top + 40);
  Game::MouseButton(SDL_BUTTON_LEFT, true);
  Game::Pass();
  ASSERT_EQ(ScreenState, Playing);
  Game::MouseButton(SDL_BUTTON_LEFT, false);
  Game::Pass();
  ASSERT_EQ(CardsTurned, 0);

  // Dragging with the button held turns the first two face-down cards it
  // crosses, and no third.
  BoardPos a{1, 1}, b{2, 1}, c{3, 1};
  if (CardAt(a).Face == CardAt(b).Face) b = {2, 2};
  PointToCard(a);
  Game::MouseButton(SDL_BUTTON_LEFT, true);
  Game::Pass();
  EXPECT_EQ(CardAt(a).State, FaceUp);
  EXPECT_EQ(CardsTurned, 1);
  Game::Pass(2);  // still held over the same card
  EXPECT_EQ(CardsTurned, 1);
  PointToCard(b);
  Game::Pass();
  EXPECT_EQ(CardAt(b).State, FaceUp);
  EXPECT_EQ(CardsTurned, 2);
  PointToCard(c);
  Game::Pass();
  EXPECT_EQ(CardAt(c).State, FaceDown);

  // The right button leaves the board; the game stays.
  Game::MouseButton(SDL_BUTTON_LEFT, false);
  PointTo(2, 2);
  Game::MouseButton(SDL_BUTTON_RIGHT, true);
  Game::Pass();
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(GameInProgress, 1);
}

TEST_F(LoopFullScreen, WellDoneIsLeftByTheButtonAnywhere) {
  Game::Scene(WellDone);
  PointTo(700, 10);
  Game::MouseButton(SDL_BUTTON_LEFT, true);
  Game::Pass();
  EXPECT_EQ(ScreenState, MainMenu);
  // The right button alone does nothing there.
  Game::MouseButton(SDL_BUTTON_LEFT, false);
  Game::Scene(WellDone);
  Game::MouseButton(SDL_BUTTON_RIGHT, true);
  Game::Pass();
  EXPECT_EQ(ScreenState, WellDone);
}

TEST_F(LoopFullScreen, PointerIsDrawnFromPlayingOn) {
  // Where the pointer stands shows only on the screens after the splashes.
  const int w = screen_width(), h = screen_height();
  for (int state : {LogoSplash, MainMenu, Playing}) {
    Game::Scene(state);
    PointTo(w / 4, h / 4);
    Game::Pass();
    const ImageBuffer here = Game::Grab();
    PointTo(3 * w / 4, 3 * h / 4);
    Game::Pass();
    const ImageBuffer there = Game::Grab();
    EXPECT_EQ(Game::SameArea(here, there, w / 4, h / 4, 8, 8), state == LogoSplash) << "state " << state;
  }
}

TEST_F(LoopFullScreen, MusicPausedInTheBackgroundStaysPausedUntilMTwice) {
  Game::Scene(MainMenu);
  ASSERT_EQ(sound_status(kMusicSound), kSoundPlaying);
  SDL_HideWindow(ScreenWindow());
  Game::Pass();
  EXPECT_EQ(screen_is_active(), 0);
  EXPECT_EQ(sound_status(kMusicSound), kSoundPaused);
  // Nothing is drawn in the background.
  Game::PaintScreen(0x00FF00);
  Game::Pass(2);
  EXPECT_EQ(Game::Pixel(Game::Grab(), screen_width() / 2, screen_height() / 2), 0x00FF00u);
  SDL_ShowWindow(ScreenWindow());
  Game::Pass(3);
  EXPECT_NE(screen_is_active(), 0);
  EXPECT_EQ(sound_status(kMusicSound), kSoundPaused) << "no window events resume it in full screen";
  Game::Tap(SDL_SCANCODE_M);
  EXPECT_EQ(Music, 0);
  Game::Tap(SDL_SCANCODE_M);
  EXPECT_EQ(Music, 1);
  EXPECT_EQ(sound_status(kMusicSound), kSoundPlaying);
}

// Another program's window in front takes the focus without minimising a
// desktop full screen: the game is in the background all the same, and its
// timers and drawing wait until the focus comes back.
TEST_F(LoopFullScreen, WithoutTheFocusTheGameIsInTheBackground) {
  auto focus = [](SDL_WindowEventID event) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = screen_system_window_id();
    e.window.event = static_cast<Uint8>(event);
    SDL_PushEvent(&e);
  };
  Game::Scene(LogoSplash);
  CardsTurned = 0;  // the mismatch pause shares the splash's counter
  Game::Pass(3);
  ASSERT_EQ(sound_status(kMusicSound), kSoundPlaying);
  const int counted = FrameCounter;
  focus(SDL_WINDOWEVENT_FOCUS_LOST);
  const int64_t composed = screen_stats().frames_composed;
  Game::Pass(5);
  EXPECT_EQ(screen_is_active(), 0);
  EXPECT_EQ(sound_status(kMusicSound), kSoundPaused);
  EXPECT_EQ(FrameCounter, counted) << "the logo's time stands still";
  EXPECT_LE(screen_stats().frames_composed - composed, 1) << "at most the frame drawn before";
  focus(SDL_WINDOWEVENT_FOCUS_GAINED);
  Game::Pass(2);
  EXPECT_NE(screen_is_active(), 0);
  EXPECT_EQ(FrameCounter, counted + 2) << "the focus is back at the first of the two passes";
  EXPECT_EQ(sound_status(kMusicSound), kSoundPaused) << "only M brings the music back in full screen";
  Game::Tap(SDL_SCANCODE_M);
  Game::Tap(SDL_SCANCODE_M);
  EXPECT_EQ(sound_status(kMusicSound), kSoundPlaying);
}

// A full screen reads no window events, yet a request to end the program
// (the signal a session sends as it ends, SDL's quit) still ends the loop
// after its pass, with the orderly end to follow.
TEST_F(LoopFullScreen, AQuitRequestEndsTheLoopAfterItsPass) {
  Game::Scene(Playing);
  Game::Pass();
  EXPECT_EQ(QuitRequested, 0);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  Game::Pass();
  EXPECT_EQ(QuitRequested, 1);
  EXPECT_EQ(ScreenState, Playing);  // nothing else came of it
  // Heard once: later passes do not meet it again.
  Game::Scene(MainMenu);
  Game::Pass(3);
  EXPECT_EQ(QuitRequested, 0);
  Game::Scene(MainMenu);
}

}  // namespace
