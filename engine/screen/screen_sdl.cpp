// The screen on SDL: the video system, opening and closing the screen (the
// engine's own drawing into the window's pixels, or an SDL renderer),
// presenting and pacing frames, display modes and desktops.
#include <vector>

#include "engine/input/input.h"
#include "engine/screen/display_gone.h"
#include "engine/screen/screen.h"
#include "engine/screen/screen_sdl.h"
#include "engine/system/system.h"

namespace {

struct ModeList {
  std::vector<SDL_DisplayMode> modes;
  int current = -1;
};

ModeList g_modes;
std::vector<SDL_Rect> g_desktops;

// An SDL renderer: accelerated where the system offers one, SDL's
// software renderer otherwise.
SDL_Renderer* make_renderer(SDL_Window* window, int flip_mode) {
  Uint32 sync = flip_mode != 0 ? SDL_RENDERER_PRESENTVSYNC : 0;
  SDL_Renderer* r = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | sync);
  if (!r) r = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  return r;
}

bool desktop_size(int index, int* w, int* h) {
  SDL_DisplayMode m;
  if (SDL_GetDesktopDisplayMode(index, &m) != 0) return false;
  *w = m.w;
  *h = m.h;
  return true;
}

// Whether the screen is drawn by the engine's own loops. DUSK_RENDERER
// decides where it is set ("software" or "accelerated", for tests and for
// players whose graphics driver misbehaves); otherwise the accelerated
// renderer is used only where it runs on a graphics processor. A software
// rasteriser behind OpenGL costs two cores for what the engine's loops do
// on a fraction of one, and holds every picture a second time.
bool draw_in_software() {
  const char* forced = SDL_getenv("DUSK_RENDERER");
  if (forced && SDL_strcasecmp(forced, "software") == 0) return true;
  if (forced && SDL_strcasecmp(forced, "accelerated") == 0) return false;
  // The drivers that show nothing have no accelerated renderer to ask about.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && (SDL_strcasecmp(driver, "dummy") == 0 || SDL_strcasecmp(driver, "offscreen") == 0)) return true;
  return !renderer_probe_accelerated();
}

// Makes the screen's way of drawing into window w: the window's own pixels
// for the software screen, else a renderer; each is the other's fallback.
bool attach_screen(ScreenContext& s, SDL_Window* w, int flip_mode) {
  auto surface = [&] {
    if (!SDL_GetWindowSurface(w)) return false;
    s.path = ScreenPath::Surface;
    return true;
  };
  auto renderer = [&] {
    s.renderer = make_renderer(w, flip_mode);
    if (!s.renderer) return false;
    s.path = ScreenPath::Renderer;
    return true;
  };
  s.window = w;
  if (draw_in_software() ? (surface() || renderer()) : (renderer() || surface())) return true;
  s.window = nullptr;
  return false;
}

// Whether the video driver SDL picked puts windows on a display: the dummy
// and offscreen drivers do not, and count only when asked for by name.
bool video_driver_shows_something() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || (SDL_strcasecmp(driver, "dummy") != 0 && SDL_strcasecmp(driver, "offscreen") != 0)) return true;
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  return asked && SDL_strcasecmp(asked, driver) == 0;
}

}  // namespace

ScreenContext& screen_state() {
  static ScreenContext s;
  return s;
}

int sprite_system_start() {
  ScreenContext& s = screen_state();
  if (s.video_started) return 1;
  screen_memory_install();
  // Asked before SDL starts its video, so that the answer costs this
  // process no OpenGL libraries.
  renderer_probe_start();
  // The software screen shows the window's own pixels; SDL would otherwise
  // put them on the display through OpenGL where it has it.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
  // Without a display SDL falls back to a driver that shows nothing, and the
  // game would run unseen; only a test that names such a driver gets one.
  if (!video_driver_shows_something() || SDL_GetNumRenderDrivers() <= 0) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return 0;
  }
  s.video_started = true;
  return 1;
}

void sprite_system_stop() {
  ScreenContext& s = screen_state();
  screen_close();
  window_close(-1);
  bool started = s.video_started;
  s = ScreenContext();
  g_modes = ModeList();
  g_desktops.clear();
  renderer_probe_stop();
  if (started) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// Records a newly opened screen, where it draws and its size, and tells the
// input service where the pointer is to be read.
static void take_screen(ScreenContext& s, bool in_window, int x, int y, int width, int height) {
  s.owns_window = false;
  s.in_window = in_window;
  s.width = width;
  s.height = height;
  s.origin_x = x;
  s.origin_y = y;
  s.next_frame = 0;
  s.focused = true;
  frame_reset();
  s.frame.stats.software = s.path == ScreenPath::Surface;
  input_screen_link(static_cast<int>(SDL_GetWindowID(s.window)), x, y, width, height, in_window ? 1 : 0);
}

int screen_open_full(int width, int height, int depth, const std::string& title, int flip_mode) {
  ScreenContext& s = screen_state();
  if (!s.video_started || width <= 0 || height <= 0 || (depth != 32 && depth != 24 && depth != 0)) return 0;
  screen_close();
  SDL_ShowCursor(SDL_DISABLE);
  // At the desktop's own size there is no need to switch the display mode.
  int dw = 0, dh = 0;
  Uint32 fullscreen = SDL_WINDOW_FULLSCREEN;
  if (desktop_size(0, &dw, &dh) && dw == width && dh == height) fullscreen = SDL_WINDOW_FULLSCREEN_DESKTOP;
  SDL_Window* w = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED_DISPLAY(0), SDL_WINDOWPOS_UNDEFINED_DISPLAY(0),
                                   width, height, fullscreen | SDL_WINDOW_SHOWN);
  if (!w || !attach_screen(s, w, flip_mode)) {
    if (w) SDL_DestroyWindow(w);
    SDL_ShowCursor(SDL_ENABLE);
    return 0;
  }
  take_screen(s, false, 0, 0, width, height);
  s.owns_window = true;
  input_screen_active(1);
  return 1;
}

int screen_open_in_window(int window, int x, int y, int width, int height, int, int, int, int flip_mode) {
  ScreenContext& s = screen_state();
  screen_close();
  SDL_Window* w = window_sdl(window);
  if (!w || width <= 0 || height <= 0 || !attach_screen(s, w, flip_mode)) return 0;
  if (s.renderer) {
    SDL_Rect area{x, y, width, height};
    SDL_RenderSetViewport(s.renderer, &area);
  }
  take_screen(s, true, x, y, width, height);
  s.window_object = window;
  input_screen_active(screen_is_active());
  return 1;
}

void screen_close() {
  ScreenContext& s = screen_state();
  if (s.path == ScreenPath::None) return;
  draw_stop();
  // What the pass drew is not shown any more; textures belong to the
  // renderer and go before it.
  frame_reset();
  sprites_free_all();
  if (s.renderer) SDL_DestroyRenderer(s.renderer);
  if (s.owns_window) {
    SDL_DestroyWindow(s.window);
    SDL_ShowCursor(SDL_ENABLE);
  }
  s.path = ScreenPath::None;
  s.renderer = nullptr;
  s.window = nullptr;
  s.owns_window = s.in_window = false;
  s.window_object = 0;
  s.width = s.height = s.origin_x = s.origin_y = 0;
  input_screen_link(0, 0, 0, 0, 0, 0);
}

// Waits for the next frame: sleeps to a deadline that moves on by one period
// a frame, so that waking a little late does not add up over the frames.
// A pass that ran later than a whole period (a long load) starts the count
// afresh instead of hurrying the frames after it.
static void pace_frame(ScreenContext& s) {
  if (s.frame_rate <= 0) return;
  // The period is 1/(F + 1) s, a little shorter than a frame, so that
  // vertical sync rather than this wait sets the pace where there is one.
  const int64_t period = 1000000000 / (static_cast<int64_t>(s.frame_rate) + 1);
  if (s.next_frame != 0) system_sleep_until(s.next_frame);
  const int64_t now = system_clock_ns();
  if (s.next_frame != 0 && now - s.next_frame < period) {
    s.next_frame += period;
  } else {
    s.next_frame = now + period;
  }
}

int screen_flip() {
  ScreenContext& s = screen_state();
  if (s.path == ScreenPath::None) return 0;
  if (!s.in_window) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      if (window_event_translate(e) == kWindowEventClose) s.quit_requested = true;
    }
  }
  frame_present();
  pace_frame(s);
  input_screen_active(screen_is_active());
  return 1;
}

int screen_quit_requested() {
  ScreenContext& s = screen_state();
  const bool requested = s.quit_requested;
  s.quit_requested = false;
  return requested ? 1 : 0;
}

int screen_is_active() {
  ScreenContext& s = screen_state();
  if (s.path == ScreenPath::None) return 0;
  if (s.in_window) {
    Window* w = window_table().get(s.window_object);
    return w && w->active ? 1 : 0;
  }
  // A full screen behind another program's window is in the background too:
  // desktop full screen is not minimised when it loses the focus.
  Uint32 flags = SDL_GetWindowFlags(s.window);
  return s.focused && (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0 ? 1 : 0;
}

int screen_is_open() { return screen_state().path != ScreenPath::None ? 1 : 0; }

void screen_display_gone() { screen_state().display_gone = true; }

ScreenStats screen_stats() {
  ScreenStats stats = screen_state().frame.stats;
  sprite_table().for_each([&stats](int, const Sprite& sp) {
    const int64_t picture = int64_t{sp.width} * sp.height * 4;
    stats.sprite_bytes += picture;
    stats.bytes_held += static_cast<int64_t>(sp.pixels.pixels.size() + sp.zoomed.pixels.size()) +
                        (sp.texture ? picture : 0);
  });
  return stats;
}
int screen_width() { return screen_state().width; }
int screen_height() { return screen_state().height; }

uint32_t screen_system_window_id() {
  ScreenContext& s = screen_state();
  return s.window ? SDL_GetWindowID(s.window) : 0;
}

int frame_rate_set(int frames_per_second) {
  screen_state().frame_rate = frames_per_second > 0 ? frames_per_second : 0;
  return SDL_GetPerformanceFrequency() > 1000 ? 1 : 0;
}

void sprite_filtering_set(int mode) { screen_state().filtering = mode ? 1 : 0; }

int display_modes_examine() {
  g_modes = ModeList();
  if (!screen_state().video_started) return 0;
  int n = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < n; ++i) {
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(0, i, &m) == 0 && SDL_BYTESPERPIXEL(m.format) == 4) g_modes.modes.push_back(m);
  }
  return static_cast<int>(g_modes.modes.size());
}

int display_modes_next() {
  if (g_modes.current + 1 >= static_cast<int>(g_modes.modes.size())) {
    g_modes.current = static_cast<int>(g_modes.modes.size());
    return 0;
  }
  ++g_modes.current;
  return 1;
}

static const SDL_DisplayMode* current_mode() {
  if (g_modes.current < 0 || g_modes.current >= static_cast<int>(g_modes.modes.size())) return nullptr;
  return &g_modes.modes[static_cast<size_t>(g_modes.current)];
}

int display_mode_width() { return current_mode() ? current_mode()->w : 0; }
int display_mode_height() { return current_mode() ? current_mode()->h : 0; }
int display_mode_depth() { return current_mode() ? 32 : 0; }

int desktops_examine() {
  g_desktops.clear();
  if (!screen_state().video_started) return 0;
  int n = SDL_GetNumVideoDisplays();
  for (int i = 0; i < n; ++i) {
    SDL_Rect r{0, 0, 0, 0};
    desktop_size(i, &r.w, &r.h);
    g_desktops.push_back(r);
  }
  return static_cast<int>(g_desktops.size());
}

int desktop_width(int index) {
  if (index < 0 || index >= static_cast<int>(g_desktops.size())) return 0;
  return g_desktops[static_cast<size_t>(index)].w;
}

int desktop_height(int index) {
  if (index < 0 || index >= static_cast<int>(g_desktops.size())) return 0;
  return g_desktops[static_cast<size_t>(index)].h;
}

int monitor_count() {
  if (!screen_state().video_started) return 0;
  int n = SDL_GetNumVideoDisplays();
  return n > 0 ? n : 0;
}

int screen_largest_texture() {
  ScreenContext& s = screen_state();
  SDL_RendererInfo info;
  if (!s.renderer || SDL_GetRendererInfo(s.renderer, &info) != 0) return 0;
  if (info.max_texture_width <= 0 || info.max_texture_height <= 0) return 0;
  return info.max_texture_width < info.max_texture_height ? info.max_texture_width : info.max_texture_height;
}
