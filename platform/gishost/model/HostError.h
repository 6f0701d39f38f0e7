#pragma once
// The errors that the host's object model raises: the run-time's error with the source
// "GIS host", one number per kind of failure, and a description that names the layer,
// field or file concerned.
#include <cstdint>
#include <string>

#include "com/Error.h"
#include "com/HResult.h"

namespace gishost::model {

inline constexpr const char* hostErrorSource = "GIS host";

enum class HostFailure : std::int32_t {
    DataSource = 1,    // a data source cannot be opened or read
    Geometry = 2,      // a shape cannot be used (empty, unreadable, not a finite number)
    Argument = 3,      // an index, name or value that the object cannot take
    TableExists = 4,   // a table of that name is there already
    FieldDefinition = 5,
    Write = 6,         // a table or file cannot be written
    NotSupported = 7,  // an operation the host does not offer
};

// The number of a host failure: in the range of automation errors, as components number theirs.
constexpr std::int32_t hostErrorNumber(HostFailure failure) {
    return com::AUTOMATION_ERROR_BASE + 0x200 + static_cast<std::int32_t>(failure);
}

inline com::Error hostError(HostFailure failure, const std::string& description) {
    return com::Error(hostErrorNumber(failure), hostErrorSource, description);
}

}  // namespace gishost::model
