// Every file and folder access of the game and engine goes through here, so
// that paths with any characters, and another platform, need no edits
// elsewhere. Paths are UTF-8; folder paths end in kPathSeparator ("/", on
// Windows "\"), and on Windows "/" is taken between levels as well.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/system/path.h"

// Reads a whole file. Fails (false) when it cannot be opened or read, or is
// larger than max_bytes.
[[nodiscard]] bool file_read_all(const std::string& path, std::vector<uint8_t>* out,
                                 size_t max_bytes = SIZE_MAX);

// Writes a whole file in place (created or truncated).
[[nodiscard]] bool file_write(const std::string& path, const void* data, size_t size);

// Writes a whole file so that it is either the old or the new content, never
// a half-written one: a temporary file in the same folder, flushed to disk,
// then renamed over the old one. What the player made of the old file stays:
// behind a symbolic link the file it names is replaced and the link kept;
// the file keeps its permissions; a file the player may not write to (read-
// only) is left as it is and the write fails. Where no file can be made
// beside it (a folder the player may not write to), the file itself is
// rewritten in place.
[[nodiscard]] bool file_write_atomic(const std::string& path, const void* data, size_t size);

// Size in bytes of a regular file, or -1.
int64_t file_size(const std::string& path);

bool file_exists(const std::string& path);     // a regular file
bool folder_exists(const std::string& path);   // a folder
bool file_remove(const std::string& path);     // a file or an empty folder

// Makes a folder and every missing parent. True when it exists afterwards.
bool folder_make(const std::string& path);

// Names (not paths) of the entries of a folder, without "." and "..",
// sorted by byte value. Empty when the folder cannot be read.
std::vector<std::string> folder_list(const std::string& path);

// Removes a folder and everything in it. True when it is gone afterwards.
bool folder_remove_all(const std::string& path);  // false for an empty path

// A folder private to this run (mode 0700) inside the system's temporary
// folder, made on first use and removed by file_system_cleanup. Ends in "/".
// Empty when it cannot be made.
const std::string& file_private_temp_folder();

// Removes the run's private temporary folder. Called at shutdown.
void file_system_cleanup();

// Removes what earlier runs left in the system's temporary folder when they
// ended without their clean-up (killed, crashed, their display gone): the
// private folders of this user whose process no longer runs and that hold
// nothing or only unpacked language files. Called once at start-up.
void file_remove_stale_temp_folders();

// The folder of the running executable, ending in "/".
std::string file_program_folder();

// The last path component ("a/b/c.png" -> "c.png").
std::string file_base_name(const std::string& path);

// Files kept open and written a piece at a time (the diagnostic log).
// Handles are non-zero; file_system_cleanup closes whatever is still open.

// Creates (or truncates) a file and keeps it open. 0 when it cannot.
int file_open_write(const std::string& path);

// Appends bytes to an open file. False when the handle is not open or the
// write fails.
bool file_write_open(int handle, const void* data, size_t size);

// Whether the handle names a file that is still open.
bool file_is_open(int handle);

// Files kept open and read a piece at a time, at any offset (the data pack,
// whose entries are read one by one). These handles share the table above.

// Opens an existing regular file for reading. 0 when it cannot (missing, a
// folder, no permission).
int file_open_read(const std::string& path);

// Reads exactly size bytes starting at offset of a file opened for reading,
// without moving any shared position. False when the handle is not open for
// reading, the read fails, or the file ends before size bytes.
bool file_read_at(int handle, uint64_t offset, void* data, size_t size);

// Current size in bytes of an open file, or -1.
int64_t file_open_size(int handle);

// Closes one open file, read or write (nothing happens for a handle that is
// not open).
void file_close(int handle);
