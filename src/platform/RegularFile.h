#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Opens a regular file to read in binary, never waiting: a FIFO, a folder or a device in its
// place is refused without being read, so it cannot block the caller. The path is UTF-8.
enum class TRegularFile {
    Opened,     // `file` is open (the caller closes it) and `size` is its length in bytes
    CannotOpen, // missing, or no permission
    NotAFile,   // something other than a regular file
};
TRegularFile OpenRegularFile(const std::string& path, std::FILE*& file, uint64_t& size);

// Moves an open file's read position to `offset` bytes from its start; false on failure.
bool SeekFile(std::FILE* file, uint64_t offset);
