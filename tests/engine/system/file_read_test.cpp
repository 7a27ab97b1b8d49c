// Files kept open for reading and read at any offset, as the data pack is.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/system/file.h"

namespace {

class FileRead : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = file_private_temp_folder() + "reading/";
    ASSERT_TRUE(folder_make(dir_));
    // Every byte value, several times over, so an offset mistake shows.
    for (int i = 0; i < 1000; ++i) bytes_.push_back(static_cast<uint8_t>((i * 7 + i / 256) & 0xFF));
    path_ = dir_ + "pack \xC3\xA9t\xC3\xA9.bin";
    ASSERT_TRUE(file_write(path_, bytes_.data(), bytes_.size()));
  }
  void TearDown() override { folder_remove_all(dir_); }

  std::vector<uint8_t> at(int handle, uint64_t offset, size_t size, bool* ok) {
    std::vector<uint8_t> out(size, 0xEE);
    *ok = file_read_at(handle, offset, out.data(), size);
    return out;
  }

  std::string dir_, path_;
  std::vector<uint8_t> bytes_;
};

TEST_F(FileRead, PiecesComeFromTheirOffsetInAnyOrder) {
  int h = file_open_read(path_);
  ASSERT_NE(h, 0);
  EXPECT_TRUE(file_is_open(h));
  EXPECT_EQ(file_open_size(h), 1000);
  bool ok = false;
  // Later piece first, then an earlier one, then the later one again: no
  // read position is carried from one read to the next.
  EXPECT_EQ(at(h, 600, 50, &ok), std::vector<uint8_t>(bytes_.begin() + 600, bytes_.begin() + 650));
  EXPECT_TRUE(ok);
  EXPECT_EQ(at(h, 3, 10, &ok), std::vector<uint8_t>(bytes_.begin() + 3, bytes_.begin() + 13));
  EXPECT_TRUE(ok);
  EXPECT_EQ(at(h, 600, 50, &ok), std::vector<uint8_t>(bytes_.begin() + 600, bytes_.begin() + 650));
  EXPECT_TRUE(ok);
  // The whole file, and a piece ending exactly at the end.
  EXPECT_EQ(at(h, 0, 1000, &ok), bytes_);
  EXPECT_TRUE(ok);
  EXPECT_EQ(at(h, 999, 1, &ok), std::vector<uint8_t>(1, bytes_[999]));
  EXPECT_TRUE(ok);
  // Nothing to read is a success anywhere inside or at the end.
  EXPECT_TRUE(file_read_at(h, 1000, nullptr, 0));
  file_close(h);
}

TEST_F(FileRead, ReadsPastTheEndFail) {
  int h = file_open_read(path_);
  ASSERT_NE(h, 0);
  bool ok = true;
  at(h, 990, 11, &ok);  // one byte short
  EXPECT_FALSE(ok);
  at(h, 1000, 1, &ok);
  EXPECT_FALSE(ok);
  at(h, 5000, 4, &ok);
  EXPECT_FALSE(ok);
  // Offsets so large that offset + size wraps, or pread's signed offset
  // would turn negative, must not come back round to the file's start.
  at(h, UINT64_MAX, 4, &ok);
  EXPECT_FALSE(ok);
  at(h, UINT64_MAX - 1, 4, &ok);
  EXPECT_FALSE(ok);
  at(h, uint64_t{1} << 63, 4, &ok);
  EXPECT_FALSE(ok);
  // A failed read leaves the handle usable.
  EXPECT_EQ(at(h, 0, 4, &ok), std::vector<uint8_t>(bytes_.begin(), bytes_.begin() + 4));
  EXPECT_TRUE(ok);
  file_close(h);
}

TEST_F(FileRead, OnlyRegularFilesOpenAndClosedHandlesRefuse) {
  EXPECT_EQ(file_open_read(dir_ + "missing.bin"), 0);
  EXPECT_EQ(file_open_read(dir_), 0);  // a folder
  EXPECT_EQ(file_open_read(""), 0);
  uint8_t b = 0;
  EXPECT_FALSE(file_read_at(0, 0, &b, 1));
  EXPECT_EQ(file_open_size(0), -1);

  int a = file_open_read(path_);
  int c = file_open_read(path_);  // the same file twice, independently
  ASSERT_NE(a, 0);
  ASSERT_NE(c, 0);
  EXPECT_NE(a, c);
  file_close(a);
  EXPECT_FALSE(file_is_open(a));
  EXPECT_FALSE(file_read_at(a, 0, &b, 1));
  EXPECT_EQ(file_open_size(a), -1);
  EXPECT_TRUE(file_read_at(c, 1, &b, 1));
  EXPECT_EQ(b, bytes_[1]);
  file_close(c);
}

TEST_F(FileRead, ReadHandlesDoNotWriteAndWriteHandlesDoNotRead) {
  int r = file_open_read(path_);
  ASSERT_NE(r, 0);
  EXPECT_FALSE(file_write_open(r, "xx", 2));
  file_close(r);
  std::vector<uint8_t> after;
  ASSERT_TRUE(file_read_all(path_, &after));
  EXPECT_EQ(after, bytes_);

  int w = file_open_write(dir_ + "log.txt");
  ASSERT_NE(w, 0);
  ASSERT_TRUE(file_write_open(w, "abcdef", 6));
  uint8_t b = 0;
  EXPECT_FALSE(file_read_at(w, 0, &b, 1));
  EXPECT_EQ(file_open_size(w), 6);  // the size is known for either kind
  file_close(w);
}

TEST_F(FileRead, SizeFollowsTheFileWhileOpen) {
  int r = file_open_read(path_);
  ASSERT_NE(r, 0);
  int w = file_open_write(dir_ + "growing");
  int g = file_open_read(dir_ + "growing");
  ASSERT_NE(w, 0);
  ASSERT_NE(g, 0);
  EXPECT_EQ(file_open_size(g), 0);
  uint8_t b = 0;
  EXPECT_FALSE(file_read_at(g, 0, &b, 1));
  ASSERT_TRUE(file_write_open(w, "hello", 5));
  EXPECT_EQ(file_open_size(g), 5);
  char got[5] = {};
  EXPECT_TRUE(file_read_at(g, 0, got, 5));
  EXPECT_EQ(std::string(got, 5), "hello");
  file_close(w);
  file_close(g);
  file_close(r);
}

}  // namespace
