#include "engine/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {

OpenedInputFile openInputFile(const std::string& fileName) {
    OpenedInputFile opened;
    // Without O_NONBLOCK, opening a pipe for reading waits for a writer.
    const int descriptor = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return opened;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (S_ISDIR(status.st_mode))
            opened.reason = " (it is a folder)";
        else
            opened.reason = " (it is not a regular file)";
        ::close(descriptor);
        return opened;
    }
    // A regular file reads the same with or without O_NONBLOCK; clear it all the same.
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags >= 0) ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    opened.file = ::fdopen(descriptor, "rb");
    if (opened.file == nullptr) ::close(descriptor);
    return opened;
}

}  // namespace engine
