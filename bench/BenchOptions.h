#pragma once
// The benchmarks' command line: a table of options, each with its value, the default the
// usage shows and a setter, read from the arguments in one pass. --help (or -h) asks for
// the usage; an unknown option, a missing value, a stray word or a value that its setter
// refuses ends the parse with what was wrong, before anything is run.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <type_traits>
#include <vector>

namespace bench {

struct Option {
    std::string name;         // "--sizes"
    std::string value;        // its value in the usage: "N,N,..."
    std::string defaultText;  // the default, as the usage shows it
    std::string description;
    // Takes the value; throws std::invalid_argument with the reason when it is not one it takes.
    std::function<void(const std::string&)> set;
};

struct CommandLine {
    std::string program;
    std::string about;  // what the program does and what its default run takes, lines ending in '\n'
    std::vector<Option> options;
};

std::string usageOf(const CommandLine& commandLine);

struct ParsedArguments {
    bool help = false;
    std::string error;  // empty: the options are set and the program runs
};

ParsedArguments parseArguments(const CommandLine& commandLine, const std::vector<std::string>& arguments);

// The start of a benchmark's main: reads argv[1..]. For --help prints the usage on standard
// output and gives 0; for a refused command line prints what was wrong and the usage on
// standard error and gives 2; nullopt when the program is to run.
std::optional<int> exitCodeBeforeRun(const CommandLine& commandLine, int argc, char** argv);

// Readers of values for the setters; each throws std::invalid_argument with the reason.

// A whole number, all of `text`, from `least` up.
template <typename Integer>
Integer wholeNumber(const std::string& text, Integer least) {
    if (std::is_unsigned_v<Integer> && text.size() > 1 && text.front() == '-' &&
        text.find_first_not_of("0123456789", 1) == std::string::npos)
        throw std::invalid_argument('"' + text + "\" is less than 0");
    Integer number{};
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, number);
    if (failure == std::errc::result_out_of_range) throw std::invalid_argument('"' + text + "\" is too large");
    if (failure != std::errc() || stop != end || text.empty())
        throw std::invalid_argument('"' + text + "\" is not a whole number");
    if (number < least) throw std::invalid_argument('"' + text + "\" is less than " + std::to_string(least));
    return number;
}

// A number, all of `text`, from `least` to `most`.
template <typename Real>
Real realNumber(const std::string& text, Real least, Real most) {
    Real number{};
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, number);
    if (failure == std::errc::invalid_argument || stop != end || text.empty())
        throw std::invalid_argument('"' + text + "\" is not a number");
    if (failure != std::errc() || !std::isfinite(number) || number < least || number > most) {
        char range[64];
        std::snprintf(range, sizeof range, "\" is not from %g to %g", static_cast<double>(least),
                      static_cast<double>(most));
        throw std::invalid_argument('"' + text + range);
    }
    return number;
}

// The items of a comma-separated list, at least one; an empty list ("") and an empty item
// are refused.
std::vector<std::string> commaItems(const std::string& text);

// A comma-separated list of whole numbers from `least` up, at least one.
std::vector<int> wholeNumbers(const std::string& text, int least);

// The same, where "" is no number at all (an option that may ask for nothing).
std::vector<int> wholeNumbersOrNone(const std::string& text, int least);

// `text` when it is one of `allowed`.
std::string oneOf(const std::string& text, const std::vector<std::string>& allowed);

// `text` as a folder's path: any but the empty one.
std::string folderPath(const std::string& text);

// The numbers or names as a comma-separated list, as the usage shows a default.
std::string commaText(const std::vector<int>& numbers);
std::string commaText(const std::vector<std::string>& names);

// Options that more than one benchmark takes, each setting the variable it is given,
// whose value is the default the usage shows.
Option sizesOption(std::vector<int>& sizes);      // --sizes: the landscapes' numbers of nodes
Option fullUpToOption(int& fullUpTo);             // --full-up-to: a Full connection file too
Option threadsOption(unsigned& threads);          // --threads: threads of the fast path
Option folderOption(std::string& folder, const std::string& description);  // --folder

}  // namespace bench
