// Where the focus can stand on each screen and how it moves: which controls
// and cards are targets, the nearest target in a direction on the board and
// on the menus, the Tab order, and on any board, however many cards are
// gone, every card reachable from every other by the four directions.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

#include "app/display.h"
#include "game/board.h"
#include "game/geometry.h"
#include "game/screen_state.h"
#include "ui/controls.h"
#include "ui/focus_targets.h"
#include "ui/languages.h"
#include "ui/menu_layout.h"
#include "ui/screen_modes.h"
#include "ui/settings.h"
#include "ui/settings_layout.h"
#include "ui/settings_screen.h"

namespace {

class FocusTargetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetBoard();
    ResetControls();
    ResetScreenState();
    ScreenWidth = 1280;
    ScreenHeight = 720;
    ComputeBoardGeometry(ScreenWidth, ScreenHeight);
    for (int c = 0; c < kBoardColumns; ++c)
      for (int r = 0; r < kBoardRows; ++r) CardAt(c, r).State = FaceDown;
    LayoutBoard();
    // The menu's controls where the text-sprite pass puts them on a
    // 1280 x 720 screen with an 800 x 600 panel.
    const int T = 60, L = 240;
    // Centred texts: their middles differ by a pixel or so.
    for (int i = 0; i < 5; ++i) Controls[static_cast<size_t>(i)] = {12 + i, 540 + i, T + kMenuEntries[i].top, 200};
    Controls[kControlCreditsOk] = {20, 620, T + kPanelButtonTop, 40};
    Controls[kControlYes] = {22, 390, T + kAnswerTop, 60};
    Controls[kControlNo] = {23, 830, T + kAnswerTop, 60};
    for (const SettingsRowControl& c : kSettingsRowControls) {
      Controls[static_cast<size_t>(c.control)] = {c.picture, L + c.left - kSettingsPictureInset,
                                                  T + SettingsRowTop(c.row), kSettingsHitSize};
    }
    Controls[kControlSettingsOk] = {20, L + kSettingsButtonInset, T + kPanelButtonTop, 40};
    Controls[kControlSettingsCancel] = {21, L + 800 - 80 - kSettingsButtonInset, T + kPanelButtonTop, 80};
    LanguageList = {{"de_DE", "Deutsch"}, {"en_GB", "English"}, {"sv_SE", "Svenska"}};
    LanguageIndex = 1;
    ScreenModeList = {"1024x768", "1280x720", "1920x1080"};
    ScreenModeIndex = 1;
    PendingGameScreen = kWindowed;
  }
  void TearDown() override {
    ResetBoard();
    ResetControls();
    LanguageList.clear();
    ScreenModeList.clear();
  }

  static std::vector<int> Indices(const std::vector<FocusTarget>& targets) {
    std::vector<int> out;
    for (const FocusTarget& t : targets) out.push_back(t.index);
    return out;
  }
  static int Card(int column, int row) { return row * kBoardColumns + column; }
  // Whether the four directions lead from every target of the screen to
  // every other (a pad has no Tab).
  static bool AllReachable(int screen) {
    const std::vector<FocusTarget> targets = FocusTargets(screen);
    const FocusDirection directions[] = {FocusDirection::Up, FocusDirection::Down, FocusDirection::Left,
                                         FocusDirection::Right};
    for (size_t start = 0; start < targets.size(); ++start) {
      std::set<int> seen{static_cast<int>(start)};
      std::vector<int> queue{static_cast<int>(start)};
      for (size_t q = 0; q < queue.size(); ++q)
        for (FocusDirection d : directions) {
          const int next = NearestTarget(targets, targets[static_cast<size_t>(queue[q])], d);
          if (next >= 0 && seen.insert(next).second) queue.push_back(next);
        }
      if (seen.size() != targets.size()) return false;
    }
    return true;
  }
  // The index of the target the focus goes to from a card, -1 for none.
  static int From(int column, int row, FocusDirection d) {
    const std::vector<FocusTarget> targets = FocusTargets(Playing);
    const int next = NearestTarget(targets, CardTarget(column, row), d);
    return next < 0 ? -1 : targets[static_cast<size_t>(next)].index;
  }
};

TEST_F(FocusTargetsTest, EachScreensTargetsInTabOrder) {
  GameInProgress = 1;
  EXPECT_EQ(Indices(FocusTargets(MainMenu)), (std::vector<int>{0, 1, 2, 3, 4}));
  GameInProgress = 0;
  EXPECT_EQ(Indices(FocusTargets(MainMenu)), (std::vector<int>{0, 2, 3, 4})) << "a dimmed continue";
  EXPECT_EQ(Indices(FocusTargets(NewGameQuestion)), (std::vector<int>{6, 7}));
  EXPECT_EQ(Indices(FocusTargets(QuitQuestion)), (std::vector<int>{6, 7}));
  EXPECT_EQ(Indices(FocusTargets(CreditsScreen)), (std::vector<int>{5}));
  EXPECT_EQ(Indices(FocusTargets(SettingsScreen)), (std::vector<int>{8, 9, 10, 11, 12, 13, 14, 15, 16}));
  EXPECT_TRUE(FocusTargets(LogoSplash).empty());
  EXPECT_TRUE(FocusTargets(TitleSplash).empty());
  const std::vector<FocusTarget> well = FocusTargets(WellDone);
  ASSERT_EQ(well.size(), 1u);
  EXPECT_EQ(well[0].kind, FocusKind::Screen);
  EXPECT_EQ(TargetMiddleX(well[0]), 640);
  EXPECT_EQ(TargetMiddleY(well[0]), 360);

  const std::vector<FocusTarget> cards = FocusTargets(Playing);
  ASSERT_EQ(cards.size(), 48u);
  for (size_t i = 0; i < cards.size(); ++i) EXPECT_EQ(cards[i].index, static_cast<int>(i)) << "row by row";
  // A card's click point is its middle, strictly inside its square.
  const BoardCard& c = CardAt(3, 2);
  EXPECT_EQ(TargetMiddleX(cards[Card(3, 2)]), c.X + CardSize / 2);
  EXPECT_EQ(TargetMiddleY(cards[Card(3, 2)]), c.Y + CardSize / 2);
  EXPECT_EQ(cards[Card(3, 2)].width, CardSize);
}

TEST_F(FocusTargetsTest, WhatAClickWouldNotActOnIsNoTarget) {
  // An empty text leaves a control that cannot be hit; width 1 neither.
  Controls[kControlSettings].width = 0;
  Controls[kControlCredits].width = 1;
  GameInProgress = 1;
  EXPECT_EQ(Indices(FocusTargets(MainMenu)), (std::vector<int>{0, 1, 4}));
  // Arrows at the ends of their lists, and the size row of a full screen.
  LanguageIndex = 0;
  ScreenModeIndex = 2;
  PendingGameScreen = kBorderless;
  EXPECT_EQ(Indices(FocusTargets(SettingsScreen)), (std::vector<int>{9, 10, 11, 15, 16}));
  PendingGameScreen = kFullScreen;
  LanguageIndex = 2;
  EXPECT_EQ(Indices(FocusTargets(SettingsScreen)), (std::vector<int>{8, 10, 12, 15, 16}));
  PendingGameScreen = kWindowed;
  ScreenModeIndex = 0;
  EXPECT_EQ(Indices(FocusTargets(SettingsScreen)), (std::vector<int>{8, 10, 11, 12, 14, 15, 16}));
  // Removed cards are gone from the board's targets.
  CardAt(0, 0).State = Removed;
  CardAt(7, 5).State = Removed;
  CardAt(4, 4).State = Vanishing;
  CardAt(5, 4).State = FaceUp;
  const std::vector<int> cards = Indices(FocusTargets(Playing));
  EXPECT_EQ(cards.size(), 46u);
  EXPECT_EQ(cards.front(), Card(1, 0));
  EXPECT_EQ(cards.back(), Card(6, 5));
}

TEST_F(FocusTargetsTest, OnTheBoardTheNearestCardInTheDirectionSkippingRemovedOnes) {
  EXPECT_EQ(From(3, 2, FocusDirection::Right), Card(4, 2));
  EXPECT_EQ(From(3, 2, FocusDirection::Left), Card(2, 2));
  EXPECT_EQ(From(3, 2, FocusDirection::Up), Card(3, 1));
  EXPECT_EQ(From(3, 2, FocusDirection::Down), Card(3, 3));
  // No wrapping round at the edges.
  EXPECT_EQ(From(7, 2, FocusDirection::Right), -1);
  EXPECT_EQ(From(0, 2, FocusDirection::Left), -1);
  EXPECT_EQ(From(3, 0, FocusDirection::Up), -1);
  EXPECT_EQ(From(3, 5, FocusDirection::Down), -1);
  // Along the row past a gap, however wide.
  CardAt(4, 2).State = Removed;
  CardAt(5, 2).State = Removed;
  EXPECT_EQ(From(3, 2, FocusDirection::Right), Card(6, 2));
  // The rest of the row gone: the nearest column with a card, on its card
  // nearest in row.
  CardAt(6, 2).State = Removed;
  CardAt(7, 2).State = Removed;
  CardAt(4, 1).State = Removed;
  EXPECT_EQ(From(3, 2, FocusDirection::Right), Card(4, 3));
  // Down to the nearest row with a card, its card nearest in column; of
  // two as near, the left one.
  CardAt(3, 3).State = Removed;
  EXPECT_EQ(From(3, 2, FocusDirection::Down), Card(2, 3));
  for (int c = 0; c < kBoardColumns; ++c) CardAt(c, 3).State = Removed;
  EXPECT_EQ(From(3, 2, FocusDirection::Down), Card(3, 4));
  // Nothing further that way: the focus stays.
  for (int c = 4; c < kBoardColumns; ++c)
    for (int r = 0; r < kBoardRows; ++r) CardAt(c, r).State = Removed;
  EXPECT_EQ(From(3, 2, FocusDirection::Right), -1);
  // From a place whose card has gone, as from the card.
  EXPECT_EQ(From(5, 2, FocusDirection::Left), Card(3, 2));
  EXPECT_EQ(From(5, 3, FocusDirection::Up), Card(3, 2)) << "row 2's card nearest column 5";
}

TEST_F(FocusTargetsTest, OnTheMenusUpAndDownOrLeftAndRightAsTheControlsLie) {
  auto go = [](int screen, int from, FocusDirection d) {
    const std::vector<FocusTarget> targets = FocusTargets(screen);
    const int next = NearestTarget(targets, ControlTarget(from), d);
    return next < 0 ? -1 : targets[static_cast<size_t>(next)].index;
  };
  GameInProgress = 0;
  EXPECT_EQ(go(MainMenu, kControlStart, FocusDirection::Down), kControlSettings);
  EXPECT_EQ(go(MainMenu, kControlSettings, FocusDirection::Up), kControlStart);
  EXPECT_EQ(go(MainMenu, kControlQuit, FocusDirection::Down), -1);
  // The entries' middles differ by a pixel across: not beside each other.
  EXPECT_EQ(go(MainMenu, kControlStart, FocusDirection::Right), -1);
  EXPECT_EQ(go(MainMenu, kControlQuit, FocusDirection::Left), -1);
  EXPECT_EQ(go(QuitQuestion, kControlYes, FocusDirection::Right), kControlNo);
  EXPECT_EQ(go(QuitQuestion, kControlNo, FocusDirection::Left), kControlYes);
  EXPECT_EQ(go(QuitQuestion, kControlNo, FocusDirection::Down), -1);
  EXPECT_EQ(go(SettingsScreen, kControlLanguageLeft, FocusDirection::Right), kControlLanguageRight);
  EXPECT_EQ(go(SettingsScreen, kControlLanguageLeft, FocusDirection::Down), kControlMusicBox);
  EXPECT_EQ(go(SettingsScreen, kControlLanguageRight, FocusDirection::Down), kControlModeRight);
  EXPECT_EQ(go(SettingsScreen, kControlSizeRight, FocusDirection::Down), kControlSettingsCancel);
  EXPECT_EQ(go(SettingsScreen, kControlSizeLeft, FocusDirection::Down), kControlSettingsOk);
  EXPECT_EQ(go(SettingsScreen, kControlSettingsOk, FocusDirection::Right), kControlSettingsCancel);
  EXPECT_EQ(go(SettingsScreen, kControlSettingsOk, FocusDirection::Up), kControlSizeLeft);
  // The size row inactive: up from OK goes to the window mode.
  PendingGameScreen = kFullScreen;
  EXPECT_EQ(go(SettingsScreen, kControlSettingsCancel, FocusDirection::Up), kControlModeRight);

  // Whichever arrows are inactive, every control of every screen can be
  // reached from every other.
  for (int inProgress : {0, 1}) {
    GameInProgress = inProgress;
    EXPECT_TRUE(AllReachable(MainMenu)) << "game in progress " << inProgress;
  }
  EXPECT_TRUE(AllReachable(QuitQuestion));
  for (int language : {0, 1, 2})
    for (int mode : {kFullScreen, kWindowed, kBorderless})
      for (int size : {0, 1, 2}) {
        LanguageIndex = language;
        PendingGameScreen = mode;
        ScreenModeIndex = size;
        EXPECT_TRUE(AllReachable(SettingsScreen)) << language << " " << mode << " " << size;
      }
}

TEST_F(FocusTargetsTest, TabGoesOnInOrderAndWrapsRoundBothWays) {
  std::vector<FocusTarget> targets = FocusTargets(Playing);
  EXPECT_EQ(targets[NextTarget(targets, CardTarget(3, 2), 1)].index, Card(4, 2));
  EXPECT_EQ(targets[NextTarget(targets, CardTarget(7, 2), 1)].index, Card(0, 3)) << "on to the next row";
  EXPECT_EQ(targets[NextTarget(targets, CardTarget(7, 5), 1)].index, Card(0, 0)) << "wraps";
  EXPECT_EQ(targets[NextTarget(targets, CardTarget(0, 0), -1)].index, Card(7, 5)) << "wraps back";
  EXPECT_EQ(targets[NextTarget(targets, CardTarget(0, 3), -1)].index, Card(7, 2));
  // From a card that has gone, to the next one left.
  CardAt(4, 2).State = Removed;
  CardAt(5, 2).State = Removed;
  targets = FocusTargets(Playing);
  EXPECT_EQ(targets[NextTarget(targets, CardTarget(4, 2), 1)].index, Card(6, 2));
  EXPECT_EQ(targets[NextTarget(targets, CardTarget(5, 2), -1)].index, Card(3, 2));
  EXPECT_EQ(NextTarget({}, CardTarget(0, 0), 1), -1);
  GameInProgress = 0;
  targets = FocusTargets(MainMenu);
  EXPECT_EQ(targets[NextTarget(targets, ControlTarget(kControlStart), 1)].index, kControlSettings);
  EXPECT_EQ(targets[NextTarget(targets, ControlTarget(kControlStart), -1)].index, kControlQuit);
}

// Whatever pairs are gone, a player pressing the four directions can reach
// every card left from every other one.
TEST_F(FocusTargetsTest, EveryCardLeftCanBeReachedFromEveryOther) {
  std::mt19937 random(20240601);
  const FocusDirection directions[] = {FocusDirection::Up, FocusDirection::Down, FocusDirection::Left,
                                       FocusDirection::Right};
  for (int board = 0; board < 2000; ++board) {
    const int left = 2 + static_cast<int>(random() % 47);
    std::vector<int> slots(kBoardCards);
    for (int i = 0; i < kBoardCards; ++i) slots[static_cast<size_t>(i)] = i;
    std::shuffle(slots.begin(), slots.end(), random);
    for (int i = 0; i < kBoardCards; ++i)
      CardAt(slots[static_cast<size_t>(i)] % kBoardColumns, slots[static_cast<size_t>(i)] / kBoardColumns).State =
          i < left ? FaceDown : Removed;
    const std::vector<FocusTarget> targets = FocusTargets(Playing);
    ASSERT_EQ(targets.size(), static_cast<size_t>(left));
    std::vector<std::vector<int>> moves(targets.size());
    for (size_t t = 0; t < targets.size(); ++t)
      for (FocusDirection d : directions) moves[t].push_back(NearestTarget(targets, targets[t], d));
    for (size_t start = 0; start < targets.size(); ++start) {
      std::set<int> seen{static_cast<int>(start)};
      std::vector<int> queue{static_cast<int>(start)};
      for (size_t q = 0; q < queue.size(); ++q)
        for (int next : moves[static_cast<size_t>(queue[q])])
          if (next >= 0 && seen.insert(next).second) queue.push_back(next);
      ASSERT_EQ(seen.size(), targets.size()) << "board " << board << ", from card " << targets[start].index;
    }
  }
}

}  // namespace
