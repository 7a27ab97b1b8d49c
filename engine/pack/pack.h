// Resource packs: the archive files beside the program that hold the
// pictures, the music and the language files. Packs are numbered engine
// objects; two archive formats sit behind the same operations: 1 is a ZIP
// archive (the language pack), 4 the engine's own block-packed archive (the
// data pack). Names and paths are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Format numbers for pack_open and pack_create.
constexpr int kPackFormatZip = 1;
constexpr int kPackFormatData = 4;

// Entry kinds reported by pack_entry_kind.
constexpr int kPackEntryNone = -1;
constexpr int kPackEntryFile = 0;
constexpr int kPackEntryDirectory = 1;

// pack_extract_entry refuses entries that claim to be larger than this: no
// pack of the game comes near, and a damaged size must not make it try to
// allocate the whole address space.
constexpr int64_t kPackMaxExtractSize = int64_t{1} << 30;

// Registers formats 1 and 4. Called once at engine start-up, before the
// first pack_open; calling it again does no harm.
void pack_register_formats();

// Closes every pack and empties the format registry (engine shutdown, and
// tests that need a clean start).
void pack_shutdown();

// Opens a pack for reading under a number, or under a new handle for -1.
// Returns the handle (for -1) or a non-zero value; 0 when the format is not
// registered, the file cannot be read or is not of the format.
int pack_open(int number, const std::string& path, int format);

// Like pack_open, but the pack's bytes are given (format 4 only; for the
// fuzzer and the tools).
int pack_open_memory(int number, std::vector<uint8_t> bytes, int format);

// Closes a pack, or every pack for -1. A pack being written that was not
// finished is dropped without writing anything.
void pack_close(int pack);

// Reads an entry (empty name: the current listed entry) into dest, which
// holds capacity bytes. Returns the number of bytes written, or -1 on any
// failure (missing entry, too small a capacity, damaged data). Format 4
// writes nothing past the entry's size.
int64_t pack_read_entry(int pack, void* dest, int64_t capacity, const std::string& name);

// Writes an entry (empty name: the current one) to a file, created or
// truncated. Returns the number of bytes written, or -1; no partial file is
// left behind.
int64_t pack_extract_entry(int pack, const std::string& dest_path, const std::string& name);

// Starts a listing from the first entry; non-zero when it can start.
int pack_list_begin(int pack);

// Moves to the next entry of the listing: non-zero when there is one, 0 at
// the end (and then there is no current entry).
int pack_list_next(int pack);

// Name of the current entry, empty if there is none.
std::string pack_entry_name(int pack);

// Kind of the current entry: kPackEntryFile, kPackEntryDirectory, or
// kPackEntryNone when there is no current entry.
int pack_entry_kind(int pack);

// Size of the current entry: which 0 = unpacked, 1 = stored. -1 when there is
// no current entry or the size is not known (a ZIP entry's stored size).
int64_t pack_entry_size(int pack, int which);

// For format 4: bytes after the last entry the index could read, 0 for an
// intact pack. A damaged entry header ends the index there, and this tells
// how much of the file was left unread. -1 for other formats or no pack.
int64_t pack_unindexed_bytes(int pack);

// The writing side, for the tools that build packs.

// Starts a new pack to be written to path at the end (format 4 with the
// given packing level, or a ZIP archive). Returns a handle or non-zero as
// pack_open does, 0 on failure.
int pack_create(int number, const std::string& path, int format, int level = 5);

// Adds an entry from memory. Format 4 stores it packed when that comes out
// shorter, else raw. False for an empty or too long name or a pack that is
// not being written.
bool pack_add_memory(int pack, const std::string& name, const void* data, size_t size);

// Adds an entry with the content of a file.
bool pack_add_file(int pack, const std::string& name, const std::string& file_path);

// Writes the finished pack file (atomically: the old file or the new one,
// never half of it) and closes the pack. False when writing failed.
bool pack_finish(int pack);
