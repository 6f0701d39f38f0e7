#pragma once
// Test helpers: a temporary folder per test that is removed afterwards, files written
// into it byte for byte, and named pipes.
#include <atomic>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <thread>

namespace testing_support {

class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes `contents` exactly as given to a file of that name; returns its path.
    std::string write(const std::string& name, const std::string& contents) const;
    std::string pathOf(const std::string& name) const;

private:
    std::filesystem::path path_;
};

std::string readFile(const std::string& path);

// Writes `contents` exactly as given to the file at `path`, made anew; throws when it cannot.
void writeFile(const std::string& path, std::string_view contents);

// A named pipe at `path` with a writer waiting for a reader, as a user's pipe would have:
// a reader that opens it blocks until the writer comes, then reads `contents` and the end.
// With `everyReader`, every later reader finds a writer too, so that code that opens the
// pipe by mistake, however often, reads it and goes on instead of waiting for ever.
// The destructor lets a writer that found no reader go, and removes nothing.
class NamedPipe {
public:
    NamedPipe(std::string path, std::string contents, bool everyReader = false);
    ~NamedPipe();
    NamedPipe(const NamedPipe&) = delete;
    NamedPipe& operator=(const NamedPipe&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::atomic<bool> stopping_{false};
    std::thread writer_;
};

// Puts a folder (pipe false) or a named pipe with `contents` in place of the file at `path`,
// as a user might between two reads; returns the pipe, to keep while it is read.
std::unique_ptr<NamedPipe> replaceByFolderOrPipe(const std::string& path, bool pipe, const std::string& contents);

// The open file descriptors of the process: a save closes what it opened on every path.
std::size_t openDescriptors();

// Every file and folder below `folder`, relative to it.
std::set<std::string> everythingIn(const std::filesystem::path& folder);

}  // namespace testing_support
