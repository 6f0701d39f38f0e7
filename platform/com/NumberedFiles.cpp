#include "com/NumberedFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <mutex>

#include "com/Error.h"

namespace com::files {
namespace {

struct OpenFile {
    std::FILE* stream = nullptr;
    OpenMode mode = OpenMode::Input;
    std::string path;
};

std::mutex filesMutex;
std::map<int, OpenFile>& openFiles() {
    static std::map<int, OpenFile> files;
    return files;
}

Error fileError(std::int32_t number, const std::string& path) {
    return Error(number, "", runtimeErrorDescription(number) + ": " + path);
}

// Closes a file; false when data did not reach the file. Caller holds the mutex.
bool closeStream(OpenFile& file) {
    if (file.stream == nullptr) return true;
    const bool flushed = std::fflush(file.stream) == 0;
    const bool closed = std::fclose(file.stream) == 0;
    file.stream = nullptr;
    return flushed && closed;
}

OpenFile& openFile(int number) {
    const auto found = openFiles().find(number);
    if (found == openFiles().end()) throw runtimeError(errors::BadFileNameOrNumber);
    return found->second;
}

}  // namespace

void Open(int number, const std::string& path, OpenMode mode) {
    std::lock_guard lock(filesMutex);
    if (const auto found = openFiles().find(number); found != openFiles().end()) {
        closeStream(found->second);
        openFiles().erase(found);
    }
    if (path.empty()) throw fileError(errors::BadFileNameOrNumber, path);
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;  // non-blocking: a pipe must not hang the open
    switch (mode) {
        case OpenMode::Input: flags |= O_RDONLY; break;
        case OpenMode::Output: flags |= O_WRONLY | O_CREAT; break;
        case OpenMode::Append: flags |= O_WRONLY | O_CREAT | O_APPEND; break;
    }
    const int descriptor = ::open(path.c_str(), flags, 0666);
    if (descriptor < 0) throw OpenFailure(errno, mode, path);
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        throw fileError(errors::PathFileAccessError, path);
    }
    // Emptied only now that it is known to be a regular file.
    if (mode == OpenMode::Output && ::ftruncate(descriptor, 0) != 0) {
        const int error = errno;
        ::close(descriptor);
        throw OpenFailure(error, mode, path);
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    std::FILE* stream = ::fdopen(descriptor, mode == OpenMode::Input ? "rb" : (mode == OpenMode::Append ? "ab" : "wb"));
    if (stream == nullptr) {
        ::close(descriptor);
        throw fileError(errors::PathFileAccessError, path);
    }
    // Files of a million lines are common: a large buffer spares the system calls.
    std::setvbuf(stream, nullptr, _IOFBF, std::size_t{1} << 20);
    openFiles().emplace(number, OpenFile{stream, mode, path});
}

std::string LineInput(int number) {
    std::lock_guard lock(filesMutex);
    OpenFile& file = openFile(number);
    if (file.mode != OpenMode::Input) throw runtimeError(errors::BadFileMode);
    int c = std::fgetc(file.stream);
    if (c == EOF) throw fileError(std::ferror(file.stream) ? errors::DeviceIOError : errors::InputPastEndOfFile, file.path);
    std::string line;
    while (c != EOF && c != '\r' && c != '\n') {
        line += static_cast<char>(c);
        c = std::fgetc(file.stream);
    }
    if (c == '\r') {
        const int next = std::fgetc(file.stream);
        if (next != '\n' && next != EOF) std::ungetc(next, file.stream);
    }
    return line;
}

bool Eof(int number) {
    std::lock_guard lock(filesMutex);
    OpenFile& file = openFile(number);
    if (file.mode != OpenMode::Input) return true;
    const int c = std::fgetc(file.stream);
    if (c == EOF) return true;
    std::ungetc(c, file.stream);
    return false;
}

void PrintLine(int number, std::string_view text) {
    std::lock_guard lock(filesMutex);
    OpenFile& file = openFile(number);
    if (file.mode == OpenMode::Input) throw runtimeError(errors::BadFileMode);
    if (std::fwrite(text.data(), 1, text.size(), file.stream) != text.size() ||
        std::fwrite("\r\n", 1, 2, file.stream) != 2)
        throw fileError(errors::DeviceIOError, file.path);
}

void Close(int number) {
    std::lock_guard lock(filesMutex);
    const auto found = openFiles().find(number);
    if (found == openFiles().end()) return;
    OpenFile file = found->second;
    openFiles().erase(found);
    if (!closeStream(file)) throw fileError(errors::DeviceIOError, file.path);
}

void Reset() {
    std::lock_guard lock(filesMutex);
    for (auto& [number, file] : openFiles()) closeStream(file);
    openFiles().clear();
}

Error OpenFailure(int systemError, OpenMode mode, const std::string& path) {
    switch (systemError) {
        case ENOENT: return fileError(mode == OpenMode::Input ? errors::FileNotFound : errors::PathNotFound, path);
        case ENOTDIR: return fileError(errors::PathNotFound, path);
        // The system looks such a path up no further, so whether it exists is unknown;
        // what the user must change is its length.
        case ENAMETOOLONG:
            return Error(errors::BadFileNameOrNumber, "",
                         runtimeErrorDescription(errors::BadFileNameOrNumber) + ": the path is too long: " + path);
        default: return fileError(errors::PathFileAccessError, path);
    }
}

bool IsOpen(int number) {
    std::lock_guard lock(filesMutex);
    return openFiles().contains(number);
}

}  // namespace com::files
