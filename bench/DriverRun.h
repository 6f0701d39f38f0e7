#pragma once
// Runs one execution of the engine for the driver and prints what it computed.
#include <cstdio>

#include "DriverOptions.h"

namespace driver {

// Message boxes go to standard error. Returns 0 after a run, 1 when the window's check of
// the inputs, or the engine's parameter check or pre-scan, refused them; either refusal
// prints "errors<TAB><TAB>N" first.
int runExecution(const DriverOptions& options, std::FILE* out);

// runExecution, and 3 after an exception that ended the run, whose text goes to `errors`
// after "[Error] " (the out-of-memory text when memory or threads ran out anywhere).
int runExecutionReportingFailure(const DriverOptions& options, std::FILE* out, std::FILE* errors);

}  // namespace driver
