// Damaged and hostile data packs: each gets a clean failure value, and a
// bad entry header ends the index there instead of looping or reading past
// the end of the file.
#include <gtest/gtest.h>

#include "engine/pack/pack.h"
#include "engine/system/file.h"
#include "tests/engine/pack/pack_bytes.h"

namespace {

using packbytes::BlockWriter;
using packbytes::Entry;

class DamagedPack : public ::testing::Test {
 protected:
  void SetUp() override { pack_register_formats(); }
  void TearDown() override { pack_shutdown(); }
};

// A pack from its file, read piece by piece, or from bytes in memory: every
// damage must be caught the same way by both.
int OpenPack(const std::vector<uint8_t>& bytes, bool on_disk) {
  if (!on_disk) return pack_open_memory(-1, bytes, kPackFormatData);
  if (!file_write("damaged.pack", bytes.data(), bytes.size())) return 0;
  return pack_open(-1, "damaged.pack", kPackFormatData);
}

std::vector<std::string> Names(int pack) {
  std::vector<std::string> names;
  pack_list_begin(pack);
  while (pack_list_next(pack)) names.push_back(pack_entry_name(pack));
  return names;
}

// Overwrites 8 bytes of the second entry's header (after "2zlp" and a first
// entry named "a" holding "ok").
std::vector<uint8_t> WithSecondHeaderField(int field_offset, int64_t value) {
  std::vector<uint8_t> f =
      packbytes::PackFile(2, {packbytes::Raw("a", "ok"), packbytes::Raw("b", "bbbb"), packbytes::Raw("c", "c")});
  size_t second = 4 + 18 + 1 + 2;
  for (int i = 0; i < 8; ++i) f[second + static_cast<size_t>(field_offset + i)] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
  return f;
}

TEST_F(DamagedPack, ABadEntryHeaderEndsTheIndexAtThatEntry) {
  struct Case {
    const char* what;
    int field;
    int64_t value;
  } cases[] = {
      {"negative unpacked size", 0, -1},
      {"negative stored size", 8, -5},
      {"stored size past the end", 8, 1000},
      {"stored size near the 64-bit limit", 8, INT64_MAX},
      {"stored size that would wrap the next offset", 8, INT64_MAX - 20},
      {"most negative unpacked size", 0, INT64_MIN},
  };
  for (const Case& c : cases) for (bool on_disk : {true, false}) {
    SCOPED_TRACE(c.what);
    SCOPED_TRACE(on_disk ? "from the file" : "from memory");
    std::vector<uint8_t> f = WithSecondHeaderField(c.field, c.value);
    int pack = OpenPack(f, on_disk);
    ASSERT_NE(pack, 0);
    EXPECT_EQ(Names(pack), std::vector<std::string>{"a"});
    char buf[8] = {};
    EXPECT_EQ(pack_read_entry(pack, buf, sizeof buf, "a"), 2);
    EXPECT_EQ(pack_read_entry(pack, buf, sizeof buf, "b"), -1);
    EXPECT_EQ(pack_read_entry(pack, buf, sizeof buf, "c"), -1);
    EXPECT_EQ(pack_unindexed_bytes(pack), static_cast<int64_t>(f.size() - 25));
    pack_close(pack);
  }
}

TEST_F(DamagedPack, TruncatedPacksKeepTheWholeEntriesBeforeTheCut) {
  std::vector<uint8_t> f = packbytes::PackFile(1, {packbytes::Raw("first", "12345"), packbytes::Raw("second", "678")});
  const size_t first_end = 4 + 24 + 5 + 5;
  // Cut inside the second header, inside its name, inside its data.
  for (size_t cut : {first_end + 3, first_end + 24 + 2, f.size() - 1}) for (bool on_disk : {true, false}) {
    SCOPED_TRACE(cut);
    SCOPED_TRACE(on_disk ? "from the file" : "from memory");
    int pack = OpenPack(std::vector<uint8_t>(f.begin(), f.begin() + static_cast<long>(cut)), on_disk);
    ASSERT_NE(pack, 0);
    EXPECT_EQ(Names(pack), std::vector<std::string>{"first"});
    EXPECT_EQ(pack_unindexed_bytes(pack), static_cast<int64_t>(cut - first_end));
    pack_close(pack);
  }
}

TEST_F(DamagedPack, FilesThatAreNotPacksDoNotOpen) {
  const std::vector<std::vector<uint8_t>> bad = {
      {},
      {'2', 'z', 'l'},
      {'3', 'z', 'l', 'p'},
      {'2', 'Z', 'L', 'P', 0, 0},
      {'P', 'K', 3, 4, 0, 0, 0, 0},
  };
  for (const auto& bytes : bad) {
    EXPECT_EQ(pack_open_memory(-1, bytes, kPackFormatData), 0);
    ASSERT_TRUE(file_write("notapack.pack", bytes.data(), bytes.size()));
    EXPECT_EQ(pack_open(-1, "notapack.pack", kPackFormatData), 0);
  }
  EXPECT_EQ(pack_open(-1, "does-not-exist.pack", kPackFormatData), 0);
  ASSERT_TRUE(folder_make("a-folder.pack/"));
  EXPECT_EQ(pack_open(-1, "a-folder.pack", kPackFormatData), 0);
  EXPECT_EQ(pack_open_memory(-1, {'2', 'z', 'l', 'p'}, kPackFormatZip), 0);  // ZIP needs a path
}

// One packed entry "e" whose stored data is the given stream.
int OpenStream(const std::vector<uint8_t>& stream, int64_t unpacked, bool on_disk = false) {
  return OpenPack(packbytes::PackFile(2, {Entry{"e", stream, unpacked}}), on_disk);
}

TEST_F(DamagedPack, DamagedStreamsFailTheRead) {
  BlockWriter good('a');
  good.Literals("bc").Match(9, 3);  // 12 bytes
  const std::vector<uint8_t> ok = packbytes::Stream(12, 64, {good.bytes});

  BlockWriter before('a');
  before.Literals("bc").Match(4, 4);  // offset 4 with only 3 bytes made
  BlockWriter too_long('a');
  too_long.Literals("bc").Match(10, 3);  // 13 bytes into a 12-byte block
  BlockWriter far_high('a');
  far_high.Literals("bc");
  far_high.Bit(1);
  far_high.Gamma(7);
  far_high.Gamma(1000);  // offset code far beyond the output
  far_high.bytes.push_back(0);
  BlockWriter endless('a');
  for (int i = 0; i < 200; ++i) endless.Bit(1);  // a length code that never ends
  const std::vector<uint8_t> truncated(ok.begin(), ok.end() - 1);
  std::vector<uint8_t> bad_magic = ok;
  bad_magic[3] = 'x';
  std::vector<uint8_t> no_block_length = packbytes::Stream(12, 0, {good.bytes});
  std::vector<uint8_t> negative_block = packbytes::Stream(12, -64, {good.bytes});
  std::vector<uint8_t> header_only = packbytes::Stream(12, 64, {});

  struct Case {
    const char* what;
    std::vector<uint8_t> stream;
    int64_t unpacked;
  } cases[] = {
      {"match before the output start", packbytes::Stream(7, 64, {before.bytes}), 7},
      {"output past the block length", packbytes::Stream(12, 64, {too_long.bytes}), 12},
      {"offset code beyond the output", packbytes::Stream(12, 64, {far_high.bytes}), 12},
      {"length code running off the data", packbytes::Stream(12, 64, {endless.bytes}), 12},
      {"block needing bytes past the stored data", truncated, 12},
      {"no blocks at all", header_only, 12},
      {"bad stream magic", bad_magic, 12},
      {"zero block length", no_block_length, 12},
      {"negative block length", negative_block, 12},
      {"stream shorter than the entry says", ok, 13},
      {"stream longer than the entry says", ok, 11},
      {"stream header cut short", std::vector<uint8_t>(ok.begin(), ok.begin() + 20), 12},
  };
  for (const Case& c : cases) for (bool on_disk : {true, false}) {
    SCOPED_TRACE(c.what);
    SCOPED_TRACE(on_disk ? "from the file" : "from memory");
    int pack = OpenStream(c.stream, c.unpacked, on_disk);
    ASSERT_NE(pack, 0);
    std::vector<uint8_t> buf(64, 0);
    EXPECT_EQ(pack_read_entry(pack, buf.data(), 64, "e"), -1);
    EXPECT_EQ(pack_extract_entry(pack, "damaged.out", "e"), -1);
    EXPECT_FALSE(file_exists("damaged.out"));
    pack_close(pack);
  }
  // The undamaged stream reads, so the cases above fail for their damage.
  for (bool on_disk : {true, false}) {
    int pack = OpenStream(ok, 12, on_disk);
    char buf[12];
    EXPECT_EQ(pack_read_entry(pack, buf, 12, "e"), 12);
    EXPECT_EQ(std::string(buf, 12), "abcabcabcabc");
    EXPECT_EQ(pack_extract_entry(pack, "damaged.out", "e"), 12);
    EXPECT_EQ(file_size("damaged.out"), 12);
    file_remove("damaged.out");
  }
}

TEST_F(DamagedPack, HugeClaimedSizesFailWithoutTakingTheMemory) {
  BlockWriter b('a');
  b.Literals("bc").Match(9, 3);
  const int64_t huge = int64_t{1} << 50;
  for (bool on_disk : {true, false}) {
    int pack = OpenStream(packbytes::Stream(huge, huge, {b.bytes}), huge, on_disk);
    ASSERT_NE(pack, 0);
    char buf[16];
    EXPECT_EQ(pack_read_entry(pack, buf, sizeof buf, "e"), -1);
    EXPECT_EQ(pack_extract_entry(pack, "huge.out", "e"), -1);
    EXPECT_FALSE(file_exists("huge.out"));
  }
}

}  // namespace
