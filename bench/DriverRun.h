#pragma once
// Runs one execution of the engine for the driver and prints what it computed.
#include <cstdio>

#include "DriverOptions.h"

namespace driver {

// Message boxes go to standard error. Returns 0 after a run, 1 when the parameter
// check or the pre-scan refused the inputs.
int runExecution(const DriverOptions& options, std::FILE* out);

}  // namespace driver
