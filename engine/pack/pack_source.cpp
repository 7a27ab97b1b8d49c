// The two places a data pack's bytes come from: its file, read a piece at a
// time with positioned reads, or bytes already in memory.
#include "engine/pack/pack_source.h"

#include <cstring>

#include "engine/pack/pack_archive.h"
#include "engine/system/file.h"

namespace {

// Whether [offset, offset + n) lies inside size bytes, without overflow.
bool inside(uint64_t offset, size_t n, uint64_t size) { return offset <= size && n <= size - offset; }

class FileSource : public PackSource {
 public:
  FileSource(int handle, uint64_t size) : handle_(handle) { size_ = size; }
  ~FileSource() override { file_close(handle_); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  bool read(uint64_t offset, void* dest, size_t n) override {
    if (!inside(offset, n, size_)) return false;
    return n == 0 || file_read_at(handle_, offset, dest, n);
  }

  const uint8_t* view(uint64_t offset, size_t n, std::vector<uint8_t>* scratch) override {
    if (!inside(offset, n, size_) || !pack_allocate(scratch, n)) return nullptr;
    return read(offset, scratch->data(), n) ? scratch->data() : nullptr;
  }

 private:
  int handle_;
};

class MemorySource : public PackSource {
 public:
  explicit MemorySource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) { size_ = bytes_.size(); }

  bool read(uint64_t offset, void* dest, size_t n) override {
    if (!inside(offset, n, size_)) return false;
    if (n > 0) std::memcpy(dest, bytes_.data() + offset, n);
    return true;
  }

  const uint8_t* view(uint64_t offset, size_t n, std::vector<uint8_t>* /*scratch*/) override {
    return inside(offset, n, size_) ? bytes_.data() + offset : nullptr;
  }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace

std::unique_ptr<PackSource> pack_source_file(const std::string& path) {
  int handle = file_open_read(path);
  if (handle == 0) return nullptr;
  int64_t size = file_open_size(handle);
  if (size < 0) {
    file_close(handle);
    return nullptr;
  }
  return std::make_unique<FileSource>(handle, static_cast<uint64_t>(size));
}

std::unique_ptr<PackSource> pack_source_memory(std::vector<uint8_t> bytes) {
  return std::make_unique<MemorySource>(std::move(bytes));
}
