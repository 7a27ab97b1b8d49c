// The hit rule, the main menu's entries and the two questions, their layers
// over the board, and the pause of full-screen clicks.
#include "game/board.h"
#include "game/screen_state.h"
#include "tests/ui/ui_screen.h"
#include "ui/menu.h"

namespace ui_test {
namespace {

TEST(ControlHit, OnlyPointsStrictlyInsideHitWithTheHeightOfTheirKind) {
  ResetControls();
  struct Case {
    int index, height;
  };
  // One of each kind, all at left 100, top 200, width 50.
  for (Case k : {Case{kControlStart, 80}, Case{kControlQuit, 80}, Case{kControlCreditsOk, 40}, Case{kControlYes, 40},
                 Case{kControlNo, 40}, Case{kControlLanguageLeft, 20}, Case{kControlMusicBox, 20},
                 Case{kControlSizeRight, 20}, Case{kControlSettingsOk, 40}, Case{kControlSettingsCancel, 40}}) {
    SCOPED_TRACE(k.index);
    EXPECT_EQ(ControlHeight(k.index), k.height);
    Controls[static_cast<size_t>(k.index)] = Control{0, 100, 200, 50};
    EXPECT_TRUE(ControlHit(k.index, 101, 201));
    EXPECT_TRUE(ControlHit(k.index, 149, 200 + k.height - 1));
    EXPECT_FALSE(ControlHit(k.index, 100, 230 - 30 + k.height / 2));  // left edge
    EXPECT_FALSE(ControlHit(k.index, 120, 200));                      // top edge
    EXPECT_FALSE(ControlHit(k.index, 150, 210));                      // left + width
    EXPECT_FALSE(ControlHit(k.index, 120, 200 + k.height));           // top + height
    Controls[static_cast<size_t>(k.index)].width = 0;
    EXPECT_FALSE(ControlHit(k.index, 100, 210));
    EXPECT_FALSE(ControlHit(k.index, 101, 210));
  }
  // Far-off records do not wrap round; indices outside the table never hit.
  Controls[0] = Control{0, 2147483600, 2147483600, 2000};
  EXPECT_FALSE(ControlHit(0, -2147483000, -2147483000));
  EXPECT_TRUE(ControlHit(0, 2147483647, 2147483647));
  EXPECT_FALSE(ControlHit(-1, 0, 0));
  EXPECT_FALSE(ControlHit(kControlCount, 0, 0));
  ResetControls();
}

class MenuTest : public UiScreen {
 protected:
  void SetUp() override {
    UiScreen::SetUp();
    RenderTextSprites(1);
    ScreenState = MainMenu;
  }
  void Click(int index, bool fullScreen = false) {
    auto [x, y] = Centre(index);
    MenuClick(x, y, fullScreen);
  }
};

TEST_F(MenuTest, StartDealsAtOnceWithoutAGameAndContinueDoesNothingBeforeIt) {
  ASSERT_EQ(GameInProgress, 0);
  Click(kControlContinue);
  EXPECT_EQ(ScreenState, MainMenu);
  Click(kControlStart);
  EXPECT_EQ(ScreenState, Playing);
  EXPECT_EQ(GameInProgress, 1);
  EXPECT_EQ(CardsLeft, 48);
  // After the last pair a new start deals again without asking.
  GameInProgress = 0;
  ScreenState = MainMenu;
  Click(kControlStart);
  EXPECT_EQ(ScreenState, Playing);
}

TEST_F(MenuTest, StartDuringAGameAsksAndNoKeepsTheGameForContinue) {
  DealNewGame();
  ASSERT_EQ(GameInProgress, 1);
  Board[0].State = Removed;  // a game under way
  CardsLeft = 46;
  const auto board = Board;
  ScreenState = MainMenu;
  Click(kControlStart);
  EXPECT_EQ(ScreenState, NewGameQuestion);
  Click(kControlNo);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(CardsLeft, 46);
  for (size_t i = 0; i < Board.size(); ++i) {
    EXPECT_EQ(Board[i].Face, board[i].Face);
    EXPECT_EQ(Board[i].State, board[i].State);
  }
  Click(kControlContinue);
  EXPECT_EQ(ScreenState, Playing);
  EXPECT_EQ(CardsLeft, 46);
  // Asked again, yes deals anew.
  ScreenState = MainMenu;
  Click(kControlStart);
  Click(kControlYes);
  EXPECT_EQ(ScreenState, Playing);
  EXPECT_EQ(CardsLeft, 48);
}

TEST_F(MenuTest, TheOtherEntriesAndTheQuitQuestion) {
  Click(kControlSettings);
  EXPECT_EQ(ScreenState, SettingsScreen);
  EXPECT_EQ(PendingScreenMode, ScreenMode);
  ScreenState = MainMenu;
  Click(kControlCredits);
  EXPECT_EQ(ScreenState, CreditsScreen);
  ScreenState = MainMenu;
  Click(kControlQuit);
  EXPECT_EQ(ScreenState, QuitQuestion);
  EXPECT_EQ(QuitRequested, 0);
  Click(kControlNo);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(QuitRequested, 0);
  Click(kControlQuit);
  Click(kControlYes);
  EXPECT_EQ(QuitRequested, 1);
}

TEST_F(MenuTest, ClicksOnEdgesOrOnOtherScreensControlsDoNothing) {
  const Control& start = Controls[kControlStart];
  MenuClick(start.left, start.top + 40, false);
  MenuClick(start.left + 10, start.top, false);
  MenuClick(start.left + start.width, start.top + 40, false);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(GameInProgress, 0);
  // Where the questions' yes lies, outside every entry, the menu does nothing.
  auto [yesX, yesY] = Centre(kControlYes);
  for (int i = kControlStart; i <= kControlQuit; ++i) ASSERT_FALSE(ControlHit(i, yesX, yesY));
  MenuClick(yesX, yesY, false);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(QuitRequested, 0);
  ScreenState = QuitQuestion;
  Click(kControlStart);
  Click(kControlSettingsOk);
  EXPECT_EQ(ScreenState, QuitQuestion);
  EXPECT_EQ(QuitRequested, 0);
  ScreenState = Playing;
  Click(kControlQuit);
  EXPECT_EQ(ScreenState, Playing);
}

TEST_F(MenuTest, FullScreenHitsPauseAndMissesAndWindowClicksDoNot) {
  EXPECT_GE(Millis([&] { Click(kControlContinue, true); }), 100.0);  // a hit, even without effect
  EXPECT_GE(Millis([&] { Click(kControlQuit, true); }), 100.0);
  EXPECT_GE(Millis([&] { Click(kControlNo, true); }), 100.0);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_LT(Millis([&] { MenuClick(5, 5, true); }), 100.0);
  EXPECT_LT(Millis([&] { Click(kControlQuit, false); }), 100.0);
  EXPECT_EQ(ScreenState, QuitQuestion);
  EXPECT_LT(Millis([&] { Click(kControlYes, true); }), 100.0);  // quitting does not wait
  EXPECT_EQ(QuitRequested, 1);
  ScreenState = NewGameQuestion;
  EXPECT_GE(Millis([&] { Click(kControlYes, true); }), 100.0);
  EXPECT_EQ(ScreenState, Playing);
}

TEST_F(MenuTest, TheMainMenuLiesOverTheDimmedBoardOnThePanel) {
  Fill(kBoard);
  DrawMenuScreen();
  Shot s = Grab(0, 0, kW, kH);
  // Dimmed board, panel shadow, panel.
  EXPECT_TRUE(near(s.at(5, 5), Rgb{0, 100, 0})) << s.at(5, 5);
  EXPECT_TRUE(near(s.at(kL + kPanelW + 1, kT + kPanelH + 1), Rgb{128, 50, 0})) << s.at(kL + kPanelW + 1, kT + kPanelH + 1);
  EXPECT_TRUE(near(s.at(kL + kPanelW + 1, kT + 1), Rgb{0, 100, 0})) << s.at(kL + kPanelW + 1, kT + 1);  // the shadow starts 3 lower
  EXPECT_EQ(s.at(kL + 5, kT + 5), kPanel);
  // Each entry's sprite stands at its control, cut to its text.
  for (int i = kControlStart; i <= kControlQuit; ++i) {
    const Control& c = Controls[static_cast<size_t>(i)];
    SCOPED_TRACE(i);
    EXPECT_NE(s.at(c.left + 1, c.top + 1), kPanel);
    EXPECT_EQ(s.at(c.left - 1, c.top + 1), kPanel);
    EXPECT_EQ(s.at(c.left + c.width + 1, c.top + 40), kPanel);
    if (i == kControlStart || i == kControlQuit) {  // the others touch their neighbours
      EXPECT_EQ(s.at(c.left + 1, c.top - 1), kPanel);
    }
    EXPECT_GT(Ink(s, c.left, c.top, c.left + c.width, c.top + 80).pixels, 50);
  }
  // Without a game the continue entry is the dimmed one.
  const Control& cont = Controls[kControlContinue];
  const int dim = Ink(s, cont.left, cont.top, cont.left + cont.width, cont.top + 80).darkestGreen;
  GameInProgress = 1;
  DrawMenuScreen();
  s = Grab(0, 0, kW, kH);
  const int bright = Ink(s, cont.left, cont.top, cont.left + cont.width, cont.top + 80).darkestGreen;
  EXPECT_GT(dim, bright + 15);
}

TEST_F(MenuTest, QuestionsStackTitleBarQuestionYesAndNo) {
  for (int state : {NewGameQuestion, QuitQuestion}) {
    SCOPED_TRACE(state);
    ScreenState = state;
    Fill(kBoard);
    DrawMenuScreen();
    Shot s = Grab(0, 0, kW, kH);
    const int title = state == NewGameQuestion ? kStartText : kQuitText;
    const int question = state == NewGameQuestion ? kStartQuestionText : kQuitQuestionText;
    const int titleLeft = (kW - sprite_width(title)) / 2;
    EXPECT_NE(s.at(titleLeft + 1, kT + 141), kPanel);  // the title, 10 above the menu's row
    EXPECT_EQ(s.at(titleLeft + 1, kT + 139), kPanel);
    // The bar is drawn after the title, over its bottom rows.
    EXPECT_EQ(s.at(kW / 2, kT + 217), kBar);
    EXPECT_EQ(s.at((kW - kBarWidth) / 2 - 1, kT + 217), kPanel);
    // The question's box, 540 wide, centred, right below the bar.
    EXPECT_EQ(s.at(371, kT + 221), kTextPanel);
    EXPECT_EQ(s.at(369, kT + 221), kPanel);
    EXPECT_EQ(s.at(909, kT + 221), kTextPanel);
    EXPECT_EQ(s.at(910, kT + 221), kPanel);
    EXPECT_NEAR(Ink(s, 370, kT + 220, 910, kT + 300).centre(), kW / 2, 4);
    EXPECT_GT(Ink(s, 370, kT + 220, 910, kT + 300).pixels, 50);
    EXPECT_EQ(sprite_width(question), 540);
    // Yes and no at their controls.
    for (int i : {kControlYes, kControlNo}) {
      const Control& c = Controls[static_cast<size_t>(i)];
      EXPECT_EQ(s.at(c.left - 1, c.top + 20), kPanel);
      EXPECT_GT(Ink(s, c.left, c.top, c.left + c.width, c.top + 40).pixels, 20);
      EXPECT_EQ(s.at(c.left + c.width + 1, c.top + 20), kPanel);
    }
  }
  ScreenState = Playing;  // other states draw no menu
  Fill(kBoard);
  DrawMenuScreen();
  EXPECT_EQ(Grab(kW / 2, kH / 2, 1, 1).at(kW / 2, kH / 2), kBoard);
}

}  // namespace
}  // namespace ui_test
