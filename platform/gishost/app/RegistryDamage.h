#pragma once
// The host's words for registry files that could not be read in full. The registry reads
// such a hive as far as it can and never writes it; the host says so once, at start-up
// and in its installation step, rather than at every lookup.
#include <string>

namespace gishost::app {

// One sentence per damaged hive, naming its file and the line where reading failed,
// each on a line of its own; empty when every hive was read in full.
std::string damagedRegistryText();

// What follows it at start-up.
inline constexpr const char* damagedRegistryAtStartUp =
    "The host uses what could be read and leaves the file as it is: plug-ins registered in it may be missing, "
    "and none can be installed or removed until the file is repaired.";

}  // namespace gishost::app
