// Start-up of the game with the build's packs on SDL's dummy drivers, to the
// first presented frame, against decoding the music alone in the same run
// (the one step start-up cannot make cheaper); and the peak resident memory
// of a start at 1920 x 1080. Every start and every music decode runs in a
// child process of its own, so that it finds fresh memory as the game does
// when it starts, not the heap a previous round left behind.
// Usage: bench_startup [folder with the three packs [--memory-only]]
// (default folder: ../bin/ beside this program)
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_timing.h"

#include "app/startup.h"
#include "engine/pack/pack.h"
#include "engine/screen/screen.h"
#include "engine/sound/sound.h"
#include "engine/system/file.h"

namespace {

using bench::Timing;
using bench::measure;

// A program folder with links to the packs (so that no copy passes through
// the memory measured here) and windowed settings of the given size, and a
// home folder of its own, in a scratch folder of this run.
// Named once, before the memory run forks, so that both processes share it.
const std::string& scratch_root() {
  static const std::string root = "/tmp/duskmatch-bench-" + std::to_string(getpid()) + "/";
  return root;
}

std::string install(const std::string& packs, const std::string& name, const std::string& size) {
  std::string root = scratch_root() + name + "/";
  std::string prog = root + "prog/";
  folder_remove_all(root);
  if (!folder_make(prog) || !folder_make(root + "home/")) return "";
  for (const char* pack : {"DuskmatchData.pack", "DuskmatchLanguages.pack", "DuskmatchCursor.pack"}) {
    std::error_code error;
    std::filesystem::create_symlink(std::filesystem::absolute(packs + pack), prog + pack, error);
    if (error) {
      std::fprintf(stderr, "%s%s: %s\n", packs.c_str(), pack, error.message().c_str());
      return "";
    }
  }
  std::string prefs = "[Settings]\r\nLanguage = en_GB\r\nMusic = 1\r\nGameScreen = 1\r\nScreenMode = " + size + "\r\n";
  if (!file_write(prog + "Duskmatch.prefs", prefs.data(), prefs.size())) return "";
  setenv("HOME", (root + "home").c_str(), 1);
  setenv("XDG_DATA_HOME", (root + "home").c_str(), 1);
  return prog;
}

// The music decoded as start-up decodes it, from the pack into sound 0,
// through a read buffer of the same size.
bool decode_music(const std::string& prog) {
  pack_register_formats();
  int pack = pack_open(-1, prog + "DuskmatchData.pack", kPackFormatData);
  if (pack == 0) return false;
  const size_t capacity = 15728640;
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[capacity]);
  int64_t got = pack_read_entry(pack, buffer.get(), static_cast<int64_t>(capacity), "music.ogg");
  pack_close(pack);
  return got > 0 && sound_from_memory(0, buffer.get(), static_cast<size_t>(got)) != 0;
}

// Runs work (which gives a Timing, cpu < 0 for a failure) in a child
// process and hands back what it measured; cpu < 0 also when the child
// ended without a result (a start-up that failed exits on its own).
template <typename F>
Timing in_child(F work) {
  Timing failed{-1, -1};
  int fds[2];
  if (pipe(fds) != 0) return failed;
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const Timing t = work();
    const bool sent = write(fds[1], &t, sizeof t) == static_cast<ssize_t>(sizeof t);
    _exit(sent ? 0 : 1);
  }
  close(fds[1]);
  Timing t = failed;
  if (pid < 0 || read(fds[0], &t, sizeof t) != static_cast<ssize_t>(sizeof t)) t = failed;
  close(fds[0]);
  int status = 0;
  if (pid > 0) waitpid(pid, &status, 0);
  return t;
}

// Peak resident memory of this process in MiB.
double peak_mib() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// Resident memory now ("VmRSS" of /proc/self/status) in MiB, 0 if unknown.
double resident_mib() {
  // Read as a stream: the file reports a size of 0.
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return 0;
  char line[256];
  double kib = 0;
  while (std::fgets(line, sizeof line, f)) {
    if (std::string(line).rfind("VmRSS:", 0) == 0) kib = std::atof(line + 6);
  }
  std::fclose(f);
  return kib / 1024.0;
}

// What the resident memory is made of at one moment: the heap's allocated
// blocks in use, its free blocks the allocator keeps (resident once
// touched), the heap's blocks mapped on their own, and the rest: the
// pictures' pixels (which the pixel memory service maps itself), the
// program and its libraries, stacks, other mappings.
struct MemorySample {
  double resident = 0, in_use = 0, kept_free = 0, mapped = 0;
};

MemorySample sample_memory() {
  MemorySample m;
  m.resident = resident_mib();
  // Summed over all the allocator's arenas; in_use and kept_free count the
  // arenas only, mapped the blocks mapped on their own.
  struct mallinfo2 mi = mallinfo2();
  m.in_use = static_cast<double>(mi.uordblks) / 1048576.0;
  m.kept_free = static_cast<double>(mi.fordblks) / 1048576.0;
  m.mapped = static_cast<double>(mi.hblkhd) / 1048576.0;
  return m;
}

void print_sample(const char* when, const MemorySample& m) {
  std::printf("  %-22s resident %6.1f MiB = heap in use %6.1f + heap free but kept %5.1f + heap blocks mapped "
              "%5.1f + pixels, program and the rest %5.1f\n",
              when, m.resident, m.in_use, m.kept_free, m.mapped, m.resident - m.in_use - m.kept_free - m.mapped);
}

// Samples the resident memory every millisecond on a thread of its own and
// keeps the sample where it was highest, so that the peak can be taken apart.
class PeakWatch {
 public:
  PeakWatch() : thread_([this] { run(); }) {}
  ~PeakWatch() { stop(); }
  PeakWatch(const PeakWatch&) = delete;
  PeakWatch& operator=(const PeakWatch&) = delete;

  MemorySample stop() {
    if (thread_.joinable()) {
      done_ = true;
      thread_.join();
    }
    return peak_;
  }

 private:
  void run() {
    while (!done_) {
      MemorySample m = sample_memory();
      if (m.resident > peak_.resident) peak_ = m;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  std::atomic<bool> done_{false};
  MemorySample peak_;
  std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  std::string packs = argc > 1 ? std::string(argv[1]) : file_program_folder() + "../bin/";
  if (packs.back() != '/') packs += '/';

  // "--memory-only": the memory run alone, in this process, for a heap
  // profiler to watch (it does not follow the child below).
  const bool memory_only = argc > 2 && std::string(argv[2]) == "--memory-only";

  // Memory first, in a child of its own, so that nothing the timing runs
  // leave behind counts towards the peak.
  scratch_root();
  std::fflush(stdout);
  pid_t child = memory_only ? 0 : fork();
  if (child == 0) {
    std::string prog = install(packs, "memory", "1920x1080");
    if (prog.empty()) _exit(1);
    double before = peak_mib();
    PeakWatch watch;
    StartUp({}, prog);
    screen_flip();
    MemorySample peak = watch.stop();
    MemorySample after = sample_memory();
    // The target is 150 MB (150,000,000 bytes = 143.05 MiB).
    std::printf("peak resident memory at 1920x1080: %.1f MiB (%.1f MiB before start-up, %.1f MiB resident "
                "after the first frame; target < 143.1 MiB = 150 MB)\n",
                peak_mib(), before, resident_mib());
    print_sample("at the sampled peak:", peak);
    print_sample("after the first frame:", after);
    std::fflush(stdout);
    if (memory_only) {
      ResetProgram();
      folder_remove_all(scratch_root());
      return 0;
    }
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  folder_remove_all(scratch_root());
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "the memory run failed\n");
    return 1;
  }

  std::string prog = install(packs, "timing", "1280x720");
  if (prog.empty()) return 1;
  // The machine's speed drifts over seconds, so each start is paired with
  // the music decode right after it and the ratio is taken per pair; the
  // figures given are the medians over the rounds.
  const int rounds = 11;
  std::vector<Timing> starts, musics;
  for (int round = 0; round < rounds; ++round) {
    starts.push_back(in_child([&] {
      return measure([&] {
        StartUp({}, prog);
        screen_flip();
      });
    }));
    musics.push_back(in_child([&] {
      if (!sound_system_start()) {
        std::fprintf(stderr, "no sound device\n");
        return Timing{-1, -1};
      }
      bool ok = true;
      Timing t = measure([&] { ok = decode_music(prog); });
      return ok ? t : Timing{-1, -1};
    }));
    if (starts.back().cpu < 0 || musics.back().cpu < 0) {
      std::fprintf(stderr, starts.back().cpu < 0 ? "the start-up failed\n" : "the music did not decode\n");
      folder_remove_all(scratch_root());
      return 1;
    }
  }
  folder_remove_all(scratch_root());

  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  auto field = [&](const std::vector<Timing>& v, double Timing::*f) {
    std::vector<double> out;
    for (const Timing& t : v) out.push_back(t.*f);
    return median(out);
  };
  // Each pair's (start-up - music) / music, sorted.
  auto ratios = [&](double Timing::*f) {
    std::vector<double> out;
    for (size_t i = 0; i < starts.size(); ++i) out.push_back((starts[i].*f - musics[i].*f) / musics[i].*f);
    std::sort(out.begin(), out.end());
    return out;
  };
  const std::vector<double> cpu_ratios = ratios(&Timing::cpu);
  std::printf("start-up to the first frame at 1280x720, windowed: %.0f ms processor, %.0f ms elapsed\n",
              field(starts, &Timing::cpu) * 1e3, field(starts, &Timing::wall) * 1e3);
  std::printf("music decode alone: %.0f ms processor, %.0f ms elapsed\n", field(musics, &Timing::cpu) * 1e3,
              field(musics, &Timing::wall) * 1e3);
  std::printf("everything else / music decode, median of %d pairs: %.2f processor, %.2f elapsed (target < 1); "
              "processor ratios from %.2f to %.2f\n",
              rounds, median(cpu_ratios), median(ratios(&Timing::wall)), cpu_ratios.front(), cpu_ratios.back());
  return 0;
}
