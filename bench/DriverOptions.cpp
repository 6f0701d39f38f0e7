#include "DriverOptions.h"

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
    "candidates), --components and --pairs (print them too) off. --help prints this text.\n"
    "Numbers are plain, with a decimal point whatever the locale (not NaN, inf, 0x1p3 or 1,5).\n"
    "The inputs are checked as the program's window checks them, with the window's messages, and\n"
    "a number counts only where the window enables its edit, else it is 0: --threshold with a\n"
    "binary index unless the type is Links, --distance and --probability with F, AWF or PC and\n"
    "the type Distances or none, --AL with LCP, IIC or PC, --min-probability with --all-paths no.\n"
    "Exit status: 0 after a run; 1 when the window's check (no index, a number no float holds)\n"
    "or the engine's check refused the run, its messages on standard error and\n"
    "errors<TAB><TAB>N on standard output; 2 for a wrong command line, a value that is no plain\n"
    "number among them; 3 when the run ended with an error (out of memory).\n";

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// An optional minus sign, digits with at most one point, an optional exponent: what the
// C library reads as a number, without its words (nan, inf) and hexadecimal forms.
bool isPlainNumber(const std::string& text) {
    std::size_t at = !text.empty() && text.front() == '-' ? 1 : 0;
    bool anyDigit = false;
    bool point = false;
    for (; at < text.size() && (isDigit(text[at]) || (text[at] == '.' && !point)); ++at) {
        anyDigit = anyDigit || isDigit(text[at]);
        point = point || text[at] == '.';
    }
    if (!anyDigit) return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        if (at == text.size() || !isDigit(text[at])) return false;
        while (at < text.size() && isDigit(text[at])) ++at;
    }
    return at == text.size();
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

bool selectIndices(const std::string& list, desktop::inputs::RunInputs& in) {
    std::stringstream stream(list);
    std::string name;
    while (std::getline(stream, name, ',')) {
        if (name == "all") {
            in.doA = in.doCCP = in.doLCP = in.doIIC = in.doNC = in.doNL = in.doH = in.doF = in.doAWF = in.doPC = true;
        } else if (name == "A") in.doA = true;
        else if (name == "NL") in.doNL = true;
        else if (name == "NC") in.doNC = true;
        else if (name == "H") in.doH = true;
        else if (name == "CCP") in.doCCP = true;
        else if (name == "LCP") in.doLCP = true;
        else if (name == "IIC") in.doIIC = true;
        else if (name == "F") in.doF = true;
        else if (name == "AWF") in.doAWF = true;
        else if (name == "PC") in.doPC = true;
        else return false;
    }
    return true;
}

// The edit that holds a number option's text, or null for an option that takes no number.
desktop::inputs::EditState* numberEdit(const std::string& name, desktop::inputs::RunInputs& in) {
    if (name == "--threshold") return &in.threshold;
    if (name == "--distance") return &in.distance;
    if (name == "--probability") return &in.probability;
    if (name == "--min-probability") return &in.minProbability;
    if (name == "--AL") return &in.landscapeArea;
    return nullptr;
}

}  // namespace

ParsedOptions parseDriverOptions(const std::vector<std::string>& arguments) {
    DriverOptions options;
    desktop::inputs::RunInputs& in = options.inputs;
    in.connectionType = -1;
    in.fullMatrix = false;
    for (desktop::inputs::EditState* edit : {&in.threshold, &in.distance, &in.probability, &in.minProbability,
                                             &in.landscapeArea})
        edit->text = "0";
    const auto failure = [](const std::string& text) { return ParsedOptions{std::nullopt, text}; };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--candidates") { in.addNodes = true; continue; }
        if (name == "--components") { options.printComponents = true; continue; }
        if (name == "--pairs") { options.printPairs = true; continue; }
        if (name == "--help" || name == "-h") return ParsedOptions{std::nullopt, {}, true};
        if (!takesValue(name)) return failure("unknown option " + name);
        if (i + 1 >= arguments.size()) return failure("missing value after " + name);
        const std::string& value = arguments[++i];
        if (name == "--nodes") in.nodeFile = value;
        else if (name == "--connections") in.connectionFile = value;
        else if (name == "--type") {
            if (value == "Distances") in.connectionType = 0;
            else if (value == "Probabilities") in.connectionType = 1;
            else if (value == "Links") in.connectionType = 2;
            else if (value == "none") in.connectionType = -1;
            else return failure("unknown connection type " + value);
        } else if (name == "--structure") {
            if (value != "Full" && value != "Partial") return failure("unknown structure " + value);
            in.fullMatrix = value == "Full";
        } else if (name == "--indices") {
            if (!selectIndices(value, in)) return failure("unknown index in " + value);
        } else if (name == "--all-paths") {
            if (value != "yes" && value != "no") return failure("--all-paths takes yes or no");
            in.allPaths = value == "yes";
        } else if (!isPlainNumber(value)) {
            return failure("not a number after " + name + ": " + value);
        } else {
            numberEdit(name, in)->text = value;
        }
    }
    if (in.nodeFile.empty() || in.connectionFile.empty()) return failure("--nodes and --connections are needed");
    return ParsedOptions{options, {}};
}

}  // namespace driver
