// The game's random numbers: one generator for the whole run, seeded at its
// first use from the thread identifier and the tick count, so that every run
// deals differently.
#pragma once

#include <cstdint>

// A uniformly distributed integer from 0 to n inclusive (0 when n < 0): the
// upper 32 bits of one random 32-bit word times n + 1.
int random_int(int n);

// The next 32-bit word of the generator (seeding it first if need be).
uint32_t random_word();

// Seeds the generator; later calls continue from this seed. The game seeds
// only implicitly; tests call this to replay a sequence.
void random_seed(uint32_t seed);

// The seed the generator takes by itself at its first use: the current
// thread identifier XOR the tick count in milliseconds.
uint32_t random_run_seed();
