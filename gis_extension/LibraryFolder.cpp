#include "gis_extension/LibraryFolder.h"

#include <filesystem>
#include <utility>

#include "com/InprocServer.h"

namespace gis_extension {
namespace {

std::optional<std::string>& folderOverride() {
    static std::optional<std::string> folder;
    return folder;
}

}  // namespace

std::string LibraryFolder() {
    if (folderOverride()) return *folderOverride();
    // thisModulePath() names the module that compiles this file: the extension's
    // shared library (or a program that links the extension statically).
    return std::filesystem::path(com::thisModulePath()).parent_path().string();
}

ScopedLibraryFolder::ScopedLibraryFolder(std::string folder) : previous_(std::move(folderOverride())) {
    folderOverride() = std::move(folder);
}

ScopedLibraryFolder::~ScopedLibraryFolder() { folderOverride() = std::move(previous_); }

}  // namespace gis_extension
