#pragma once
// The host program's command line:
//   gishost [--document FILE.gmap | FILE...]   starts with a map document, or with the
//                                              layers of vector data files
//   gishost --install LIBRARY                   registers a plug-in and enrols its classes
//   gishost --uninstall LIBRARY                 withdraws and unregisters them
//   gishost --help
#include <string>
#include <vector>

namespace gishost::app {

struct CommandLine {
    enum class Action { Start, Install, Uninstall, Help, Refused };

    Action action = Action::Start;
    std::string document;            // Start with a map document
    std::vector<std::string> files;  // Start with vector data files
    std::string library;             // Install, Uninstall
    std::string refusal;             // Refused: why

    bool operator==(const CommandLine&) const = default;
};

// The arguments after the program's name.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

extern const char* const commandLineUsage;

}  // namespace gishost::app
