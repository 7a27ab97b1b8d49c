// Large blocks on POSIX systems: anonymous mappings aligned to the 2 MiB of
// a transparent huge page and marked for huge pages. One fault then maps
// and clears 2 MiB instead of 4 KiB, which for a freshly decoded picture
// saves most of the time spent in the kernel; where the system gives no
// huge pages the block simply has ordinary ones.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "engine/system/memory_pages.h"

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

size_t round_up(size_t n, size_t unit) { return (n + unit - 1) / unit * unit; }

// The bytes a block of bytes spans. A last piece using at least half a huge
// page is filled out to a whole one, so that it is a huge page too; a
// smaller one stays in ordinary pages and costs no memory beyond its own.
size_t block_span(size_t bytes) {
  const size_t last = bytes % kHugePage;
  if (last == 0 || last >= kHugePage / 2) return round_up(bytes, kHugePage);
  static const long page_size = sysconf(_SC_PAGESIZE);
  static const size_t page = page_size > 0 ? static_cast<size_t>(page_size) : 4096;
  return round_up(bytes, page);
}

}  // namespace

void* memory_pages_map(size_t bytes) {
  // Sizes whose rounding or alignment room would wrap around are refused.
  if (bytes > SIZE_MAX - 2 * kHugePage) return nullptr;
  const size_t span = block_span(bytes);
  // Map one huge page more than needed, then give back what lies before the
  // first 2 MiB boundary and after the block.
  const size_t mapped = span + kHugePage;
  void* m = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (m == MAP_FAILED) return nullptr;
  const uintptr_t base = reinterpret_cast<uintptr_t>(m);
  const uintptr_t start = (base + kHugePage - 1) & ~(uintptr_t{kHugePage} - 1);
  const size_t head = start - base;
  const size_t tail = mapped - head - span;
  if (head > 0) munmap(m, head);
  if (tail > 0) munmap(reinterpret_cast<void*>(start + span), tail);
  void* block = reinterpret_cast<void*>(start);
  // A refusal (no huge page support) leaves ordinary pages, which work too.
  madvise(block, span, MADV_HUGEPAGE);
  return block;
}

void memory_pages_unmap(void* block, size_t bytes) { munmap(block, block_span(bytes)); }
