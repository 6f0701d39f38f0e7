#pragma once
// Paths that name neither a regular file nor a folder: a pipe, a device or a socket.
// Opening a pipe for reading waits for a writer, perhaps for ever, and a device may read
// without end, so the readers of data sources, libraries and hives refuse such a path
// before they hand it to a library that would open it.
#include <optional>
#include <string>

namespace sysutils {

// Why `path` (a symbolic link followed) is refused: "it is a pipe", "it is a character
// device", "it is a block device" or "it is a socket". Nothing for a regular file, a
// folder, or a path that names nothing (its opener says why it cannot open it).
std::optional<std::string> specialFileReason(const std::string& path);

}  // namespace sysutils
