// ZIP packs (format 1), read with libarchive's seekable ZIP reader and
// written with its ZIP writer. The reader is a forward stream, so listing
// and lookups reopen the archive from its path to start at the first entry.
#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <memory>
#include <new>

#include "engine/pack/pack.h"
#include "engine/pack/pack_archive.h"
#include "engine/system/file.h"
#include "engine/system/unicode.h"

namespace {

constexpr size_t kReadBlock = 10240;
constexpr size_t kCopyChunk = 2097152;

#ifdef _WIN32
// On Windows libarchive keeps entry names as UTF-16 and converts them to
// UTF-8 itself, whatever the C locale says: nothing to switch. (The empty
// constructor of its own keeps the compiler from calling each guard an
// unused variable.)
class Utf8Names {
 public:
  Utf8Names() {}
  Utf8Names(const Utf8Names&) = delete;
  Utf8Names& operator=(const Utf8Names&) = delete;
};

// Paths are UTF-8 in the game; libarchive's narrow open would read them in
// the ANSI code page.
int OpenArchivePath(archive* a, const std::string& path) {
  std::u16string wide = utf8_to_utf16(path);
  return archive_read_open_filename_w(a, reinterpret_cast<const wchar_t*>(wide.c_str()), kReadBlock);
}
#else
// libarchive converts entry names between UTF-8 and the current locale's
// character set; in the "C" locale (tests, a bare environment) every name
// beyond ASCII would be lost. Each call into libarchive runs with a UTF-8
// character-type locale for the calling thread instead.
class Utf8Names {
 public:
  Utf8Names() {
    static locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (utf8) previous_ = uselocale(utf8);
  }
  ~Utf8Names() {
    if (previous_) uselocale(previous_);
  }
  Utf8Names(const Utf8Names&) = delete;
  Utf8Names& operator=(const Utf8Names&) = delete;

 private:
  locale_t previous_ = nullptr;
};

int OpenArchivePath(archive* a, const std::string& path) {
  return archive_read_open_filename(a, path.c_str(), kReadBlock);
}
#endif

class ZipReader : public PackArchive {
 public:
  explicit ZipReader(std::string path) : path_(std::move(path)) {}
  ~ZipReader() override {
    Utf8Names names;
    close();
  }

  bool reopen() {
    Utf8Names names;
    close();
    archive_ = archive_read_new();
    if (!archive_) return false;
    archive_read_support_format_zip_seekable(archive_);
    if (OpenArchivePath(archive_, path_) != ARCHIVE_OK) {
      close();
      return false;
    }
    return true;
  }

  int64_t read_entry(void* dest, int64_t capacity, const std::string& name) override {
    Utf8Names names;
    if (!position(name)) return -1;
    uint8_t* out = static_cast<uint8_t*>(dest);
    int64_t done = 0;
    while (done < capacity) {
      la_ssize_t n = archive_read_data(archive_, out + done, static_cast<size_t>(capacity - done));
      if (n < 0) return -1;
      if (n == 0) break;
      done += n;
    }
    return done;
  }

  int64_t extract_entry(const std::string& dest_path, const std::string& name) override {
    Utf8Names names;
    if (!position(name)) return -1;
    // The copy buffer is not cleared: libarchive writes what is read from
    // it, and a language file fills only the first few kilobytes of its
    // 2 MiB, whose other pages are then never touched.
    std::unique_ptr<uint8_t[]> chunk(new (std::nothrow) uint8_t[kCopyChunk]);
    if (!chunk) return -1;
    std::vector<uint8_t> all;
    for (;;) {
      la_ssize_t n = archive_read_data(archive_, chunk.get(), kCopyChunk);
      if (n < 0) return -1;
      if (n == 0) break;
      if (static_cast<int64_t>(all.size()) + n > kPackMaxExtractSize) return -1;
      all.insert(all.end(), chunk.get(), chunk.get() + n);
    }
    if (!file_write(dest_path, all.data(), all.size())) {
      file_remove(dest_path);
      return -1;
    }
    return static_cast<int64_t>(all.size());
  }

  bool list_begin() override {
    Utf8Names names;
    return rewind();
  }

  bool list_next() override {
    Utf8Names names;
    if (!archive_) return false;
    if (!next_header()) {
      current_ = nullptr;
      return false;
    }
    current_ = entry_;
    current_ordinal_ = ordinal_;
    return true;
  }

  std::string entry_name() override {
    Utf8Names names;
    return current_ ? name_of(current_) : std::string();
  }

  int entry_kind() override {
    if (!current_) return kPackEntryNone;
    return archive_entry_filetype(current_) == AE_IFDIR ? kPackEntryDirectory : kPackEntryFile;
  }

  int64_t entry_size(int which) override {
    // libarchive tells the unpacked size only; the stored size stays unknown.
    if (!current_ || which != 0 || !archive_entry_size_is_set(current_)) return -1;
    return archive_entry_size(current_);
  }

 private:
  void close() {
    if (archive_) archive_read_free(archive_);
    archive_ = nullptr;
    entry_ = nullptr;
  }

  static std::string name_of(archive_entry* e) {
    const char* utf8 = archive_entry_pathname_utf8(e);
    if (utf8) return utf8;
    const char* native = archive_entry_pathname(e);
    return native ? native : "";
  }

  bool next_header() {
    touched_ = true;
    data_read_ = false;
    int r = archive_read_next_header(archive_, &entry_);
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN) {
      entry_ = nullptr;
      return false;
    }
    ++ordinal_;
    return true;
  }

  // Starts again at the first entry; a listing in progress ends.
  bool rewind() {
    current_ = nullptr;
    ordinal_ = 0;
    if (archive_ && !touched_) return true;
    touched_ = false;
    return reopen();
  }

  // Leaves the reader at the start of the data of the named entry (empty:
  // the current listed one). False when it is missing or a directory.
  bool position(const std::string& name) {
    if (name.empty()) {
      if (!current_) return false;
      if (archive_entry_filetype(current_) == AE_IFDIR) return false;
      if (data_read_) {
        // The data of the current entry was read already: come back to it
        // by walking the headers again, keeping the listing where it was.
        int64_t target = current_ordinal_;
        if (!rewind()) return false;
        for (int64_t i = 0; i < target; ++i)
          if (!next_header()) return false;
        current_ = entry_;
        current_ordinal_ = target;
      }
      data_read_ = true;
      return true;
    }
    if (!rewind()) return false;
    while (next_header()) {
      if (name_of(entry_) == name) {
        if (archive_entry_filetype(entry_) == AE_IFDIR) return false;
        data_read_ = true;
        return true;
      }
    }
    return false;
  }

  std::string path_;
  archive* archive_ = nullptr;
  archive_entry* entry_ = nullptr;    // the reader's latest header
  archive_entry* current_ = nullptr;  // the listed entry, if any
  bool touched_ = false;              // headers were read since opening
  bool data_read_ = false;            // the latest header's data was consumed
  int64_t ordinal_ = 0;
  int64_t current_ordinal_ = 0;
};

class ZipWriter : public PackArchive {
 public:
  explicit ZipWriter(std::string path) : path_(std::move(path)) {}
  ~ZipWriter() override {
    if (archive_) archive_write_free(archive_);
  }

  bool start() {
    Utf8Names names;
    archive_ = archive_write_new();
    if (!archive_) return false;
    if (archive_write_set_format_zip(archive_) != ARCHIVE_OK) return false;
    archive_write_set_options(archive_, "zip:compression=deflate,zip:hdrcharset=UTF-8");
    archive_write_set_bytes_in_last_block(archive_, 1);
    return archive_write_open(archive_, this, nullptr, &ZipWriter::append, nullptr) == ARCHIVE_OK;
  }

  bool add_memory(const std::string& name, const void* data, size_t size) override {
    Utf8Names names;
    if (!archive_ || failed_) return false;
    archive_entry* e = archive_entry_new();
    if (!e) return false;
    archive_entry_set_pathname_utf8(e, name.c_str());
    archive_entry_set_filetype(e, AE_IFREG);
    archive_entry_set_perm(e, 0644);
    archive_entry_set_size(e, static_cast<la_int64_t>(size));
    // No time stamp: the same files give the same archive bytes on every
    // machine and in every time zone.
    archive_entry_unset_mtime(e);
    bool ok = archive_write_header(archive_, e) == ARCHIVE_OK;
    if (ok && size > 0) ok = archive_write_data(archive_, data, size) == static_cast<la_ssize_t>(size);
    if (ok) ok = archive_write_finish_entry(archive_) == ARCHIVE_OK;
    archive_entry_free(e);
    if (!ok) failed_ = true;  // the archive is no longer sound
    return ok;
  }

  bool finish() override {
    Utf8Names names;
    if (!archive_ || failed_) return false;
    bool ok = archive_write_close(archive_) == ARCHIVE_OK;
    archive_write_free(archive_);
    archive_ = nullptr;
    return ok && file_write_atomic(path_, bytes_.data(), bytes_.size());
  }

 private:
  static la_ssize_t append(archive*, void* self, const void* buf, size_t n) {
    auto* w = static_cast<ZipWriter*>(self);
    const uint8_t* p = static_cast<const uint8_t*>(buf);
    w->bytes_.insert(w->bytes_.end(), p, p + n);
    return static_cast<la_ssize_t>(n);
  }

  std::string path_;
  archive* archive_ = nullptr;
  std::vector<uint8_t> bytes_;
  bool failed_ = false;
};

std::unique_ptr<PackArchive> open_zip(const std::string& path) {
  auto r = std::make_unique<ZipReader>(path);
  if (!r->reopen()) return nullptr;
  return r;
}

std::unique_ptr<PackArchive> create_zip(const std::string& path, int /*level*/) {
  auto w = std::make_unique<ZipWriter>(path);
  if (!w->start()) return nullptr;
  return w;
}

}  // namespace

PackFormat pack_zip_format() { return PackFormat{open_zip, nullptr, create_zip}; }
