// The settings screen's OK through the main loop: a window-size change that
// reopens the display and keeps the game in progress, a language and window
// mode changed in one visit, and changes that must not reopen anything.
#include "app/settings_file.h"
#include "engine/sound/sound.h"
#include "game/assets.h"
#include "game/geometry.h"
#include "game/sprites.h"
#include "tests/app/loop_harness.h"
#include "tests/support/screen_probe.h"
#include "ui/languages.h"
#include "ui/settings.h"

namespace {

using loop_test::Game;

// Each case starts its own game: a reopen changes the display for good.
class LoopReopen : public ::testing::Test {
 protected:
  void TearDown() override { Game::Stop(); }

  static void StartWith(const std::string& screen) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    Game::Start(std::string("LoopReopen.") + info->name(),
                "Language = en_GB\r\nMusic = 1\r\nGameScreen = " + screen + "\r\nScreenMode = 1280x720\r\n");
  }
  // From the main menu onto the settings screen by its entry.
  static void OpenSettings() {
    Game::Scene(MainMenu);
    Game::ClickControl(kControlSettings);
    ASSERT_EQ(ScreenState, SettingsScreen);
  }
  static int Count(const std::string& line) {
    int n = 0;
    for (const std::string& l : Game::LogLines()) n += l == line ? 1 : 0;
    return n;
  }
};

TEST_F(LoopReopen, WindowSizeChangeKeepsTheGameInProgress) {
  StartWith("1");
  ASSERT_EQ(Screen, 1);
  Game::Scene(MainMenu);
  Game::ClickControl(kControlStart);
  ASSERT_EQ(ScreenState, Playing);
  // One pair found, one card of the next move turned.
  const BoardPos a{0, 0};
  const BoardPos b = Game::Partner(a);
  Game::WindowClick(Game::CardCentreX(0, 0), Game::CardCentreY(0, 0));
  Game::WindowClick(Game::CardCentreX(b.Column, b.Row), Game::CardCentreY(b.Column, b.Row));
  for (int i = 0; i < 40 && CardAt(a).State != Removed; ++i) Game::Pass();
  ASSERT_EQ(CardAt(a).State, Removed);
  // The far corner, unless the deal put the first pair's partner there.
  const BoardPos c = (b.Column == 7 && b.Row == 5) ? BoardPos{6, 5} : BoardPos{7, 5};
  ASSERT_EQ(CardAt(c).State, FaceDown);
  Game::WindowClick(Game::CardCentreX(c.Column, c.Row), Game::CardCentreY(c.Column, c.Row));
  ASSERT_EQ(CardAt(c).State, FaceUp);
  const std::array<BoardCard, kBoardCards> before = Board;
  const int oldSize = CardSize;
  const int background = BackgroundIndex;

  Game::WindowClick(5, 5, SDL_BUTTON_RIGHT);
  OpenSettings();
  PendingScreenMode = "1024x768";
  Game::ClickControl(kControlSettingsOk);

  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(ScreenReopened, 1);
  EXPECT_EQ(GameScreen, 1);
  EXPECT_EQ(ScreenMode, "1024x768");
  EXPECT_EQ(ScreenWidth, 1024);
  EXPECT_EQ(screen_width(), 1024);
  EXPECT_EQ(screen_height(), 768);
  EXPECT_EQ(Count("Opening screen (Windowed):\t\tOK"), 2);
  EXPECT_EQ(GameInProgress, 1);
  EXPECT_EQ(CardsLeft, 46);
  EXPECT_EQ(CardsTurned, 1);
  EXPECT_EQ(BackgroundIndex, background);
  EXPECT_NE(CardSize, oldSize);
  for (int col = 0; col < kBoardColumns; ++col) {
    for (int row = 0; row < kBoardRows; ++row) {
      const BoardCard& now = CardAt(col, row);
      const BoardCard& then = before[static_cast<size_t>(col * kBoardRows + row)];
      SCOPED_TRACE(::testing::Message() << "card " << col << "," << row);
      EXPECT_EQ(now.Face, then.Face);
      EXPECT_EQ(now.State, then.State);
      EXPECT_EQ(now.X, CardColumnX(col));
      EXPECT_EQ(now.Y, CardRowY(row));
    }
  }
  EXPECT_NE(CardAt(7, 5).X, before[7 * kBoardRows + 5].X);
  // Every sprite was made again for the new screen: the frame is drawn.
  Game::Unpaced();
  Game::Pass();
  EXPECT_NE(sprite_width(kPanelSprite), 0);
  EXPECT_EQ(sprite_width(kDimSprite), 1024);

  // The game goes on at the new places: the partner of the turned card.
  Game::ClickControl(kControlContinue);
  ASSERT_EQ(ScreenState, Playing);
  const BoardPos d = Game::Partner(c);
  Game::WindowClick(Game::CardCentreX(d.Column, d.Row), Game::CardCentreY(d.Column, d.Row));
  EXPECT_EQ(CardAt(c).State, Vanishing);
  EXPECT_EQ(CardAt(d).State, Vanishing);
  // A windowed reopen leaves the flag for a borderless window's first
  // deactivation; here deactivation touches neither it nor the music.
  Game::WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  Game::Pass();
  EXPECT_EQ(ScreenReopened, 1);
  EXPECT_EQ(sound_status(kMusicSound), kSoundPaused) << "the window in the background";
}

TEST_F(LoopReopen, LanguageAndModeInOneVisitRenderTheTextsAgainAfterTheReopen) {
  StartWith("1");
  ASSERT_EQ(Screen, 1);
  const int englishStart = sprite_width(kStartText);
  ASSERT_GT(englishStart, 0);
  OpenSettings();
  PendingLanguage = "de_DE";
  PendingGameScreen = 2;
  Game::ClickControl(kControlSettingsOk);

  EXPECT_EQ(Language, "de_DE");
  EXPECT_EQ(GameScreen, 2);
  EXPECT_EQ(ScreenReopened, 1);
  EXPECT_EQ(Text("tMenuSTART"), "Neues Spiel");
  // The language comes first, then the new display with every text sprite
  // made again in the new language (the lists included, which only the full
  // pass makes).
  const int loaded = Game::LogIndex("Load language (de_DE):\t\tOK");
  ASSERT_GE(loaded, 0);
  EXPECT_GT(Game::LogIndex("Opening screen (Borderless):\t\tOK", loaded), loaded);
  EXPECT_EQ(screen_width(), 1024) << "borderless covers the desktop";
  EXPECT_GT(sprite_width(kStartText), englishStart);
  EXPECT_EQ(Controls[kControlStart].width, sprite_width(kStartText));
  EXPECT_EQ(Controls[kControlStart].left, (1024 - sprite_width(kStartText)) / 2);
  EXPECT_GT(sprite_width(kLanguageStrip), 0);
  EXPECT_GT(sprite_width(kScreenModeStrip), 0);
  EXPECT_EQ(ScreenState, MainMenu);

  // Borderless: the first deactivation after the reopen pauses the music and
  // only clears the flag.
  Game::Unpaced();
  Game::Pass();  // the events the OK left behind, and the new window's own
  ASSERT_EQ(sound_status(kMusicSound), kSoundPlaying);
  Game::WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  Game::Pass();
  EXPECT_EQ(ScreenReopened, 0);
  EXPECT_EQ(sound_status(kMusicSound), kSoundPaused);
  Game::WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  Game::Pass();
  EXPECT_EQ(sound_status(kMusicSound), kSoundPlaying);
}

TEST_F(LoopReopen, SizeAloneOutsideWindowedModeReopensNothing) {
  StartWith("2");
  ASSERT_EQ(Screen, 1);
  const int openings = Count("Opening screen (Borderless):\t\tOK");
  OpenSettings();
  PendingScreenMode = "1024x768";
  PendingMusic = 0;
  Game::ClickControl(kControlSettingsOk);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(ScreenReopened, 0);
  EXPECT_EQ(ScreenMode, "1280x720");
  EXPECT_EQ(Count("Opening screen (Borderless):\t\tOK"), openings);
  EXPECT_EQ(Music, 0);
  EXPECT_EQ(sound_status(kMusicSound), kSoundStopped);
  // Nothing changed at all: the music stays off and nothing is loaded.
  const size_t lines = Game::LogLines().size();
  OpenSettings();
  Game::ClickControl(kControlSettingsOk);
  EXPECT_EQ(Game::LogLines().size(), lines);
  EXPECT_EQ(sound_status(kMusicSound), kSoundStopped);
  OpenSettings();
  PendingMusic = 1;
  Game::ClickControl(kControlSettingsOk);
  EXPECT_EQ(Music, 1);
  EXPECT_EQ(sound_status(kMusicSound), kSoundPlaying);
}

TEST_F(LoopReopen, SwitchingBetweenFullScreenAndWindowClosesTheOldKind) {
  StartWith("0");
  ASSERT_EQ(Screen, 1);
  ASSERT_EQ(screen_in_window(), 0);
  OpenSettings();
  PendingGameScreen = 1;
  Game::ClickControl(kControlSettingsOk);
  EXPECT_EQ(screen_in_window(), 1);
  EXPECT_EQ(window_exists(kGameWindow), 1);
  EXPECT_EQ(screen_width(), 1280) << "the window takes the configured size";
  EXPECT_EQ(Count("Opening screen (Windowed):\t\tOK"), 1);
  // Back to full screen: window 0 goes with the windowed screen.
  Game::Unpaced();
  Game::Pass();
  OpenSettings();
  PendingGameScreen = 0;
  Game::ClickControl(kControlSettingsOk);
  EXPECT_EQ(screen_in_window(), 0);
  EXPECT_EQ(window_exists(kGameWindow), 0);
  EXPECT_EQ(screen_width(), 1024) << "full screen takes the desktop's size";
  EXPECT_EQ(ScreenReopened, 1);
  EXPECT_EQ(ScreenState, MainMenu);
}

// A window size from an edited settings file that only matters once the
// player switches to a window: the reopen fails the way a start would, and
// the settings file stays as the player had it.
TEST_F(LoopReopen, AWindowSizeThatCannotWorkEndsTheProgramAtTheReopen) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string name = "LoopReopen.AWindowSizeThatCannotWorkEndsTheProgramAtTheReopen";
  const std::string settings = "Language = en_GB\r\nMusic = 1\r\nGameScreen = 2\r\nScreenMode = 16384x16384\r\n";
  EXPECT_EXIT(
      {
        Game::Start(name, settings);
        OpenSettings();
        PendingGameScreen = 1;
        Game::ClickControl(kControlSettingsOk);
      },
      ::testing::ExitedWithCode(0), "Duskmatch::.*\n.*");
  const std::string prog = std::filesystem::current_path().string() + "/scratch/" + name + "/prog/";
  std::vector<std::string> logs;
  for (const std::string& file : folder_list(prog))
    if (file.rfind("Log ", 0) == 0) logs.push_back(prog + file);
  ASSERT_EQ(logs.size(), 1u);
  std::vector<std::string> lines = test_screen::CrLfLines(logs[0]);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Opening screen (Windowed):\t\tFAILED");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.rfind("Opening screen", 0) == 0; }),
            2);
  std::vector<uint8_t> file;
  ASSERT_TRUE(file_read_all(prog + kSettingsFileName, &file));
  EXPECT_EQ(std::string(file.begin(), file.end()), "[Settings]\r\n" + settings);
}

}  // namespace
