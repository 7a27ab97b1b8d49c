// Windows of the windowed and borderless modes on SDL, and the window events
// the game's loop drains in those modes.
#include <string>
#include <vector>

#include "engine/image/image_buffer.h"
#include "engine/input/input.h"
#include "engine/screen/screen.h"
#include "engine/screen/screen_sdl.h"

Window::~Window() {
  if (window && !screen_state().display_gone) SDL_DestroyWindow(window);
}

ObjectTable<Window>& window_table() {
  static ObjectTable<Window> table(16);
  return table;
}

SDL_Window* window_sdl(int window) {
  Window* w = window_table().get(window);
  return w ? w->window : nullptr;
}

int window_open(int number, int x, int y, int width, int height, const std::string& title, int flags) {
  if (!screen_state().video_started || width <= 0 || height <= 0) return 0;
  Uint32 sdl_flags = (flags & kWindowHidden) ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN;
  if (flags & kWindowBorderless) sdl_flags |= SDL_WINDOW_BORDERLESS;
  if (flags & kWindowCentred) x = y = static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(0));
  // Re-using a number closes the old window (and a screen in it) first.
  if (number != -1 && window_exists(number)) window_close(number);
  SDL_Window* sw = SDL_CreateWindow(title.c_str(), x, y, width, height, sdl_flags);
  if (!sw) return 0;
  auto w = std::make_unique<Window>();
  w->window = sw;
  w->active = (flags & kWindowHidden) == 0;
  int id = window_table().put(number, std::move(w));
  if (id == -2) return 0;
  input_window_link(id, static_cast<int>(SDL_GetWindowID(sw)));
  return id == 0 ? 1 : id;
}

void window_close(int window) {
  ScreenContext& s = screen_state();
  if (s.in_window && (window == -1 || window_table().get(window) == window_table().get(s.window_object))) {
    screen_close();
  }
  std::vector<int> closing;
  window_table().for_each([&](int id, Window&) {
    if (window == -1 || window_table().get(id) == window_table().get(window)) closing.push_back(id);
  });
  for (int id : closing) input_window_link(id, 0);
  window_table().free(window);
}

void window_show(int window) {
  Window* w = window_table().get(window);
  if (w) SDL_ShowWindow(w->window);
}

void window_activate(int window) {
  Window* w = window_table().get(window);
  if (!w) return;
  SDL_RaiseWindow(w->window);
  w->active = true;
}

void window_minimise(int window) {
  Window* w = window_table().get(window);
  if (w) SDL_MinimizeWindow(w->window);
}

int window_exists(int window) { return window_table().exists(window) ? 1 : 0; }

uint32_t window_system_id(int window) {
  SDL_Window* w = window_sdl(window);
  return w ? SDL_GetWindowID(w) : 0;
}

int window_icon_set(int image) {
  ImageBuffer* icon = image_handle(image);
  if (!icon || icon->width <= 0 || icon->height <= 0) return 0;
  std::vector<SDL_Window*> windows;
  window_table().for_each([&](int, Window& w) { windows.push_back(w.window); });
  ScreenContext& s = screen_state();
  if (s.owns_window && s.window) windows.push_back(s.window);
  if (windows.empty()) return 0;
#ifdef _WIN32
  // Windows already shows the program file's own icon on every window, at
  // each size it asks for (SDL gives its window class the file's first
  // icon); one picture would replace that with scaled copies of itself.
  return 1;
#else
  // The image's bytes are blue, green, red, alpha in memory, whatever the
  // machine's byte order.
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      icon->pixels.data(), icon->width, icon->height, 32, icon->width * 4, SDL_PIXELFORMAT_BGRA32);
  if (!surface) return 0;
  for (SDL_Window* w : windows) SDL_SetWindowIcon(w, surface);
  SDL_FreeSurface(surface);
  return 1;
#endif
}

static Window* window_by_system_id(Uint32 id) {
  Window* found = nullptr;
  window_table().for_each([&](int, Window& w) {
    if (SDL_GetWindowID(w.window) == id) found = &w;
  });
  return found;
}

// A button counts only when released over the window's client area.
static bool over_window(Uint32 window_id, int x, int y) {
  SDL_Window* w = SDL_GetWindowFromID(window_id);
  if (!w) return false;
  int width = 0, height = 0;
  SDL_GetWindowSize(w, &width, &height);
  return x >= 0 && y >= 0 && x < width && y < height;
}

int window_event_translate(const SDL_Event& e) {
  ScreenContext& s = screen_state();
  // SDL follows the close of the last window with a quit request at once.
  bool after_close = s.close_reported;
  s.close_reported = false;
  switch (e.type) {
    case SDL_WINDOWEVENT: {
      Window* w = window_by_system_id(e.window.windowID);
      switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          if (w) w->active = true;
          if (s.owns_window && e.window.windowID == SDL_GetWindowID(s.window)) s.focused = true;
          return kWindowEventActivated;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          if (w) w->active = false;
          if (s.owns_window && e.window.windowID == SDL_GetWindowID(s.window)) s.focused = false;
          return kWindowEventDeactivated;
        case SDL_WINDOWEVENT_MINIMIZED:
          if (w) w->active = false;
          return kWindowEventMinimised;
        case SDL_WINDOWEVENT_RESTORED:
          frame_repaint();
          return kWindowEventRestored;
        case SDL_WINDOWEVENT_EXPOSED:
          frame_repaint();
          return kWindowEventRepaint;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_MAXIMIZED:
          // The window's picture is asked for again; the game sees no event.
          frame_repaint();
          return 0;
        case SDL_WINDOWEVENT_CLOSE:
          s.close_reported = true;
          return kWindowEventClose;
        default:
          return 0;
      }
    }
    case SDL_QUIT:
      return after_close ? 0 : kWindowEventClose;
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button == SDL_BUTTON_LEFT && e.button.clicks >= 2) return kWindowEventDoubleClick;
      return 0;
    case SDL_MOUSEBUTTONUP:
      if (!over_window(e.button.windowID, e.button.x, e.button.y)) return 0;
      if (e.button.button == SDL_BUTTON_LEFT) return kWindowEventLeftClick;
      if (e.button.button == SDL_BUTTON_RIGHT) return kWindowEventRightClick;
      return 0;
    default:
      return 0;
  }
}

int window_event_next() {
  // The click taken last has been handled by now.
  input_click_position(0, 0, 0);
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    int code = window_event_translate(e);
    if (code == kWindowEventLeftClick || code == kWindowEventRightClick) {
      // Read as the click is handled, the pointer may already stand where
      // later motion in the queue took it.
      input_click_position(static_cast<int>(e.button.windowID), e.button.x, e.button.y);
    }
    if (code != 0) return code;
  }
  return 0;
}

// The dummy and offscreen drivers have no display: SDL would then try to
// reach an X server on its own, which under a test runner with DISPLAY set
// would put up a box that nobody closes.
static bool message_box_possible() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver) driver = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if (!driver) return true;
  std::string d = driver;
  return d != "dummy" && d != "offscreen";
}

int message_box_show(const std::string& title, const std::string& text) {
  if (!message_box_possible()) return 0;
  SDL_Window* parent = window_sdl(0);
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), parent) == 0 ? 1 : 0;
}
