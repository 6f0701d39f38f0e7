#include "gishost/app/HostLocations.h"

#include <filesystem>

#include "winapi/Registry.h"

namespace gishost::app {
namespace {

std::string withoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

bool rememberInstallFolder(const std::string& folder) {
    return winapi::registry::writeString(winapi::HKEY_LOCAL_MACHINE, installKey, installFolderValue,
                                         withoutTrailingSlash(folder));
}

bool rememberBrowsedFolder(const std::string& folder) {
    const std::string stored = withoutTrailingSlash(folder);
    return winapi::registry::writeString(winapi::HKEY_CURRENT_USER, settingsKey, lastBrowseLocationValue, stored) &&
           winapi::registry::writeString(winapi::HKEY_CURRENT_USER, settingsKey, lastLocationValue, stored);
}

bool rememberChosenFile(const std::string& file) {
    return rememberBrowsedFolder(std::filesystem::path(file).parent_path().string());
}

std::optional<std::string> lastBrowseLocation() {
    return winapi::registry::readString(winapi::HKEY_CURRENT_USER, settingsKey, lastBrowseLocationValue);
}

}  // namespace gishost::app
