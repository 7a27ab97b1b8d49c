// The focus through the real loop in a 1280x720 window: hidden until a
// navigation input and for the mouse, where it appears and where the board
// keeps it, Tab and Shift+Tab, a held arrow or stick repeating, the game's
// own keys untouched, the pad's east button, Start and stick, a pad pulled
// out mid-game, and a game without a pad service.
#include "app/startup.h"
#include "engine/input/input.h"
#include "tests/app/navigation_harness.h"
#include "tests/support/screen_fixture.h"
#include "ui/focus_ring.h"
#include "ui/menu.h"
#include "ui/settings.h"
#include "ui/settings_screen.h"

namespace {

using loop_test::Game;
using nav_test::Device;
using nav_test::Input;
using nav_test::Pad;

class LoopFocus : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    nav_test::AllowPadWithoutFocus();
    Game::Start("LoopFocus", "Language = en_GB\r\nMusic = 1\r\nGameScreen = 1\r\nScreenMode = 1280x720\r\n");
    Pad::Attach();
  }
  static void TearDownTestSuite() { Game::Stop(); }
  void SetUp() override {
    ASSERT_EQ(Screen, 1);
    Game::Scene(MainMenu);
    HideFocus();
  }

  // The pointer resting over the window at (x, y).
  static void PointerAt(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = Game::WindowId();
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
  }
  // A new deal through the menu by the keyboard, the focus shown.
  static void NewGameByKeys() {
    Game::Scene(MainMenu);
    GameInProgress = 0;
    HideFocus();
    Game::Tap(SDL_SCANCODE_TAB);
    Game::Tap(SDL_SCANCODE_RETURN);
    ASSERT_EQ(ScreenState, Playing);
  }
  static BoardPos Focused() {
    BoardPos at{-1, -1};
    EXPECT_TRUE(nav_test::FocusedCard(&at));
    return at;
  }
  // The rectangle in which pixels differ between two screen readings.
  struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  };
  static Box Changed(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    Box box;
    for (int y = 0; y < 720; ++y)
      for (int x = 0; x < 1280; ++x)
        if (test_screen::PixelAt(a, x, y) != test_screen::PixelAt(b, x, y)) {
          box.left = std::min(box.left, x);
          box.top = std::min(box.top, y);
          box.right = std::max(box.right, x);
          box.bottom = std::max(box.bottom, y);
        }
    return box;
  }
};

TEST_F(LoopFocus, HiddenUntilANavigationInputAndAgainWhenTheMouseMoves) {
  GameInProgress = 0;
  PointerAt(100, 100);
  Game::Pass(2);
  const std::vector<uint32_t> plain = test_screen::ReadPixels();
  const int64_t composed = screen_stats().frames_composed;
  Game::Pass(10);
  EXPECT_EQ(screen_stats().frames_composed, composed) << "nothing new to draw without input";

  Game::Tap(SDL_SCANCODE_DOWN);
  ASSERT_TRUE(FocusShown());
  EXPECT_EQ(nav_test::FocusedControl(), kControlStart) << "the first input only shows the focus";
  // The ring round the start entry's hit area, and nothing else drawn anew.
  const std::vector<uint32_t> ringed = test_screen::ReadPixels();
  const Control& start = Controls[kControlStart];
  const Box box = Changed(plain, ringed);
  EXPECT_EQ(box.left, start.left - kFocusRingReach);
  EXPECT_EQ(box.top, start.top - kFocusRingReach);
  EXPECT_EQ(box.right, start.left + start.width - 1 + kFocusRingReach);
  EXPECT_EQ(box.bottom, start.top + ControlHeight(kControlStart) - 1 + kFocusRingReach);

  // A mouse resting within a few pixels of where it was leaves the focus.
  PointerAt(103, 98);
  Game::Pass(2);
  EXPECT_TRUE(FocusShown());
  PointerAt(105, 100);
  Game::Pass(2);
  EXPECT_FALSE(FocusShown()) << "moved 5 pixels";
  EXPECT_EQ(test_screen::ReadPixels(), plain) << "the menu as a mouse player sees it";

  // It comes back where it was, and a click hides it again.
  Game::Tap(SDL_SCANCODE_UP);
  EXPECT_TRUE(FocusShown());
  EXPECT_EQ(nav_test::FocusedControl(), kControlStart);
  Game::WindowClick(5, 5);
  EXPECT_FALSE(FocusShown());
  Game::Tap(SDL_SCANCODE_TAB);
  Game::WindowClick(5, 5, SDL_BUTTON_RIGHT);
  EXPECT_FALSE(FocusShown()) << "a right click";
  // A pad's input shows it as well.
  nav_test::Tap(Device::Pad, Input::Left);
  EXPECT_TRUE(FocusShown());
  EXPECT_EQ(nav_test::FocusedControl(), kControlStart);
}

TEST_F(LoopFocus, APressWhileHiddenOnlyShowsTheFocus) {
  Game::Scene(QuitQuestion);
  Game::Tap(SDL_SCANCODE_RETURN);
  EXPECT_EQ(ScreenState, QuitQuestion);
  EXPECT_EQ(QuitRequested, 0) << "a blind Enter must not answer the question";
  EXPECT_EQ(nav_test::FocusedControl(), kControlYes);
  Game::Tap(SDL_SCANCODE_RIGHT);
  EXPECT_EQ(nav_test::FocusedControl(), kControlNo);
  Game::Tap(SDL_SCANCODE_KP_ENTER);
  EXPECT_EQ(ScreenState, MainMenu);
  // Enter acts when let go, as the game's other keys do.
  Game::Scene(QuitQuestion);
  HideFocus();
  nav_test::Tap(Device::Pad, Input::Press);
  EXPECT_EQ(QuitRequested, 0);
  EXPECT_TRUE(FocusShown());
  EXPECT_EQ(nav_test::FocusedControl(), kControlYes);
  Game::Key(SDL_SCANCODE_RETURN, true);
  Game::Pass(3);
  EXPECT_EQ(QuitRequested, 0);
  Game::Key(SDL_SCANCODE_RETURN, false);
  Game::Pass();
  EXPECT_EQ(QuitRequested, 1);
  Game::Scene(MainMenu);
}

TEST_F(LoopFocus, TheBoardsFocusSkipsGoneCardsAndStaysWhileTheMenuIsShown) {
  NewGameByKeys();
  EXPECT_EQ(Focused().Column, 0) << "a new game starts top left";
  EXPECT_EQ(Focused().Row, 0);
  CardAt(1, 0).State = Removed;
  CardAt(2, 0).State = Removed;
  Game::Tap(SDL_SCANCODE_RIGHT);
  EXPECT_EQ(Focused().Column, 3) << "over the gap";
  for (int i = 0; i < 6; ++i) Game::Tap(SDL_SCANCODE_RIGHT);
  EXPECT_EQ(Focused().Column, 7) << "no wrapping round";
  EXPECT_EQ(Focused().Row, 0);
  Game::Tap(SDL_SCANCODE_TAB);
  EXPECT_EQ(Focused().Column, 0) << "Tab goes on to the next row";
  EXPECT_EQ(Focused().Row, 1);
  Game::Key(SDL_SCANCODE_LSHIFT, true);
  Game::Tap(SDL_SCANCODE_TAB);
  EXPECT_EQ(Focused().Column, 7) << "Shift+Tab back";
  EXPECT_EQ(Focused().Row, 0);
  for (int i = 0; i < 4; ++i) Game::Tap(SDL_SCANCODE_LEFT);
  EXPECT_EQ(Focused().Column, 3);
  Game::Tap(SDL_SCANCODE_TAB);
  EXPECT_EQ(Focused().Column, 0) << "Shift+Tab past the gone cards";
  Game::Key(SDL_SCANCODE_LSHIFT, false);
  Game::Tap(SDL_SCANCODE_TAB);
  EXPECT_EQ(Focused().Column, 3) << "Tab past them";
  // Alt+Tab is the desktop's.
  Game::Key(SDL_SCANCODE_LALT, true);
  Game::Tap(SDL_SCANCODE_TAB);
  Game::Key(SDL_SCANCODE_LALT, false);
  Game::Pass();
  EXPECT_EQ(Focused().Column, 3);

  // To the menu and back: the same card.
  Game::Tap(SDL_SCANCODE_DOWN);
  const BoardPos before = Focused();
  Game::Tap(SDL_SCANCODE_ESCAPE);
  ASSERT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(nav_test::FocusedControl(), kControlStart);
  Game::Tap(SDL_SCANCODE_DOWN);
  Game::Tap(SDL_SCANCODE_RETURN);
  ASSERT_EQ(ScreenState, Playing);
  EXPECT_EQ(Focused().Column, before.Column);
  EXPECT_EQ(Focused().Row, before.Row);

  // Its card gone while it is shown: it stays on the empty place, and moves
  // on from there.
  CardAt(before).State = Removed;
  Game::Pass();
  EXPECT_EQ(Focused().Column, before.Column);
  Game::Tap(SDL_SCANCODE_DOWN);
  EXPECT_EQ(Focused().Column, before.Column);
  EXPECT_EQ(Focused().Row, before.Row + 1);
  // Gone while hidden: shown again on the top-left card left.
  CardAt(0, 0).State = Removed;
  const BoardPos now = Focused();
  HideFocus();
  CardAt(now).State = Removed;
  Game::Tap(SDL_SCANCODE_LEFT);
  EXPECT_EQ(Focused().Column, 3);
  EXPECT_EQ(Focused().Row, 0);
  Game::Scene(MainMenu);
}

TEST_F(LoopFocus, AHeldArrowOrStickRepeats) {
  NewGameByKeys();
  Game::Key(SDL_SCANCODE_RIGHT, true);
  Game::Pass();
  EXPECT_EQ(Focused().Column, 1) << "at once";
  Game::Pass(23);
  EXPECT_EQ(Focused().Column, 1) << "not before 24 passes held";
  Game::Pass();
  EXPECT_EQ(Focused().Column, 2);
  Game::Pass(5);
  EXPECT_EQ(Focused().Column, 2);
  Game::Pass();
  EXPECT_EQ(Focused().Column, 3) << "then every 6 passes";
  Game::Pass(12);
  EXPECT_EQ(Focused().Column, 5);
  Game::Key(SDL_SCANCODE_RIGHT, false);
  Game::Pass(30);
  EXPECT_EQ(Focused().Column, 5) << "let go";

  // The stick: past half way it moves, and it stays held down to a third.
  Pad::Axis(SDL_CONTROLLER_AXIS_LEFTY, 20000);
  Game::Pass();
  EXPECT_EQ(Focused().Row, 1);
  Pad::Axis(SDL_CONTROLLER_AXIS_LEFTY, 13000);
  Game::Pass(24);
  EXPECT_EQ(Focused().Row, 2) << "still held: repeats";
  Pad::Axis(SDL_CONTROLLER_AXIS_LEFTY, 5000);
  Game::Pass(30);
  EXPECT_EQ(Focused().Row, 2);
  // A slight push does nothing; a diagonal goes the way pushed further.
  Pad::Axis(SDL_CONTROLLER_AXIS_LEFTY, 15000);
  Game::Pass();
  EXPECT_EQ(Focused().Row, 2);
  Pad::Axis(SDL_CONTROLLER_AXIS_LEFTY, -20000);
  Pad::Axis(SDL_CONTROLLER_AXIS_LEFTX, -25000);
  Game::Pass();
  EXPECT_EQ(Focused().Column, 4);
  EXPECT_EQ(Focused().Row, 2);
  Pad::Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
  Pad::Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  Game::Pass();
  Game::Scene(MainMenu);
}

TEST_F(LoopFocus, TheGamesOwnKeysKeepTheirMeaning) {
  // Space acts on the opening screens only; Enter not at all there.
  Game::Scene(LogoSplash);
  Game::Tap(SDL_SCANCODE_RETURN);
  Game::Tap(SDL_SCANCODE_DOWN);
  EXPECT_EQ(ScreenState, LogoSplash);
  Game::Scene(MainMenu);
  GameInProgress = 0;
  Game::Tap(SDL_SCANCODE_TAB);
  Game::Tap(SDL_SCANCODE_SPACE);
  EXPECT_EQ(ScreenState, MainMenu) << "Space presses nothing";
  // M and Escape as ever, the focus shown or not.
  const int music = Music;
  Game::Tap(SDL_SCANCODE_M);
  EXPECT_EQ(Music, 1 - music);
  Game::Tap(SDL_SCANCODE_M);
  EXPECT_EQ(Music, music);
  Game::SettingsWithAChange();
  Game::Tap(SDL_SCANCODE_TAB);
  Game::Tap(SDL_SCANCODE_ESCAPE);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(PendingMusic, Music) << "Escape cancels";
  Game::Tap(SDL_SCANCODE_ESCAPE);
  EXPECT_EQ(QuitRequested, 1);
  Game::Scene(MainMenu);
}

TEST_F(LoopFocus, ThePadsEastButtonIsEscapeAndStartLeavesTheBoard) {
  struct Case {
    int state;
    int afterEast;
    int afterStart;
  };
  const Case cases[] = {
      {LogoSplash, TitleSplash, LogoSplash},        {TitleSplash, MainMenu, TitleSplash},
      {MainMenu, MainMenu, MainMenu},               {Playing, MainMenu, MainMenu},
      {NewGameQuestion, MainMenu, NewGameQuestion}, {SettingsScreen, MainMenu, SettingsScreen},
      {CreditsScreen, MainMenu, CreditsScreen},     {QuitQuestion, MainMenu, QuitQuestion},
      {WellDone, MainMenu, WellDone},
  };
  GameInProgress = 1;
  CardsTurned = 0;
  for (const Case& c : cases) {
    for (Input input : {Input::Back, Input::Start}) {
      const bool east = input == Input::Back;
      SCOPED_TRACE(::testing::Message() << "state " << c.state << (east ? " east" : " Start"));
      if (c.state == SettingsScreen) {
        Game::SettingsWithAChange();
      } else {
        Game::Scene(c.state);
      }
      nav_test::Tap(Device::Pad, input);
      EXPECT_EQ(ScreenState, east ? c.afterEast : c.afterStart);
      EXPECT_EQ(QuitRequested, east && c.state == MainMenu ? 1 : 0);
      if (c.state == SettingsScreen && east) {
        EXPECT_EQ(PendingMusic, Music) << "east drops the changes, as Escape";
      }
    }
  }
  Game::Scene(MainMenu);
}

TEST_F(LoopFocus, APadUnpluggedMidGameLosesNothing) {
  NewGameByKeys();
  const BoardPos first{0, 0};
  const BoardPos second = Game::Partner(first);
  nav_test::Tap(Device::Pad, Input::Press);
  ASSERT_EQ(CardAt(first).State, FaceUp);
  ASSERT_TRUE(nav_test::WalkToCard(Device::Pad, second));
  // Pulled out with its south button held down.
  Pad::Button(SDL_CONTROLLER_BUTTON_A, true);
  Game::Pass();
  Pad::Detach();
  Game::Pass(5);
  EXPECT_EQ(ScreenState, Playing);
  EXPECT_EQ(CardAt(first).State, FaceUp);
  EXPECT_EQ(CardAt(second).State, FaceDown) << "a button held as the pad went is no press";
  EXPECT_EQ(CardsTurned, 1);
  EXPECT_TRUE(FocusShown());
  // Plugged in again, it takes up the game where it was.
  Pad::Attach();
  BoardPos at;
  ASSERT_TRUE(nav_test::FocusedCard(&at));
  EXPECT_EQ(at.Column, second.Column);
  EXPECT_EQ(at.Row, second.Row);
  nav_test::Tap(Device::Pad, Input::Press);
  EXPECT_EQ(CardsTurned, 2);
  for (int i = 0; i < 60 && CardAt(first).State != Removed; ++i) Game::Pass();
  EXPECT_EQ(CardAt(second).State, Removed);
  EXPECT_EQ(CardsLeft, 46);
  Game::Scene(MainMenu);
}

}  // namespace

namespace {

int NoPads() { return 0; }

// The log's labels, without the values after the tabs (times, sizes) and
// the start's own time stamp under the title.
std::vector<std::string> Labels(const std::vector<std::string>& lines) {
  std::vector<std::string> labels;
  for (size_t i = 2; i < lines.size(); ++i) labels.push_back(lines[i].substr(0, lines[i].find('\t')));
  return labels;
}

// A pad service that cannot start is no reason to stop: the game starts as
// it always does, says nothing of pads, and plays by the keyboard.
TEST(LoopWithoutPads, TheGameStartsAndPlaysAsEver) {
  const std::string settings = "Language = en_GB\r\nMusic = 0\r\nGameScreen = 1\r\nScreenMode = 1280x720\r\n";
  Game::Start("LoopWithPads", settings);
  const std::vector<std::string> withPads = Labels(Game::LogLines());
  Game::Stop();

  PadStart = NoPads;
  Game::Start("LoopWithoutPads", settings);
  EXPECT_EQ(Labels(Game::LogLines()), withPads);
  EXPECT_EQ(gamepad_poll(), 0);
  Game::Scene(MainMenu);
  GameInProgress = 0;
  Game::Tap(SDL_SCANCODE_TAB);
  Game::Tap(SDL_SCANCODE_RETURN);
  EXPECT_EQ(ScreenState, Playing);
  Game::Tap(SDL_SCANCODE_RIGHT);
  Game::Tap(SDL_SCANCODE_RETURN);
  EXPECT_EQ(CardAt(1, 0).State, FaceUp);
  Game::Stop();
  EXPECT_EQ(PadStart, &gamepad_start) << "the program's reset puts the real service back";
}

}  // namespace
