// Memory for pixel buffers. Pictures need blocks of a quarter of a megabyte
// to several megabytes that are written whole right after they are made.
// Such blocks come from pages the system can hand out and clear in big
// pieces, which makes touching them the first time several times cheaper
// than fresh heap memory.
#pragma once

#include <cstddef>

// Blocks from this size up to kMemoryLargeBlock are cut from shared chunks
// of 2 MiB; a freed one is kept for the next block of its size, and that
// memory stays with the program. Smaller blocks come from the heap.
constexpr size_t kMemoryPooledBlock = size_t{64} << 10;

// Blocks of at least this many bytes are large: mapped on their own and
// given back to the system when freed.
constexpr size_t kMemoryLargeBlock = size_t{1} << 20;

// A block of at least bytes, its contents unset, aligned for any type
// (pooled and large blocks start on a page boundary); nullptr for 0 bytes
// or when the memory cannot be had.
void* memory_allocate(size_t bytes);

// Frees a block of memory_allocate, given the same byte count it was asked
// for; nullptr does nothing.
void memory_free(void* block, size_t bytes);
