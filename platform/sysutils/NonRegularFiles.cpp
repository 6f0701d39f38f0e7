#include "sysutils/NonRegularFiles.h"

#include <sys/stat.h>

namespace sysutils {

std::optional<std::string> nonRegularFileKind(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    if (S_ISFIFO(status.st_mode)) return "a pipe";
    if (S_ISCHR(status.st_mode)) return "a character device";
    if (S_ISBLK(status.st_mode)) return "a block device";
    if (S_ISSOCK(status.st_mode)) return "a socket";
    return std::nullopt;
}

std::optional<std::string> nonRegularFileReason(const std::string& path) {
    const std::optional<std::string> kind = nonRegularFileKind(path);
    if (!kind) return std::nullopt;
    return "it is " + *kind;
}

}  // namespace sysutils
