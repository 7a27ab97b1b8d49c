// SDL's large blocks in pixel memory: which blocks go there, that SDL's
// allocation calls keep their meaning for them, that blocks from SDL's own
// allocator are still given back to it, and that a window's frame on the
// software renderer is one of them.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "engine/screen/screen.h"
#include "engine/screen/screen_sdl.h"
#include "engine/system/memory.h"
#include "tests/support/screen_fixture.h"

namespace {

class SdlMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(test_screen::StartSprites());
    before_ = screen_memory_blocks();
  }
  void TearDown() override { sprite_system_stop(); }

  // Blocks in pixel memory beyond those SDL held when the case began.
  int added() const { return screen_memory_blocks() - before_; }

  static void fill(void* block, size_t bytes, uint8_t seed) {
    auto* p = static_cast<uint8_t*>(block);
    for (size_t i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(seed + i * 7);
  }
  static bool holds(const void* block, size_t bytes, uint8_t seed) {
    const auto* p = static_cast<const uint8_t*>(block);
    for (size_t i = 0; i < bytes; ++i) {
      if (p[i] != static_cast<uint8_t>(seed + i * 7)) return false;
    }
    return true;
  }

  int before_ = 0;
};

constexpr size_t kLarge = kMemoryLargeBlock + 12345;
constexpr size_t kSmall = 4096;

TEST_F(SdlMemory, LargeBlocksAloneComeFromPixelMemoryAndGoBackThere) {
  void* small = SDL_malloc(kSmall);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(added(), 0);
  void* large = SDL_malloc(kLarge);
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(added(), 1);
  fill(large, kLarge, 3);  // all of it can be written
  EXPECT_TRUE(holds(large, kLarge, 3));

  void* cleared = SDL_calloc(kLarge / 8, 8);
  ASSERT_NE(cleared, nullptr);
  EXPECT_EQ(added(), 2);
  const auto* bytes = static_cast<const uint8_t*>(cleared);
  size_t nonzero = 0;
  for (size_t i = 0; i < kLarge / 8 * 8; ++i) nonzero += bytes[i] != 0;
  EXPECT_EQ(nonzero, 0u);

  SDL_free(large);
  SDL_free(cleared);
  SDL_free(small);
  SDL_free(nullptr);
  EXPECT_EQ(added(), 0);

  // A count times a size beyond the address space is refused, not wrapped.
  EXPECT_EQ(SDL_calloc(SIZE_MAX / 2, 4), nullptr);
  EXPECT_EQ(added(), 0);
}

TEST_F(SdlMemory, ReallocKeepsTheContentsWhereverTheBlockMoves) {
  // Ours, grown: still ours, the old bytes kept.
  void* block = SDL_realloc(nullptr, kLarge);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(added(), 1);
  fill(block, kLarge, 11);
  block = SDL_realloc(block, 3 * kLarge);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(added(), 1);
  EXPECT_TRUE(holds(block, kLarge, 11));

  // Shrunk below the large size: back to SDL's own heap, the first bytes kept.
  block = SDL_realloc(block, kSmall);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(added(), 0);
  EXPECT_TRUE(holds(block, kSmall, 11));

  // A heap block grown large stays with the heap, which alone knows its size.
  block = SDL_realloc(block, kLarge);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(added(), 0);
  EXPECT_TRUE(holds(block, kSmall, 11));
  SDL_free(block);
  EXPECT_EQ(added(), 0);
}

TEST_F(SdlMemory, BlocksFromSdlsOwnAllocatorGoBackToIt) {
  // As a block SDL made before the pixel-memory functions went in.
  SDL_malloc_func malloc_func = nullptr;
  SDL_calloc_func calloc_func = nullptr;
  SDL_realloc_func realloc_func = nullptr;
  SDL_free_func free_func = nullptr;
  SDL_GetOriginalMemoryFunctions(&malloc_func, &calloc_func, &realloc_func, &free_func);
  ASSERT_NE(malloc_func, nullptr);
  void* old = malloc_func(kLarge);
  ASSERT_NE(old, nullptr);
  fill(old, kLarge, 5);
  old = SDL_realloc(old, 2 * kLarge);
  ASSERT_NE(old, nullptr);
  EXPECT_TRUE(holds(old, kLarge, 5));
  EXPECT_EQ(added(), 0);
  SDL_free(old);  // the heap's free; a wrong one would crash or be reported here
  EXPECT_EQ(added(), 0);
}

TEST_F(SdlMemory, AWindowsFrameOnTheSoftwareRendererIsInPixelMemory) {
  ASSERT_NO_FATAL_FAILURE(test_screen::OpenScreenInWindow(0, 1280, 720, "frame", kWindowCentred));
  EXPECT_GE(added(), 1);
  // The screen still draws and reads back through that frame.
  test_screen::CoverScreen(60, test_screen::Bgr(0x336699));
  const auto pixels = test_screen::ReadPixels();
  EXPECT_EQ(test_screen::PixelAt(pixels, 1279, 719), 0x336699u);
  screen_close();
  window_close(-1);
  EXPECT_EQ(added(), 0);
}

}  // namespace
