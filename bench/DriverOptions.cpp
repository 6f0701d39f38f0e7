#include "DriverOptions.h"

#include <charconv>
#include <sstream>

namespace driver {

const char* const driverUsage =
    "usage: brelmark_driver --nodes FILE --connections FILE --type Distances|Probabilities|Links|none\n"
    "         [--structure Full|Partial] [--indices all|A,NL,NC,H,CCP,LCP,IIC,F,AWF,PC]\n"
    "         [--threshold T] [--distance D] [--probability P] [--min-probability M]\n"
    "         [--all-paths yes|no] [--candidates] [--AL A] [--components] [--pairs]\n"
    "Runs one execution of the engine as the program's worker runs it: every message box printed\n"
    "to standard error, the results to standard output as name<TAB>index-or-ID<TAB>value.\n"
    "Defaults: --structure Partial, no index, --threshold 0, --distance 0, --probability 0,\n"
    "--min-probability 0, --all-paths yes, --AL 0; --candidates (the node file's third column marks\n"
    "candidates), --components and --pairs (print them too) off. --help prints this text.\n";

namespace {

bool parseFloat(const std::string& text, float& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// The options that take a value; the others are flags.
const char* const optionsWithValue[] = {"--nodes",     "--connections", "--type",        "--structure",
                                        "--indices",   "--all-paths",   "--threshold",   "--distance",
                                        "--probability", "--min-probability", "--AL"};

bool takesValue(const std::string& name) {
    for (const char* option : optionsWithValue)
        if (name == option) return true;
    return false;
}

bool selectIndices(const std::string& list, DriverOptions& options) {
    std::stringstream stream(list);
    std::string name;
    while (std::getline(stream, name, ',')) {
        if (name == "all") {
            options.doA = options.doCCP = options.doLCP = options.doIIC = options.doNC = options.doNL = options.doH =
                options.doF = options.doAWF = options.doPC = true;
        } else if (name == "A") options.doA = true;
        else if (name == "NL") options.doNL = true;
        else if (name == "NC") options.doNC = true;
        else if (name == "H") options.doH = true;
        else if (name == "CCP") options.doCCP = true;
        else if (name == "LCP") options.doLCP = true;
        else if (name == "IIC") options.doIIC = true;
        else if (name == "F") options.doF = true;
        else if (name == "AWF") options.doAWF = true;
        else if (name == "PC") options.doPC = true;
        else return false;
    }
    return true;
}

}  // namespace

ParsedOptions parseDriverOptions(const std::vector<std::string>& arguments) {
    DriverOptions options;
    const auto failure = [](const std::string& text) { return ParsedOptions{std::nullopt, text}; };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--candidates") { options.addNodes = true; continue; }
        if (name == "--components") { options.printComponents = true; continue; }
        if (name == "--pairs") { options.printPairs = true; continue; }
        if (name == "--help" || name == "-h") return ParsedOptions{std::nullopt, {}, true};
        if (!takesValue(name)) return failure("unknown option " + name);
        if (i + 1 >= arguments.size()) return failure("missing value after " + name);
        const std::string& value = arguments[++i];
        float number = 0.0f;
        const bool numeric = parseFloat(value, number);
        if (name == "--nodes") options.nodeFile = value;
        else if (name == "--connections") options.connectionFile = value;
        else if (name == "--type") {
            options.isDistances = value == "Distances";
            options.isProbabilities = value == "Probabilities";
            options.isLinks = value == "Links";
            if (!options.isDistances && !options.isProbabilities && !options.isLinks && value != "none")
                return failure("unknown connection type " + value);
        } else if (name == "--structure") {
            if (value != "Full" && value != "Partial") return failure("unknown structure " + value);
            options.fullMatrix = value == "Full";
        } else if (name == "--indices") {
            if (!selectIndices(value, options)) return failure("unknown index in " + value);
        } else if (name == "--all-paths") {
            if (value != "yes" && value != "no") return failure("--all-paths takes yes or no");
            options.allPaths = value == "yes";
        } else if (!numeric) {
            return failure("not a number after " + name + ": " + value);
        } else if (name == "--threshold") options.threshold = number;
        else if (name == "--distance") options.distance = number;
        else if (name == "--probability") options.probability = number;
        else if (name == "--min-probability") options.minProbability = number;
        else options.AL = number;
    }
    if (options.nodeFile.empty() || options.connectionFile.empty()) return failure("--nodes and --connections are needed");
    return ParsedOptions{options, {}};
}

}  // namespace driver
