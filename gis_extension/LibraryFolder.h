#pragma once
// The folder from which the extension's library was loaded: the place of its settings
// file and its manual. Tests point it at a folder of their own, so that no test writes
// beside a program.
#include <optional>
#include <string>

namespace gis_extension {

// The folder as the run-time gives it: without a trailing "/", except for the root "/".
std::string LibraryFolder();

// Makes LibraryFolder() answer `folder`, exactly as given, while the object lives.
class ScopedLibraryFolder {
public:
    explicit ScopedLibraryFolder(std::string folder);
    ~ScopedLibraryFolder();
    ScopedLibraryFolder(const ScopedLibraryFolder&) = delete;
    ScopedLibraryFolder& operator=(const ScopedLibraryFolder&) = delete;

private:
    std::optional<std::string> previous_;
};

}  // namespace gis_extension
