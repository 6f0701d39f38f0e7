#pragma once
// Test helpers: a temporary folder per test that is removed afterwards, and files
// written into it byte for byte.
#include <cstddef>
#include <filesystem>
#include <set>
#include <string>

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

// The open file descriptors of the process: a save closes what it opened on every path.
std::size_t openDescriptors();

// Every file and folder below `folder`, relative to it.
std::set<std::string> everythingIn(const std::filesystem::path& folder);

}  // namespace testing_support
