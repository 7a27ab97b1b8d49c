// Which blocks come from the heap, which are cut from shared chunks and
// which are mapped on their own.
#include "engine/system/memory.h"

#include <cstdint>
#include <cstdlib>
#include <mutex>

#include "engine/system/memory_pages.h"

namespace {

// Under AddressSanitizer every block comes from the heap, so that reading or
// writing past a picture's pixels is still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kHeapOnly = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kHeapOnly = true;
#else
constexpr bool kHeapOnly = false;
#endif
#else
constexpr bool kHeapOnly = false;
#endif

// Pooled blocks are whole units; each size has a list of freed blocks, linked
// through their first bytes.
constexpr size_t kUnit = kMemoryPooledBlock;
constexpr size_t kChunk = size_t{2} << 20;
constexpr size_t kSizes = kMemoryLargeBlock / kUnit + 1;  // 1 to 16 units

struct Pool {
  std::mutex lock;
  void* freed[kSizes] = {};
  uint8_t* next = nullptr;  // the part of the newest chunk not handed out yet
  size_t left = 0;
};

// Never destroyed: pictures freed while the program exits still come back.
Pool& pool() {
  static Pool* p = new Pool;
  return *p;
}

size_t units_of(size_t bytes) { return (bytes + kUnit - 1) / kUnit; }

void keep(Pool& p, void* block, size_t units) {
  *static_cast<void**>(block) = p.freed[units];
  p.freed[units] = block;
}

void* pool_take(size_t units) {
  Pool& p = pool();
  std::lock_guard<std::mutex> hold(p.lock);
  if (void* block = p.freed[units]) {
    p.freed[units] = *static_cast<void**>(block);
    return block;
  }
  const size_t bytes = units * kUnit;
  if (p.left < bytes) {
    // What is left of the chunk is a whole number of units smaller than
    // this block: it waits as a freed block of its own size.
    if (p.left > 0) keep(p, p.next, p.left / kUnit);
    p.left = 0;
    void* chunk = memory_pages_map(kChunk);
    if (chunk == nullptr) return nullptr;
    p.next = static_cast<uint8_t*>(chunk);
    p.left = kChunk;
  }
  void* block = p.next;
  p.next += bytes;
  p.left -= bytes;
  return block;
}

void pool_give_back(void* block, size_t units) {
  Pool& p = pool();
  std::lock_guard<std::mutex> hold(p.lock);
  keep(p, block, units);
}

}  // namespace

void* memory_allocate(size_t bytes) {
  if (bytes == 0) return nullptr;
  if (kHeapOnly || bytes < kMemoryPooledBlock) return std::malloc(bytes);
  if (bytes < kMemoryLargeBlock) return pool_take(units_of(bytes));
  return memory_pages_map(bytes);
}

void memory_free(void* block, size_t bytes) {
  if (block == nullptr) return;
  if (kHeapOnly || bytes < kMemoryPooledBlock) {
    std::free(block);
  } else if (bytes < kMemoryLargeBlock) {
    pool_give_back(block, units_of(bytes));
  } else {
    memory_pages_unmap(block, bytes);
  }
}
