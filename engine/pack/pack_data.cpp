// The engine's own archive (format 4): a magic, then entries back to back,
// each a small header, a name and the stored data, raw or as a packed block
// stream. An open pack keeps only its index: each entry is read from the
// pack's source when it is asked for, so a picture's stored bytes are in
// memory only while that picture is unpacked.
#include <algorithm>

#include "engine/pack/block_codec.h"
#include "engine/pack/pack.h"
#include "engine/pack/pack_archive.h"
#include "engine/pack/pack_source.h"
#include "engine/system/bytes.h"
#include "engine/system/file.h"

namespace {

constexpr size_t kHeaderV2 = 18;  // unpacked, stored, 16-bit name length
constexpr size_t kHeaderV1 = 24;  // unpacked, stored, 32-bit name length, 4 unused
constexpr size_t kIndexGrowth = 64;

struct IndexEntry {
  int64_t unpacked;
  int64_t stored;
  uint64_t offset;  // of the stored data
  std::string name;
};

class DataPackReader : public PackArchive {
 public:
  DataPackReader(std::unique_ptr<PackSource> source, size_t header_size)
      : source_(std::move(source)), header_size_(header_size) {}

  int64_t read_entry(void* dest, int64_t capacity, const std::string& name) override {
    const IndexEntry* e = find(name);
    return e ? read_into(*e, static_cast<uint8_t*>(dest), capacity) : -1;
  }

  int64_t extract_entry(const std::string& dest_path, const std::string& name) override {
    const IndexEntry* e = find(name);
    if (!e || e->unpacked > kPackMaxExtractSize) return -1;
    // A packed entry whose stream disagrees with the header fails before
    // any memory is taken for it: only the stream header is read for that.
    if (e->stored != e->unpacked) {
      std::vector<uint8_t> scratch;
      size_t head = static_cast<size_t>(std::min<int64_t>(e->stored, kPackStreamHeaderSize));
      const uint8_t* h = source_->view(e->offset, head, &scratch);
      if (!h || pack_stream_length(h, head) != e->unpacked) return -1;
    }
    std::vector<uint8_t> buf;
    if (!pack_allocate(&buf, static_cast<size_t>(e->unpacked))) return -1;
    int64_t n = read_into(*e, buf.data(), e->unpacked);
    if (n < 0) return -1;
    if (!file_write(dest_path, buf.data(), buf.size())) {
      file_remove(dest_path);
      return -1;
    }
    return n;
  }

  bool list_begin() override {
    build_index();
    state_ = kBefore;
    return true;
  }

  bool list_next() override {
    build_index();
    if (state_ == kBefore) {
      current_ = 0;
    } else if (state_ == kAt) {
      ++current_;
    } else {
      return false;
    }
    state_ = current_ < index_.size() ? kAt : kAfter;
    return state_ == kAt;
  }

  std::string entry_name() override { return state_ == kAt ? index_[current_].name : std::string(); }
  int entry_kind() override { return state_ == kAt ? kPackEntryFile : kPackEntryNone; }

  int64_t entry_size(int which) override {
    if (state_ != kAt) return -1;
    return which == 0 ? index_[current_].unpacked : index_[current_].stored;
  }

  int64_t unindexed_bytes() override {
    build_index();
    return static_cast<int64_t>(source_->size() - index_end_);
  }

 private:
  enum ListState { kBefore, kAt, kAfter };

  // Walks the headers once, two small reads per entry (header, name). A
  // header cut short, a name running past the end, a negative or impossible
  // size or a failed read ends the index at that entry, so a damaged pack
  // can neither loop nor send a read outside the file.
  void build_index() {
    if (indexed_) return;
    indexed_ = true;
    const uint64_t size = source_->size();
    uint64_t pos = 4;
    uint8_t h[kHeaderV1];
    std::vector<char> name;
    while (size - pos >= header_size_ && source_->read(pos, h, header_size_)) {
      int64_t unpacked = static_cast<int64_t>(bytes_get_le(h, 8));
      int64_t stored = static_cast<int64_t>(bytes_get_le(h + 8, 8));
      size_t name_len = static_cast<size_t>(h[16]) | (static_cast<size_t>(h[17]) << 8);
      if (size - pos - header_size_ < name_len) break;
      uint64_t data = pos + header_size_ + name_len;
      if (unpacked < 0 || stored < 0 || static_cast<uint64_t>(stored) > size - data) break;
      name.resize(name_len);
      if (!source_->read(pos + header_size_, name.data(), name_len)) break;
      if (index_.size() == index_.capacity()) index_.reserve(index_.size() + kIndexGrowth);
      IndexEntry e;
      e.unpacked = unpacked;
      e.stored = stored;
      e.offset = data;
      // Names are NUL-terminated in the index: a NUL inside ends the name.
      e.name.assign(name.begin(), std::find(name.begin(), name.end(), '\0'));
      index_.push_back(std::move(e));
      pos = data + static_cast<uint64_t>(stored);
    }
    index_end_ = pos;
  }

  const IndexEntry* find(const std::string& name) {
    build_index();
    if (name.empty()) return state_ == kAt ? &index_[current_] : nullptr;
    for (const IndexEntry& e : index_)
      if (e.name == name) return &e;
    return nullptr;
  }

  // A raw entry goes straight into dest; a packed one's stored bytes are
  // read into a buffer of their own that lasts only for this read.
  int64_t read_into(const IndexEntry& e, uint8_t* dest, int64_t capacity) const {
    if (capacity < e.unpacked) return -1;
    if (e.stored == e.unpacked)
      return source_->read(e.offset, dest, static_cast<size_t>(e.unpacked)) ? e.unpacked : -1;
    const size_t stored = static_cast<size_t>(e.stored);
    std::vector<uint8_t> scratch;
    const uint8_t* src = source_->view(e.offset, stored, &scratch);
    if (!src || pack_stream_length(src, stored) != e.unpacked) return -1;
    // The unpacker may use all the room it is given; giving it only the
    // entry's size keeps the caller's bytes past the entry untouched.
    int64_t n = pack_unpack_stream(src, stored, dest, static_cast<size_t>(e.unpacked));
    return n == e.unpacked ? n : -1;
  }

  std::unique_ptr<PackSource> source_;
  size_t header_size_;
  bool indexed_ = false;
  std::vector<IndexEntry> index_;
  uint64_t index_end_ = 0;
  ListState state_ = kBefore;
  size_t current_ = 0;
};

class DataPackWriter : public PackArchive {
 public:
  DataPackWriter(std::string path, int level) : path_(std::move(path)), level_(level) {
    bytes_.assign({'2', 'z', 'l', 'p'});
  }

  bool add_memory(const std::string& name, const void* data, size_t size) override {
    if (name.size() > 0xFFFF) return false;
    const uint8_t* in = static_cast<const uint8_t*>(data);
    std::vector<uint8_t> packed;
    bool is_packed = pack_pack_stream(in, size, level_, &packed);
    const uint8_t* stored = is_packed ? packed.data() : in;
    size_t stored_size = is_packed ? packed.size() : size;
    // Room first, so running out of memory cannot leave half an entry.
    bytes_.reserve(bytes_.size() + kHeaderV2 + name.size() + stored_size);
    bytes_put_le(&bytes_, size, 8);
    bytes_put_le(&bytes_, stored_size, 8);
    bytes_put_le(&bytes_, name.size(), 2);
    bytes_.insert(bytes_.end(), name.begin(), name.end());
    if (stored_size > 0) bytes_.insert(bytes_.end(), stored, stored + stored_size);
    return true;
  }

  bool finish() override { return file_write_atomic(path_, bytes_.data(), bytes_.size()); }

 private:
  std::string path_;
  int level_;
  std::vector<uint8_t> bytes_;
};

// Checks the magic; the index waits for the first lookup or listing.
std::unique_ptr<PackArchive> open_source(std::unique_ptr<PackSource> source) {
  uint8_t magic[4];
  if (!source || !source->read(0, magic, 4) || magic[1] != 'z' || magic[2] != 'l' || magic[3] != 'p')
    return nullptr;
  if (magic[0] == '2') return std::make_unique<DataPackReader>(std::move(source), kHeaderV2);
  if (magic[0] == '1') return std::make_unique<DataPackReader>(std::move(source), kHeaderV1);
  return nullptr;
}

std::unique_ptr<PackArchive> open_bytes(std::vector<uint8_t> bytes) {
  return open_source(pack_source_memory(std::move(bytes)));
}

std::unique_ptr<PackArchive> open_path(const std::string& path) { return open_source(pack_source_file(path)); }

std::unique_ptr<PackArchive> create_path(const std::string& path, int level) {
  return std::make_unique<DataPackWriter>(path, level);
}

}  // namespace

PackFormat pack_data_format() { return PackFormat{open_path, open_bytes, create_path}; }
