// Private to engine/pack: the operations every archive format supplies, and
// the formats built into the engine. pack.cpp owns the registry and the
// table of open packs and forwards each public operation here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One open pack of some format. Reading packs implement the first group,
// packs being written the second; the defaults fail.
class PackArchive {
 public:
  virtual ~PackArchive() = default;

  virtual int64_t read_entry(void* /*dest*/, int64_t /*capacity*/, const std::string& /*name*/) {
    return -1;
  }
  virtual int64_t extract_entry(const std::string& /*dest_path*/, const std::string& /*name*/) {
    return -1;
  }
  virtual bool list_begin() { return false; }
  virtual bool list_next() { return false; }
  virtual std::string entry_name() { return {}; }
  virtual int entry_kind() { return -1; }
  virtual int64_t entry_size(int /*which*/) { return -1; }
  virtual int64_t unindexed_bytes() { return -1; }

  virtual bool add_memory(const std::string& /*name*/, const void* /*data*/, size_t /*size*/) {
    return false;
  }
  virtual bool finish() { return false; }
};

// A format's entry points; any of them may be null when the format cannot
// do that.
struct PackFormat {
  std::unique_ptr<PackArchive> (*open)(const std::string& path);
  std::unique_ptr<PackArchive> (*open_memory)(std::vector<uint8_t> bytes);
  std::unique_ptr<PackArchive> (*create)(const std::string& path, int level);
};

// The engine's own block-packed archive (format 4).
PackFormat pack_data_format();

// ZIP archives through libarchive (format 1).
PackFormat pack_zip_format();

// Buffers for whole entries: empty (false) when the memory cannot be had,
// instead of an exception.
bool pack_allocate(std::vector<uint8_t>* buf, size_t size);
