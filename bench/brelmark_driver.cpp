// The headless engine driver: one execution of the engine on a node file and a
// connection file, as the program's worker runs it, with every message box printed
// to standard error and the results printed as "name<TAB>index-or-ID<TAB>value".
// Its inputs are checked as the program's window checks them; a refused run ends with exit
// status 1. --help prints the usage; a wrong command line is refused with exit status 2.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "DriverOptions.h"
#include "DriverRun.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const driver::ParsedOptions parsed = driver::parseDriverOptions(arguments);
    if (parsed.help) {
        std::fputs(driver::driverUsage, stdout);
        return 0;
    }
    if (!parsed.options) {
        std::fprintf(stderr, "%s\n%s", parsed.error.c_str(), driver::driverUsage);
        return 2;
    }
    return driver::runExecutionReportingFailure(*parsed.options, stdout, stderr);
}
