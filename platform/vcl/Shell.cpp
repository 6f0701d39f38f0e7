#include "vcl/Shell.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vcl {
namespace {

Shell* installed = nullptr;

}  // namespace

Shell& shell() {
    static SystemShell fallback;
    return installed != nullptr ? *installed : fallback;
}

void installShell(Shell* replacement) { installed = replacement; }

int SystemShell::run(const std::string& commandLine) {
    if (std::system(nullptr) == 0) return -1;
    return std::system(commandLine.c_str());
}

ScriptedShell::ScriptedShell() : previous_(installed) { installed = this; }
ScriptedShell::~ScriptedShell() { installed = previous_; }

int ScriptedShell::run(const std::string& commandLine) {
    std::error_code error;
    commands_.push_back({commandLine, std::filesystem::current_path(error).string()});
    return 0;
}

}  // namespace vcl
