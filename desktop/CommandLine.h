#pragma once
// Presets of the main window's inputs from the command line, so that the program can
// start on a given pair of files:
//   --nodes FILE  --connections FILE  --structure Full|Partial
//   --type Distances|Probabilities|Links
// Unknown arguments and missing values are reported in one message box.
#include <optional>
#include <string>
#include <vector>

namespace desktop {

struct InputPresets {
    std::optional<std::string> nodeFile;
    std::optional<std::string> connectionFile;
    std::optional<bool> fullMatrix;
    std::optional<int> connectionType;
    std::vector<std::string> errors;
};

InputPresets parseInputPresets(const std::vector<std::string>& arguments);

// Applies the presets to the main window as a fresh, unmodified project.
void applyInputPresets(const InputPresets& presets);

}  // namespace desktop
