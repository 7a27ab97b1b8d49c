// Private to engine/pack: where a reading data pack gets its bytes. A pack
// on disk keeps only its open file and reads each piece when it is asked
// for; a pack given as bytes (the fuzzer, the tools) reads from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class PackSource {
 public:
  virtual ~PackSource() = default;

  // Size of the pack in bytes, as it was when opened.
  uint64_t size() const { return size_; }

  // Copies bytes [offset, offset + n) to dest. False when they are not all
  // there (past the end, a read error, a file that has shrunk).
  virtual bool read(uint64_t offset, void* dest, size_t n) = 0;

  // The bytes [offset, offset + n): a pointer into the source when it holds
  // them, else into *scratch after reading them there. nullptr on failure,
  // including no memory for scratch.
  virtual const uint8_t* view(uint64_t offset, size_t n, std::vector<uint8_t>* scratch) = 0;

 protected:
  uint64_t size_ = 0;
};

// The file at path, kept open for reading; nullptr when it cannot be opened.
std::unique_ptr<PackSource> pack_source_file(const std::string& path);

// Bytes handed over whole.
std::unique_ptr<PackSource> pack_source_memory(std::vector<uint8_t> bytes);
