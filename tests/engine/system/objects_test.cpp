// The numbered-object rules every kind of engine object shares.
#include "engine/system/objects.h"

#include <gtest/gtest.h>

namespace {

struct Tracked {
  explicit Tracked(int* alive) : alive_(alive) { ++*alive_; }
  ~Tracked() { --*alive_; }
  int* alive_;
};

TEST(ObjectTable, FixedNumbersGrowByTheStepAndReplaceFreesTheOld) {
  int alive = 0;
  ObjectTable<Tracked> t(16);
  EXPECT_EQ(t.capacity(), 0);
  EXPECT_EQ(t.put(3, std::make_unique<Tracked>(&alive)), 3);
  EXPECT_EQ(t.capacity(), 3 + 16);
  EXPECT_EQ(t.put(30, std::make_unique<Tracked>(&alive)), 30);
  EXPECT_EQ(t.capacity(), 30 + 16);
  EXPECT_EQ(t.put(5, std::make_unique<Tracked>(&alive)), 5);
  EXPECT_EQ(t.capacity(), 30 + 16);  // within the table: no growth
  EXPECT_EQ(alive, 3);
  Tracked* first = t.get(3);
  t.put(3, std::make_unique<Tracked>(&alive));
  EXPECT_EQ(alive, 3);  // the old object under 3 was freed
  EXPECT_NE(t.get(3), nullptr);
  (void)first;
}

TEST(ObjectTable, HandlesAreDistinctFromNumbersAndUnknownIdsResolveToNothing) {
  int alive = 0;
  ObjectTable<Tracked> t(64);
  int h1 = t.put(-1, std::make_unique<Tracked>(&alive));
  int h2 = t.put(-1, std::make_unique<Tracked>(&alive));
  EXPECT_NE(h1, 0);
  EXPECT_NE(h1, h2);
  EXPECT_GE(h1, kObjectHandleBase);
  EXPECT_NE(t.get(h1), t.get(h2));
  EXPECT_EQ(t.get(0), nullptr);
  EXPECT_EQ(t.get(-5), nullptr);
  EXPECT_EQ(t.get(h2 + 100), nullptr);
  EXPECT_EQ(t.put(-7, std::make_unique<Tracked>(&alive)), -2);
  EXPECT_EQ(t.put(kObjectNumberLimit, std::make_unique<Tracked>(&alive)), -2);
  EXPECT_EQ(alive, 2);  // refused objects are dropped, not leaked
  EXPECT_TRUE(t.free(h1));
  EXPECT_FALSE(t.free(h1));
  EXPECT_EQ(t.get(h1), nullptr);
  EXPECT_EQ(alive, 1);
}

TEST(ObjectTable, FreeingMinusOneFreesEveryObject) {
  int alive = 0;
  ObjectTable<Tracked> t(16);
  t.put(0, std::make_unique<Tracked>(&alive));
  t.put(9, std::make_unique<Tracked>(&alive));
  t.put(-1, std::make_unique<Tracked>(&alive));
  EXPECT_EQ(t.count(), 3);
  int seen = 0;
  t.for_each([&](int, Tracked&) { ++seen; });
  EXPECT_EQ(seen, 3);
  EXPECT_TRUE(t.free(-1));
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(t.count(), 0);
  EXPECT_FALSE(t.free(-1));
}

}  // namespace
