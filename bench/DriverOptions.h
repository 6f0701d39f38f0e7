#pragma once
// The command line of the headless engine driver: the two input files and the run
// parameters of one execution, by name, held as the program's windows hold them.
#include <optional>
#include <string>
#include <vector>

#include "desktop/inputs/RunInputs.h"

namespace driver {

struct DriverOptions {
    // The indices, the files, the type, the structure, the candidates and the PC mode, and
    // each number option's text in the edit that holds it in the window. Which edits count
    // is settled when the run is checked, as the window settles it.
    desktop::inputs::RunInputs inputs;
    bool printComponents = false;
    bool printPairs = false;
};

// The options, or an error text for the user, or neither when --help asks for the usage.
struct ParsedOptions {
    std::optional<DriverOptions> options;
    std::string error;
    bool help = false;
};

// A number option takes a plain number with a decimal point: an optional minus sign, digits
// with at most one point, an optional exponent ("-12.5e3"). NaN, infinities, hexadecimal
// numbers, a comma, a plus sign and blanks are refused here, whatever the locale.
ParsedOptions parseDriverOptions(const std::vector<std::string>& arguments);

extern const char* const driverUsage;

}  // namespace driver
