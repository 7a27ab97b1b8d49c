// The pixel memory of a start-up at 1280x720, written once as a decoder
// writes it, in fresh processes: blocks from the pixel-memory service
// (memory_allocate) against the same blocks from the plain heap (malloc),
// measured in the same run. Each fresh process starts with no memory to
// reuse, as the game does, so the figure is what first touching the
// pictures' pixels costs. Below 1 the service is cheaper.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/bench_timing.h"

#include "engine/system/memory.h"

namespace {

// What the picture loader asks for at 1280x720, in its order: each
// background, title and logo decoded at 1920x1080 and freed once stretched
// to the screen; card backs and faces, panels, shadows and small pictures.
struct Step {
  size_t bytes;
  bool freed_after_next;  // a decode buffer, freed once the next step is made
};

std::vector<Step> startup_steps() {
  std::vector<Step> steps;
  const size_t decoded = size_t{1920} * 1080 * 4, screen = size_t{1280} * 720 * 4;
  for (int i = 0; i < 4; ++i) {
    steps.push_back({decoded, true});
    steps.push_back({screen, false});
  }
  for (int i = 0; i < 50; ++i) steps.push_back({size_t{256} * 256 * 4, false});
  for (size_t bytes : {size_t{256} * 256 * 4, size_t{680} * 640 * 4, size_t{680} * 640 * 4, size_t{760} * 320 * 4,
                       size_t{760} * 320 * 4, size_t{520} * 4 * 4, size_t{32} * 32 * 4})
    steps.push_back({bytes, false});
  for (int i = 0; i < 2; ++i) {
    steps.push_back({decoded, true});
    steps.push_back({screen, false});
  }
  return steps;
}

// Processor seconds for making and writing every block of the steps in a
// fresh child process, with service or heap memory.
double fresh_run(bool service) {
  int out[2];
  if (pipe(out) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    const std::vector<Step> steps = startup_steps();
    std::vector<void*> kept;
    const double start = bench::cpu_seconds();
    void* pending = nullptr;
    size_t pending_bytes = 0;
    for (const Step& s : steps) {
      void* block = service ? memory_allocate(s.bytes) : std::malloc(s.bytes);
      if (block == nullptr) _exit(1);
      std::memset(block, 0x5A, s.bytes);
      if (pending != nullptr) {
        if (service) {
          memory_free(pending, pending_bytes);
        } else {
          std::free(pending);
        }
        pending = nullptr;
      }
      if (s.freed_after_next) {
        pending = block;
        pending_bytes = s.bytes;
      } else {
        kept.push_back(block);
      }
    }
    const double seconds = bench::cpu_seconds() - start;
    _exit(write(out[1], &seconds, sizeof seconds) == sizeof seconds ? 0 : 1);
  }
  double seconds = -1;
  if (read(out[0], &seconds, sizeof seconds) != sizeof seconds) seconds = -1;
  close(out[0]);
  close(out[1]);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

}  // namespace

int main() {
  size_t total = 0;
  for (const Step& s : startup_steps()) total += s.bytes;
  // Interleaved, so that a busy spell of the machine hits both.
  std::vector<double> heap, service;
  for (int round = 0; round < 15; ++round) {
    heap.push_back(fresh_run(false));
    service.push_back(fresh_run(true));
    if (heap.back() < 0 || service.back() < 0) {
      std::fprintf(stderr, "a run failed\n");
      return 1;
    }
  }
  std::sort(heap.begin(), heap.end());
  std::sort(service.begin(), service.end());
  const double h = heap[heap.size() / 2], s = service[service.size() / 2];
  std::printf("start-up pixel memory at 1280x720, %.1f MB written once in a fresh process: pixel-memory service "
              "%.2f ms, plain heap %.2f ms (processor time, medians of 15), ratio %.2f\n",
              total / 1e6, s * 1e3, h * 1e3, s / h);
  return 0;
}
