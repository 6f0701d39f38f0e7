#pragma once
// The installation step of a plug-in: its library registers itself (DllRegisterServer)
// and its classes are enrolled in the host's component categories by the host
// interfaces they implement, read from the library's type library (toolbar definitions,
// commands, extensions); the host's install folder is written for plug-ins to find.
// Removal withdraws the classes from the categories and has the library unregister
// itself (DllUnregisterServer), leaving none of its keys.
#include <string>
#include <vector>

namespace gishost::app {

struct InstallationResult {
    bool succeeded = false;
    std::vector<std::string> done;  // what was done, one line each
    std::string error;              // why it failed
};

InstallationResult installPlugin(const std::string& libraryPath, const std::string& installFolder);
InstallationResult uninstallPlugin(const std::string& libraryPath);

}  // namespace gishost::app
