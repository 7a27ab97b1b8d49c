// What the file tests share: a fresh folder of their own in the process's
// private temporary folder, removed after each test, and reading a file
// back as text.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/system/file.h"

// The whole file as text, or "<unreadable>".
inline std::string read_text(const std::string& path) {
  std::vector<uint8_t> data;
  if (!file_read_all(path, &data)) return "<unreadable>";
  return std::string(data.begin(), data.end());
}

// A test whose dir_ is an empty folder named name (ending in the separator)
// under the private temporary folder.
class ScratchFolderTest : public ::testing::Test {
 protected:
  explicit ScratchFolderTest(std::string name) : name_(std::move(name)) {}
  void SetUp() override {
    const std::string& tmp = file_private_temp_folder();
    ASSERT_FALSE(tmp.empty());
    dir_ = tmp + name_;
    folder_remove_all(dir_);
    ASSERT_TRUE(folder_make(dir_));
  }
  void TearDown() override {
    // An empty path would name the working folder.
    if (!dir_.empty()) folder_remove_all(dir_);
  }
  std::string dir_;

 private:
  std::string name_;
};
