#pragma once
// The folders that the host keeps in the registry for its plug-ins to read: its install
// folder under the local machine, and under the current user the last folders its own
// dialogs chose (browsed to, and the last location of any kind). A folder is stored
// without a trailing "/".
#include <optional>
#include <string>

namespace gishost::app {

inline constexpr const char* installKey = "Software\\ESRI\\ArcGIS";
inline constexpr const char* installFolderValue = "InstallDir";
inline constexpr const char* settingsKey = "Software\\ESRI\\ArcCatalog\\Settings";
inline constexpr const char* lastBrowseLocationValue = "LastBrowseLocation";
inline constexpr const char* lastLocationValue = "LastLocation";

// False when the registry cannot be written.
bool rememberInstallFolder(const std::string& folder);
// After a browser chose a folder: the last browse location and the last location.
bool rememberBrowsedFolder(const std::string& folder);
// After a dialog chose a file: its folder becomes the last browse location and the last location.
bool rememberChosenFile(const std::string& file);

// The last browse location, or nothing when none is stored.
std::optional<std::string> lastBrowseLocation();

}  // namespace gishost::app
