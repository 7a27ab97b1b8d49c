// A PCG32 generator behind random_int. The seed is only 32 bits, as the game
// has always done it; PCG spreads it over its 64-bit state and stream.
#include "game/random.h"

#include <chrono>
#include <functional>
#include <thread>

namespace {

struct Generator {
  uint64_t state = 0;
  uint64_t stream = 0;  // odd increment of the underlying LCG
  bool seeded = false;
};

Generator generator;

uint64_t SplitMix64(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

uint32_t NextWord() {
  uint64_t old = generator.state;
  generator.state = old * 6364136223846793005ull + generator.stream;
  uint32_t xorshifted = static_cast<uint32_t>(((old >> 18) ^ old) >> 27);
  uint32_t rot = static_cast<uint32_t>(old >> 59);
  return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

}  // namespace

void random_seed(uint32_t seed) {
  generator.state = 0;
  generator.stream = (SplitMix64(seed ^ 0xDA3E39CB94B95BDBull) << 1) | 1u;
  NextWord();
  generator.state += SplitMix64(seed);
  NextWord();
  generator.seeded = true;
}

uint32_t random_run_seed() {
  uint64_t thread_id = std::hash<std::thread::id>{}(std::this_thread::get_id());
  // steady_clock is the time since boot on the systems we run on: the tick count.
  auto ticks = std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
                   .count();
  return static_cast<uint32_t>(thread_id ^ (thread_id >> 32)) ^ static_cast<uint32_t>(ticks);
}

uint32_t random_word() {
  if (!generator.seeded) random_seed(random_run_seed());
  return NextWord();
}

int random_int(int n) {
  if (n < 0) return 0;
  uint64_t range = static_cast<uint64_t>(n) + 1;
  return static_cast<int>((static_cast<uint64_t>(random_word()) * range) >> 32);
}
