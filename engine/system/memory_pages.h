// Private to engine/system: what a platform back end provides to the
// memory service for large blocks and the pool's chunks.
#pragma once

#include <cstddef>

// Maps fresh pages for a block of bytes (a large block, or a 2 MiB chunk of
// the pool), page aligned; nullptr when the system refuses.
void* memory_pages_map(size_t bytes);

// Gives back the pages of a block memory_pages_map made for bytes.
void memory_pages_unmap(void* block, size_t bytes);
