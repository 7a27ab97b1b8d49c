// The deal, the start-up board, the random service, and statistical checks
// that deals are uniform.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "tests/game/play_helpers.h"

namespace {

// Over three deals: sets 1, 0, 1; each face sprite of the set on exactly two
// cards; all face down at their slots; the game counters fresh, the pause
// counter and picks as they were; each deal counted.
TEST(Deal, AlternatingSetsEveryFaceTwiceLaidOutFaceDown) {
  play::FreshState();
  EXPECT_EQ(GamesDealt, 0);
  for (int set = 0; set < kCardSets; ++set) {
    for (int face = 1; face <= kFacesPerSet; ++face) CardSets[set].Faces[face] = 1000 * (set + 1) + face;
  }
  const int expected_sets[] = {1, 0, 1};
  for (int deal = 0; deal < 3; ++deal) {
    FrameCounter = 57 + deal;
    FirstPick = BoardPos{3, 4};
    CardsLeft = 12;
    CardsTurned = 2;
    MatchFade = 99;
    ScreenState = MainMenu;
    DealNewGame();
    EXPECT_EQ(SetIndex, expected_sets[deal]);
    EXPECT_GE(BackgroundIndex, 0);
    EXPECT_LE(BackgroundIndex, 3);
    std::array<int, kFacesPerSet + 1> count{};
    for (int slot = 0; slot < kBoardCards; ++slot) {
      const BoardCard& card = Board[slot];
      ASSERT_EQ(CardFaceSprite(card) / 1000, SetIndex + 1);
      ++count[CardFaceSprite(card) % 1000];
      EXPECT_EQ(card.State, FaceDown);
      EXPECT_EQ(card.X, 165 + 120 * (slot / 6));
      EXPECT_EQ(card.Y, 5 + 120 * (slot % 6));
    }
    for (int face = 1; face <= kFacesPerSet; ++face) EXPECT_EQ(count[face], 2) << face;
    EXPECT_EQ(ScreenState, Playing);
    EXPECT_EQ(CardsLeft, 48);
    EXPECT_EQ(CardsTurned, 0);
    EXPECT_EQ(GameInProgress, 1);
    EXPECT_EQ(MatchFade, 255);
    EXPECT_EQ(FrameCounter, 57 + deal);
    EXPECT_EQ(FirstPick.Row, 4);
    EXPECT_EQ(GamesDealt, deal + 1);
  }
}

TEST(Deal, StartUpBoardIsFaceDownWithoutFacesAndCannotBePlayed) {
  play::FreshState();
  for (int slot = 0; slot < kBoardCards; ++slot) {
    EXPECT_EQ(Board[slot].State, FaceDown);
    EXPECT_EQ(CardFaceSprite(Board[slot]), 0);
    EXPECT_EQ(Board[slot].Y, 5 + 120 * (slot % 6));
  }
  EXPECT_EQ(SetIndex, 0);
  EXPECT_EQ(BackgroundIndex, 0);
  EXPECT_FALSE(ContinueFromMenu());
  EXPECT_FALSE(play::Click(BoardPos{0, 0}));
  EXPECT_EQ(ScreenState, MainMenu);
}

// The deal draws one number for the background and three shuffle passes of
// 47 each; the start-up board one pass. Counted by where the sequence resumes.
TEST(Deal, ThreeShufflePassesPerDealOneAtStartUp) {
  const auto words_used = [](void (*step)()) {
    random_seed(9);
    step();
    const uint32_t next = random_word();
    random_seed(9);
    for (int used = 0; used < 1000; ++used) {
      if (random_word() == next) return used;
    }
    return -1;
  };
  play::FreshState();
  EXPECT_EQ(words_used(DealNewGame), 1 + 3 * 47);
  EXPECT_EQ(words_used(PrepareStartBoard), 47);
}

TEST(RandomInt, UpperWordOfTheProductAndReplayableSeeds) {
  random_seed(77);
  std::vector<uint32_t> words;
  for (int i = 0; i < 3000; ++i) words.push_back(random_word());
  random_seed(77);
  const int ns[] = {0, 1, 5, 47, 2147483647};
  bool low = false, high = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const int n = ns[i % 5];
    const int value = random_int(n);
    ASSERT_EQ(value, static_cast<int>((uint64_t{words[i]} * (uint64_t(n) + 1)) >> 32));
    ASSERT_GE(value, 0);
    ASSERT_LE(value, n);
    low |= n == 5 && value == 0;
    high |= n == 5 && value == 5;
  }
  EXPECT_TRUE(low && high);
  EXPECT_EQ(random_int(-1), 0);
  EXPECT_EQ(random_int(-2147483647 - 1), 0);
  random_seed(78);
  EXPECT_NE(random_word(), words[0]);
}

double ChiSquare(const int* counts, int cells, double expected) {
  double sum = 0;
  for (int i = 0; i < cells; ++i) sum += (counts[i] - expected) * (counts[i] - expected) / expected;
  return sum;
}

// Both tests below seed as a real run does, so they can fail by bad luck;
// the bounds make that less likely than one in a billion in all:
//
// Faces: under a uniform deal the face in a given slot is uniform over 24
// faces and independent between deals, so per slot the counts over N deals
// are multinomial and Pearson's statistic is chi-square with 23 degrees of
// freedom (expected 2000 per cell, deep in the range where that holds).
// P(chi2(23) > 100) = 1.41e-11, over 48 slots (union bound, whatever their
// dependence) at most 6.8e-10. Backgrounds: P(chi2(3) > 50) = 8.0e-11.
// One pass: per starting slot the 48 destinations are uniform,
// P(chi2(47) > 150) = 1.09e-12, over 48 slots 5.3e-11.
// Total below 8.2e-10: a thousand times under one in a million, leaving room
// for any error of the chi-square approximation in the far tail.
TEST(DealStatistics, EveryFaceReachesEverySlotUniformly) {
  const uint32_t seed = random_run_seed();
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  play::FreshState(seed);
  constexpr int kDeals = 48000;
  std::vector<std::array<int, kFacesPerSet>> counts(kBoardCards);
  std::array<int, kBackgrounds> backgrounds{};
  for (int deal = 0; deal < kDeals; ++deal) {
    DealNewGame();
    for (int slot = 0; slot < kBoardCards; ++slot) ++counts[slot][Board[slot].Face - 1];
    ++backgrounds[BackgroundIndex];
  }
  for (int slot = 0; slot < kBoardCards; ++slot) {
    EXPECT_LT(ChiSquare(counts[slot].data(), kFacesPerSet, kDeals / 24.0), 100.0) << "slot " << slot;
  }
  EXPECT_LT(ChiSquare(backgrounds.data(), kBackgrounds, kDeals / 4.0), 50.0);
}

// Each pass alone must be uniform: three passes of a biased shuffle (one
// that never leaves a card in place, say) can look uniform in the faces.
TEST(DealStatistics, OneShufflePassIsAUniformPermutation) {
  const uint32_t seed = random_run_seed();
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  play::FreshState(seed);
  constexpr int kPasses = 48000;
  std::vector<std::array<int, kBoardCards>> counts(kBoardCards);
  for (int pass = 0; pass < kPasses; ++pass) {
    for (int slot = 0; slot < kBoardCards; ++slot) Board[slot].Face = slot;  // tag the start
    ShuffleBoard();
    for (int slot = 0; slot < kBoardCards; ++slot) ++counts[Board[slot].Face][slot];
  }
  for (int from = 0; from < kBoardCards; ++from) {
    EXPECT_LT(ChiSquare(counts[from].data(), kBoardCards, kPasses / 48.0), 150.0) << "from slot " << from;
  }
}

}  // namespace
