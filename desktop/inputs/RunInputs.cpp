#include "desktop/inputs/RunInputs.h"

#include <cmath>
#include <limits>

#include "engine/tamblorProgram.h"
#include "sysutils/Exception.h"
#include "sysutils/FloatConversion.h"

namespace desktop::inputs {
namespace {

// The number in `text` under the regional settings, as the float the conversion of the
// double read rounds it to; false when it is none, and when no float holds it (half the gap
// above the largest float and beyond, which would round to an infinity): an edit never
// hands the engine an infinity.
bool toNumber(const std::string& text, float& value) {
    try {
        const double number = sysutils::StrToFloat(text);
        const double overflow = std::numeric_limits<float>::max() + std::ldexp(1.0, 103);
        if (std::fabs(number) >= overflow) return false;
        value = static_cast<float>(number);
        return true;
    } catch (const sysutils::EConvertError&) {
        return false;
    }
}

// An enabled edit that must hold a number: reports `message` when it does not.
void checkNumber(const EditState& edit, const char* message, float& value, std::vector<std::string>& errors) {
    value = 0;
    if (edit.enabled && !toNumber(edit.text, value)) errors.emplace_back(message);
}

}  // namespace

RunInputCheck checkRunInputs(const RunInputs& in) {
    RunInputCheck check;
    EngineArguments& out = check.arguments;
    std::vector<std::string>& errors = check.errors;

    out.doCCP = in.doCCP, out.doLCP = in.doLCP, out.doIIC = in.doIIC, out.doNC = in.doNC, out.doNL = in.doNL;
    out.doH = in.doH, out.doF = in.doF, out.doAWF = in.doAWF, out.doPC = in.doPC, out.doA = in.doA;
    if (!(in.doCCP || in.doLCP || in.doIIC || in.doNC || in.doNL || in.doH || in.doF || in.doAWF || in.doPC))
        errors.emplace_back("At least one connectivity index should be selected for analysis");

    out.AL = 0;
    if (in.landscapeArea.enabled && !in.landscapeArea.text.empty() && !toNumber(in.landscapeArea.text, out.AL))
        errors.emplace_back("Error in the value of the maximum landscape attribute (AL)");

    out.fullMatrix = in.fullMatrix;
    out.addNodes = in.addNodes;
    if (in.nodeFile.empty()) errors.emplace_back("No node file name specified");
    if (in.connectionFile.empty()) errors.emplace_back("No connection file name specified");
    out.nodeFile = in.nodeFile;
    out.connectionFile = in.connectionFile;

    out.isDistances = in.connectionType == 0;
    out.isProbabilities = in.connectionType == 1;
    out.isLinks = in.connectionType == 2;
    checkNumber(in.threshold,
                out.isDistances ? "Error in the distance threshold value (binary indices)"
                                : "Error in the probability threshold value (binary indices)",
                out.threshold, errors);
    checkNumber(in.probability, "Error in the probability value (probabilistic indices)", out.probability, errors);
    checkNumber(in.distance, "Error in the distance value (probabilistic indices)", out.distance, errors);
    checkNumber(in.minProbability, "Error in the minimum probability value (PC index)", out.minProbability, errors);
    out.allPaths = in.allPaths;
    return check;
}

std::unique_ptr<engine::tamblorProgram> createExecution(const EngineArguments& a) {
    return std::make_unique<engine::tamblorProgram>(a.isDistances, a.isProbabilities, a.isLinks, a.doA, a.doCCP,
                                                    a.doLCP, a.doIIC, a.doNC, a.doNL, a.doH, a.doF, a.doAWF, a.doPC,
                                                    a.nodeFile, a.connectionFile, a.threshold, a.distance,
                                                    a.probability, a.minProbability, a.allPaths, a.fullMatrix,
                                                    a.addNodes, a.AL);
}

}  // namespace desktop::inputs
