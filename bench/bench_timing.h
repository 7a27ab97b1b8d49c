// Clocks the benchmarks share: processor time of this process (what the
// ratios are taken of, since the machine's cores are shared) and elapsed time.
#pragma once

#include <time.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

// Processor time of this process in seconds.
inline double cpu_seconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Elapsed time in seconds from an arbitrary start.
inline double wall_seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// One measurement: processor time of this process (what the ratios are taken
// of) and elapsed time (for information), in seconds.
struct Timing {
  double cpu = 0;
  double wall = 0;
};

// How long body took.
template <typename F>
Timing measure(F body) {
  const double c0 = cpu_seconds(), w0 = wall_seconds();
  body();
  return Timing{cpu_seconds() - c0, wall_seconds() - w0};
}

// Median processor time of runs of body, in seconds.
template <typename F>
double median_cpu(int runs, F body) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    const double c0 = cpu_seconds();
    body();
    t.push_back(cpu_seconds() - c0);
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

}  // namespace bench
