#include "gishost/app/CommandLine.h"

namespace gishost::app {
namespace {

CommandLine refused(std::string why) {
    CommandLine line;
    line.action = CommandLine::Action::Refused;
    line.refusal = std::move(why);
    return line;
}

}  // namespace

const char* const commandLineUsage =
    "Usage: gishost [--document FILE.gmap | FILE...]\n"
    "       gishost --install LIBRARY\n"
    "       gishost --uninstall LIBRARY\n";

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    if (arguments.empty()) return line;
    const std::string& first = arguments.front();
    if (first == "--help" || first == "-h") {
        if (arguments.size() != 1) return refused(first + " takes nothing after it");
        line.action = CommandLine::Action::Help;
        return line;
    }
    if (first == "--install" || first == "--uninstall" || first == "--document") {
        if (arguments.size() != 2 || arguments[1].empty()) return refused(first + " takes exactly one path");
        if (first == "--document") {
            line.document = arguments[1];
        } else {
            line.action = first == "--install" ? CommandLine::Action::Install : CommandLine::Action::Uninstall;
            line.library = arguments[1];
        }
        return line;
    }
    for (const std::string& argument : arguments) {
        if (argument.empty()) return refused("an empty file name");
        if (argument.front() == '-') return refused("unknown option " + argument);
        line.files.push_back(argument);
    }
    return line;
}

}  // namespace gishost::app
