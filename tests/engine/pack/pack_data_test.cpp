// The data pack reader against packs built byte by byte: both header
// versions, raw and packed entries, lookups, listing and extraction.
#include <gtest/gtest.h>

#include "engine/pack/pack.h"
#include "engine/system/file.h"
#include "engine/system/objects.h"
#include "tests/engine/pack/pack_bytes.h"

namespace {

using packbytes::BlockWriter;
using packbytes::Entry;

std::string Str(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

class DataPack : public ::testing::Test {
 protected:
  void SetUp() override { pack_register_formats(); }
  void TearDown() override { pack_shutdown(); }

  int OpenBytes(const std::vector<uint8_t>& bytes, const std::string& file = "test.pack") {
    EXPECT_TRUE(file_write(file, bytes.data(), bytes.size()));
    return pack_open(-1, file, kPackFormatData);
  }

  // Reads a whole entry with exactly its size as capacity.
  std::string Read(int pack, const std::string& name, int64_t size) {
    std::vector<uint8_t> buf(static_cast<size_t>(size) + 1, 0);
    int64_t n = pack_read_entry(pack, buf.data(), size, name);
    if (n < 0) return "<failed>";
    return std::string(buf.begin(), buf.begin() + n);
  }
};

// "abc" then a match that overlaps what it copies: "abcabcabcabc".
Entry OverlappingEntry(const std::string& name) {
  BlockWriter b('a');
  b.Literals("bc").Match(9, 3);
  return Entry{name, packbytes::Stream(12, 262144, {b.bytes}), 12};
}

// 300 bytes of noise as literals, then a match from beyond the first 256
// bytes back (offset code above its minimum).
Entry FarMatchEntry(const std::string& name, std::string* content) {
  std::vector<uint8_t> noise = packbytes::SampleNoise(300, 7);
  BlockWriter b(noise[0]);
  for (size_t i = 1; i < noise.size(); ++i) b.Literal(noise[i]);
  b.Match(6, 290);
  *content = Str(noise) + Str(noise).substr(10, 6);
  return Entry{name, packbytes::Stream(306, 262144, {b.bytes}), 306};
}

std::vector<Entry> SampleEntries(std::string* far_content) {
  return {
      packbytes::Raw("title.png", "\x89PNG raw picture bytes"),
      OverlappingEntry("Music.ogg"),
      packbytes::Raw("music.ogg", "lower-case twin"),
      // Raw although its bytes look like a packed stream.
      packbytes::Raw("fake.bin", std::string("1zlb\0\0\0\0garbage-garbage-garbage", 31)),
      FarMatchEntry("far.bin", far_content),
      packbytes::Raw("title.png", "second of the same name"),
      packbytes::Raw("empty", ""),
  };
}

TEST_F(DataPack, BothVersionsReadTheSameEntriesByExactName) {
  std::string far;
  const std::vector<Entry> entries = SampleEntries(&far);
  for (int version : {2, 1}) {
    SCOPED_TRACE(version);
    int pack = OpenBytes(packbytes::PackFile(version, entries));
    ASSERT_NE(pack, 0);
    EXPECT_EQ(Read(pack, "title.png", 22), "\x89PNG raw picture bytes");  // the first of two
    EXPECT_EQ(Read(pack, "Music.ogg", 12), "abcabcabcabc");
    EXPECT_EQ(Read(pack, "music.ogg", 15), "lower-case twin");
    EXPECT_EQ(Read(pack, "fake.bin", 31), std::string("1zlb\0\0\0\0garbage-garbage-garbage", 31));
    EXPECT_EQ(Read(pack, "far.bin", 306), far);
    EXPECT_EQ(Read(pack, "empty", 0), "");
    EXPECT_EQ(Read(pack, "MUSIC.OGG", 100), "<failed>");
    EXPECT_EQ(Read(pack, "title", 100), "<failed>");
    EXPECT_EQ(pack_unindexed_bytes(pack), 0);

    std::vector<std::string> names;
    std::vector<int64_t> unpacked, stored;
    EXPECT_NE(pack_list_begin(pack), 0);
    while (pack_list_next(pack)) {
      EXPECT_EQ(pack_entry_kind(pack), kPackEntryFile);
      names.push_back(pack_entry_name(pack));
      unpacked.push_back(pack_entry_size(pack, 0));
      stored.push_back(pack_entry_size(pack, 1));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"title.png", "Music.ogg", "music.ogg", "fake.bin",
                                               "far.bin", "title.png", "empty"}));
    EXPECT_EQ(unpacked, (std::vector<int64_t>{22, 12, 15, 31, 306, 23, 0}));
    EXPECT_EQ(stored[1], static_cast<int64_t>(entries[1].stored.size()));
    EXPECT_EQ(stored[0], 22);
    pack_close(pack);
  }
}

TEST_F(DataPack, CapacityMustHoldTheWholeEntryAndNothingPastItIsTouched) {
  std::string far;
  int pack = OpenBytes(packbytes::PackFile(2, SampleEntries(&far)));
  ASSERT_NE(pack, 0);
  std::vector<uint8_t> buf(400, 0xEE);
  EXPECT_EQ(pack_read_entry(pack, buf.data(), 21, "title.png"), -1);  // raw, one short
  EXPECT_EQ(pack_read_entry(pack, buf.data(), 11, "Music.ogg"), -1);  // packed, one short
  EXPECT_EQ(pack_read_entry(pack, buf.data(), 305, "far.bin"), -1);
  buf.assign(400, 0xEE);
  EXPECT_EQ(pack_read_entry(pack, buf.data(), 400, "Music.ogg"), 12);
  EXPECT_EQ(Str(buf).substr(0, 12), "abcabcabcabc");
  for (size_t i = 12; i < buf.size(); ++i) ASSERT_EQ(buf[i], 0xEE) << i;
  EXPECT_EQ(pack_read_entry(pack, buf.data(), 400, "far.bin"), 306);
  for (size_t i = 306; i < buf.size(); ++i) ASSERT_EQ(buf[i], 0xEE) << i;
  EXPECT_EQ(pack_read_entry(pack, nullptr, 0, "empty"), 0);
}

TEST_F(DataPack, StreamsOfSeveralBlocksStartEachBlockAfresh) {
  // Three blocks of 16 bytes (an exact multiple: no empty last block); each
  // starts with a plain byte and its own tag words.
  std::vector<std::vector<uint8_t>> blocks;
  std::string expect;
  for (char c : std::string("xyz")) {
    BlockWriter b(static_cast<uint8_t>(c));
    b.Literals("-+").Match(13, 3);
    blocks.push_back(b.bytes);
    std::string s = std::string(1, c) + "-+";
    while (s.size() < 16) s += s[s.size() - 3];
    expect += s;
  }
  std::vector<uint8_t> stream = packbytes::Stream(48, 16, blocks);
  // And a last block of the remainder: 40 = 16 + 16 + 8.
  BlockWriter tail('q');
  tail.Literals("rs").Match(5, 3);
  std::vector<uint8_t> stream40 = packbytes::Stream(40, 16, {blocks[0], blocks[1], tail.bytes});
  int pack = OpenBytes(packbytes::PackFile(2, {Entry{"three", stream, 48}, Entry{"short", stream40, 40}}));
  ASSERT_NE(pack, 0);
  EXPECT_EQ(Read(pack, "three", 48), expect);
  EXPECT_EQ(Read(pack, "short", 40), expect.substr(0, 32) + "qrsqrsqr");

  // A match in the second block may not reach back into the first.
  BlockWriter reach('y');
  reach.Literals("-+").Match(13, 18);
  std::vector<uint8_t> bad = packbytes::Stream(32, 16, {blocks[0], reach.bytes});
  int pack2 = OpenBytes(packbytes::PackFile(2, {Entry{"reach", bad, 32}}), "reach.pack");
  EXPECT_EQ(Read(pack2, "reach", 32), "<failed>");
}

TEST_F(DataPack, ListingKeepsItsPlaceAcrossLookupsAndEndsCleanly) {
  std::string far;
  int pack = OpenBytes(packbytes::PackFile(2, SampleEntries(&far)));
  ASSERT_NE(pack, 0);
  // Before any listing there is no current entry.
  EXPECT_EQ(pack_entry_kind(pack), kPackEntryNone);
  EXPECT_EQ(pack_entry_size(pack, 0), -1);
  EXPECT_EQ(pack_read_entry(pack, nullptr, 0, ""), -1);

  ASSERT_NE(pack_list_begin(pack), 0);
  ASSERT_NE(pack_list_next(pack), 0);
  ASSERT_NE(pack_list_next(pack), 0);
  EXPECT_EQ(pack_entry_name(pack), "Music.ogg");
  EXPECT_EQ(Read(pack, "far.bin", 306), far);  // a lookup by name ...
  EXPECT_EQ(pack_entry_name(pack), "Music.ogg");  // ... leaves the listing alone
  EXPECT_EQ(Read(pack, "", 12), "abcabcabcabc");  // empty name: the current entry
  EXPECT_EQ(pack_entry_size(pack, 2), -1);

  int more = 0;
  while (pack_list_next(pack)) ++more;
  EXPECT_EQ(more, 5);
  EXPECT_EQ(pack_entry_kind(pack), kPackEntryNone);
  EXPECT_EQ(pack_entry_name(pack), "");
  EXPECT_EQ(pack_list_next(pack), 0);  // stays at the end
  EXPECT_EQ(Read(pack, "", 0), "<failed>");

  ASSERT_NE(pack_list_begin(pack), 0);  // starts over
  ASSERT_NE(pack_list_next(pack), 0);
  EXPECT_EQ(pack_entry_name(pack), "title.png");
}

TEST_F(DataPack, AnEmptyPackListsNothing) {
  int pack = OpenBytes({'2', 'z', 'l', 'p'});
  ASSERT_NE(pack, 0);
  EXPECT_NE(pack_list_begin(pack), 0);
  EXPECT_EQ(pack_list_next(pack), 0);
  EXPECT_EQ(Read(pack, "anything", 10), "<failed>");
  EXPECT_EQ(pack_unindexed_bytes(pack), 0);
}

TEST_F(DataPack, ExtractWritesTheEntryOrLeavesNoFile) {
  std::string far;
  int pack = OpenBytes(packbytes::PackFile(1, SampleEntries(&far)));
  ASSERT_NE(pack, 0);
  std::vector<uint8_t> got;
  EXPECT_EQ(pack_extract_entry(pack, "far.out", "far.bin"), 306);
  ASSERT_TRUE(file_read_all("far.out", &got));
  EXPECT_EQ(Str(got), far);
  EXPECT_EQ(pack_extract_entry(pack, "empty.out", "empty"), 0);
  EXPECT_EQ(file_size("empty.out"), 0);
  EXPECT_EQ(pack_extract_entry(pack, "missing.out", "nope"), -1);
  EXPECT_FALSE(file_exists("missing.out"));
  EXPECT_EQ(pack_extract_entry(pack, "no/such/folder/x.out", "far.bin"), -1);
  pack_list_begin(pack);
  pack_list_next(pack);
  EXPECT_EQ(pack_extract_entry(pack, "current.out", ""), 22);
  ASSERT_TRUE(file_read_all("current.out", &got));
  EXPECT_EQ(Str(got), "\x89PNG raw picture bytes");
}

TEST_F(DataPack, NumbersHandlesAndTheRegistryFollowTheObjectRules) {
  std::vector<uint8_t> a = packbytes::PackFile(2, {packbytes::Raw("who", "first pack")});
  std::vector<uint8_t> b = packbytes::PackFile(2, {packbytes::Raw("who", "second pack")});
  ASSERT_TRUE(file_write("a.pack", a.data(), a.size()));
  ASSERT_TRUE(file_write("b.pack", b.data(), b.size()));

  EXPECT_EQ(pack_open(0, "a.pack", kPackFormatData), 1);  // number 0 still reports success
  EXPECT_EQ(Read(0, "who", 10), "first pack");
  EXPECT_EQ(pack_open(0, "b.pack", kPackFormatData), 1);  // replaces the pack under 0
  EXPECT_EQ(Read(0, "who", 11), "second pack");
  EXPECT_EQ(pack_open(0, "missing.pack", kPackFormatData), 0);
  EXPECT_EQ(Read(0, "who", 11), "<failed>");  // the old one was freed all the same

  int h1 = pack_open(-1, "a.pack", kPackFormatData);
  int h2 = pack_open(-1, "b.pack", kPackFormatData);
  EXPECT_GE(h1, kObjectHandleBase);
  EXPECT_NE(h1, h2);
  EXPECT_EQ(Read(h2, "who", 11), "second pack");
  pack_close(h2);
  EXPECT_EQ(Read(h2, "who", 11), "<failed>");
  EXPECT_EQ(pack_open(5, "a.pack", kPackFormatData), 5);
  pack_close(-1);
  EXPECT_EQ(Read(h1, "who", 10), "<failed>");
  EXPECT_EQ(Read(5, "who", 10), "<failed>");
  EXPECT_EQ(pack_list_begin(h1), 0);
  EXPECT_EQ(pack_entry_name(12345), "");

  // A pack being written is not readable, and a reading pack takes no entries.
  int w = pack_create(-1, "w.pack", kPackFormatData);
  ASSERT_NE(w, 0);
  EXPECT_EQ(pack_list_begin(w), 0);
  int r = pack_open(-1, "a.pack", kPackFormatData);
  EXPECT_FALSE(pack_add_memory(r, "x", "y", 1));
  EXPECT_FALSE(pack_finish(r));
  pack_close(w);  // not finished: nothing written
  EXPECT_FALSE(file_exists("w.pack"));

  EXPECT_EQ(pack_open(-1, "a.pack", 2), 0);  // never registered
  pack_shutdown();
  EXPECT_EQ(pack_open(-1, "a.pack", kPackFormatData), 0);  // registry emptied
}

}  // namespace
