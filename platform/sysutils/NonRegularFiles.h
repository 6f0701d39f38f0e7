#pragma once
// Paths that name neither a regular file nor a folder: a pipe, a device or a socket.
// Opening a pipe for reading waits for a writer, perhaps for ever, and a device may read
// without end, so the readers of data sources, libraries and hives refuse such a path
// before they hand it to a library that would open it.
#include <optional>
#include <string>

namespace sysutils {

// What `path` (a symbolic link followed) names when it is refused: "a pipe", "a character
// device", "a block device" or "a socket". Nothing for a regular file, a folder, or a
// path that names nothing (its opener says why it cannot open it).
std::optional<std::string> nonRegularFileKind(const std::string& path);

// The same as a reason: "it is a pipe" ...
std::optional<std::string> nonRegularFileReason(const std::string& path);

}  // namespace sysutils
