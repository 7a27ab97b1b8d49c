// The hit rule, the main menu's entries and the two questions, their layers
// over the board, and the pause of full-screen clicks.
#include "game/board.h"
#include "game/screen_state.h"
#include "game/sprites.h"
#include "tests/ui/ui_screen.h"
#include "ui/menu.h"
#include "ui/menu_layout.h"

namespace ui_test {
namespace {

TEST(ControlHit, OnlyPointsStrictlyInsideHitWithTheHeightOfTheirKind) {
  ResetControls();
  for (int i = 0; i < kControlCount; ++i) {
    const int h = i <= kControlQuit ? 80 : (i >= kControlLanguageLeft && i <= kControlSizeRight) ? 20 : 40;
    SCOPED_TRACE(i);
    EXPECT_EQ(ControlHeight(i), h);
    Controls[static_cast<size_t>(i)] = Control{0, 100, 200, 50};
    EXPECT_TRUE(ControlHit(i, 101, 201));
    EXPECT_TRUE(ControlHit(i, 149, 199 + h));
    EXPECT_FALSE(ControlHit(i, 100, 210));      // left edge
    EXPECT_FALSE(ControlHit(i, 120, 200));      // top edge
    EXPECT_FALSE(ControlHit(i, 150, 210));      // left + width
    EXPECT_FALSE(ControlHit(i, 120, 200 + h));  // top + height
    Controls[static_cast<size_t>(i)].width = 0;
    EXPECT_FALSE(ControlHit(i, 101, 210));
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
  static void Click(int index, bool fullScreen = false) {
    auto [x, y] = Centre(index);
    MenuClick(x, y, fullScreen);
  }
};

TEST_F(MenuTest, StartDealsOrAsksAndNoKeepsTheGameForContinue) {
  Click(kControlContinue);  // before the first deal: nothing
  EXPECT_EQ(ScreenState, MainMenu);
  const Control& start = Controls[kControlStart];
  MenuClick(start.left, start.top + 40, false);  // edge pixels miss
  MenuClick(start.left + 10, start.top, false);
  EXPECT_EQ(ScreenState, MainMenu);
  Click(kControlStart);
  EXPECT_EQ(ScreenState, Playing);
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
  for (size_t i = 0; i < Board.size(); ++i) EXPECT_EQ(Board[i].Face * 4 + Board[i].State, board[i].Face * 4 + board[i].State);
  Click(kControlContinue);
  EXPECT_EQ(ScreenState, Playing);
  ScreenState = MainMenu;
  Click(kControlStart);
  Click(kControlYes);
  EXPECT_EQ(ScreenState, Playing);
  EXPECT_EQ(CardsLeft, 48);
  GameInProgress = 0;  // the last pair found: start deals without asking
  ScreenState = MainMenu;
  Click(kControlStart);
  EXPECT_EQ(ScreenState, Playing);
}

TEST_F(MenuTest, SettingsCreditsAndTheQuitQuestion) {
  Click(kControlSettings);
  EXPECT_EQ(ScreenState, SettingsScreen);
  ScreenState = MainMenu;
  Click(kControlCredits);
  EXPECT_EQ(ScreenState, CreditsScreen);
  ScreenState = MainMenu;
  Click(kControlQuit);
  EXPECT_EQ(ScreenState, QuitQuestion);
  Click(kControlStart);  // not a control of the question
  Click(kControlNo);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(QuitRequested, 0);
  Click(kControlQuit);
  Click(kControlYes);
  EXPECT_EQ(QuitRequested, 1);
}

TEST_F(MenuTest, FullScreenHitsPauseButMissesWindowClicksAndQuittingDoNot) {
  EXPECT_GE(Millis([] { Click(kControlContinue, true); }), 100.0);  // a hit, even without effect
  EXPECT_LT(Millis([] { MenuClick(5, 5, true); }), 100.0);
  EXPECT_LT(Millis([] { Click(kControlQuit, false); }), 100.0);
  EXPECT_GE(Millis([] { Click(kControlNo, true); }), 100.0);
  EXPECT_EQ(ScreenState, MainMenu);
  ScreenState = QuitQuestion;
  EXPECT_LT(Millis([] { Click(kControlYes, true); }), 100.0);
  EXPECT_EQ(QuitRequested, 1);
  ScreenState = NewGameQuestion;
  EXPECT_GE(Millis([] { Click(kControlYes, true); }), 100.0);
  EXPECT_EQ(ScreenState, Playing);
}

TEST_F(MenuTest, TheMainMenuLiesOverTheDimmedBoardOnThePanel) {
  Fill(kBoard);
  DrawMenuScreen();
  Shot s = Grab(0, 0, kW, kH);
  EXPECT_TRUE(near(s.at(5, 5), kDimmedBoard)) << s.at(5, 5);
  EXPECT_TRUE(near(s.at(kL + kPanelW + 1, kT + kPanelH + 1), Rgb{128, 50, 0})) << s.at(kL + kPanelW + 1, kT + kPanelH + 1);
  EXPECT_TRUE(near(s.at(kL + kPanelW + 1, kT + 1), kDimmedBoard));  // the shadow starts 3 lower
  EXPECT_EQ(s.at(kL + 5, kT + 5), kPanel);
  for (int i = kControlStart; i <= kControlQuit; ++i) {  // each entry at its control, cut
    const Control& c = Controls[static_cast<size_t>(i)];
    SCOPED_TRACE(i);
    EXPECT_EQ(s.at(c.left - 1, c.top + 1), kPanel);
    EXPECT_EQ(s.at(c.left + c.width + 1, c.top + 40), kPanel);
    EXPECT_GT(Ink(s, c.left, c.top, c.left + c.width, c.top + 80).pixels, 50);
  }
  EXPECT_EQ(s.at(Controls[0].left + 1, kT + 149), kPanel);
  // Without a game the continue entry is the dimmed one, in the same place.
  const Control& cont = Controls[kControlContinue];
  const int dim = Ink(s, cont.left, cont.top, cont.left + cont.width, cont.top + 80).darkestGreen;
  GameInProgress = 1;
  DrawMenuScreen();
  s = Grab(0, 0, kW, kH);
  EXPECT_GT(dim, Ink(s, cont.left, cont.top, cont.left + cont.width, cont.top + 80).darkestGreen + 15);
}

TEST_F(MenuTest, QuestionsStackTitleBarQuestionYesAndNo) {
  for (int state : {NewGameQuestion, QuitQuestion}) {
    SCOPED_TRACE(state);
    ScreenState = state;
    Fill(kBoard);
    DrawMenuScreen();
    Shot s = Grab(0, 0, kW, kH);
    EXPECT_TRUE(near(s.at(5, 5), kDimmedBoard));
    const int titleLeft = (kW - sprite_width(state == NewGameQuestion ? kStartText : kQuitText)) / 2;
    EXPECT_NE(s.at(titleLeft + 1, kT + 141), kPanel);  // 10 above the menu's row
    EXPECT_EQ(s.at(titleLeft + 1, kT + 139), kPanel);
    EXPECT_EQ(s.at(kW / 2, kT + 217), kBar);  // over the title's bottom rows
    EXPECT_EQ(s.at((kW - kBarWidth) / 2 - 1, kT + 217), kPanel);
    // The question's box, x 370 to 909, right below the bar.
    EXPECT_EQ(std::vector<Rgb>({s.at(369, kT + 221), s.at(370, kT + 221), s.at(909, kT + 299), s.at(910, kT + 221)}),
              std::vector<Rgb>({kPanel, kTextPanel, kTextPanel, kPanel}));
    InkBox question = Ink(s, 370, kT + kQuestionTop, 910, kT + kAnswerTop);
    EXPECT_NEAR(question.width(), Measure(3, state == NewGameQuestion ? "Start a new game?" : "Quit now?"), 6);
    EXPECT_NEAR(question.centre(), kW / 2, 4);
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
