// Private to engine/system: the platform calls on one open file and on the
// run's private temporary folder that each file back end gives the portable
// part (file.cpp), which keeps the table of open files and the folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The platform's own handle of an open file, as a number: a descriptor on
// POSIX, a HANDLE on Windows.
using NativeFile = intptr_t;

// Creates (or truncates) a file to write; false when it cannot.
bool file_native_open_write(const std::string& path, NativeFile* out);

// Opens an existing file to read; false when it cannot, or it is no file
// (a folder, a device).
bool file_native_open_read(const std::string& path, NativeFile* out);

// Writes every byte, however many calls that takes.
bool file_native_write(NativeFile file, const void* data, size_t size);

// Reads exactly size bytes at offset (their end is at most INT64_MAX);
// false on an error or when the file ends first.
bool file_native_read_at(NativeFile file, uint64_t offset, uint8_t* data, size_t size);

// The current size in bytes, or -1.
int64_t file_native_size(NativeFile file);

void file_native_close(NativeFile file);

// The start of the name of every run's private temporary folder, followed
// by the number of the process that made it and a "-".
constexpr const char* kTempFolderPrefix = "duskmatch-";

// The system's temporary folder, with a closing separator.
std::string file_native_temp_base();

// Makes a new folder only this user may enter inside the system's
// temporary folder, named kTempFolderPrefix + this process's number + "-" +
// something of its own; its path with a closing separator, "" when it cannot.
std::string file_native_make_private_temp_folder();

// Whether path is a folder itself (not a link to one) that belongs to the
// user this process runs as.
bool file_native_is_own_folder(const std::string& path);

// Whether path is a plain file itself (not a link to one, not a folder).
bool file_native_is_plain_file(const std::string& path);

// Whether a process of that number is running now (anybody's).
bool file_native_process_exists(uint64_t id);
