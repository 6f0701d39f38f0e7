#pragma once
// The benchmarks' lists on the command line: items separated by commas ("1000,2000"),
// empty items left out, so that "" is an empty list.
#include <sstream>
#include <string>
#include <vector>

namespace bench {

inline std::vector<std::string> commaItems(const std::string& text) {
    std::vector<std::string> items;
    std::stringstream list(text);
    for (std::string item; std::getline(list, item, ',');)
        if (!item.empty()) items.push_back(item);
    return items;
}

inline std::vector<int> commaNumbers(const std::string& text) {
    std::vector<int> numbers;
    for (const std::string& item : commaItems(text)) numbers.push_back(std::stoi(item));
    return numbers;
}

}  // namespace bench
