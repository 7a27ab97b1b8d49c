// Moves and games: whole games from deal to the well-done screen, the frame
// timings of a pair and of a mismatch, clicks that must do nothing, and the
// moves between board, menu and question.
#include <gtest/gtest.h>

#include <vector>

#include "game/board.h"
#include "game/flow.h"
#include "game/rules.h"
#include "game/screen_state.h"
#include "tests/game/play_helpers.h"

namespace {

using play::ClickCard;

// Turns two cards and runs passes until the move is over; returns the number
// of passes it took.
int PlayMove(BoardPos a, BoardPos b) {
  EXPECT_TRUE(ClickCard(a.Column, a.Row));
  EXPECT_TRUE(ClickCard(b.Column, b.Row));
  int passes = 0;
  while (CardsTurned != 0 && passes < 1000) {
    play::Pass();
    ++passes;
  }
  return passes;
}

TEST(WholeGame, TwentyFourPairsFromTheDealToTheWellDoneScreen) {
  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    play::FreshState(seed);
    play::DealFromMenu();
    std::vector<int> cards_left{CardsLeft};
    for (int pair = 0; pair < 24; ++pair) {
      ASSERT_EQ(ScreenState, Playing) << "the game ended after " << pair << " pairs";
      ASSERT_EQ(GameInProgress, 1);
      BoardPos first = play::FirstFaceDown();
      BoardPos wrong;
      // A mismatch first, while there are other faces left: it must leave
      // the board as it was.
      if (play::MismatchFor(first, &wrong)) {
        EXPECT_EQ(PlayMove(first, wrong), 82);
        EXPECT_EQ(CardAt(first).State, FaceDown);
        EXPECT_EQ(CardAt(wrong).State, FaceDown);
        EXPECT_EQ(CardsLeft, cards_left.back());
      }
      BoardPos partner = play::PartnerOf(first);
      // One check starts the fade, 32 drawn frames later the check removes it.
      EXPECT_EQ(PlayMove(first, partner), 33);
      EXPECT_EQ(CardAt(first).State, Removed);
      EXPECT_EQ(CardAt(partner).State, Removed);
      EXPECT_EQ(MatchFade, 255);
      cards_left.push_back(CardsLeft);
    }
    std::vector<int> expected;
    for (int n = 48; n >= 0; n -= 2) expected.push_back(n);
    EXPECT_EQ(cards_left, expected);
    EXPECT_EQ(ScreenState, WellDone);
    EXPECT_EQ(WellDoneFade, 0);
    EXPECT_EQ(GameInProgress, 0);
    for (const BoardCard& card : Board) EXPECT_EQ(card.State, Removed);
    // No card is left to click, and the well-done screen leads to the menu,
    // where CONTINUE does nothing and START deals at once.
    EXPECT_TRUE(LeaveWellDone());
    EXPECT_EQ(ScreenState, MainMenu);
    EXPECT_FALSE(ContinueFromMenu());
    EXPECT_TRUE(StartFromMenu());
    EXPECT_EQ(ScreenState, Playing);
    EXPECT_EQ(CardsLeft, 48);
  }
}

TEST(MoveTiming, MismatchTurnsBackOnThe82ndCheck) {
  play::FreshState();
  play::DealFromMenu();
  BoardPos first = play::FirstFaceDown(), wrong;
  ASSERT_TRUE(play::MismatchFor(first, &wrong));
  ASSERT_TRUE(ClickCard(first.Column, first.Row));
  ResolveMove();  // a single card turned: nothing counts yet
  EXPECT_EQ(FrameCounter, 0);
  ASSERT_TRUE(ClickCard(wrong.Column, wrong.Row));
  for (int check = 1; check <= 81; ++check) {
    play::Pass();
    ASSERT_EQ(CardAt(first).State, FaceUp) << "check " << check;
    ASSERT_EQ(CardAt(wrong).State, FaceUp);
    ASSERT_EQ(FrameCounter, check);
  }
  play::Pass();
  EXPECT_EQ(CardAt(first).State, FaceDown);
  EXPECT_EQ(CardAt(wrong).State, FaceDown);
  EXPECT_EQ(FrameCounter, 0);
  EXPECT_EQ(CardsTurned, 0);
  EXPECT_EQ(MatchFade, 255);  // a mismatch never touches the fade
}

TEST(MoveTiming, PairFadesOver32DrawnFramesThenGoes) {
  play::FreshState();
  play::DealFromMenu();
  BoardPos a = play::FirstFaceDown();
  BoardPos b = play::PartnerOf(a);
  // Drawing order is row by row: the card in the upper row (or further left)
  // is drawn first in each frame.
  BoardPos upper = (a.Row < b.Row || (a.Row == b.Row && a.Column < b.Column)) ? a : b;
  ASSERT_TRUE(ClickCard(b.Column, b.Row));
  ASSERT_TRUE(ClickCard(a.Column, a.Row));
  ResolveMove();
  EXPECT_EQ(CardAt(a).State, Vanishing);
  EXPECT_EQ(CardAt(b).State, Vanishing);
  EXPECT_EQ(MatchFade, 255);
  // With no frames drawn (a screen in the background) the pair stays.
  for (int i = 0; i < 200; ++i) ResolveMove();
  EXPECT_EQ(CardAt(a).State, Vanishing);
  (void)upper;
  std::vector<int> first_drawn, second_drawn;
  int frames = 0;
  while (CardAt(a).State == Vanishing && frames < 100) {
    std::vector<int> drawn = play::DrawFrame();
    ASSERT_EQ(drawn.size(), 2u);
    first_drawn.push_back(drawn[0]);
    second_drawn.push_back(drawn[1]);
    ++frames;
    ResolveMove();
  }
  EXPECT_EQ(frames, 32);
  EXPECT_EQ(CardAt(a).State, Removed);
  EXPECT_EQ(CardAt(b).State, Removed);
  EXPECT_EQ(CardsLeft, 46);
  EXPECT_EQ(MatchFade, 255);
  ASSERT_EQ(first_drawn.size(), 32u);
  for (int k = 0; k < 32; ++k) {
    EXPECT_EQ(first_drawn[static_cast<size_t>(k)], 255 - 8 * k);
    EXPECT_EQ(second_drawn[static_cast<size_t>(k)], 251 - 8 * k);
  }
}

TEST(MoveTiming, FadeStepsNeverGoBelowMinusOne) {
  play::FreshState();
  MatchFade = 3;
  LowerMatchFade();
  EXPECT_EQ(MatchFade, -1);
  LowerMatchFade();
  EXPECT_EQ(MatchFade, -1);
  WellDoneFade = 0;
  std::vector<int> levels;
  for (int frame = 0; frame < 40; ++frame) {
    levels.push_back(WellDoneFade);
    RaiseWellDoneFade();
  }
  for (int frame = 0; frame < 32; ++frame) EXPECT_EQ(levels[static_cast<size_t>(frame)], 4 * frame);
  for (int frame = 32; frame < 40; ++frame) EXPECT_EQ(levels[static_cast<size_t>(frame)], 128);
}

TEST(MoveTiming, DealKeepsAPausePartlyCounted) {
  play::FreshState();
  play::DealFromMenu();
  BoardPos first = play::FirstFaceDown(), wrong;
  ASSERT_TRUE(play::MismatchFor(first, &wrong));
  ClickCard(first.Column, first.Row);
  ClickCard(wrong.Column, wrong.Row);
  for (int i = 0; i < 50; ++i) play::Pass();
  ASSERT_EQ(FrameCounter, 50);
  ASSERT_TRUE(LeavePlay());
  ASSERT_TRUE(StartFromMenu());
  ASSERT_EQ(ScreenState, NewGameQuestion);
  ASSERT_TRUE(AnswerNewGameQuestion(true));
  EXPECT_EQ(FrameCounter, 50);
  first = play::FirstFaceDown();
  ASSERT_TRUE(play::MismatchFor(first, &wrong));
  EXPECT_EQ(PlayMove(first, wrong), 32);
}

TEST(Clicks, ThirdCardWhileAMoveIsPendingStaysDown) {
  play::FreshState();
  play::DealFromMenu();
  // During a mismatch pause and while a pair vanishes.
  for (bool pair : {false, true}) {
    SCOPED_TRACE(pair ? "pair" : "mismatch");
    BoardPos first = play::FirstFaceDown(), second;
    if (pair) {
      second = play::PartnerOf(first);
    } else {
      ASSERT_TRUE(play::MismatchFor(first, &second));
    }
    ASSERT_TRUE(ClickCard(first.Column, first.Row));
    ASSERT_TRUE(ClickCard(second.Column, second.Row));
    play::Pass();
    play::Pass();
    BoardPos third{-1, -1};
    for (const BoardPos p : {BoardPos{0, 0}, BoardPos{7, 5}, BoardPos{3, 3}}) {
      if (CardAt(p).State == FaceDown) third = p;
    }
    ASSERT_GE(third.Column, 0);
    EXPECT_FALSE(ClickCard(third.Column, third.Row));
    EXPECT_EQ(CardAt(third).State, FaceDown);
    EXPECT_EQ(CardsTurned, 2);
    EXPECT_EQ(FirstPick.Column, first.Column);
    EXPECT_EQ(SecondPick.Column, second.Column);
    EXPECT_EQ(SecondPick.Row, second.Row);
    while (CardsTurned != 0) play::Pass();
  }
}

TEST(Clicks, SameCardTwiceWaitsForAnotherOne) {
  play::FreshState();
  play::DealFromMenu();
  EXPECT_TRUE(ClickCard(2, 3));
  EXPECT_FALSE(ClickCard(2, 3));
  EXPECT_EQ(CardsTurned, 1);
  for (int i = 0; i < 100; ++i) play::Pass();
  EXPECT_EQ(CardAt(2, 3).State, FaceUp);  // one card alone is never resolved
  EXPECT_TRUE(ClickCard(5, 0));
  EXPECT_EQ(CardsTurned, 2);
  EXPECT_EQ(SecondPick.Column, 5);
  EXPECT_EQ(SecondPick.Row, 0);
}

TEST(Clicks, EdgeLinesAndGapsMiss) {
  play::FreshState();
  play::DealFromMenu();
  // Card (1, 1) on 1280x720 covers x 285..395 and y 125..235 as lines.
  const BoardCard& card = CardAt(1, 1);
  ASSERT_EQ(card.X, 285);
  ASSERT_EQ(card.Y, 125);
  const int misses[][2] = {
      {285, 180}, {395, 180}, {340, 125}, {340, 235},  // the four edge lines
      {400, 180}, {340, 240},                          // the gaps beside and below
      {-1, -1}, {5000, 180}, {165, 5},                 // off the board, board corner
  };
  for (const auto& m : misses) {
    EXPECT_FALSE(TurnCardAt(m[0], m[1])) << m[0] << "," << m[1];
  }
  EXPECT_EQ(CardsTurned, 0);
  for (const BoardCard& c : Board) EXPECT_EQ(c.State, FaceDown);
  // One pixel inside each corner hits.
  const int hits[][2] = {{286, 126}, {394, 234}};
  EXPECT_TRUE(TurnCardAt(hits[0][0], hits[0][1]));
  EXPECT_EQ(FirstPick.Column, 1);
  EXPECT_EQ(FirstPick.Row, 1);
  ResolveMove();
  EXPECT_FALSE(TurnCardAt(hits[1][0], hits[1][1]));  // the same card, already up
  EXPECT_TRUE(TurnCardAt(286 + 120, 126 + 120));
  EXPECT_EQ(SecondPick.Column, 2);
  EXPECT_EQ(SecondPick.Row, 2);
}

TEST(Clicks, OnlyThePlayingScreenTurnsCards) {
  play::FreshState();
  play::DealFromMenu();
  for (int state : {MainMenu, NewGameQuestion, SettingsScreen, CreditsScreen, QuitQuestion, WellDone}) {
    ScreenState = state;
    EXPECT_FALSE(ClickCard(0, 0)) << state;
  }
  EXPECT_EQ(CardAt(0, 0).State, FaceDown);
}

// The move is checked whatever screen is shown: a pair left vanishing behind
// the menu still goes, and the last one ends the game from the menu.
TEST(MenusOverAGame, ThePendingMoveResolvesAndTheLastPairWinsFromTheMenu) {
  play::FreshState();
  play::DealFromMenu();
  for (int pair = 0; pair < 23; ++pair) {
    BoardPos a = play::FirstFaceDown();
    PlayMove(a, play::PartnerOf(a));
  }
  ASSERT_EQ(CardsLeft, 2);
  BoardPos a = play::FirstFaceDown();
  BoardPos b = play::PartnerOf(a);
  ClickCard(a.Column, a.Row);
  ClickCard(b.Column, b.Row);
  play::Pass();
  play::Pass();
  ASSERT_TRUE(LeavePlay());
  ASSERT_EQ(GameInProgress, 1);
  ScreenState = SettingsScreen;  // the player went on to the settings
  int passes = 0;
  while (ScreenState == SettingsScreen && passes < 100) {
    play::Pass();
    ++passes;
  }
  EXPECT_EQ(passes, 31);
  EXPECT_EQ(ScreenState, WellDone);
  EXPECT_EQ(GameInProgress, 0);
  EXPECT_EQ(CardsLeft, 0);
}

TEST(MenusOverAGame, ContinueResumesTheSameMove) {
  play::FreshState();
  play::DealFromMenu();
  ASSERT_TRUE(ClickCard(6, 4));
  ASSERT_TRUE(LeavePlay());
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_FALSE(LeavePlay());
  for (int i = 0; i < 10; ++i) play::Pass();
  ASSERT_TRUE(ContinueFromMenu());
  EXPECT_EQ(ScreenState, Playing);
  EXPECT_EQ(CardsTurned, 1);
  EXPECT_EQ(CardAt(6, 4).State, FaceUp);
  EXPECT_EQ(FirstPick.Column, 6);
  EXPECT_EQ(FirstPick.Row, 4);
}

TEST(MenusOverAGame, StartAsksWhileAGameRunsAndNoKeepsIt) {
  play::FreshState();
  play::DealFromMenu();
  const int set = SetIndex;
  ClickCard(0, 0);
  ASSERT_TRUE(LeavePlay());
  EXPECT_TRUE(StartFromMenu());
  EXPECT_EQ(ScreenState, NewGameQuestion);
  EXPECT_FALSE(StartFromMenu());  // only from the menu
  EXPECT_TRUE(AnswerNewGameQuestion(false));
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(SetIndex, set);
  EXPECT_EQ(CardsTurned, 1);
  EXPECT_FALSE(AnswerNewGameQuestion(true));  // no question is shown
  EXPECT_TRUE(StartFromMenu());
  EXPECT_TRUE(AnswerNewGameQuestion(true));
  EXPECT_EQ(ScreenState, Playing);
  EXPECT_NE(SetIndex, set);
  EXPECT_EQ(CardsTurned, 0);
  EXPECT_FALSE(LeaveWellDone());
}

// Reloading the pictures gives every sprite a new handle and may move the
// board; the game goes on with the same faces, matched by what was dealt.
TEST(PictureReload, FacesAndMatchesSurviveNewHandlesAndGeometry) {
  play::FreshState();
  for (int set = 0; set < kCardSets; ++set) {
    for (int face = 1; face <= kFacesPerSet; ++face) {
      CardSets[static_cast<size_t>(set)].Faces[static_cast<size_t>(face)] = 100 * set + face;
    }
  }
  play::DealFromMenu();
  BoardPos a = play::FirstFaceDown();
  BoardPos b = play::PartnerOf(a), wrong;
  ASSERT_TRUE(play::MismatchFor(a, &wrong));
  const int face = CardAt(a).Face;
  ASSERT_TRUE(ClickCard(a.Column, a.Row));
  // A reload where every picture failed to decode: all handles alike.
  for (int set = 0; set < kCardSets; ++set) CardSets[static_cast<size_t>(set)].Faces.fill(7777);
  ComputeBoardGeometry(1920, 1080);
  LayoutBoard();
  EXPECT_EQ(CardAt(a).State, FaceUp);
  EXPECT_EQ(CardAt(a).X, 245 + 180 * a.Column);
  ASSERT_TRUE(ClickCard(wrong.Column, wrong.Row));
  play::Pass();
  EXPECT_EQ(CardAt(a).State, FaceUp);  // still a mismatch, not a pair
  EXPECT_EQ(CardAt(wrong).State, FaceUp);
  while (CardsTurned != 0) play::Pass();
  // Fresh handles again: a card's sprite is its dealt face in the new set.
  for (int f = 1; f <= kFacesPerSet; ++f) CardSets[static_cast<size_t>(SetIndex)].Faces[static_cast<size_t>(f)] = 5000 + f;
  EXPECT_EQ(CardFaceSprite(CardAt(a)), 5000 + face);
  EXPECT_EQ(CardFaceSprite(CardAt(b)), 5000 + face);
  EXPECT_EQ(PlayMove(a, b), 33);
  EXPECT_EQ(CardsLeft, 46);
}

}  // namespace
