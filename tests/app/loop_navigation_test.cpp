// The game without a mouse, through the real loop in a 1280x720 window, by
// the keyboard and by a virtual pad alike: a whole game from the opening
// screens to the well-done screen, and every control of every screen
// reached and pressed with the same result, state and log, as its click.
#include <algorithm>
#include <functional>
#include <ostream>
#include <tuple>

#include "engine/sound/sound.h"
#include "game/assets.h"
#include "tests/app/navigation_harness.h"
#include "ui/languages.h"
#include "ui/menu.h"
#include "ui/screen_modes.h"
#include "ui/settings.h"
#include "ui/settings_screen.h"
#include "ui/text_sprites.h"

namespace {

using loop_test::Game;
using nav_test::Device;
using nav_test::Input;
using nav_test::Pad;

class LoopNavigation : public ::testing::TestWithParam<Device> {
 protected:
  static void SetUpTestSuite() {
    nav_test::AllowPadWithoutFocus();
    Game::Start("LoopNavigation", "Language = en_GB\r\nMusic = 1\r\nGameScreen = 1\r\nScreenMode = 1280x720\r\n");
    Pad::Attach();
  }
  static void TearDownTestSuite() { Game::Stop(); }
  void SetUp() override {
    ASSERT_EQ(Screen, 1);
    ASSERT_TRUE(Pad::Attached());
  }
  Device device() const { return GetParam(); }
  void Tap(Input input) const { nav_test::Tap(device(), input); }

  // Back to English with the music on, on the main menu, focus hidden.
  static void Restore() {
    Game::Scene(MainMenu);
    if (Language != "en_GB" || Music != 1) {
      EnterSettings();
      PendingLanguage = "en_GB";
      PendingMusic = 1;
      ApplyPendingSettings();
    }
    Game::Scene(MainMenu);
    HideFocus();
  }
};

// Everything a control's press can change, and the log lines it wrote.
struct Outcome {
  int screen, inProgress, quit, cardsLeft, cardsTurned, facesDown, music, pendingMusic, gameScreen,
      pendingGameScreen, languageIndex, screenModeIndex, musicStatus;
  std::string language, pendingLanguage, screenMode, pendingScreenMode;
  std::vector<std::string> log;

  static Outcome Now(size_t logFrom) {
    Outcome o{ScreenState, GameInProgress, QuitRequested, CardsLeft, CardsTurned, 0, Music, PendingMusic,
              GameScreen, PendingGameScreen, LanguageIndex, ScreenModeIndex, sound_status(kMusicSound),
              Language, PendingLanguage, ScreenMode, PendingScreenMode, {}};
    for (int c = 0; c < kBoardColumns; ++c)
      for (int r = 0; r < kBoardRows; ++r) o.facesDown += CardAt(c, r).State == FaceDown ? 1 : 0;
    const std::vector<std::string> lines = Game::LogLines();
    o.log.assign(lines.begin() + static_cast<std::ptrdiff_t>(std::min(logFrom, lines.size())), lines.end());
    return o;
  }
  bool operator==(const Outcome& o) const {
    return std::tie(screen, inProgress, quit, cardsLeft, cardsTurned, facesDown, music, pendingMusic, gameScreen,
                    pendingGameScreen, languageIndex, screenModeIndex, musicStatus, language, pendingLanguage,
                    screenMode, pendingScreenMode, log) ==
           std::tie(o.screen, o.inProgress, o.quit, o.cardsLeft, o.cardsTurned, o.facesDown, o.music,
                    o.pendingMusic, o.gameScreen, o.pendingGameScreen, o.languageIndex, o.screenModeIndex,
                    o.musicStatus, o.language, o.pendingLanguage, o.screenMode, o.pendingScreenMode, o.log);
  }
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
  out << "screen " << o.screen << ", in progress " << o.inProgress << ", quit " << o.quit << ", cards "
      << o.cardsLeft << "/" << o.cardsTurned << "/" << o.facesDown << ", music " << o.music << "/" << o.pendingMusic
      << "/" << o.musicStatus << ", mode " << o.gameScreen << "/" << o.pendingGameScreen << ", language "
      << o.language << "/" << o.pendingLanguage << "/" << o.languageIndex << ", size " << o.screenMode << "/"
      << o.pendingScreenMode << "/" << o.screenModeIndex << ", log:";
  for (const std::string& line : o.log) out << " [" << line << "]";
  return out;
}

TEST_P(LoopNavigation, AWholeGameFromTheOpeningScreensWithoutTheMouse) {
  Game::Scene(LogoSplash);
  GameInProgress = 0;
  HideFocus();
  if (device() == Device::Keyboard) {
    Game::Tap(SDL_SCANCODE_SPACE);
    Game::Tap(SDL_SCANCODE_SPACE);
  } else {
    Tap(Input::Back);
    Tap(Input::Back);
  }
  ASSERT_EQ(ScreenState, MainMenu);
  ASSERT_FALSE(FocusShown());
  Tap(Input::Down);  // the first input only shows the focus
  ASSERT_TRUE(FocusShown());
  EXPECT_EQ(nav_test::FocusedControl(), kControlStart);
  Tap(Input::Press);
  ASSERT_EQ(ScreenState, Playing);
  ASSERT_EQ(CardsLeft, 48);
  BoardPos at;
  ASSERT_TRUE(nav_test::FocusedCard(&at));
  EXPECT_EQ(at.Column, 0);
  EXPECT_EQ(at.Row, 0);

  for (int pair = 0; pair < 24; ++pair) {
    BoardPos first{-1, -1};
    for (int r = 0; r < kBoardRows && first.Column < 0; ++r)
      for (int c = 0; c < kBoardColumns && first.Column < 0; ++c)
        if (CardAt(c, r).State == FaceDown) first = {c, r};
    ASSERT_GE(first.Column, 0);
    const BoardPos second = Game::Partner(first);
    ASSERT_TRUE(nav_test::WalkToCard(device(), first)) << "pair " << pair;
    Tap(Input::Press);
    ASSERT_EQ(CardAt(first).State, FaceUp) << "pair " << pair;
    ASSERT_TRUE(nav_test::WalkToCard(device(), second)) << "pair " << pair << " to " << second.Column << "," << second.Row;
    Tap(Input::Press);
    ASSERT_EQ(CardsTurned, 2) << "pair " << pair;
    for (int i = 0; i < 60 && CardAt(first).State != Removed; ++i) Game::Pass();
    ASSERT_EQ(CardAt(second).State, Removed) << "pair " << pair;
    ASSERT_EQ(CardsLeft, 46 - 2 * pair);
  }
  EXPECT_EQ(ScreenState, WellDone);
  EXPECT_EQ(GameInProgress, 0);
  // Nothing to ring on the well-done screen: a press leaves it at once.
  Tap(Input::Press);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(nav_test::FocusedControl(), kControlStart) << "continue is dimmed after a win";
  Tap(Input::Down);
  EXPECT_EQ(nav_test::FocusedControl(), kControlSettings);
}

TEST_P(LoopNavigation, EveryControlPressedAsItsClickWouldPressIt) {
  // A settings screen on which every arrow acts: English is not at either
  // end of the language list, the game is in a window, and its size lies
  // between two others.
  auto settings = [] {
    Game::Scene(MainMenu);
    ScreenModeList = {"1024x768", "1280x720", "1920x1080"};
    ScreenMode = "1280x720";
    EnterSettings();
  };
  auto menu = [](int inProgress) {
    return [inProgress] {
      Game::Scene(MainMenu);
      GameInProgress = inProgress;
    };
  };
  auto scene = [](int state) {
    return [state] {
      Game::Scene(state);
      GameInProgress = 1;
    };
  };
  struct Case {
    const char* name;
    std::function<void()> setup;
    int control;
  };
  const Case cases[] = {
      {"start", menu(0), kControlStart},
      {"start in a game", menu(1), kControlStart},
      {"continue", menu(1), kControlContinue},
      {"settings", menu(1), kControlSettings},
      {"credits", menu(0), kControlCredits},
      {"quit", menu(0), kControlQuit},
      {"credits OK", scene(CreditsScreen), kControlCreditsOk},
      {"new game yes", scene(NewGameQuestion), kControlYes},
      {"new game no", scene(NewGameQuestion), kControlNo},
      {"quit yes", scene(QuitQuestion), kControlYes},
      {"quit no", scene(QuitQuestion), kControlNo},
      {"language left", settings, kControlLanguageLeft},
      {"language right", settings, kControlLanguageRight},
      {"music box", settings, kControlMusicBox},
      {"mode left", settings, kControlModeLeft},
      {"mode right", settings, kControlModeRight},
      {"size left", settings, kControlSizeLeft},
      {"size right", settings, kControlSizeRight},
      {"cancel", settings, kControlSettingsCancel},
      // OK with another language and the music off: loaded and logged.
      {"OK",
       [&] {
         settings();
         PendingLanguage = "de_DE";
         PendingMusic = 0;
       },
       kControlSettingsOk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " by " + nav_test::DeviceName(device()));
    Restore();
    c.setup();
    Game::Pass();
    if (c.control >= kControlLanguageLeft) {
      ASSERT_TRUE(SettingsControlActive(c.control));
    }
    size_t from = Game::LogLines().size();
    const Outcome before = Outcome::Now(from);
    Game::ClickControl(c.control);
    const Outcome clicked = Outcome::Now(from);
    ASSERT_FALSE(clicked == before) << "the click did nothing";

    Restore();
    c.setup();
    Game::Pass();
    // Tab shows the focus on the keyboard, a direction on the pad; the
    // keyboard then walks by Tab, the pad by the D-pad.
    if (device() == Device::Keyboard) {
      Game::Tap(SDL_SCANCODE_TAB);
    } else {
      Tap(Input::Down);
    }
    ASSERT_TRUE(FocusShown());
    ASSERT_TRUE(nav_test::WalkToControl(device(), c.control, device() == Device::Keyboard))
        << "the focus stands on control " << nav_test::FocusedControl();
    from = Game::LogLines().size();
    Tap(Input::Press);
    const Outcome pressed = Outcome::Now(from);
    EXPECT_EQ(pressed, clicked);
  }
  Restore();
}

INSTANTIATE_TEST_SUITE_P(Devices, LoopNavigation, ::testing::Values(Device::Keyboard, Device::Pad),
                         [](const ::testing::TestParamInfo<Device>& info) {
                           return std::string(nav_test::DeviceName(info.param)) == "pad" ? "Pad" : "Keyboard";
                         });

}  // namespace
