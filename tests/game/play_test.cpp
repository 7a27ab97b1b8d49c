// Moves and games: whole games from the deal to the well-done screen, the
// frame timings of a pair and of a mismatch, clicks that must do nothing,
// the two halves of a click (the card under a point, the turn of a card),
// the moves between board, menu and question, and a picture reload mid-game.
#include <gtest/gtest.h>

#include <vector>

#include "tests/game/play_helpers.h"

namespace {

using play::Click;
using play::FindCard;
using play::FirstFaceDown;
using play::PlayMove;

// Every pair is preceded by a mismatch while one is possible: the mismatch
// takes 82 checks and changes nothing, the pair one check to start fading and
// 32 drawn frames until its check removes it.
TEST(WholeGame, TwentyFourPairsFromTheDealToTheWellDoneScreen) {
  for (uint32_t seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    play::FreshState(seed);
    ASSERT_TRUE(StartFromMenu());
    std::vector<int> cards_left{CardsLeft};
    for (int pair = 0; pair < 24; ++pair) {
      ASSERT_EQ(ScreenState, Playing) << "ended after " << pair << " pairs";
      ASSERT_EQ(GameInProgress, 1);
      const BoardPos first = FirstFaceDown(), other = FindCard(first, false);
      if (other.Column >= 0) {
        EXPECT_EQ(PlayMove(first, other), 82);
        EXPECT_EQ(CardAt(other).State, FaceDown);
        EXPECT_EQ(CardsLeft, cards_left.back());
      }
      const BoardPos partner = FindCard(first, true);
      EXPECT_EQ(PlayMove(first, partner), 33);
      EXPECT_EQ(CardAt(first).State, Removed);
      EXPECT_EQ(CardAt(partner).State, Removed);
      cards_left.push_back(CardsLeft);
    }
    std::vector<int> expected;
    for (int n = 48; n >= 0; n -= 2) expected.push_back(n);
    EXPECT_EQ(cards_left, expected);
    EXPECT_EQ(ScreenState, WellDone);
    EXPECT_EQ(WellDoneFade, 0);
    EXPECT_EQ(GameInProgress, 0);
    EXPECT_EQ(MatchFade, 255);
    EXPECT_EQ(FirstFaceDown().Column, -1);
    // Out through the menu: CONTINUE does nothing, START deals at once.
    EXPECT_TRUE(LeaveWellDone());
    EXPECT_FALSE(ContinueFromMenu());
    EXPECT_TRUE(StartFromMenu());
    EXPECT_EQ(ScreenState, Playing);
  }
}

TEST(MoveTiming, MismatchCountsEveryCheckAndTurnsBackOnThe82nd) {
  play::FreshState();
  ASSERT_TRUE(StartFromMenu());
  const BoardPos first = FirstFaceDown(), other = FindCard(first, false);
  ASSERT_TRUE(Click(first));
  play::Pass();  // one card alone counts nothing
  ASSERT_TRUE(Click(other));
  for (int check = 1; check <= 81; ++check) {
    play::Pass();
    ASSERT_EQ(CardAt(first).State, FaceUp) << check;
    ASSERT_EQ(FrameCounter, check);
  }
  play::Pass();
  EXPECT_EQ(CardAt(first).State, FaceDown);
  EXPECT_EQ(CardAt(other).State, FaceDown);
  EXPECT_EQ(FrameCounter, 0);
  EXPECT_EQ(CardsTurned, 0);
}

TEST(MoveTiming, PairFadesOnlyInDrawnFramesAndGoesAfterThe32nd) {
  play::FreshState();
  ASSERT_TRUE(StartFromMenu());
  const BoardPos a = FirstFaceDown(), b = FindCard(a, true);
  ASSERT_TRUE(Click(b));
  ASSERT_TRUE(Click(a));
  ResolveMove();
  ASSERT_EQ(CardAt(a).State, Vanishing);
  // Checks without drawn frames (a screen in the background) change nothing.
  for (int i = 0; i < 200; ++i) ResolveMove();
  ASSERT_EQ(CardAt(b).State, Vanishing);
  // The card drawn first shows 255, 247, ..., 7, the other 4 less each time.
  int frames = 0;
  while (CardAt(a).State == Vanishing && frames < 100) {
    const std::vector<int> drawn = play::DrawFrame();
    ASSERT_EQ(drawn, (std::vector<int>{255 - 8 * frames, 251 - 8 * frames}));
    ++frames;
    ResolveMove();
  }
  EXPECT_EQ(frames, 32);
  EXPECT_EQ(CardAt(b).State, Removed);
  EXPECT_EQ(CardsLeft, 46);
  EXPECT_EQ(MatchFade, 255);
  // The fade never passes -1, and the well-done level climbs by 4 to 128.
  MatchFade = 3;
  LowerMatchFade();
  LowerMatchFade();
  EXPECT_EQ(MatchFade, -1);
  for (int frame = 0; frame < 40; ++frame) {
    EXPECT_EQ(WellDoneFade, frame < 32 ? 4 * frame : 128);
    RaiseWellDoneFade();
  }
}

// A pause still counting when a new game is dealt shortens the first
// mismatch of the new game: 50 checks were spent, 32 remain.
TEST(MoveTiming, DealKeepsAPausePartlyCounted) {
  play::FreshState();
  ASSERT_TRUE(StartFromMenu());
  BoardPos first = FirstFaceDown();
  Click(first);
  Click(FindCard(first, false));
  for (int i = 0; i < 50; ++i) play::Pass();
  ASSERT_TRUE(LeavePlay());
  ASSERT_TRUE(StartFromMenu());
  ASSERT_TRUE(AnswerNewGameQuestion(true));
  EXPECT_EQ(FrameCounter, 50);
  first = FirstFaceDown();
  EXPECT_EQ(PlayMove(first, FindCard(first, false)), 32);
}

TEST(Clicks, AThirdCardDuringAPendingMoveStaysDown) {
  play::FreshState();
  ASSERT_TRUE(StartFromMenu());
  for (bool pair : {false, true}) {
    SCOPED_TRACE(pair ? "pair vanishing" : "mismatch shown");
    const BoardPos first = FirstFaceDown(), second = FindCard(first, pair);
    ASSERT_TRUE(Click(first));
    ASSERT_TRUE(Click(second));
    play::Pass();
    play::Pass();
    BoardPos third = FindCard(second, false);
    if (third.Column == first.Column && third.Row == first.Row) third = FindCard(first, false);
    ASSERT_EQ(CardAt(third).State, FaceDown);
    EXPECT_FALSE(Click(third));
    EXPECT_EQ(CardAt(third).State, FaceDown);
    EXPECT_EQ(CardsTurned, 2);
    EXPECT_EQ(SecondPick.Column, second.Column);
    EXPECT_EQ(SecondPick.Row, second.Row);
    play::Settle();
  }
}

// Card (1, 1) on 1280x720 has its edge lines at x 285 and 395, y 125 and 235.
TEST(Clicks, EdgeLinesGapsAndTurnedCardsMiss) {
  play::FreshState();
  ASSERT_TRUE(StartFromMenu());
  const int misses[][2] = {{285, 180}, {395, 180}, {340, 125}, {340, 235},  // edge lines
                           {400, 180}, {340, 240}, {-1, -1}, {5000, 180}};  // gaps, off screen
  for (const auto& m : misses) EXPECT_FALSE(TurnCardAt(m[0], m[1])) << m[0] << "," << m[1];
  EXPECT_EQ(CardsTurned, 0);
  EXPECT_TRUE(TurnCardAt(286, 126));
  EXPECT_FALSE(TurnCardAt(394, 234));  // the same card, now face up
  for (int i = 0; i < 100; ++i) play::Pass();  // a lone card waits
  EXPECT_EQ(CardsTurned, 1);
  EXPECT_TRUE(TurnCardAt(394 + 120, 234 + 120));
  EXPECT_EQ(FirstPick.Column * 10 + FirstPick.Row, 11);
  EXPECT_EQ(SecondPick.Column * 10 + SecondPick.Row, 22);
  // Only the board itself takes clicks.
  play::Settle();
  for (int state : {MainMenu, NewGameQuestion, SettingsScreen, CreditsScreen, QuitQuestion, WellDone}) {
    ScreenState = state;
    EXPECT_FALSE(Click(BoardPos{5, 5})) << state;
  }
}

// On 1280x720 card (1, 1) has its edge lines at x 285 and 395, y 125 and 235;
// the view finds a card whatever its state, and only the rules refuse one.
TEST(Clicks, ViewFindsAnyCardRulesTurnOnlyAFaceDownOne) {
  play::FreshState();
  ASSERT_TRUE(StartFromMenu());
  BoardPos pos{-1, -1};
  ASSERT_TRUE(CardUnder(286, 126, &pos));
  EXPECT_EQ(pos.Column * 10 + pos.Row, 11);
  ASSERT_TRUE(CardUnder(394 + 6 * 120, 234 + 4 * 120, &pos));
  EXPECT_EQ(pos.Column * 10 + pos.Row, 75);
  pos = BoardPos{-1, -1};
  EXPECT_FALSE(CardUnder(285, 180, &pos));
  EXPECT_FALSE(CardUnder(340, 240, &pos));
  EXPECT_EQ(pos.Column, -1);  // a miss leaves the position alone
  CardAt(3, 2).State = Removed;
  ASSERT_TRUE(CardUnder(CardAt(3, 2).X + 1, CardAt(3, 2).Y + 1, &pos));
  EXPECT_EQ(pos.Column * 10 + pos.Row, 32);
  EXPECT_FALSE(TurnCard(pos));
  // Off the board: the rules turn nothing and count nothing.
  for (BoardPos off : {BoardPos{-1, 0}, BoardPos{8, 0}, BoardPos{0, -1}, BoardPos{0, 6}}) {
    EXPECT_FALSE(TurnCard(off)) << off.Column << "," << off.Row;
  }
  EXPECT_EQ(CardsTurned, 0);
  EXPECT_TRUE(TurnCard(BoardPos{4, 4}));
  EXPECT_FALSE(TurnCard(BoardPos{4, 4}));  // face up now
  EXPECT_EQ(CardAt(4, 4).State, FaceUp);
  EXPECT_EQ(CardsTurned, 1);
  EXPECT_EQ(FirstPick.Column * 10 + FirstPick.Row, 44);
  ShowMainMenu();
  EXPECT_FALSE(TurnCard(BoardPos{5, 5}));
  EXPECT_EQ(CardAt(5, 5).State, FaceDown);
}

// The move is checked whatever screen is shown: the last pair left vanishing
// behind the settings screen still goes and ends the game from there.
TEST(GameFlow, TheLastPairWinsFromBehindAnotherScreen) {
  play::FreshState();
  ASSERT_TRUE(StartFromMenu());
  for (int pair = 0; pair < 23; ++pair) PlayMove(FirstFaceDown(), FindCard(FirstFaceDown(), true));
  const BoardPos a = FirstFaceDown();
  Click(a);
  Click(FindCard(a, true));
  play::Pass();
  play::Pass();
  ASSERT_TRUE(LeavePlay());
  ScreenState = SettingsScreen;
  int passes = 0;
  while (ScreenState == SettingsScreen && passes < 100) {
    play::Pass();
    ++passes;
  }
  EXPECT_EQ(passes, 31);
  EXPECT_EQ(ScreenState, WellDone);
  EXPECT_EQ(CardsLeft, 0);
  EXPECT_EQ(GameInProgress, 0);
}

TEST(GameFlow, MenuQuestionAndContinueKeepOrDropTheGame) {
  play::FreshState();
  ASSERT_TRUE(StartFromMenu());
  const int set = SetIndex;
  ASSERT_TRUE(Click(BoardPos{6, 4}));
  EXPECT_FALSE(LeaveWellDone());
  ASSERT_TRUE(LeavePlay());
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(GameInProgress, 1);
  EXPECT_FALSE(LeavePlay());
  EXPECT_FALSE(AnswerNewGameQuestion(true));  // no question shown
  EXPECT_TRUE(ContinueFromMenu());
  EXPECT_EQ(ScreenState, Playing);
  EXPECT_EQ(CardAt(6, 4).State, FaceUp);
  EXPECT_EQ(FirstPick.Column * 10 + FirstPick.Row, 64);
  LeavePlay();
  EXPECT_TRUE(StartFromMenu());
  EXPECT_EQ(ScreenState, NewGameQuestion);
  EXPECT_FALSE(StartFromMenu());
  EXPECT_TRUE(AnswerNewGameQuestion(false));
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(CardsTurned, 1);
  EXPECT_EQ(SetIndex, set);
  StartFromMenu();
  EXPECT_TRUE(AnswerNewGameQuestion(true));
  EXPECT_EQ(ScreenState, Playing);
  EXPECT_EQ(CardsTurned, 0);
  EXPECT_NE(SetIndex, set);
}

// A reload gives every picture a new handle (here first all the same, as
// when no face decoded) and may move the board; matching follows the deal.
TEST(PictureReload, FacesAndMatchesSurviveNewHandlesAndGeometry) {
  play::FreshState();
  ASSERT_TRUE(StartFromMenu());
  const BoardPos a = FirstFaceDown(), b = FindCard(a, true), other = FindCard(a, false);
  ASSERT_TRUE(Click(a));
  for (CardSet& set : CardSets) set.Faces.fill(7777);
  ComputeBoardGeometry(1920, 1080);
  LayoutBoard();
  EXPECT_EQ(CardAt(a).State, FaceUp);
  EXPECT_EQ(CardAt(a).X, 245 + 180 * a.Column);
  EXPECT_EQ(CardAt(a).Y, 5 + 180 * a.Row);
  ASSERT_TRUE(Click(other));
  play::Pass();
  EXPECT_EQ(CardAt(other).State, FaceUp);  // still a mismatch
  play::Settle();
  for (int face = 1; face <= kFacesPerSet; ++face) CardSets[SetIndex].Faces[face] = 5000 + face;
  EXPECT_EQ(CardFaceSprite(CardAt(a)), 5000 + CardAt(a).Face);
  EXPECT_EQ(CardFaceSprite(CardAt(b)), CardFaceSprite(CardAt(a)));
  EXPECT_EQ(PlayMove(a, b), 33);
  EXPECT_EQ(CardsLeft, 46);
}

}  // namespace
