// A data pack opened from its file keeps the file open and reads each entry
// from it when asked: what the file holds at that moment is what is read,
// and a file that changed under the pack gives clean failures.
#include <gtest/gtest.h>

#include "engine/pack/pack.h"
#include "engine/system/file.h"
#include "tests/engine/pack/pack_bytes.h"

namespace {

using packbytes::BlockWriter;
using packbytes::Entry;

class PackOnDisk : public ::testing::Test {
 protected:
  void SetUp() override { pack_register_formats(); }
  void TearDown() override { pack_shutdown(); }

  std::string Read(int pack, const std::string& name, int64_t capacity) {
    std::vector<uint8_t> buf(static_cast<size_t>(capacity), 0);
    int64_t n = pack_read_entry(pack, buf.data(), capacity, name);
    return n < 0 ? "<failed>" : std::string(buf.begin(), buf.begin() + n);
  }
};

// "a" raw, "p" packed ("abcabcabcabc"), "z" raw.
std::vector<uint8_t> ThreeEntries() {
  BlockWriter b('a');
  b.Literals("bc").Match(9, 3);
  return packbytes::PackFile(2, {packbytes::Raw("a", "first"), Entry{"p", packbytes::Stream(12, 64, {b.bytes}), 12},
                                 packbytes::Raw("z", "last entry")});
}

TEST_F(PackOnDisk, EntriesAreReadFromTheFileWhenAskedFor) {
  std::vector<uint8_t> f = ThreeEntries();
  ASSERT_TRUE(file_write("disk.pack", f.data(), f.size()));
  int pack = pack_open(-1, "disk.pack", kPackFormatData);
  ASSERT_NE(pack, 0);
  EXPECT_EQ(Read(pack, "z", 20), "last entry");  // builds the index

  // Same size, other bytes in the last entry's data: the next read sees
  // them, so nothing of the entry was kept from before.
  std::vector<uint8_t> changed = f;
  const std::string other = "LAST ENTRY";
  std::copy(other.begin(), other.end(), changed.end() - 10);
  ASSERT_TRUE(file_write("disk.pack", changed.data(), changed.size()));
  EXPECT_EQ(Read(pack, "z", 20), "LAST ENTRY");
  EXPECT_EQ(Read(pack, "p", 12), "abcabcabcabc");
  EXPECT_EQ(Read(pack, "a", 5), "first");
  pack_close(pack);
}

TEST_F(PackOnDisk, AFileCutShortAfterOpeningFailsTheEntriesPastTheCut) {
  std::vector<uint8_t> f = ThreeEntries();
  // The index read whole, then the file loses the end of the packed entry
  // and everything after it.
  const size_t packed_end = f.size() - (18 + 1 + 10);
  ASSERT_TRUE(file_write("cut.pack", f.data(), f.size()));
  int pack = pack_open(-1, "cut.pack", kPackFormatData);
  ASSERT_NE(pack, 0);
  EXPECT_EQ(pack_unindexed_bytes(pack), 0);
  ASSERT_TRUE(file_write("cut.pack", f.data(), packed_end - 3));
  EXPECT_EQ(Read(pack, "a", 5), "first");
  EXPECT_EQ(Read(pack, "p", 12), "<failed>");
  EXPECT_EQ(Read(pack, "z", 20), "<failed>");
  file_remove("cut.out");
  EXPECT_EQ(pack_extract_entry(pack, "cut.out", "z"), -1);
  EXPECT_FALSE(file_exists("cut.out"));
  pack_close(pack);

  // Cut before the index is built: it ends at the last whole entry, as for
  // a pack that was always that short.
  ASSERT_TRUE(file_write("cut.pack", f.data(), f.size()));
  pack = pack_open(-1, "cut.pack", kPackFormatData);
  ASSERT_NE(pack, 0);
  ASSERT_TRUE(file_write("cut.pack", f.data(), packed_end - 3));
  EXPECT_EQ(Read(pack, "a", 5), "first");
  EXPECT_EQ(Read(pack, "p", 12), "<failed>");
  EXPECT_EQ(Read(pack, "z", 20), "<failed>");
  pack_close(pack);
}

// The process's open files, where the system lists them (Linux); -1 elsewhere.
// A Windows build run under Wine would see Wine's own Unix descriptors there,
// which come and go with Wine's handle cache, not with the packs.
int OpenFiles() {
#ifdef _WIN32
  return -1;
#endif
  if (!folder_exists("/proc/self/fd/")) return -1;
  return static_cast<int>(folder_list("/proc/self/fd/").size());
}

TEST_F(PackOnDisk, AnOpenPackHoldsOneFileAndClosingItLetsItGo) {
  const int before = OpenFiles();
  if (before < 0) GTEST_SKIP() << "no list of open files on this system";
  std::vector<uint8_t> f = ThreeEntries();
  ASSERT_TRUE(file_write("closing.pack", f.data(), f.size()));
  int a = pack_open(-1, "closing.pack", kPackFormatData);
  int b = pack_open(7, "closing.pack", kPackFormatData);
  ASSERT_NE(a, 0);
  ASSERT_NE(b, 0);
  EXPECT_EQ(OpenFiles(), before + 2);
  EXPECT_EQ(Read(a, "a", 5), "first");  // reads open nothing more
  EXPECT_EQ(Read(7, "p", 12), "abcabcabcabc");
  EXPECT_EQ(OpenFiles(), before + 2);
  pack_close(a);
  EXPECT_EQ(OpenFiles(), before + 1);
  ASSERT_NE(pack_open(7, "closing.pack", kPackFormatData), 0);  // replaces the pack under 7
  EXPECT_EQ(OpenFiles(), before + 1);
  // Files that are not packs are not left open either.
  ASSERT_TRUE(file_write("notapack.pack", "PK\3\4", 4));
  EXPECT_EQ(pack_open(-1, "notapack.pack", kPackFormatData), 0);
  EXPECT_EQ(OpenFiles(), before + 1);
  pack_close(-1);
  EXPECT_EQ(OpenFiles(), before);
}

}  // namespace
