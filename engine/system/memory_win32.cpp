// Large blocks on Windows: fresh committed pages of their own, given back
// whole when freed. Large pages would need a privilege players do not
// have, so these are ordinary pages.
#include "engine/system/windows_win32.h"

#include "engine/system/memory_pages.h"

void* memory_pages_map(size_t bytes) { return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE); }

void memory_pages_unmap(void* block, size_t) { VirtualFree(block, 0, MEM_RELEASE); }
