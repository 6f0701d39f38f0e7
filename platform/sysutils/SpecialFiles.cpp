#include "sysutils/SpecialFiles.h"

#include <sys/stat.h>

namespace sysutils {

std::optional<std::string> specialFileReason(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    if (S_ISFIFO(status.st_mode)) return "it is a pipe";
    if (S_ISCHR(status.st_mode)) return "it is a character device";
    if (S_ISBLK(status.st_mode)) return "it is a block device";
    if (S_ISSOCK(status.st_mode)) return "it is a socket";
    return std::nullopt;
}

}  // namespace sysutils
