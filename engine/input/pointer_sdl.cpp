// Mouse pointers from Windows cursor files, turned into SDL colour cursors.
#include "engine/input/cursor_file.h"
#include "engine/input/input.h"
#include "engine/input/input_sdl.h"

#include <memory>

#include "engine/system/file.h"
#include "engine/system/objects.h"

namespace {

struct Pointer {
  SDL_Cursor* cursor = nullptr;
  ~Pointer() {
    // Shutting SDL's video down frees every cursor itself.
    if (cursor && SDL_WasInit(SDL_INIT_VIDEO)) SDL_FreeCursor(cursor);
  }
};

ObjectTable<Pointer> g_pointers(16);

}  // namespace

int pointer_load(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!file_read_all(path, &bytes, kCursorFileMaxBytes)) return 0;
  CursorPicture pic;
  if (!cursor_file_read(bytes.data(), bytes.size(), &pic)) return 0;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      pic.rgba.data(), pic.width, pic.height, 32, pic.width * 4, SDL_PIXELFORMAT_RGBA32);
  if (!surface) return 0;
  // SDL copies the pixels into its own cursor; the surface can go at once.
  SDL_Cursor* cursor = SDL_CreateColorCursor(surface, pic.hot_x, pic.hot_y);
  SDL_FreeSurface(surface);
  if (!cursor) return 0;
  auto p = std::make_unique<Pointer>();
  p->cursor = cursor;
  int handle = g_pointers.put(-1, std::move(p));
  return handle > 0 ? handle : 0;
}

// SDL shows one pointer over all of the program's windows, so the window only
// matters in that the game has a single one.
void window_pointer_set(int window, int cursor) {
  (void)window;
  Pointer* p = cursor ? g_pointers.get(cursor) : nullptr;
  SDL_Cursor* shown = p ? p->cursor : SDL_GetDefaultCursor();
  if (shown) SDL_SetCursor(shown);
}

void input_pointer_reset() {
  // The system pointer first, so that no freed cursor stays current.
  if (g_pointers.count() > 0 && SDL_WasInit(SDL_INIT_VIDEO)) {
    if (SDL_Cursor* def = SDL_GetDefaultCursor()) SDL_SetCursor(def);
  }
  g_pointers.free(-1);
}
