// The format registry, the table of open packs and the public pack
// operations, which resolve the pack and hand over to its format.
#include "engine/pack/pack.h"

#include <map>
#include <new>
#include <stdexcept>

#include "engine/pack/pack_archive.h"
#include "engine/system/file.h"
#include "engine/system/objects.h"

namespace {

struct PackObject {
  std::unique_ptr<PackArchive> archive;
  bool writing = false;
};

std::map<int, PackFormat> g_formats;
ObjectTable<PackObject> g_packs(16);

PackArchive* reader(int pack) {
  PackObject* p = g_packs.get(pack);
  return p && !p->writing ? p->archive.get() : nullptr;
}

PackArchive* writer(int pack) {
  PackObject* p = g_packs.get(pack);
  return p && p->writing ? p->archive.get() : nullptr;
}

int store(int number, std::unique_ptr<PackArchive> archive, bool writing) {
  if (!archive) return 0;
  auto obj = std::make_unique<PackObject>();
  obj->archive = std::move(archive);
  obj->writing = writing;
  int id = g_packs.put(number, std::move(obj));
  if (id == -2) return 0;
  return id == 0 ? 1 : id;  // number 0 is success too: report non-zero
}

// Creating under a number in use frees the old pack first, whether or not
// the new one comes to exist.
const PackFormat* prepare(int number, int format) {
  if (number >= 0) g_packs.free(number);
  auto it = g_formats.find(format);
  return it == g_formats.end() ? nullptr : &it->second;
}

}  // namespace

bool pack_allocate(std::vector<uint8_t>* buf, size_t size) {
  try {
    buf->resize(size);
  } catch (const std::bad_alloc&) {
    buf->clear();
    return false;
  } catch (const std::length_error&) {
    buf->clear();
    return false;
  }
  return true;
}

void pack_register_formats() {
  g_formats[kPackFormatZip] = pack_zip_format();
  g_formats[kPackFormatData] = pack_data_format();
}

void pack_shutdown() {
  g_packs.free(-1);
  g_formats.clear();
}

// A ZIP reader, an index, a pack given as bytes or a pack being written
// all take memory: running out of it is a failure like any other, not an
// exception that leaves the engine.
int pack_open(int number, const std::string& path, int format) {
  const PackFormat* f = prepare(number, format);
  if (!f || !f->open) return 0;
  try {
    return store(number, f->open(path), false);
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

int pack_open_memory(int number, std::vector<uint8_t> bytes, int format) {
  const PackFormat* f = prepare(number, format);
  if (!f || !f->open_memory) return 0;
  try {
    return store(number, f->open_memory(std::move(bytes)), false);
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

void pack_close(int pack) { g_packs.free(pack); }

int64_t pack_read_entry(int pack, void* dest, int64_t capacity, const std::string& name) {
  PackArchive* a = reader(pack);
  if (!a || capacity < 0 || (!dest && capacity > 0)) return -1;
  return a->read_entry(dest, capacity, name);
}

int64_t pack_extract_entry(int pack, const std::string& dest_path, const std::string& name) {
  PackArchive* a = reader(pack);
  return a ? a->extract_entry(dest_path, name) : -1;
}

int pack_list_begin(int pack) {
  PackArchive* a = reader(pack);
  return a && a->list_begin() ? 1 : 0;
}

int pack_list_next(int pack) {
  PackArchive* a = reader(pack);
  return a && a->list_next() ? 1 : 0;
}

std::string pack_entry_name(int pack) {
  PackArchive* a = reader(pack);
  return a ? a->entry_name() : std::string();
}

int pack_entry_kind(int pack) {
  PackArchive* a = reader(pack);
  return a ? a->entry_kind() : kPackEntryNone;
}

int64_t pack_entry_size(int pack, int which) {
  PackArchive* a = reader(pack);
  return a && (which == 0 || which == 1) ? a->entry_size(which) : -1;
}

int64_t pack_unindexed_bytes(int pack) {
  PackArchive* a = reader(pack);
  return a ? a->unindexed_bytes() : -1;
}

int pack_create(int number, const std::string& path, int format, int level) {
  const PackFormat* f = prepare(number, format);
  if (!f || !f->create || path.empty()) return 0;
  return store(number, f->create(path, level), true);
}

bool pack_add_memory(int pack, const std::string& name, const void* data, size_t size) {
  PackArchive* a = writer(pack);
  if (!a || name.empty() || (!data && size > 0)) return false;
  try {
    return a->add_memory(name, data, size);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool pack_add_file(int pack, const std::string& name, const std::string& file_path) {
  if (!writer(pack)) return false;
  std::vector<uint8_t> bytes;
  try {
    if (!file_read_all(file_path, &bytes)) return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
  return pack_add_memory(pack, name, bytes.data(), bytes.size());
}

bool pack_finish(int pack) {
  PackArchive* a = writer(pack);
  if (!a) return false;
  bool ok = a->finish();
  g_packs.free(pack);
  return ok;
}
