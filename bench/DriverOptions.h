#pragma once
// The command line of the headless engine driver: the two input files and the run
// parameters of one execution, by name.
#include <optional>
#include <string>
#include <vector>

namespace driver {

struct DriverOptions {
    std::string nodeFile;
    std::string connectionFile;
    bool isDistances = false;
    bool isProbabilities = false;
    bool isLinks = false;
    bool doA = false, doCCP = false, doLCP = false, doIIC = false, doNC = false, doNL = false, doH = false,
         doF = false, doAWF = false, doPC = false;
    float threshold = 0.0f;
    float distance = 0.0f;
    float probability = 0.0f;
    float minProbability = 0.0f;
    bool allPaths = true;
    bool fullMatrix = false;
    bool addNodes = false;
    float AL = 0.0f;
    bool printComponents = false;
    bool printPairs = false;
};

// The options, or an error text for the user, or neither when --help asks for the usage.
struct ParsedOptions {
    std::optional<DriverOptions> options;
    std::string error;
    bool help = false;
};

ParsedOptions parseDriverOptions(const std::vector<std::string>& arguments);

extern const char* const driverUsage;

}  // namespace driver
