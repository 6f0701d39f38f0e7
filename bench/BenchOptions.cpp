#include "BenchOptions.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace bench {
namespace {

std::string nameAndValue(const Option& option) { return option.name + " " + option.value; }

const Option* optionNamed(const CommandLine& commandLine, const std::string& name) {
    for (const Option& option : commandLine.options)
        if (option.name == name) return &option;
    return nullptr;
}

}  // namespace

std::string usageOf(const CommandLine& commandLine) {
    std::size_t width = std::string("--help").size();
    for (const Option& option : commandLine.options) width = std::max(width, nameAndValue(option).size());
    const std::string indent(width + 4, ' ');
    const auto row = [&indent](const std::string& left, const std::string& right) {
        return "  " + left + indent.substr(left.size() + 2) + right + "\n";
    };
    std::string usage = "usage: " + commandLine.program + " [OPTION VALUE]...\n" + commandLine.about + "\nOptions:\n";
    for (const Option& option : commandLine.options) {
        const std::string defaultText = "(default " + option.defaultText + ")";
        const std::string oneLine = row(nameAndValue(option), option.description + " " + defaultText);
        // A row too wide for a terminal of 100 columns shows its default on a line of its own.
        if (oneLine.size() <= 101) usage += oneLine;
        else usage += row(nameAndValue(option), option.description) + indent + defaultText + "\n";
    }
    usage += row("--help", "print this text and run nothing");
    return usage;
}

ParsedArguments parseArguments(const CommandLine& commandLine, const std::vector<std::string>& arguments) {
    const auto refused = [](const std::string& error) { return ParsedArguments{false, error}; };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h") return ParsedArguments{true, {}};
        const Option* option = optionNamed(commandLine, name);
        if (option == nullptr)
            return refused(name.size() > 1 && name.front() == '-' ? "unknown option " + name
                                                                  : "unexpected argument \"" + name + "\"");
        if (i + 1 == arguments.size()) return refused("missing value after " + name);
        const std::string& value = arguments[++i];
        try {
            option->set(value);
        } catch (const std::invalid_argument& reason) {
            return refused(name + ": " + reason.what());
        }
    }
    return ParsedArguments{};
}

std::optional<int> exitCodeBeforeRun(const CommandLine& commandLine, int argc, char** argv) {
    const ParsedArguments parsed = parseArguments(commandLine, std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::fputs(usageOf(commandLine).c_str(), stdout);
        return 0;
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "%s: %s\n%s", commandLine.program.c_str(), parsed.error.c_str(),
                     usageOf(commandLine).c_str());
        return 2;
    }
    return std::nullopt;
}

std::vector<std::string> commaItems(const std::string& text) {
    if (text.empty()) throw std::invalid_argument("the list is empty");
    std::vector<std::string> items;
    std::stringstream list(text + ",");
    for (std::string item; std::getline(list, item, ',');) {
        if (item.empty()) throw std::invalid_argument('"' + text + "\" has an empty item");
        items.push_back(item);
    }
    return items;
}

std::vector<int> wholeNumbers(const std::string& text, int least) {
    std::vector<int> numbers;
    for (const std::string& item : commaItems(text)) numbers.push_back(wholeNumber(item, least));
    return numbers;
}

std::vector<int> wholeNumbersOrNone(const std::string& text, int least) {
    return text.empty() ? std::vector<int>{} : wholeNumbers(text, least);
}

std::string oneOf(const std::string& text, const std::vector<std::string>& allowed) {
    if (std::find(allowed.begin(), allowed.end(), text) != allowed.end()) return text;
    std::string names;
    for (const std::string& name : allowed) names += (names.empty() ? "" : ", ") + name;
    throw std::invalid_argument('"' + text + "\" is not one of " + names);
}

std::string folderPath(const std::string& text) {
    if (text.empty()) throw std::invalid_argument("the path is empty");
    return text;
}

std::string commaText(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ",") + name;
    return text;
}

std::string commaText(const std::vector<int>& numbers) {
    std::vector<std::string> names;
    for (const int number : numbers) names.push_back(std::to_string(number));
    return commaText(names);
}

Option sizesOption(std::vector<int>& sizes) {
    return {"--sizes", "N,N,...", commaText(sizes), "the landscapes' numbers of nodes",
            [&sizes](const std::string& v) { sizes = wholeNumbers(v, 1); }};
}

Option fullUpToOption(int& fullUpTo) {
    return {"--full-up-to", "N", std::to_string(fullUpTo), "a Full connection file too up to this size",
            [&fullUpTo](const std::string& v) { fullUpTo = wholeNumber(v, 0); }};
}

Option threadsOption(unsigned& threads) {
    return {"--threads", "N", std::to_string(threads), "threads of the fast path, 0 for every core",
            [&threads](const std::string& v) { threads = wholeNumber<unsigned>(v, 0); }};
}

Option folderOption(std::string& folder, const std::string& description) {
    return {"--folder", "DIR", folder, description, [&folder](const std::string& v) { folder = folderPath(v); }};
}

}  // namespace bench
