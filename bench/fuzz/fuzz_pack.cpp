// libFuzzer entry point for the data pack reader. The first byte picks what
// the rest is: a whole pack file, a packed stream on its own, content that
// is packed, put into a pack and must read back exactly, or a pack file
// read both from memory and from disk, which must agree entry for entry.
// Any bytes must give a result or a clean failure, never a fault or a read
// out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/pack/block_codec.h"
#include "engine/pack/pack.h"
#include "engine/system/file.h"

namespace {

// Entries larger than this are read with a small buffer only (they must
// fail), so the fuzzer does not spend its time allocating.
constexpr int64_t kReadCap = 1 << 20;

void check(bool ok) {
  if (!ok) std::abort();
}

// Exact-size buffers, so that ASan sees any write past an entry's end.
void read_all_entries(int pack) {
  check(pack_list_begin(pack) != 0);
  int guard = 0;
  while (pack_list_next(pack)) {
    check(++guard <= 1 << 20);  // a listing always ends
    int64_t size = pack_entry_size(pack, 0);
    check(size >= 0 && pack_entry_size(pack, 1) >= 0);
    check(pack_entry_kind(pack) == kPackEntryFile);
    if (size > kReadCap) {
      uint8_t small[16];
      check(pack_read_entry(pack, small, sizeof small, "") == -1);
      continue;
    }
    std::vector<uint8_t> buf(static_cast<size_t>(size));
    int64_t n = pack_read_entry(pack, buf.data(), size, "");
    check(n == -1 || n == size);
    if (size > 0) check(pack_read_entry(pack, buf.data(), size - 1, "") == -1);
    // By name it finds this entry or an earlier one of the same name, which
    // may be larger than the buffer: a clean failure then.
    n = pack_read_entry(pack, buf.data(), size, pack_entry_name(pack));
    check(n >= -1 && n <= size);
  }
  check(pack_entry_kind(pack) == kPackEntryNone);
  check(pack_unindexed_bytes(pack) >= 0);
}

void fuzz_pack_file(const uint8_t* data, size_t size) {
  int pack = pack_open_memory(-1, std::vector<uint8_t>(data, data + size), kPackFormatData);
  if (!pack) return;
  read_all_entries(pack);
  pack_close(pack);
}

// The same bytes as a file on disk, read piece by piece, and in memory.
void fuzz_file_against_memory(const uint8_t* data, size_t size) {
  static const std::string path = file_private_temp_folder() + "fuzz.pack";
  check(file_write(path, data, size));
  int mem = pack_open_memory(-1, std::vector<uint8_t>(data, data + size), kPackFormatData);
  int disk = pack_open(-1, path, kPackFormatData);
  check((mem == 0) == (disk == 0));
  if (!mem) return;
  check(pack_unindexed_bytes(mem) == pack_unindexed_bytes(disk));
  check(pack_list_begin(mem) != 0 && pack_list_begin(disk) != 0);
  int guard = 0;
  for (;;) {
    int more = pack_list_next(mem);
    check(more == pack_list_next(disk));
    if (!more) break;
    check(++guard <= 1 << 20);
    check(pack_entry_name(mem) == pack_entry_name(disk));
    int64_t size0 = pack_entry_size(mem, 0);
    check(size0 == pack_entry_size(disk, 0) && pack_entry_size(mem, 1) == pack_entry_size(disk, 1));
    int64_t cap = size0 > kReadCap ? 16 : size0;
    std::vector<uint8_t> a(static_cast<size_t>(cap)), b(static_cast<size_t>(cap));
    int64_t na = pack_read_entry(mem, a.data(), cap, "");
    check(na == pack_read_entry(disk, b.data(), cap, ""));
    check(na <= 0 || std::memcmp(a.data(), b.data(), static_cast<size_t>(na)) == 0);
  }
  pack_close(mem);
  pack_close(disk);
}

void fuzz_stream(const uint8_t* data, size_t size) {
  int64_t total = pack_stream_length(data, size);
  if (total < 0 || total > kReadCap) return;
  std::vector<uint8_t> out(static_cast<size_t>(total));
  int64_t n = pack_unpack_stream(data, size, out.data(), out.size());
  check(n == -1 || n == total);
}

void put_le(std::vector<uint8_t>* out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void fuzz_round_trip(const uint8_t* data, size_t size, int level) {
  std::vector<uint8_t> stream;
  bool packed = pack_pack_stream(data, size, level, &stream);
  if (packed) check(stream.size() < size);
  std::vector<uint8_t> file = {'2', 'z', 'l', 'p'};
  put_le(&file, size, 8);
  put_le(&file, packed ? stream.size() : size, 8);
  put_le(&file, 1, 2);
  file.push_back('e');
  if (packed)
    file.insert(file.end(), stream.begin(), stream.end());
  else
    file.insert(file.end(), data, data + size);
  int pack = pack_open_memory(-1, file, kPackFormatData);
  check(pack != 0);
  std::vector<uint8_t> out(size);
  check(pack_read_entry(pack, out.data(), static_cast<int64_t>(size), "e") == static_cast<int64_t>(size));
  check(size == 0 || std::memcmp(out.data(), data, size) == 0);
  pack_close(pack);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The temporary folder of the disk mode goes at exit.
  static bool registered = (pack_register_formats(), std::atexit(file_system_cleanup), true);
  (void)registered;
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  ++data;
  --size;
  switch (mode % 4) {
    case 0: fuzz_pack_file(data, size); break;
    case 1: fuzz_stream(data, size); break;
    case 2: fuzz_round_trip(data, size, (mode / 4) % 9); break;
    default: fuzz_file_against_memory(data, size); break;
  }
  return 0;
}
