// The game as a player without a graphics processor meets it: the real
// program on a virtual X display (Xvfb, 1920 x 1080, borderless, music on),
// watched from outside its process (processor time, resident memory, mapped
// libraries), and the game's own loop run on the same display for the
// frames of its animations. Each figure is printed against its target and
// a baseline measured in the same run: decoding the music and the data
// pack's pictures with plain libvorbisfile and libpng, and the bytes the
// game's sprites and music must hold.
// Usage: bench_desktop [folder with the program and its packs] (default ../bin/)
// Needs Xvfb; the sound goes to SDL's dummy driver unless SDL_AUDIODRIVER says.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_timing.h"

#include "app/main_loop.h"
#include "app/startup.h"
#include "engine/pack/pack.h"
#include "engine/screen/screen.h"
#include "engine/system/file.h"
#include "game/assets.h"
#include "game/board.h"
#include "game/board_view.h"
#include "game/geometry.h"
#include "game/rules.h"
#include "game/screen_state.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

double seconds_since(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

// ---- The virtual display ----

// Starts Xvfb on a free display and points DISPLAY at it; its process id,
// or -1.
pid_t start_xvfb() {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    const std::string screen = std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24";
    // -br: a black root window, so that the game's first frame shows.
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", "-br",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  pollfd ready{fds[0], POLLIN, 0};
  char c = 0;
  while (poll(&ready, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
  }
  setenv("DISPLAY", (":" + number).c_str(), 1);
  return pid;
}

// What the display shows on a 5 x 5 grid of points, as one number.
uint64_t screen_signature(Display* d) {
  uint64_t sig = 1469598103934665603ull;
  for (int j = 1; j <= 5; ++j) {
    for (int i = 1; i <= 5; ++i) {
      XImage* image = XGetImage(d, DefaultRootWindow(d), kWidth * i / 6, kHeight * j / 6, 1, 1, AllPlanes, ZPixmap);
      const unsigned long pixel = image ? XGetPixel(image, 0, 0) : 0;
      if (image) XDestroyImage(image);
      sig = (sig ^ (pixel & 0xFFFFFF)) * 1099511628211ull;
    }
  }
  return sig;
}

// ---- The game's process, from outside ----

// A program folder with the program and links to its packs, borderless
// settings and a home folder of its own, in a scratch folder of this run.
std::string install(const std::string& bin) {
  const std::string root = "/tmp/duskmatch-bench-desktop-" + std::to_string(getpid()) + "/";
  const std::string prog = root + "prog/";
  folder_remove_all(root);
  if (!folder_make(prog) || !folder_make(root + "home/")) return "";
  std::error_code error;
  std::filesystem::copy_file(bin + "duskmatch", prog + "duskmatch", error);
  for (const char* pack : {"DuskmatchData.pack", "DuskmatchLanguages.pack", "DuskmatchCursor.pack"}) {
    if (!error) std::filesystem::create_symlink(std::filesystem::absolute(bin + pack), prog + pack, error);
  }
  if (error) {
    std::fprintf(stderr, "installing from %s: %s\n", bin.c_str(), error.message().c_str());
    return "";
  }
  std::filesystem::permissions(prog + "duskmatch", std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
  const std::string prefs = "[Settings]\r\nLanguage = en_GB\r\nMusic = 1\r\nGameScreen = 2\r\n";
  if (!file_write(prog + "Duskmatch.prefs", prefs.data(), prefs.size())) return "";
  setenv("HOME", (root + "home").c_str(), 1);
  setenv("XDG_DATA_HOME", (root + "home").c_str(), 1);
  return prog;
}

// Processor seconds a process and its reaped children have used. The
// process's own threads are read from their schedstat in nanoseconds, since
// /proc/<pid>/stat counts in ticks of 10 ms, too coarse for a start-up of a
// few hundred; children (the renderer probe) only exist as ticks.
double process_cpu(pid_t pid) {
  const std::string dir = "/proc/" + std::to_string(pid);
  std::ifstream in(dir + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 2));
  std::string f;
  double own_ticks = 0, child_ticks = 0;
  for (int i = 3; i <= 17 && fields >> f; ++i) {
    if (i == 14 || i == 15) own_ticks += std::atof(f.c_str());    // utime, stime
    if (i == 16 || i == 17) child_ticks += std::atof(f.c_str());  // cutime, cstime
  }
  const double tick = 1.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
  double threads_ns = 0;
  std::error_code error;
  for (const auto& task : std::filesystem::directory_iterator(dir + "/task", error)) {
    std::ifstream stat(task.path() / "schedstat");
    double ns = 0;
    if (stat >> ns) threads_ns += ns;
  }
  // A thread that has ended is only in the ticks; never report less than them.
  const double own = std::max(threads_ns * 1e-9, own_ticks * tick - tick);
  return own + child_ticks * tick;
}

// A line of /proc/<pid>/status ("VmRSS:") in MiB.
double status_mib(pid_t pid, const char* key) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) == 0) return std::atof(line.c_str() + std::strlen(key)) / 1024.0;
  }
  return 0;
}

// The OpenGL, LLVM and direct-rendering libraries mapped into a process.
std::string opengl_libraries(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/maps");
  std::string line, found;
  while (std::getline(in, line)) {
    const size_t slash = line.rfind('/');
    if (slash == std::string::npos) continue;
    const std::string name = line.substr(slash + 1);
    const bool gl = name.find("libGL") != std::string::npos || name.find("libEGL") != std::string::npos ||
                    name.find("libLLVM") != std::string::npos || name.find("_dri.so") != std::string::npos;
    if (gl && found.find(name) == std::string::npos) found += (found.empty() ? "" : " ") + name;
  }
  return found;
}

struct Outside {
  double first_frame_cpu = -1;  // processor seconds when the logo showed
  double menu_cpu_share = -1;   // of one core, over the still menu
  double resident_mib = 0;      // in the menu
  std::string opengl;           // libraries mapped
};

// One start of the real program: its processor time until the logo shows,
// then the still main menu after the two opening screens.
Outside watch_program(const std::string& prog, Display* d, bool still_menu) {
  Outside out;
  const uint64_t empty = screen_signature(d);
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(prog.c_str()) != 0) _exit(127);
    execl((prog + "duskmatch").c_str(), "duskmatch", static_cast<char*>(nullptr));
    _exit(127);
  }
  auto alive = [pid] { return waitpid(pid, nullptr, WNOHANG) == 0; };
  const auto start = std::chrono::steady_clock::now();
  uint64_t shown = empty;
  while (alive() && seconds_since(start) < 30) {
    const double cpu = process_cpu(pid);
    shown = screen_signature(d);
    if (shown != empty) {
      out.first_frame_cpu = cpu;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (still_menu && out.first_frame_cpu >= 0) {
    // Logo, title, menu: the third picture, then a second for it to settle.
    int pictures = 1;
    while (alive() && pictures < 3 && seconds_since(start) < 60) {
      const uint64_t now = screen_signature(d);
      if (now != shown) {
        shown = now;
        ++pictures;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const double c0 = process_cpu(pid);
    const auto t0 = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(5));
    out.menu_cpu_share = (process_cpu(pid) - c0) / seconds_since(t0);
    out.resident_mib = status_mib(pid, "VmRSS:");
    out.opengl = opengl_libraries(pid);
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  return out;
}

// ---- The baseline: plain libvorbisfile and libpng ----

// Runs work (which gives seconds and a count of bytes) in a fresh child
// process, as the game finds fresh memory when it starts.
template <typename F>
std::pair<double, double> in_child(F work) {
  int fds[2];
  if (pipe(fds) != 0) return {-1, 0};
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const std::pair<double, double> r = work();
    _exit(write(fds[1], &r, sizeof r) == static_cast<ssize_t>(sizeof r) ? 0 : 1);
  }
  close(fds[1]);
  std::pair<double, double> r{-1, 0};
  if (read(fds[0], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) r = {-1, 0};
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  return r;
}

struct Memory {
  const std::vector<uint8_t>* data;
  size_t pos;
};

size_t memory_read(void* out, size_t size, size_t count, void* source) {
  auto* m = static_cast<Memory*>(source);
  const size_t n = std::min(size * count, m->data->size() - m->pos);
  std::memcpy(out, m->data->data() + m->pos, n);
  m->pos += n;
  return size ? n / size : 0;
}

int memory_seek(void* source, ogg_int64_t offset, int whence) {
  auto* m = static_cast<Memory*>(source);
  const ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<ogg_int64_t>(m->pos)
                                                                       : static_cast<ogg_int64_t>(m->data->size());
  if (base + offset < 0 || base + offset > static_cast<ogg_int64_t>(m->data->size())) return -1;
  m->pos = static_cast<size_t>(base + offset);
  return 0;
}

long memory_tell(void* source) { return static_cast<long>(static_cast<Memory*>(source)->pos); }

// The music decoded whole by libvorbisfile: processor seconds, PCM bytes.
std::pair<double, double> plain_music(const std::string& prog) {
  pack_register_formats();
  const int pack = pack_open(-1, prog + kDataPackName, kPackFormatData);
  std::vector<uint8_t> ogg(15728640);
  const int64_t got = pack_read_entry(pack, ogg.data(), static_cast<int64_t>(ogg.size()), "music.ogg");
  pack_close(pack);
  if (got <= 0) return {-1, 0};
  ogg.resize(static_cast<size_t>(got));
  const double c0 = bench::cpu_seconds();
  Memory source{&ogg, 0};
  OggVorbis_File vf;
  ov_callbacks callbacks{memory_read, memory_seek, nullptr, memory_tell};
  if (ov_open_callbacks(&source, &vf, nullptr, 0, callbacks) != 0) return {-1, 0};
  if (ov_pcm_total(&vf, -1) <= 0) return {-1, 0};
  const size_t bytes = static_cast<size_t>(ov_pcm_total(&vf, -1)) * static_cast<size_t>(ov_info(&vf, -1)->channels) * 2;
  std::unique_ptr<char[]> pcm(new char[bytes]);
  size_t have = 0;
  int section = 0;
  while (have < bytes) {
    const long n = ov_read(&vf, pcm.get() + have, static_cast<int>(std::min<size_t>(4096, bytes - have)), 0, 2, 1, &section);
    if (n <= 0) break;
    have += static_cast<size_t>(n);
  }
  ov_clear(&vf);
  return {bench::cpu_seconds() - c0, static_cast<double>(have)};
}

// Every picture of the data pack decoded by libpng to RGBA and kept, as the
// game keeps its pictures: processor seconds, pixel bytes.
std::pair<double, double> plain_pictures(const std::string& prog) {
  pack_register_formats();
  const int pack = pack_open(-1, prog + kDataPackName, kPackFormatData);
  std::vector<std::string> names;
  for (int more = pack_list_begin(pack); more; more = pack_list_next(pack)) {
    const std::string name = pack_entry_name(pack);
    if (name.size() > 4 && name.substr(name.size() - 4) == ".png") names.push_back(name);
  }
  std::vector<std::vector<uint8_t>> files;
  for (const std::string& name : names) {
    std::vector<uint8_t> data(4194304);
    const int64_t got = pack_read_entry(pack, data.data(), static_cast<int64_t>(data.size()), name);
    if (got > 0) {
      data.resize(static_cast<size_t>(got));
      files.push_back(std::move(data));
    }
  }
  pack_close(pack);
  const double c0 = bench::cpu_seconds();
  std::vector<std::unique_ptr<uint8_t[]>> kept;
  double bytes = 0;
  for (const std::vector<uint8_t>& file : files) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) continue;
    image.format = PNG_FORMAT_BGRA;
    const size_t size = PNG_IMAGE_SIZE(image);
    kept.emplace_back(new uint8_t[size]);
    if (png_image_finish_read(&image, nullptr, kept.back().get(), 0, nullptr)) bytes += static_cast<double>(size);
  }
  return {bench::cpu_seconds() - c0, bytes};
}

// ---- The game's loop on the display, in a process of its own ----

struct Inside {
  double still_board_share = -1;  // of one core
  double sprite_mib = 0;          // the pictures of every sprite
  double held_mib = 0;            // pixels actually kept for them
  bool software = false;
  // Per animation: the frame intervals (ms) and the share of one core.
  struct Animation {
    std::vector<double> intervals;
    double share = 0;
  } fading, mismatch, well_done;
};

// Runs passes until done() says so, timing each pass and the processor.
template <typename Done>
void run_passes(Inside::Animation* a, Done done, int at_most) {
  const double c0 = bench::cpu_seconds();
  auto last = std::chrono::steady_clock::now();
  const auto start = last;
  for (int i = 0; i < at_most && !done(); ++i) {
    const double pass_cpu = bench::cpu_seconds();
    LoopPass();
    const auto now = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - last).count();
    a->intervals.push_back(ms);
    // Whether a late frame was the game's own work or a wait for the
    // machine (the X server, the scheduler): said on standard error.
    if (ms > 20)
      std::fprintf(stderr, "  a frame of %.1f ms, %.1f ms of it the game's processor time\n", ms,
                   (bench::cpu_seconds() - pass_cpu) * 1000);
    last = now;
  }
  const double wall = seconds_since(start);
  a->share = wall > 0 ? (bench::cpu_seconds() - c0) / wall : 0;
}

// The first face-down card and its partner; {-1, -1} when none is left.
std::pair<BoardPos, BoardPos> a_pair(bool matching) {
  for (int c = 0; c < kBoardColumns; ++c)
    for (int r = 0; r < kBoardRows; ++r) {
      if (CardAt(c, r).State != FaceDown) continue;
      for (int c2 = 0; c2 < kBoardColumns; ++c2)
        for (int r2 = 0; r2 < kBoardRows; ++r2) {
          if ((c2 == c && r2 == r) || CardAt(c2, r2).State != FaceDown) continue;
          if ((CardAt(c2, r2).Face == CardAt(c, r).Face) == matching) return {{c, r}, {c2, r2}};
        }
    }
  return {{-1, -1}, {-1, -1}};
}

void turn(BoardPos p) { TurnCardAt(CardAt(p).X + CardSize / 2, CardAt(p).Y + CardSize / 2); }

Inside run_inside(const std::string& prog) {
  Inside in;
  StartUp({}, prog);
  const ScreenStats stats = screen_stats();
  in.software = stats.software;
  in.sprite_mib = static_cast<double>(stats.sprite_bytes) / 1048576.0;
  in.held_mib = static_cast<double>(stats.bytes_held) / 1048576.0;
  StartPlaying();
  DealNewGame();
  for (int i = 0; i < 30; ++i) LoopPass();
  {
    const double c0 = bench::cpu_seconds();
    const auto t0 = std::chrono::steady_clock::now();
    while (seconds_since(t0) < 5) LoopPass();
    in.still_board_share = (bench::cpu_seconds() - c0) / seconds_since(t0);
  }
  // Pairs found and fading, one after another, until 600 frames have faded.
  Inside::Animation fading;
  while (fading.intervals.size() < 600) {
    auto pair = a_pair(true);
    if (pair.first.Column < 0) {
      DealNewGame();
      StartPlaying();
      continue;
    }
    turn(pair.first);
    turn(pair.second);
    const BoardPos first = pair.first;
    Inside::Animation one;
    run_passes(&one, [&] { return CardAt(first).State == Removed; }, 100);
    fading.intervals.insert(fading.intervals.end(), one.intervals.begin(), one.intervals.end());
    fading.share += one.share * static_cast<double>(one.intervals.size());
  }
  fading.share /= static_cast<double>(fading.intervals.size());
  in.fading = fading;
  // Mismatches: both cards shown for the pause, then turned back.
  DealNewGame();
  StartPlaying();
  Inside::Animation mismatch;
  while (mismatch.intervals.size() < 600) {
    auto pair = a_pair(false);
    turn(pair.first);
    turn(pair.second);
    Inside::Animation one;
    run_passes(&one, [] { return CardsTurned == 0; }, 200);
    mismatch.intervals.insert(mismatch.intervals.end(), one.intervals.begin(), one.intervals.end());
    mismatch.share += one.share * static_cast<double>(one.intervals.size());
  }
  mismatch.share /= static_cast<double>(mismatch.intervals.size());
  in.mismatch = mismatch;
  // The well-done screen fading in over the board, again and again.
  Inside::Animation well_done;
  while (well_done.intervals.size() < 600) {
    ShowWellDone();
    WellDoneFade = 0;
    Inside::Animation one;
    run_passes(&one, [] { return WellDoneFade >= 128; }, 100);
    well_done.intervals.insert(well_done.intervals.end(), one.intervals.begin(), one.intervals.end());
    well_done.share += one.share * static_cast<double>(one.intervals.size());
  }
  well_done.share /= static_cast<double>(well_done.intervals.size());
  in.well_done = well_done;
  return in;
}

// Sends a plain structure from a child process.
template <typename T>
bool send(int fd, const T& value) {
  return write(fd, &value, sizeof value) == static_cast<ssize_t>(sizeof value);
}

void print_animation(const char* name, const Inside::Animation& a) {
  std::vector<double> sorted = a.intervals;
  std::sort(sorted.begin(), sorted.end());
  // The first pass of each round follows the set-up, not a frame.
  const double longest = sorted.empty() ? 0 : sorted.back();
  const size_t over = static_cast<size_t>(std::count_if(sorted.begin(), sorted.end(), [](double ms) { return ms > 20; }));
  std::printf("  %-28s %zu frames: median %.2f ms, longest %.2f ms, %zu over 20 ms (target none); %.1f %% of one core "
              "(target <= 25 %%)\n",
              name, sorted.size(), sorted.empty() ? 0 : sorted[sorted.size() / 2], longest, over, a.share * 100);
}

}  // namespace

int main(int argc, char** argv) {
  std::string bin = argc > 1 ? std::string(argv[1]) : file_program_folder() + "../bin/";
  if (bin.back() != '/') bin += '/';
  unsetenv("SDL_VIDEODRIVER");
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  const pid_t xvfb = start_xvfb();
  if (xvfb < 0) {
    std::fprintf(stderr, "Xvfb did not start (is it installed?)\n");
    return 1;
  }
  Display* display = XOpenDisplay(nullptr);
  const std::string prog = install(bin);
  int status = prog.empty() || !display ? 1 : 0;
  if (status == 0) {
    // Start-up: each start of the program is paired with the plain decodes
    // right after it, since this kind of machine drifts in speed.
    const int rounds = 7;
    std::vector<double> starts, ratios, music, pictures;
    double music_bytes = 0, picture_bytes = 0;
    for (int round = 0; round < rounds; ++round) {
      const Outside o = watch_program(prog, display, false);
      const auto m = in_child([&] { return plain_music(prog); });
      const auto p = in_child([&] { return plain_pictures(prog); });
      if (o.first_frame_cpu < 0 || m.first < 0 || p.first < 0) {
        std::fprintf(stderr, "round %d failed\n", round);
        status = 1;
        break;
      }
      starts.push_back(o.first_frame_cpu);
      music.push_back(m.first);
      pictures.push_back(p.first);
      ratios.push_back(o.first_frame_cpu / (m.first + p.first));
      music_bytes = m.second;
      picture_bytes = p.second;
    }
    auto median = [](std::vector<double> v) {
      std::sort(v.begin(), v.end());
      return v.empty() ? 0 : v[v.size() / 2];
    };
    if (status == 0) {
      std::vector<double> sorted = ratios;
      std::sort(sorted.begin(), sorted.end());
      std::printf("start-up, processor time until the logo shows: %.0f ms; plain music decode %.0f ms + plain libpng "
                  "decode of the pictures %.0f ms\n",
                  median(starts) * 1e3, median(music) * 1e3, median(pictures) * 1e3);
      std::printf("  start-up / (music + pictures), median of %d pairs: %.2f (target <= 1.15), from %.2f to %.2f\n",
                  rounds, median(ratios), sorted.front(), sorted.back());
    }

    // The still menu and the memory, from outside.
    const Outside menu = status == 0 ? watch_program(prog, display, true) : Outside();
    // The loop's own figures, in a child of its own.
    int fds[2];
    Inside in;
    if (status == 0 && pipe(fds) == 0) {
      std::fflush(stdout);
      const pid_t child = fork();
      if (child == 0) {
        close(fds[0]);
        const Inside got = run_inside(prog);
        bool ok = send(fds[1], got.still_board_share) && send(fds[1], got.sprite_mib) && send(fds[1], got.held_mib) &&
                  send(fds[1], got.software);
        for (const Inside::Animation* a : {&got.fading, &got.mismatch, &got.well_done}) {
          const size_t n = a->intervals.size();
          ok = ok && send(fds[1], n) && send(fds[1], a->share) &&
               write(fds[1], a->intervals.data(), n * sizeof(double)) == static_cast<ssize_t>(n * sizeof(double));
        }
        _exit(ok ? 0 : 1);
      }
      close(fds[1]);
      auto take = [&](auto* v) { return read(fds[0], v, sizeof *v) == static_cast<ssize_t>(sizeof *v); };
      bool ok = take(&in.still_board_share) && take(&in.sprite_mib) && take(&in.held_mib) && take(&in.software);
      for (Inside::Animation* a : {&in.fading, &in.mismatch, &in.well_done}) {
        size_t n = 0;
        ok = ok && take(&n) && take(&a->share);
        if (!ok) break;
        a->intervals.resize(n);
        size_t got = 0;
        while (got < n * sizeof(double)) {
          const ssize_t r = read(fds[0], reinterpret_cast<char*>(a->intervals.data()) + got, n * sizeof(double) - got);
          if (r <= 0) break;
          got += static_cast<size_t>(r);
        }
        ok = got == n * sizeof(double);
      }
      close(fds[0]);
      waitpid(child, nullptr, 0);
      if (!ok) status = 1;
    }
    if (status == 0) {
      std::printf("still main menu (the program, from outside): %.2f %% of one core (target <= 2 %%)\n",
                  menu.menu_cpu_share * 100);
      std::printf("still board (the loop on the display): %.2f %% of one core (target <= 2 %%)\n",
                  in.still_board_share * 100);
      std::printf("drawing %s\n", in.software ? "in software" : "through a renderer");
      print_animation("a pair fading:", in.fading);
      print_animation("a mismatch turning back:", in.mismatch);
      print_animation("the well-done fade:", in.well_done);
      const double baseline = in.sprite_mib + music_bytes / 1048576.0;
      std::printf("resident memory in the menu: %.1f MiB; sprites' pictures %.1f MiB (held %.1f MiB) + decoded music "
                  "%.1f MiB = %.1f MiB: ratio %.2f (target <= 1.15); the pack's pictures decoded plainly %.1f MiB\n",
                  menu.resident_mib, in.sprite_mib, in.held_mib, music_bytes / 1048576.0, baseline,
                  menu.resident_mib / baseline, picture_bytes / 1048576.0);
      std::printf("OpenGL libraries mapped: %s\n", menu.opengl.empty() ? "none" : menu.opengl.c_str());
    }
  }
  if (display) XCloseDisplay(display);
  kill(xvfb, SIGTERM);
  waitpid(xvfb, nullptr, 0);
  if (!prog.empty()) folder_remove_all(prog + "../");
  return status;
}
