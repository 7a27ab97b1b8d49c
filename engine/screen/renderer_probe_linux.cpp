// Whether SDL's accelerated renderer would run on a graphics processor, found
// out without loading OpenGL into the game: once OpenGL's libraries (and a
// software rasteriser's LLVM) are mapped they stay, with their memory and
// their threads. A child process, forked before the game starts its video,
// asks instead and answers with one byte through a pipe; the game reads the
// answer when it opens its first screen.
//
// The child first asks the X server: without a direct-rendering extension
// (DRI2, DRI3, or NVIDIA's own) or without GLX no client can reach a
// graphics processor, and the answer is known at once; that is the case on
// virtual displays and remote ones. Otherwise it makes an OpenGL context as
// SDL would and reads the name of the renderer behind it.
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <string>

#include <SDL.h>

#include "engine/screen/renderer_probe.h"
#include "engine/system/system.h"

namespace {

constexpr char kAccelerated = 'A';
constexpr char kSoftware = 'S';
// How long the game waits for an answer before it draws in software.
constexpr int kAnswerWaitMs = 3000;

struct Probe {
  pid_t child = -1;
  int pipe = -1;
  char answer = 0;  // 0 while unknown
};

Probe g_probe;

// The names Mesa and others give their rasterisers that run on the
// processor.
bool software_rasteriser(const char* renderer) {
  std::string name = renderer;
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* soft : {"llvmpipe", "softpipe", "swrast", "software rasterizer", "lavapipe", "gdi generic"}) {
    if (name.find(soft) != std::string::npos) return true;
  }
  return false;
}

// The X server's part: kSoftware when it offers no way to a graphics
// processor, 0 when the OpenGL context has to tell (or there is no X server:
// SDL may find another display system).
char ask_x_server() {
  const char* driver = SDL_getenv("SDL_VIDEODRIVER");
  if (driver && SDL_strcasecmp(driver, "x11") != 0) return 0;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 0;
  auto has = [display](const char* extension) {
    int opcode = 0, event = 0, error = 0;
    return XQueryExtension(display, extension, &opcode, &event, &error) != 0;
  };
  const bool glx = has("GLX");
  const bool direct = has("DRI3") || has("DRI2") || has("NV-GLX");
  XCloseDisplay(display);
  return glx && direct ? 0 : kSoftware;
}

// The OpenGL part, as SDL's renderer would make its context.
char ask_opengl() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return kSoftware;
  // No display at all: SDL fell back to a driver that shows nothing, and the
  // game will not start its screen.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0) return kSoftware;
  SDL_Window* w = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!w) return kSoftware;
  SDL_GLContext context = SDL_GL_CreateContext(w);
  if (!context) return kSoftware;
  using GetString = const unsigned char* (*)(unsigned int);
  auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  constexpr unsigned int kGlRenderer = 0x1F01;
  const unsigned char* name = get_string ? get_string(kGlRenderer) : nullptr;
  if (!name) return kSoftware;
  return software_rasteriser(reinterpret_cast<const char*>(name)) ? kSoftware : kAccelerated;
}

// Takes the child's answer, waiting for it up to the limit; software when
// none comes. The child is gone afterwards.
void collect() {
  if (g_probe.child < 0) return;
  char answer = kSoftware;
  pollfd ready{g_probe.pipe, POLLIN, 0};
  const int64_t until = system_clock_ns() + int64_t{kAnswerWaitMs} * 1000000;
  for (;;) {
    const int64_t left = (until - system_clock_ns()) / 1000000;
    if (poll(&ready, 1, left > 0 ? static_cast<int>(left) : 0) >= 0 || errno != EINTR) break;
  }
  char byte = 0;
  if ((ready.revents & POLLIN) && read(g_probe.pipe, &byte, 1) == 1 && (byte == kAccelerated || byte == kSoftware)) {
    answer = byte;
  }
  close(g_probe.pipe);
  kill(g_probe.child, SIGKILL);  // nothing if it has ended; a hung driver else
  while (waitpid(g_probe.child, nullptr, 0) < 0 && errno == EINTR) {
  }
  g_probe = Probe();
  g_probe.answer = answer;
}

}  // namespace

void renderer_probe_start() {
  if (g_probe.answer != 0 || g_probe.child >= 0) return;
  // Drivers that show nothing have no OpenGL; a choice made by hand needs
  // no answer.
  const char* driver = SDL_getenv("SDL_VIDEODRIVER");
  if ((driver && (SDL_strcasecmp(driver, "dummy") == 0 || SDL_strcasecmp(driver, "offscreen") == 0)) ||
      SDL_getenv("DUSK_RENDERER")) {
    g_probe.answer = kSoftware;
    return;
  }
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    g_probe.answer = kSoftware;
    return;
  }
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    char answer = ask_x_server();
    if (answer == 0) answer = ask_opengl();
    // _exit: nothing of the game's (buffers, handlers) runs in the child.
    _exit(write(fds[1], &answer, 1) == 1 ? 0 : 1);
  }
  close(fds[1]);
  if (child < 0) {
    close(fds[0]);
    g_probe.answer = kSoftware;
    return;
  }
  g_probe.child = child;
  g_probe.pipe = fds[0];
}

bool renderer_probe_accelerated() {
  collect();
  return g_probe.answer == kAccelerated;
}

void renderer_probe_stop() {
  collect();
  g_probe = Probe();
}
