// SDL's own large buffers from pixel memory. The software renderer draws into
// a frame of the window's size that SDL allocates and clears itself, on the
// drivers that keep the frame in the program's memory (the headless one, X11
// without shared memory); software textures are SDL's too. From the heap such
// a buffer costs a page fault for every 4 KiB the clearing touches, from
// pixel memory a few huge pages. Everything smaller stays with SDL's own
// allocator, and so does every block SDL had before these functions were put
// in, which is why each block handed out here is remembered.
#include <SDL.h>

#include <cstring>
#include <mutex>

#include "engine/screen/screen_sdl.h"
#include "engine/system/memory.h"

namespace {

struct Heap {
  SDL_malloc_func malloc = nullptr;
  SDL_calloc_func calloc = nullptr;
  SDL_realloc_func realloc = nullptr;
  SDL_free_func free = nullptr;
};

// SDL's allocator as it was before ours went in.
Heap g_heap;

// The blocks handed out from pixel memory: a window's frame or two and the
// odd texture. When the table is full, new large blocks come from the heap.
struct Block {
  void* start = nullptr;
  size_t bytes = 0;
};
constexpr size_t kBlocks = 32;

struct Blocks {
  std::mutex lock;
  Block held[kBlocks];
  size_t count = 0;
};

Blocks& blocks() {
  static Blocks* b = new Blocks;  // never destroyed: SDL may free at exit
  return *b;
}

// A large block from pixel memory, remembered; nullptr when there is no room
// to remember it or no memory.
void* take(size_t bytes) {
  Blocks& b = blocks();
  std::lock_guard<std::mutex> hold(b.lock);
  if (b.count == kBlocks) return nullptr;
  void* start = memory_allocate(bytes);
  if (start) b.held[b.count++] = Block{start, bytes};
  return start;
}

// The record of one of ours, nullptr for any other block; b.lock is held.
Block* find(Blocks& b, void* start) {
  for (size_t i = 0; i < b.count; ++i) {
    if (b.held[i].start == start) return &b.held[i];
  }
  return nullptr;
}

void* SDLCALL large_malloc(size_t bytes) {
  if (bytes >= kMemoryLargeBlock) {
    if (void* start = take(bytes)) return start;
  }
  return g_heap.malloc(bytes);
}

void* SDLCALL large_calloc(size_t count, size_t size) {
  if (size != 0 && count > SIZE_MAX / size) return nullptr;
  const size_t bytes = count * size;
  if (bytes >= kMemoryLargeBlock) {
    if (void* start = take(bytes)) return std::memset(start, 0, bytes);
  }
  return g_heap.calloc(count, size);
}

void SDLCALL large_free(void* start) {
  if (!start) return;
  Blocks& b = blocks();
  {
    std::lock_guard<std::mutex> hold(b.lock);
    if (Block* block = find(b, start)) {
      memory_free(start, block->bytes);
      *block = b.held[--b.count];
      return;
    }
  }
  g_heap.free(start);
}

void* SDLCALL large_realloc(void* start, size_t bytes) {
  if (!start) return large_malloc(bytes);
  Blocks& b = blocks();
  std::lock_guard<std::mutex> hold(b.lock);
  Block* block = find(b, start);
  if (!block) return g_heap.realloc(start, bytes);
  // One of ours: its contents move to a block of the new size, large or not;
  // when that cannot be had the old block stays as it was, as realloc leaves
  // it.
  const bool large = bytes >= kMemoryLargeBlock;
  void* moved = large ? memory_allocate(bytes) : g_heap.malloc(bytes == 0 ? 1 : bytes);
  if (!moved) return nullptr;
  std::memcpy(moved, start, block->bytes < bytes ? block->bytes : bytes);
  memory_free(start, block->bytes);
  if (large) {
    *block = Block{moved, bytes};
  } else {
    *block = b.held[--b.count];
  }
  return moved;
}

}  // namespace

void screen_memory_install() {
  static bool installed = false;
  if (installed) return;
  SDL_GetMemoryFunctions(&g_heap.malloc, &g_heap.calloc, &g_heap.realloc, &g_heap.free);
  installed = SDL_SetMemoryFunctions(large_malloc, large_calloc, large_realloc, large_free) == 0;
}

int screen_memory_blocks() {
  Blocks& b = blocks();
  std::lock_guard<std::mutex> hold(b.lock);
  return static_cast<int>(b.count);
}
