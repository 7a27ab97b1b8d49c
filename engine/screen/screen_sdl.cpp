// The screen on SDL: the video system, opening and closing the screen on an
// SDL renderer, presenting and pacing frames, display modes and desktops.
#include <cstring>
#include <vector>

#include "engine/input/input.h"
#include "engine/screen/screen.h"
#include "engine/screen/screen_sdl.h"

namespace {

struct ModeList {
  std::vector<SDL_DisplayMode> modes;
  int current = -1;
};

ModeList g_modes;
std::vector<SDL_Rect> g_desktops;

// Accelerated where the system offers it, software otherwise.
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

bool is_software(SDL_Renderer* r) {
  SDL_RendererInfo info;
  return SDL_GetRendererInfo(r, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
}

// Sleeps most of the wait and spins only the last millisecond, so pacing
// keeps the timing of a busy wait without burning a core.
void wait_until(uint64_t target) {
  uint64_t freq = SDL_GetPerformanceFrequency();
  for (;;) {
    uint64_t now = SDL_GetPerformanceCounter();
    if (now >= target) return;
    uint64_t ms = (target - now) * 1000 / freq;
    if (ms > 1) SDL_Delay(static_cast<Uint32>(ms - 1));
  }
}

// Whether the engine may draw sprites straight into the window's surface:
// on the software renderer only, with pixels laid out as the sprites' are,
// and only once the renderer has been seen to draw into that very surface
// and to read back from it what was written there. The test runs on the
// whole window, whose coordinates every SDL version reads the same way
// (SDL 2.26 takes a read rectangle in window coordinates even inside a
// viewport).
bool surface_is_drawable(const ScreenContext& s) {
  if (!s.software) return false;
  SDL_Surface* surface = SDL_GetWindowSurface(s.window);
  if (!surface || !surface->pixels || SDL_MUSTLOCK(surface)) return false;
  const SDL_PixelFormat* f = surface->format;
  if (f->BytesPerPixel != 4 || f->Rmask != 0xFF0000u || f->Gmask != 0xFF00u || f->Bmask != 0xFFu) return false;
  if (s.origin_x < 0 || s.origin_y < 0 || s.origin_x >= surface->w || s.origin_y >= surface->h) return false;
  uint8_t* first = static_cast<uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(s.origin_y) * surface->pitch +
                   static_cast<ptrdiff_t>(s.origin_x) * 4;
  SDL_Rect viewport;
  SDL_RenderGetViewport(s.renderer, &viewport);
  SDL_RenderSetViewport(s.renderer, nullptr);
  uint32_t drawn = 0, mark = 0xFF654321u, read = 0;
  SDL_SetRenderDrawColor(s.renderer, 0x12, 0x34, 0x56, 255);
  SDL_RenderDrawPoint(s.renderer, s.origin_x, s.origin_y);
  SDL_RenderFlush(s.renderer);
  std::memcpy(&drawn, first, 4);
  std::memcpy(first, &mark, 4);
  SDL_Rect one{s.origin_x, s.origin_y, 1, 1};
  bool ok = (drawn & 0xFFFFFFu) == 0x123456u &&
            SDL_RenderReadPixels(s.renderer, &one, SDL_PIXELFORMAT_ARGB8888, &read, 4) == 0 &&
            (read & 0xFFFFFFu) == 0x654321u;
  SDL_RenderSetViewport(s.renderer, &viewport);
  return ok;
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
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
  if (SDL_GetNumRenderDrivers() <= 0) {
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
  if (started) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// Records a newly opened screen: its renderer, where it draws and its size,
// and tells the input service where the pointer is to be read.
static void take_screen(ScreenContext& s, SDL_Renderer* r, SDL_Window* w, bool in_window, int x, int y,
                        int width, int height) {
  s.renderer = r;
  s.software = is_software(r);
  s.window = w;
  s.owns_window = false;
  s.in_window = in_window;
  s.width = width;
  s.height = height;
  s.origin_x = x;
  s.origin_y = y;
  s.last_present = 0;
  s.direct = surface_is_drawable(s);
  input_screen_link(static_cast<int>(SDL_GetWindowID(w)), x, y, width, height, in_window ? 1 : 0);
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
  SDL_Renderer* r = w ? make_renderer(w, flip_mode) : nullptr;
  if (!r) {
    if (w) SDL_DestroyWindow(w);
    SDL_ShowCursor(SDL_ENABLE);
    return 0;
  }
  take_screen(s, r, w, false, 0, 0, width, height);
  s.owns_window = true;
  input_screen_active(1);
  return 1;
}

int screen_open_in_window(int window, int x, int y, int width, int height, int, int, int, int flip_mode) {
  ScreenContext& s = screen_state();
  screen_close();
  SDL_Window* w = window_sdl(window);
  if (!w || width <= 0 || height <= 0) return 0;
  SDL_Renderer* r = make_renderer(w, flip_mode);
  if (!r) return 0;
  SDL_Rect area{x, y, width, height};
  SDL_RenderSetViewport(r, &area);
  take_screen(s, r, w, true, x, y, width, height);
  s.window_object = window;
  input_screen_active(screen_is_active());
  return 1;
}

void screen_close() {
  ScreenContext& s = screen_state();
  if (!s.renderer) return;
  draw_stop();
  // Textures belong to the renderer and go before it.
  sprites_free_all();
  SDL_DestroyRenderer(s.renderer);
  if (s.owns_window) {
    SDL_DestroyWindow(s.window);
    SDL_ShowCursor(SDL_ENABLE);
  }
  s.renderer = nullptr;
  s.window = nullptr;
  s.owns_window = s.in_window = s.direct = false;
  s.window_object = 0;
  s.width = s.height = s.origin_x = s.origin_y = 0;
  input_screen_link(0, 0, 0, 0, 0, 0);
}

int screen_flip() {
  ScreenContext& s = screen_state();
  if (!s.renderer) return 0;
  if (!s.in_window) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      if (window_event_translate(e) == kWindowEventClose) s.quit_requested = true;
    }
  }
  SDL_RenderPresent(s.renderer);
  if (s.frame_rate > 0) {
    // The period is 1/(F + 1) s, a little shorter than a frame, so that
    // vertical sync rather than this wait sets the pace where there is one.
    uint64_t period = SDL_GetPerformanceFrequency() / static_cast<uint64_t>(s.frame_rate + 1);
    if (s.last_present != 0) wait_until(s.last_present + period);
  }
  s.last_present = SDL_GetPerformanceCounter();
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
  if (!s.renderer) return 0;
  if (s.in_window) {
    Window* w = window_table().get(s.window_object);
    return w && w->active ? 1 : 0;
  }
  Uint32 flags = SDL_GetWindowFlags(s.window);
  return (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) ? 0 : 1;
}

int screen_is_open() { return screen_state().renderer ? 1 : 0; }
int screen_width() { return screen_state().width; }
int screen_height() { return screen_state().height; }
int screen_in_window() { return screen_state().in_window ? 1 : 0; }
int screen_origin_x() { return screen_state().origin_x; }
int screen_origin_y() { return screen_state().origin_y; }

uint32_t screen_system_window_id() {
  ScreenContext& s = screen_state();
  return s.window ? SDL_GetWindowID(s.window) : 0;
}

int frame_rate_set(int frames_per_second) {
  screen_state().frame_rate = frames_per_second > 0 ? frames_per_second : 0;
  return SDL_GetPerformanceFrequency() > 1000 ? 1 : 0;
}

void sprite_filtering_set(int mode) {
  screen_state().filtering = mode ? 1 : 0;
  SDL_ScaleMode scale = mode ? SDL_ScaleModeLinear : SDL_ScaleModeNearest;
  sprite_table().for_each([scale](int, Sprite& sp) {
    if (sp.texture) SDL_SetTextureScaleMode(sp.texture, scale);
  });
}

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
int display_mode_refresh() { return current_mode() ? current_mode()->refresh_rate : 0; }

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
