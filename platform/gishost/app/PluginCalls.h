#pragma once
// Every call from the host into a plug-in goes through guarded(): an error that escapes
// the plug-in (the run-time's error or any other exception) is shown in a message box
// that names what the host was doing, and the host goes on.
#include <exception>
#include <string>

#include "com/Error.h"

namespace gishost::app {

inline constexpr const char* hostTitle = "GIS Host";

// The text of an escaped error: the run-time's error with its number and source.
std::string describeFailure(std::exception_ptr failure);

// Shows the box for a failure while `doing` (as "creating the toolbar X").
void reportPluginFailure(const std::string& doing, std::exception_ptr failure);

// Runs `call`; true when it returned, false when it failed (and the failure was shown).
template <class Call>
bool guarded(const std::string& doing, Call&& call) {
    try {
        call();
        return true;
    } catch (...) {
        reportPluginFailure(doing, std::current_exception());
        return false;
    }
}

}  // namespace gishost::app
