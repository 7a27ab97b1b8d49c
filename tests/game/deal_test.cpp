// The deal: what a fresh board holds, the alternating card sets, the
// start-up board, the random service, and a statistical check that deals
// are uniform.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "game/board.h"
#include "game/flow.h"
#include "game/random.h"
#include "game/screen_state.h"
#include "tests/game/play_helpers.h"

namespace {

TEST(Deal, EveryFaceTwiceFaceDownAndLaidOut) {
  play::FreshState();
  FrameCounter = 57;
  FirstPick = BoardPos{3, 4};
  SecondPick = BoardPos{6, 1};
  CardsLeft = 12;
  CardsTurned = 2;
  MatchFade = 99;
  DealNewGame();
  std::array<int, kFacesPerSet + 1> count{};
  for (int column = 0; column < kBoardColumns; ++column) {
    for (int row = 0; row < kBoardRows; ++row) {
      const BoardCard& card = CardAt(column, row);
      ASSERT_GE(card.Face, 1);
      ASSERT_LE(card.Face, kFacesPerSet);
      ++count[static_cast<size_t>(card.Face)];
      EXPECT_EQ(card.State, FaceDown);
      EXPECT_EQ(card.X, 165 + 120 * column);
      EXPECT_EQ(card.Y, 5 + 120 * row);
    }
  }
  for (int face = 1; face <= kFacesPerSet; ++face) EXPECT_EQ(count[static_cast<size_t>(face)], 2) << face;
  EXPECT_EQ(ScreenState, Playing);
  EXPECT_EQ(CardsLeft, 48);
  EXPECT_EQ(CardsTurned, 0);
  EXPECT_EQ(GameInProgress, 1);
  EXPECT_EQ(MatchFade, 255);
  // A deal leaves the pause counter and the picks alone.
  EXPECT_EQ(FrameCounter, 57);
  EXPECT_EQ(FirstPick.Column, 3);
  EXPECT_EQ(FirstPick.Row, 4);
  EXPECT_EQ(SecondPick.Column, 6);
  EXPECT_EQ(SecondPick.Row, 1);
}

TEST(Deal, CardSetsAlternateFromSetOneAndFacesComeFromTheBoardsSet) {
  play::FreshState();
  for (int set = 0; set < kCardSets; ++set) {
    CardSets[static_cast<size_t>(set)].Back = 1000 * (set + 1);
    for (int face = 1; face <= kFacesPerSet; ++face) {
      CardSets[static_cast<size_t>(set)].Faces[static_cast<size_t>(face)] = 1000 * (set + 1) + face;
    }
  }
  const int expected_sets[] = {1, 0, 1};
  for (int expected : expected_sets) {
    DealNewGame();
    EXPECT_EQ(SetIndex, expected);
    EXPECT_GE(BackgroundIndex, 0);
    EXPECT_LE(BackgroundIndex, 3);
    std::array<int, kFacesPerSet + 1> count{};
    for (const BoardCard& card : Board) {
      int sprite = CardFaceSprite(card);
      // Every face sprite of the board's set appears twice, no other sprite.
      ASSERT_EQ(sprite / 1000, expected + 1);
      ++count[static_cast<size_t>(sprite % 1000)];
    }
    for (int face = 1; face <= kFacesPerSet; ++face) EXPECT_EQ(count[static_cast<size_t>(face)], 2);
  }
}

TEST(Deal, StartUpBoardIsFaceDownWithoutFacesAndCannotBePlayed) {
  play::FreshState();
  for (int column = 0; column < kBoardColumns; ++column) {
    for (int row = 0; row < kBoardRows; ++row) {
      const BoardCard& card = CardAt(column, row);
      EXPECT_EQ(card.State, FaceDown);
      EXPECT_EQ(card.Face, 0);
      EXPECT_EQ(CardFaceSprite(card), 0);
      EXPECT_EQ(card.X, 165 + 120 * column);
    }
  }
  EXPECT_EQ(SetIndex, 0);
  EXPECT_EQ(BackgroundIndex, 0);
  EXPECT_EQ(GameInProgress, 0);
  // No game yet: CONTINUE does nothing and a click cannot turn a card.
  EXPECT_FALSE(ContinueFromMenu());
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_FALSE(play::ClickCard(0, 0));
  EXPECT_EQ(CardsTurned, 0);
}

TEST(RandomInt, UpperWordOfTheProductCoversZeroToN) {
  random_seed(77);
  std::vector<uint32_t> words;
  for (int i = 0; i < 2000; ++i) words.push_back(random_word());
  random_seed(77);
  const int ns[] = {0, 1, 3, 47, 1000, 2147483647};
  for (size_t i = 0; i < words.size(); ++i) {
    int n = ns[i % 6];
    int value = random_int(n);
    ASSERT_EQ(value, static_cast<int>((static_cast<uint64_t>(words[i]) * (static_cast<uint64_t>(n) + 1)) >> 32));
    ASSERT_GE(value, 0);
    ASSERT_LE(value, n);
  }
  EXPECT_EQ(random_int(-1), 0);
  EXPECT_EQ(random_int(-2147483647 - 1), 0);
  // Both ends of a small range come up.
  bool low = false, high = false;
  for (int i = 0; i < 1000; ++i) {
    int v = random_int(5);
    low |= v == 0;
    high |= v == 5;
  }
  EXPECT_TRUE(low && high);
}

TEST(RandomInt, ASeedReplaysAndSeedsDiffer) {
  random_seed(5);
  std::vector<int> a, b, c;
  for (int i = 0; i < 64; ++i) a.push_back(random_int(1000000));
  random_seed(5);
  for (int i = 0; i < 64; ++i) b.push_back(random_int(1000000));
  random_seed(6);
  for (int i = 0; i < 64; ++i) c.push_back(random_int(1000000));
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
}

// Face-to-slot uniformity over many deals, seeded as a real run seeds.
//
// Under a uniform deal the face in a given slot is uniform over the 24 faces
// and independent from deal to deal, so for each slot the counts over N deals
// are multinomial and Pearson's statistic is chi-square with 23 degrees of
// freedom (expected count N/24 = 2000 per cell, far into the range where the
// approximation holds). P(chi2(23) > 100) = 1.41e-11; over 48 slots (union
// bound, whatever their dependence) that is at most 6.8e-10. The background
// counts have 3 degrees of freedom: P(chi2(3) > 50) = 8.0e-11. A false
// failure thus has probability below 1e-9, a thousand times under one in a
// million, leaving room for any error of the approximation in the tails.
// (The single-pass test below adds at most 5.3e-11 more.)
TEST(DealStatistics, EveryFaceReachesEverySlotUniformly) {
  const uint32_t seed = random_run_seed();
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  play::FreshState(seed);
  constexpr int kDeals = 48000;
  std::vector<std::array<int, kFacesPerSet + 1>> counts(kBoardCards);
  std::array<int, kBackgrounds> backgrounds{};
  for (int deal = 0; deal < kDeals; ++deal) {
    DealNewGame();
    for (int slot = 0; slot < kBoardCards; ++slot) {
      ++counts[static_cast<size_t>(slot)][static_cast<size_t>(Board[static_cast<size_t>(slot)].Face)];
    }
    ++backgrounds[static_cast<size_t>(BackgroundIndex)];
  }
  const double expected = kDeals / 24.0;
  double worst = 0;
  for (int slot = 0; slot < kBoardCards; ++slot) {
    double chi2 = 0;
    for (int face = 1; face <= kFacesPerSet; ++face) {
      double d = counts[static_cast<size_t>(slot)][static_cast<size_t>(face)] - expected;
      chi2 += d * d / expected;
    }
    EXPECT_LT(chi2, 100.0) << "slot " << slot;
    if (chi2 > worst) worst = chi2;
  }
  double chi2 = 0;
  for (int b : backgrounds) {
    double d = b - kDeals / 4.0;
    chi2 += d * d / (kDeals / 4.0);
  }
  EXPECT_LT(chi2, 50.0);
  RecordProperty("worst_slot_chi2", static_cast<int>(worst));
}

// Each shuffle pass alone must be a uniform permutation (three passes of a
// biased shuffle can look uniform in the faces' slots). Tag every record
// with its starting slot and count where one pass sends it. Per starting
// slot the 48 destination counts over N passes are multinomial with
// expected N/48 = 1000; Pearson's statistic is chi-square with 47 degrees of
// freedom, P(chi2(47) > 150) = 1.09e-12, at most 5.3e-11 over 48 slots.
TEST(DealStatistics, OneShufflePassIsAUniformPermutation) {
  const uint32_t seed = random_run_seed();
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  play::FreshState(seed);
  constexpr int kPasses = 48000;
  std::vector<std::array<int, kBoardCards>> counts(kBoardCards);
  for (int pass = 0; pass < kPasses; ++pass) {
    for (int slot = 0; slot < kBoardCards; ++slot) Board[static_cast<size_t>(slot)].Face = slot;
    ShuffleBoard();
    for (int slot = 0; slot < kBoardCards; ++slot) {
      ++counts[static_cast<size_t>(Board[static_cast<size_t>(slot)].Face)][static_cast<size_t>(slot)];
    }
  }
  const double expected = kPasses / 48.0;
  for (int from = 0; from < kBoardCards; ++from) {
    double chi2 = 0;
    for (int to = 0; to < kBoardCards; ++to) {
      double d = counts[static_cast<size_t>(from)][static_cast<size_t>(to)] - expected;
      chi2 += d * d / expected;
    }
    EXPECT_LT(chi2, 150.0) << "records starting in slot " << from;
  }
}

}  // namespace
