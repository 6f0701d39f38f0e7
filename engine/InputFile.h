#pragma once
// Opens a node or connection file for reading, and only a regular file: a pipe would
// block its reader (at the open, or at the first read until a writer comes), a device
// such as /dev/zero never ends, and a folder holds no lines. Each gets a reason that the
// "Cannot open ..." messages carry.
#include <cstdio>
#include <string>

namespace engine {

struct OpenedInputFile {
    std::FILE* file = nullptr;  // null when the file cannot be read
    // Why not, for a file that exists but is no regular file: " (it is a folder)" or
    // " (it is not a regular file)". Empty otherwise (a missing or unreadable file).
    std::string reason;
};

// Opens `fileName` in binary read mode. The open never blocks: a pipe is refused before
// anything is read from it.
OpenedInputFile openInputFile(const std::string& fileName);

}  // namespace engine
