// Pixel-buffer memory: heap, pooled and large blocks hold what is written
// to them, do not overlap, are aligned, and are reused or given back whole
// when freed; sizes no system can give are refused instead of wrapping
// around.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "engine/system/memory.h"

// Under AddressSanitizer every block comes from the heap.
#if defined(__SANITIZE_ADDRESS__)
#define DUSK_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DUSK_TEST_ASAN 1
#endif
#endif
#ifdef DUSK_TEST_ASAN
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

#ifdef DUSK_TEST_ASAN
// The sanitizer's heap stops the program on a request it cannot meet; the
// tests want the plain heap's answer, a null pointer.
extern "C" const char* __asan_default_options();
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
#endif

namespace {

constexpr size_t kMiB = size_t{1} << 20;

// Fills a block with a pattern of its own.
void fill(uint8_t* block, size_t bytes, size_t seed) {
  for (size_t i = 0; i < bytes; ++i) block[i] = static_cast<uint8_t>(seed * 31 + i % 251);
}

// How many bytes of a block differ from its pattern.
size_t wrong_bytes(const uint8_t* block, size_t bytes, size_t seed) {
  size_t wrong = 0;
  for (size_t i = 0; i < bytes; ++i) wrong += block[i] != static_cast<uint8_t>(seed * 31 + i % 251);
  return wrong;
}

TEST(Memory, ZeroBytesAndNullAreNothing) {
  EXPECT_EQ(memory_allocate(0), nullptr);
  memory_free(nullptr, 0);
  memory_free(nullptr, 64 * kMiB);  // neither side may touch a null block
}

TEST(Memory, ImpossibleSizesAreRefused) {
  for (size_t bytes : {SIZE_MAX, SIZE_MAX - 1, SIZE_MAX - kMiB, SIZE_MAX / 2 + 1, size_t{1} << 62}) {
    void* block = memory_allocate(bytes);
    EXPECT_EQ(block, nullptr) << bytes;
    memory_free(block, bytes);
  }
}

TEST(Memory, BlocksAroundTheLargeSizeHoldTheirBytesApart) {
  // Either side of each boundary: heap, pooled (a card face is 256 KiB)
  // and large; large ones whose last part is under and over half a huge
  // page, and a full screen of pixels at 1920x1080.
  const std::vector<size_t> sizes = {1,
                                     15,
                                     kMemoryPooledBlock - 1,
                                     kMemoryPooledBlock,
                                     kMemoryPooledBlock + 1,
                                     256 * 256 * 4,
                                     760 * 320 * 4,
                                     kMemoryLargeBlock - 1,
                                     kMemoryLargeBlock,
                                     kMemoryLargeBlock + 1,
                                     2 * kMiB,
                                     2 * kMiB + 1,
                                     2 * kMiB + kMiB / 4 * 3,
                                     3 * kMiB + 4096,
                                     1920 * 1080 * 4};
  std::vector<uint8_t*> blocks;
  for (size_t bytes : sizes) {
    auto* block = static_cast<uint8_t*>(memory_allocate(bytes));
    ASSERT_NE(block, nullptr) << bytes;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % alignof(std::max_align_t), 0u) << bytes;
    if (bytes >= kMemoryPooledBlock && !kSanitized) {
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 4096, 0u) << bytes;
    }
    blocks.push_back(block);
  }
  // Every byte of every block, each block its own pattern: a block sharing
  // bytes with another, or shorter than asked, shows up as a wrong byte.
  for (size_t b = 0; b < blocks.size(); ++b) fill(blocks[b], sizes[b], b);
  for (size_t b = 0; b < blocks.size(); ++b) EXPECT_EQ(wrong_bytes(blocks[b], sizes[b], b), 0u) << sizes[b];
  for (size_t b = 0; b < blocks.size(); ++b) memory_free(blocks[b], sizes[b]);
}

TEST(Memory, PooledBlocksOfMixedSizesFreedAndTakenAgainStayApart) {
  // Sizes that leave every kind of rest in a 2 MiB chunk, so rests are
  // handed out as blocks of their own, and freed blocks are taken again by
  // blocks of the same size while the others are still in use.
  const std::vector<size_t> sizes = {960 << 10, 640 << 10, 64 << 10, 320 << 10, 1000 << 10, 256 << 10,
                                     100 << 10, 768 << 10, 192 << 10, 512 << 10, 576 << 10, 65 << 10};
  std::vector<uint8_t*> blocks;
  std::vector<size_t> sized, seeds;
  size_t seed = 0;
  auto take = [&](size_t bytes) {
    auto* block = static_cast<uint8_t*>(memory_allocate(bytes));
    ASSERT_NE(block, nullptr) << bytes;
    fill(block, bytes, ++seed);
    blocks.push_back(block);
    sized.push_back(bytes);
    seeds.push_back(seed);
  };
  for (int round = 0; round < 6; ++round)
    for (size_t bytes : sizes) take(bytes);
  // Every other block freed, then as many taken again in reverse order.
  std::vector<size_t> freed;
  for (size_t b = 0; b < blocks.size(); b += 2) {
    memory_free(blocks[b], sized[b]);
    freed.push_back(sized[b]);
    blocks[b] = nullptr;
  }
  for (auto it = freed.rbegin(); it != freed.rend(); ++it) take(*it);
  for (size_t b = 0; b < blocks.size(); ++b) {
    if (blocks[b] == nullptr) continue;
    EXPECT_EQ(wrong_bytes(blocks[b], sized[b], seeds[b]), 0u) << "block " << b << " of " << sized[b] << " bytes";
  }
  for (size_t b = 0; b < blocks.size(); ++b) memory_free(blocks[b], sized[b]);
}

#ifdef __linux__
// The process's mapped address space in KiB ("VmSize"), 0 if unknown.
long mapped_kib() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmSize:", 0) == 0) return std::stol(line.substr(7));
  }
  return 0;
}

TEST(Memory, LargeBlocksStartOnHugePagesAndFreedMemoryIsReusedOrGivenBack) {
  if (kSanitized) GTEST_SKIP() << "every block comes from the heap under AddressSanitizer";
  // Each size rounds differently: a whole number of huge pages, a last part
  // filled out to a huge page, and one left in small pages.
  const std::vector<size_t> sizes = {8 * kMiB, 8 * kMiB + kMiB + kMiB / 4, 8 * kMiB + kMiB / 4};
  for (size_t bytes : sizes) {
    void* block = memory_allocate(bytes);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % (2 * kMiB), 0u) << bytes;
    memory_free(block, bytes);
  }
  const long before = mapped_kib();
  ASSERT_GT(before, 0);
  // A free that gave back less than was mapped (the alignment room, a
  // rounded-up end) would leave at least 4 KiB behind each time: 400 rounds
  // leave over 1.5 MiB. Each block is touched at both ends, as pixels are.
  for (int round = 0; round < 400; ++round) {
    const size_t bytes = sizes[static_cast<size_t>(round) % sizes.size()];
    auto* block = static_cast<uint8_t*>(memory_allocate(bytes));
    ASSERT_NE(block, nullptr);
    block[0] = 1;
    block[bytes - 1] = 2;
    memory_free(block, bytes);
  }
  EXPECT_LT(mapped_kib() - before, 1024) << "KiB of address space left mapped after freeing";
  // A freed pooled block is taken again by the next of its size: 1,000
  // faces loaded and freed in turn map no more than a chunk or two.
  const long pooled_before = mapped_kib();
  for (int round = 0; round < 1000; ++round) {
    void* face = memory_allocate(256 * 256 * 4);
    ASSERT_NE(face, nullptr);
    static_cast<uint8_t*>(face)[0] = 1;
    memory_free(face, 256 * 256 * 4);
  }
  EXPECT_LE(mapped_kib() - pooled_before, 4096) << "KiB mapped for pooled blocks freed at once";
}
#endif

}  // namespace
