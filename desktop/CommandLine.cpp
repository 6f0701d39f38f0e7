#include "desktop/CommandLine.h"

#include <filesystem>
#include <system_error>

#include "desktop/FormPrin.h"

namespace desktop {
namespace {

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

}  // namespace

InputPresets parseInputPresets(const std::vector<std::string>& arguments) {
    InputPresets presets;
    static const std::vector<std::string> types = {"Distances", "Probabilities", "Links"};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        const bool known = name == "--nodes" || name == "--connections" || name == "--structure" || name == "--type";
        if (!known) {
            presets.errors.push_back("Unknown argument: " + name);
            continue;
        }
        if (i + 1 >= arguments.size()) {
            presets.errors.push_back("Missing value after " + name);
            break;
        }
        const std::string& value = arguments[++i];
        if (name == "--nodes") {
            presets.nodeFile = absolutePath(value);
        } else if (name == "--connections") {
            presets.connectionFile = absolutePath(value);
        } else if (name == "--structure") {
            if (value == "Full" || value == "Partial") {
                presets.fullMatrix = value == "Full";
            } else {
                presets.errors.push_back("Unknown structure: " + value);
            }
        } else {
            int found = -1;
            for (std::size_t t = 0; t < types.size(); ++t)
                if (types[t] == value) found = static_cast<int>(t);
            if (found < 0) {
                presets.errors.push_back("Unknown connection type: " + value);
            } else {
                presets.connectionType = found;
            }
        }
    }
    return presets;
}

void applyInputPresets(const InputPresets& presets) {
    TFormPrincipal* window = FormPrincipal;
    if (window == nullptr) return;
    if (presets.nodeFile) window->EditNodes->SetText(*presets.nodeFile);
    if (presets.connectionFile) window->EditConnection->SetText(*presets.connectionFile);
    if (presets.fullMatrix) {
        window->RadioButtonFull->SetChecked(*presets.fullMatrix);
        window->RadioButtonPartial->SetChecked(!*presets.fullMatrix);
    }
    if (presets.connectionType) {
        window->ComboBoxConnectionType->SetItemIndex(*presets.connectionType);
        window->ComboBoxConnectionTypeChange(window);
    }
    window->modified = false;
}

}  // namespace desktop
