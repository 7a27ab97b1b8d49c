// ZIP packs: archives written byte by byte here (stored entries, a folder,
// names differing in case, a UTF-8 name) and archives made by the engine's
// own ZIP writer.
#include <gtest/gtest.h>

#include "engine/pack/pack.h"
#include "engine/system/file.h"
#include "tests/engine/pack/pack_bytes.h"

namespace {

using packbytes::Put;

uint32_t Crc32(const std::string& s) {
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char ch : s) {
    c ^= ch;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

// A ZIP archive of stored (uncompressed) entries; names ending in "/" are
// folders.
std::vector<uint8_t> HandZip(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::vector<uint8_t> z, central;
  for (const auto& [name, data] : entries) {
    bool folder = !name.empty() && name.back() == '/';
    uint32_t crc = Crc32(data);
    uint32_t offset = static_cast<uint32_t>(z.size());
    Put(&z, 0x04034b50, 4);
    Put(&z, 20, 2);
    Put(&z, 0x0800, 2);  // names are UTF-8
    Put(&z, 0, 2);       // stored
    Put(&z, 0x6000, 2);  // 12:00
    Put(&z, 0x5821, 2);  // 2024-01-01
    Put(&z, crc, 4);
    Put(&z, data.size(), 4);
    Put(&z, data.size(), 4);
    Put(&z, name.size(), 2);
    Put(&z, 0, 2);
    z.insert(z.end(), name.begin(), name.end());
    z.insert(z.end(), data.begin(), data.end());

    Put(&central, 0x02014b50, 4);
    Put(&central, 20, 2);
    Put(&central, 20, 2);
    Put(&central, 0x0800, 2);
    Put(&central, 0, 2);
    Put(&central, 0x6000, 2);
    Put(&central, 0x5821, 2);
    Put(&central, crc, 4);
    Put(&central, data.size(), 4);
    Put(&central, data.size(), 4);
    Put(&central, name.size(), 2);
    Put(&central, 0, 2);
    Put(&central, 0, 2);
    Put(&central, 0, 2);
    Put(&central, 0, 2);
    Put(&central, folder ? 0x10 : 0x20, 4);
    Put(&central, offset, 4);
    central.insert(central.end(), name.begin(), name.end());
  }
  uint32_t cd_offset = static_cast<uint32_t>(z.size());
  z.insert(z.end(), central.begin(), central.end());
  Put(&z, 0x06054b50, 4);
  Put(&z, 0, 2);
  Put(&z, 0, 2);
  Put(&z, entries.size(), 2);
  Put(&z, entries.size(), 2);
  Put(&z, central.size(), 4);
  Put(&z, cd_offset, 4);
  Put(&z, 0, 2);
  return z;
}

class ZipPack : public ::testing::Test {
 protected:
  void SetUp() override {
    pack_register_formats();
    std::vector<uint8_t> z = HandZip({{"flags/", ""},
                                      {"en_GB.language", "[Strings]\ntMenuSTART=Start\n"},
                                      {"EN_GB.language", "upper-case twin"},
                                      {"flags/en_GB.flag", "flag bytes"},
                                      {"fran\xC3\xA7" "ais.language", "utf-8 name"}});
    ASSERT_TRUE(file_write("lang.pack", z.data(), z.size()));
  }
  void TearDown() override { pack_shutdown(); }

  struct Listed {
    std::string name;
    int kind;
    int64_t size;
    bool operator==(const Listed& o) const { return name == o.name && kind == o.kind && size == o.size; }
  };
  std::vector<Listed> List(int pack) {
    std::vector<Listed> all;
    EXPECT_NE(pack_list_begin(pack), 0);
    while (pack_list_next(pack))
      all.push_back({pack_entry_name(pack), pack_entry_kind(pack), pack_entry_size(pack, 0)});
    return all;
  }
  std::string Read(int pack, const std::string& name, int64_t capacity = 100) {
    std::vector<char> buf(static_cast<size_t>(capacity) + 1);
    int64_t n = pack_read_entry(pack, buf.data(), capacity, name);
    return n < 0 ? "<failed>" : std::string(buf.data(), static_cast<size_t>(n));
  }
};

TEST_F(ZipPack, ListingTwiceGivesTheSameEntriesInOrder) {
  int pack = pack_open(-1, "lang.pack", kPackFormatZip);
  ASSERT_NE(pack, 0);
  const std::vector<Listed> expect = {{"flags/", 1, 0},
                                      {"en_GB.language", 0, 27},
                                      {"EN_GB.language", 0, 15},
                                      {"flags/en_GB.flag", 0, 10},
                                      {"fran\xC3\xA7" "ais.language", 0, 10}};
  EXPECT_EQ(List(pack), expect);
  EXPECT_EQ(List(pack), expect);
  EXPECT_EQ(pack_entry_kind(pack), kPackEntryNone);
  EXPECT_EQ(pack_entry_size(pack, 0), -1);
  // A listing stopped half-way starts over too.
  pack_list_begin(pack);
  pack_list_next(pack);
  pack_list_next(pack);
  EXPECT_EQ(List(pack), expect);
}

TEST_F(ZipPack, EntriesReadByExactNameOrAsTheCurrentEntry) {
  int pack = pack_open(-1, "lang.pack", kPackFormatZip);
  ASSERT_NE(pack, 0);
  EXPECT_EQ(Read(pack, "EN_GB.language"), "upper-case twin");
  EXPECT_EQ(Read(pack, "en_GB.language"), "[Strings]\ntMenuSTART=Start\n");  // after a later entry
  EXPECT_EQ(Read(pack, "fran\xC3\xA7" "ais.language"), "utf-8 name");
  EXPECT_EQ(Read(pack, "En_gb.language"), "<failed>");
  EXPECT_EQ(Read(pack, "flags/"), "<failed>");  // a folder has no data
  EXPECT_EQ(Read(pack, "flags/en_GB.flag", 4), "flag");  // at most the capacity

  pack_list_begin(pack);
  pack_list_next(pack);
  EXPECT_EQ(Read(pack, ""), "<failed>");  // the current entry is the folder
  pack_list_next(pack);
  EXPECT_EQ(Read(pack, ""), "[Strings]\ntMenuSTART=Start\n");
  EXPECT_EQ(Read(pack, ""), "[Strings]\ntMenuSTART=Start\n");  // again: same bytes
  pack_list_next(pack);
  EXPECT_EQ(pack_entry_name(pack), "EN_GB.language");  // the listing went on
  EXPECT_EQ(Read(pack, ""), "upper-case twin");

  // A lookup by name rewinds the reader and ends the listing.
  EXPECT_EQ(Read(pack, "flags/en_GB.flag"), "flag bytes");
  EXPECT_EQ(pack_entry_kind(pack), kPackEntryNone);
  EXPECT_EQ(Read(pack, ""), "<failed>");
}

TEST_F(ZipPack, ExtractCopiesTheEntryToAFile) {
  int pack = pack_open(-1, "lang.pack", kPackFormatZip);
  ASSERT_NE(pack, 0);
  EXPECT_EQ(pack_extract_entry(pack, "out.language", "en_GB.language"), 27);
  std::vector<uint8_t> got;
  ASSERT_TRUE(file_read_all("out.language", &got));
  EXPECT_EQ(std::string(got.begin(), got.end()), "[Strings]\ntMenuSTART=Start\n");
  EXPECT_EQ(pack_extract_entry(pack, "none.out", "missing.language"), -1);
  EXPECT_EQ(pack_extract_entry(pack, "dir.out", "flags/"), -1);
  EXPECT_FALSE(file_exists("none.out"));
  EXPECT_FALSE(file_exists("dir.out"));
  EXPECT_EQ(pack_extract_entry(pack, "no/such/folder/out", "en_GB.language"), -1);
}

// Written by Python's zipfile to a pipe: every entry's sizes and checksum
// follow its data (a data descriptor), and the third entry is LZMA-packed,
// as archivers other than ours may write them.
const char kStreamedZipHex[] =
    "504b0304140008000000006021580000000000000000000000000a000000"
    "73746f7265642e74787473746f7265642c2073697a657320616674657220"
    "7468652064617461504b0708aa9a15901c0000001c000000504b03041400"
    "08000800006021580000000000000000000000000c0000006465666c6174"
    "65642e7478744b494dcb492c494d5148c1c90000504b0708824f36200e00"
    "000023000000504b03043f000a000e000060215800000000000000000000"
    "0000080000006c7a6d612e747874090405005d0000800000361e89dd7d4e"
    "29bbd60b6bffffb4480000504b070828fd4a901b00000022000000504b01"
    "02140314000800000000602158aa9a15901c0000001c0000000a00000000"
    "00000000000000a4010000000073746f7265642e747874504b0102140314"
    "000800080000602158824f36200e000000230000000c0000000000000000"
    "000000a401540000006465666c617465642e747874504b01023f033f000a"
    "000e000060215828fd4a901b000000220000000800000000000000000000"
    "00a4019c0000006c7a6d612e747874504b05060000000003000300a80000"
    "00ed0000000000";

TEST_F(ZipPack, EntriesWithSizesAfterTheDataAndLzmaEntriesRead) {
  std::vector<uint8_t> z;
  for (const char* p = kStreamedZipHex; p[0] && p[1]; p += 2)
    z.push_back(static_cast<uint8_t>(std::stoi(std::string(p, 2), nullptr, 16)));
  ASSERT_TRUE(file_write("streamed.zip", z.data(), z.size()));
  int pack = pack_open(-1, "streamed.zip", kPackFormatZip);
  ASSERT_NE(pack, 0);
  EXPECT_EQ(List(pack), (std::vector<Listed>{{"stored.txt", 0, 28}, {"deflated.txt", 0, 35}, {"lzma.txt", 0, 34}}));
  EXPECT_EQ(Read(pack, "lzma.txt"), "lzma lzma lzma lzma lzma lzma lzma");
  EXPECT_EQ(Read(pack, "stored.txt"), "stored, sizes after the data");
  EXPECT_EQ(Read(pack, "deflated.txt"), "deflated deflated deflated deflated");
  EXPECT_EQ(pack_extract_entry(pack, "lzma.out", "lzma.txt"), 34);
  EXPECT_EQ(file_size("lzma.out"), 34);
  pack_close(pack);
}

TEST_F(ZipPack, FilesThatAreNotZipArchivesDoNotOpen) {
  EXPECT_EQ(pack_open(-1, "missing.pack", kPackFormatZip), 0);
  ASSERT_TRUE(folder_make("zip-folder.pack/"));
  EXPECT_EQ(pack_open(-1, "zip-folder.pack", kPackFormatZip), 0);
  std::vector<uint8_t> z = HandZip({{"a.language", "text"}});
  const std::vector<std::vector<uint8_t>> bad = {
      {},
      {'2', 'z', 'l', 'p', 0, 0, 0, 0},
      std::vector<uint8_t>(z.begin(), z.begin() + 30),  // cut before its directory
      packbytes::SampleNoise(5000, 5),
  };
  for (const auto& bytes : bad) {
    ASSERT_TRUE(file_write("bad.zip", bytes.data(), bytes.size()));
    int pack = pack_open(-1, "bad.zip", kPackFormatZip);
    if (pack != 0) {
      // Whatever libarchive makes of it, nothing reads as an entry.
      EXPECT_EQ(pack_list_next(pack), 0);
      pack_close(pack);
    }
    EXPECT_EQ(pack, 0);
  }
}

TEST_F(ZipPack, TheZipWriterMakesTheSameArchiveEveryTime) {
  std::string text = packbytes::SampleText(20000);
  for (const char* out : {"made1.zip", "made2.zip"}) {
    int w = pack_create(-1, out, kPackFormatZip);
    ASSERT_NE(w, 0);
    EXPECT_TRUE(pack_add_memory(w, "en_GB.language", text.data(), text.size()));
    EXPECT_TRUE(pack_add_memory(w, "\xC3\xA9t\xC3\xA9.flag", "x", 1));
    EXPECT_TRUE(pack_add_memory(w, "empty.language", nullptr, 0));
    EXPECT_FALSE(pack_add_memory(w, "", "x", 1));
    EXPECT_TRUE(pack_finish(w));
  }
  std::vector<uint8_t> a, b;
  ASSERT_TRUE(file_read_all("made1.zip", &a));
  ASSERT_TRUE(file_read_all("made2.zip", &b));
  EXPECT_TRUE(a == b);
  EXPECT_LT(a.size(), text.size() / 2);  // the text was deflated

  int pack = pack_open(-1, "made1.zip", kPackFormatZip);
  ASSERT_NE(pack, 0);
  EXPECT_EQ(List(pack), (std::vector<Listed>{{"en_GB.language", 0, 20000},
                                             {"\xC3\xA9t\xC3\xA9.flag", 0, 1},
                                             {"empty.language", 0, 0}}));
  EXPECT_EQ(Read(pack, "en_GB.language", 30000), text);
  EXPECT_EQ(Read(pack, "\xC3\xA9t\xC3\xA9.flag"), "x");
  EXPECT_EQ(Read(pack, "empty.language"), "");
}

}  // namespace
