// The main loop in a 1280x720 window, driven pass by pass with window events
// and keys: the splash timing, a whole game won by clicks, the mismatch
// pause, the keys on every screen, the screenshot and the background pause.
#include <algorithm>
#include <regex>

#include "engine/input/input.h"
#include "engine/sound/sound.h"
#include "engine/system/date.h"
#include "game/assets.h"
#include "game/geometry.h"
#include "tests/app/loop_harness.h"
#include "ui/menu.h"
#include "ui/settings.h"
#include "ui/settings_screen.h"

namespace {

using loop_test::Game;

class LoopWindowed : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Game::Start("LoopWindowed", "Language = en_GB\r\nMusic = 1\r\nGameScreen = 1\r\nScreenMode = 1280x720\r\n");
  }
  static void TearDownTestSuite() { Game::Stop(); }
  void SetUp() override {
    ASSERT_EQ(Screen, 1);
    ASSERT_EQ(screen_width(), 1280);
  }

  // A new deal through the menu's START, with no game in progress.
  static void NewGame() {
    Game::Scene(MainMenu);
    GameInProgress = 0;
    Game::ClickControl(kControlStart);
    ASSERT_EQ(ScreenState, Playing);
  }
  static void ClickCard(BoardPos pos) {
    Game::WindowClick(Game::CardCentreX(pos.Column, pos.Row), Game::CardCentreY(pos.Column, pos.Row));
  }
  // Two face-down cards with different faces.
  static void FindMismatch(BoardPos* a, BoardPos* b) {
    *a = {0, 0};
    for (int c = 0; c < kBoardColumns; ++c)
      for (int r = 0; r < kBoardRows; ++r)
        if (CardAt(c, r).Face != CardAt(*a).Face) *b = {c, r};
  }
};

TEST_F(LoopWindowed, SplashScreensLast101And100Passes) {
  Game::Scene(LogoSplash);
  Game::Pass();
  const ImageBuffer logo = Game::Grab();
  Game::Pass(99);
  EXPECT_EQ(ScreenState, LogoSplash) << "after 100 passes";
  Game::Pass();
  EXPECT_EQ(ScreenState, TitleSplash) << "after 101 passes";
  EXPECT_TRUE(Game::Same(Game::Grab(), logo)) << "the 101st pass still shows the logo";
  EXPECT_EQ(FrameCounter, 1) << "the title's count starts in the pass the logo ends";
  Game::Pass();
  const ImageBuffer title = Game::Grab();
  EXPECT_FALSE(Game::Same(title, logo));
  Game::Pass(98);
  EXPECT_EQ(ScreenState, TitleSplash) << "after 200 passes";
  Game::Pass();
  EXPECT_EQ(ScreenState, MainMenu) << "after 201 passes";
  EXPECT_EQ(FrameCounter, 0);
  EXPECT_TRUE(Game::Same(Game::Grab(), title)) << "the title is shown for 100 passes";
  Game::Pass();
  EXPECT_FALSE(Game::Same(Game::Grab(), title));
}

TEST_F(LoopWindowed, WholeGameWonByClickingEveryPair) {
  NewGame();
  EXPECT_EQ(CardsLeft, 48);
  EXPECT_EQ(GameInProgress, 1);
  for (int pair = 0; pair < 24; ++pair) {
    BoardPos first{-1, -1};
    for (int c = 0; c < kBoardColumns && first.Column < 0; ++c)
      for (int r = 0; r < kBoardRows && first.Column < 0; ++r)
        if (CardAt(c, r).State == FaceDown) first = {c, r};
    ASSERT_GE(first.Column, 0) << "no face-down card left at pair " << pair;
    const BoardPos second = Game::Partner(first);
    ClickCard(first);
    ASSERT_EQ(CardAt(first).State, FaceUp) << "pair " << pair;
    ClickCard(second);
    // The second card's pass already finds the pair; it then fades by 8 a
    // frame from 255 and goes at the check that finds it below zero.
    ASSERT_EQ(CardAt(second).State, Vanishing) << "pair " << pair;
    int passes = 0;
    while (CardAt(first).State == Vanishing && passes < 100) {
      Game::Pass();
      ++passes;
    }
    EXPECT_EQ(passes, 32) << "pair " << pair;
    EXPECT_EQ(CardAt(first).State, Removed);
    EXPECT_EQ(CardAt(second).State, Removed);
    EXPECT_EQ(CardsLeft, 46 - 2 * pair);
    if (pair < 23) {
      ASSERT_EQ(ScreenState, Playing) << "pair " << pair;
    }
  }
  EXPECT_EQ(ScreenState, WellDone);
  EXPECT_EQ(GameInProgress, 0);
  Game::Pass(3);
  Game::WindowClick(3, 3);  // anywhere
  EXPECT_EQ(ScreenState, MainMenu);
  Game::ClickControl(kControlContinue);
  EXPECT_EQ(ScreenState, MainMenu) << "nothing to continue after a win";
}

TEST_F(LoopWindowed, MismatchShowsBothCardsFor82Checks) {
  NewGame();
  BoardPos a, b;
  FindMismatch(&a, &b);
  const ImageBuffer before = Game::Grab();
  ClickCard(a);
  const ImageBuffer turned = Game::Grab();
  const BoardCard& ca = CardAt(a);
  const BoardCard& cb = CardAt(b);
  // The click is handled before the frame is drawn: that frame shows it.
  EXPECT_FALSE(Game::SameArea(before, turned, ca.X, ca.Y, CardSize, CardSize));
  EXPECT_TRUE(Game::SameArea(before, turned, cb.X, cb.Y, CardSize, CardSize));
  ClickCard(b);
  EXPECT_EQ(CardsTurned, 2);
  Game::Pass(80);
  EXPECT_EQ(CardAt(a).State, FaceUp) << "81 checks";
  EXPECT_EQ(CardAt(b).State, FaceUp);
  Game::Pass();
  EXPECT_EQ(CardAt(a).State, FaceDown) << "82 checks";
  EXPECT_EQ(CardAt(b).State, FaceDown);
  EXPECT_EQ(CardsTurned, 0);
  EXPECT_EQ(FrameCounter, 0);
  // The check follows the drawing: the pass that turns the cards back still
  // showed them, the next one shows their backs.
  EXPECT_TRUE(Game::SameArea(Game::Grab(), turned, ca.X, ca.Y, CardSize, CardSize));
  Game::Pass();
  EXPECT_TRUE(Game::SameArea(Game::Grab(), before, ca.X, ca.Y, CardSize, CardSize));
}

// What the screen costs: a still screen is drawn once, an animation in every
// one of its passes, and a fading pair only where the two cards lie. A pass
// draws after its flip, so its picture is composed by the next pass's flip.
TEST_F(LoopWindowed, StillScreensAreDrawnOnceAndAnimationsInEveryPass) {
  auto composed = [] { return screen_stats().frames_composed; };
  for (int state : {MainMenu, Playing, SettingsScreen, CreditsScreen}) {
    Game::Scene(state);
    Game::Pass();
    const int64_t before = composed();
    Game::Pass(60);
    EXPECT_EQ(composed() - before, 1) << "screen " << state;
  }
  NewGame();
  Game::Pass();
  BoardPos first{0, 0};
  const BoardPos second = Game::Partner(first);
  ClickCard(first);
  ClickCard(second);
  ASSERT_EQ(CardAt(first).State, Vanishing);
  const int64_t screen = int64_t{1280} * 720;
  while (CardAt(first).State == Vanishing) {
    const ScreenStats before = screen_stats();
    Game::Pass();
    const ScreenStats after = screen_stats();
    ASSERT_EQ(after.frames_composed - before.frames_composed, 1) << "a fading pair";
    // Two cards with their shadows and the background under them.
    EXPECT_LT(after.pixels_composed - before.pixels_composed, screen / 8);
  }
  // The well-done screen fades in over 32 passes, then shows its picture
  // at full strength: 33 pictures, then nothing more to draw.
  Game::Scene(WellDone);
  WellDoneFade = 0;
  Game::Pass();
  const int64_t fading = composed();
  for (int i = 0; i < 32; ++i) {
    const int64_t before = composed();
    Game::Pass();
    ASSERT_EQ(composed() - before, 1) << "the well-done fade, pass " << i;
  }
  Game::Pass(30);
  EXPECT_EQ(composed() - fading, 33);
  Game::Scene(MainMenu);
}

// A player who clicks a card and moves on at once, within the same frame:
// the card under the release turns, not the one the pointer has reached.
TEST_F(LoopWindowed, TheCardUnderTheReleaseTurnsThoughThePointerMovedOn) {
  NewGame();
  BoardPos a, b;
  FindMismatch(&a, &b);
  Game::PushWindowClick(Game::CardCentreX(a.Column, a.Row), Game::CardCentreY(a.Column, a.Row));
  SDL_Event move{};
  move.type = SDL_MOUSEMOTION;
  move.motion.windowID = Game::WindowId();
  move.motion.x = Game::CardCentreX(b.Column, b.Row);
  move.motion.y = Game::CardCentreY(b.Column, b.Row);
  SDL_PushEvent(&move);
  Game::Pass();
  EXPECT_EQ(CardAt(a).State, FaceUp);
  EXPECT_EQ(CardAt(b).State, FaceDown);
  EXPECT_EQ(CardsTurned, 1);
}

TEST_F(LoopWindowed, RightClickLeavesPlayAndContinueResumesTheMove) {
  NewGame();
  const BoardPos a{3, 2};
  ClickCard(a);
  // A right click elsewhere than on the board does nothing.
  Game::Scene(MainMenu);
  Game::WindowClick(5, 5, SDL_BUTTON_RIGHT);
  EXPECT_EQ(ScreenState, MainMenu);
  Game::Scene(Playing);
  Game::WindowClick(5, 5, SDL_BUTTON_RIGHT);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(GameInProgress, 1);
  Game::ClickControl(kControlContinue);
  EXPECT_EQ(ScreenState, Playing);
  EXPECT_EQ(CardAt(a).State, FaceUp);
  EXPECT_EQ(CardsTurned, 1);
  // A click outside the window hits no card.
  Game::WindowClick(-1, Game::CardCentreY(0, 0));
  EXPECT_EQ(CardsTurned, 1);
}

TEST_F(LoopWindowed, EscapeAndSpaceOnEveryScreen) {
  struct Case {
    int state;
    int afterEscape;
    int afterSpace;
  };
  const Case cases[] = {
      {LogoSplash, TitleSplash, TitleSplash},       {TitleSplash, MainMenu, MainMenu},
      {MainMenu, MainMenu, MainMenu},               {Playing, MainMenu, Playing},
      {NewGameQuestion, MainMenu, NewGameQuestion}, {SettingsScreen, MainMenu, SettingsScreen},
      {CreditsScreen, MainMenu, CreditsScreen},     {QuitQuestion, MainMenu, QuitQuestion},
      {WellDone, MainMenu, WellDone},
  };
  GameInProgress = 1;
  CardsTurned = 0;
  for (const Case& c : cases) {
    for (SDL_Scancode key : {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_SPACE}) {
      const bool escape = key == SDL_SCANCODE_ESCAPE;
      if (c.state == SettingsScreen) {
        Game::SettingsWithAChange();
      } else {
        Game::Scene(c.state);
      }
      Game::Tap(key);
      SCOPED_TRACE(::testing::Message() << "state " << c.state << (escape ? " Escape" : " Space"));
      EXPECT_EQ(ScreenState, escape ? c.afterEscape : c.afterSpace);
      EXPECT_EQ(QuitRequested, escape && c.state == MainMenu ? 1 : 0);
      if (c.state <= TitleSplash) {
        EXPECT_EQ(FrameCounter, 0);
      }
      if (c.state == SettingsScreen && escape) {
        EXPECT_EQ(PendingMusic, Music) << "Escape drops the changes";
      }
    }
  }
  Game::Scene(MainMenu);
}

TEST_F(LoopWindowed, MTogglesTheMusicExceptOnTheSettingsScreen) {
  Game::Scene(MainMenu);
  ASSERT_EQ(Music, 1);
  ASSERT_EQ(sound_status(kMusicSound), kSoundPlaying);
  Game::Tap(SDL_SCANCODE_M);
  EXPECT_EQ(Music, 0);
  EXPECT_EQ(sound_status(kMusicSound), kSoundStopped);
  Game::Tap(SDL_SCANCODE_M);
  EXPECT_EQ(Music, 1);
  EXPECT_EQ(sound_status(kMusicSound), kSoundPlaying);

  EnterSettings();
  Game::Tap(SDL_SCANCODE_M);
  EXPECT_EQ(Music, 1);
  EXPECT_EQ(PendingMusic, 1);
  EXPECT_EQ(sound_status(kMusicSound), kSoundPlaying);
  // The release seen on the settings screen is spent, not kept for later.
  Game::Tap(SDL_SCANCODE_ESCAPE);
  ASSERT_EQ(ScreenState, MainMenu);
  Game::Pass(2);
  EXPECT_EQ(Music, 1);
  EXPECT_EQ(sound_status(kMusicSound), kSoundPlaying);
}

TEST_F(LoopWindowed, SSavesTheFrameAsPngAndLogsIt) {
  Game::Scene(MainMenu);
  const std::string folder = Game::ProgramFolder();
  ASSERT_EQ(SaveTo, folder);
  auto shots = [&] {
    std::vector<std::string> names;
    for (const std::string& n : folder_list(folder))
      if (n.rfind("Duskmatch ", 0) == 0) names.push_back(n);
    return names;
  };
  for (const std::string& n : shots()) file_remove(folder + n);
  const int64_t before = date_now();
  Game::Tap(SDL_SCANCODE_S);
  const int64_t after = date_now();
  const std::vector<std::string> names = shots();
  ASSERT_EQ(names.size(), 1u);
  EXPECT_TRUE(std::regex_match(names[0], std::regex(R"(Duskmatch \d\d-\d\d-\d{4} \d\d-\d\d-\d\d\.png)")))
      << names[0];
  bool dated = false;
  for (int64_t t = before; t <= after; ++t) dated = dated || folder + names[0] == ScreenshotFileName(folder, t);
  EXPECT_TRUE(dated) << names[0] << " is not the time of the key";
  const ImageBuffer shot = Game::DecodeFile(folder + names[0]);
  EXPECT_EQ(shot.width, 1280);
  EXPECT_EQ(shot.height, 720);
  EXPECT_TRUE(Game::Same(shot, Game::Grab())) << "the screenshot is the frame of its pass";
  std::vector<std::string> log = Game::LogLines();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "Saving screenshot:\t\tOK");

  // A folder that cannot be written: only the log tells.
  SaveTo = folder + "gone/";
  Game::Tap(SDL_SCANCODE_S);
  SaveTo = folder;
  log = Game::LogLines();
  EXPECT_EQ(log.back(), "Saving screenshot:\t\tFAILED");
  EXPECT_EQ(shots().size(), 1u);
}

TEST_F(LoopWindowed, InTheBackgroundNothingIsDrawnAndTheMusicPauses) {
  NewGame();
  BoardPos a, b;
  FindMismatch(&a, &b);
  ClickCard(a);
  ClickCard(b);
  ASSERT_EQ(sound_status(kMusicSound), kSoundPlaying);
  const int counted = FrameCounter;
  Game::WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  Game::PaintScreen(0xFF0000);  // blue
  Game::Pass(3);
  EXPECT_EQ(sound_status(kMusicSound), kSoundPaused);
  EXPECT_EQ(FrameCounter, counted) << "no move check in the background";
  ImageBuffer idle = Game::Grab();
  for (auto [x, y] : {std::pair{0, 0}, {640, 360}, {1279, 719}, {Game::CardCentreX(0, 0), Game::CardCentreY(0, 0)}})
    EXPECT_EQ(Game::Pixel(idle, x, y), 0x0000FFu) << "drawn at " << x << "," << y;
  Game::WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  Game::Pass();
  EXPECT_EQ(sound_status(kMusicSound), kSoundPlaying);
  EXPECT_EQ(FrameCounter, counted + 1);
  EXPECT_NE(Game::Pixel(Game::Grab(), 640, 360), 0x0000FFu);
}

TEST_F(LoopWindowed, WindowEventsPauseAndResumeTheMusic) {
  Game::Scene(MainMenu);
  ASSERT_EQ(sound_status(kMusicSound), kSoundPlaying);
  Game::WindowEvent(SDL_WINDOWEVENT_MINIMIZED);
  Game::Pass();
  EXPECT_EQ(sound_status(kMusicSound), kSoundPaused);
  for (SDL_WindowEventID event : {SDL_WINDOWEVENT_RESTORED, SDL_WINDOWEVENT_FOCUS_GAINED}) {
    Game::WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);  // the window active again
    Game::Pass();
    sound_pause(kMusicSound);
    Game::WindowEvent(event);
    Game::Pass();
    EXPECT_EQ(sound_status(kMusicSound), kSoundPlaying) << "event " << event;
  }
  // Music switched off stays off when the window comes back.
  Game::Tap(SDL_SCANCODE_M);
  Game::WindowEvent(SDL_WINDOWEVENT_RESTORED);
  Game::Pass();
  EXPECT_EQ(sound_status(kMusicSound), kSoundStopped);
  Game::Tap(SDL_SCANCODE_M);
  EXPECT_EQ(sound_status(kMusicSound), kSoundPlaying);
}

TEST_F(LoopWindowed, ClicksReachTheScreenShownAndOkLeavesTheRestForLater) {
  Game::Scene(MainMenu);
  Game::ClickControl(kControlCredits);
  EXPECT_EQ(ScreenState, CreditsScreen);
  Game::ClickControl(kControlCreditsOk);
  EXPECT_EQ(ScreenState, MainMenu);
  Game::ClickControl(kControlQuit);
  EXPECT_EQ(ScreenState, QuitQuestion);
  Game::ClickControl(kControlNo);
  EXPECT_EQ(ScreenState, MainMenu);
  // The settings' OK and a close request in one drain: the close waits for
  // the next pass.
  Game::ClickControl(kControlSettings);
  ASSERT_EQ(ScreenState, SettingsScreen);
  const Control& ok = Controls[kControlSettingsOk];
  Game::PushWindowClick(ok.left + ok.width / 2, ok.top + 20);
  Game::WindowEvent(SDL_WINDOWEVENT_CLOSE);
  Game::Pass();
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(QuitRequested, 0);
  Game::Pass();
  EXPECT_EQ(QuitRequested, 1);
  Game::Scene(MainMenu);
}

TEST_F(LoopWindowed, CloseRequestEndsTheLoopAfterItsPass) {
  Game::Scene(MainMenu);
  Game::WindowEvent(SDL_WINDOWEVENT_CLOSE);
  Game::Pass();
  ASSERT_EQ(QuitRequested, 1);
  Game::Scene(MainMenu);
  Game::WindowEvent(SDL_WINDOWEVENT_CLOSE);
  RunMainLoop();  // returns once a pass has seen the close
  EXPECT_EQ(QuitRequested, 1);
  Game::Scene(QuitQuestion);
  Game::ClickControl(kControlYes);
  EXPECT_EQ(QuitRequested, 1);
  Game::Scene(MainMenu);
}

}  // namespace
