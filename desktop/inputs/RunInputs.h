#pragma once
// The inputs of one run as the windows held them at the click on Run, their check
// with one message per bad or missing value in a fixed order, and the 23 values that
// the engine object is built from. No Qt: the headless driver checks its values with it too.
#include <memory>
#include <string>
#include <vector>

namespace engine {
class tamblorProgram;
}

namespace desktop::inputs {

struct EditState {
    std::string text;
    bool enabled = false;
};

struct RunInputs {
    bool doCCP = false, doLCP = false, doIIC = false, doNC = false, doNL = false, doH = false;
    bool doF = false, doAWF = false, doPC = false;
    bool doA = false;
    EditState landscapeArea, threshold, probability, distance, minProbability;
    bool fullMatrix = true;
    bool addNodes = false;
    bool allPaths = true;
    std::string nodeFile, connectionFile;
    int connectionType = 0;  // item index: 0 Distances, 1 Probabilities, 2 Links, -1 none
};

struct EngineArguments {
    bool isDistances = false, isProbabilities = false, isLinks = false;
    bool doA = false, doCCP = false, doLCP = false, doIIC = false, doNC = false, doNL = false, doH = false;
    bool doF = false, doAWF = false, doPC = false;
    std::string nodeFile, connectionFile;
    float threshold = 0, distance = 0, probability = 0, minProbability = 0;
    bool allPaths = true, fullMatrix = true, addNodes = false;
    float AL = 0;
};

struct RunInputCheck {
    std::vector<std::string> errors;  // in the order they are shown
    EngineArguments arguments;        // meaningful when there is no error
};

// Only enabled edits are checked; an empty enabled edit is not a number, except the
// landscape attribute, whose empty edit means 0. An edit's number is read under the
// regional settings as a double and then taken as a float; one that no float holds (beyond
// the float range) is an error of its edit, like a text that is no number ("NaN", "inf").
RunInputCheck checkRunInputs(const RunInputs& inputs);

std::unique_ptr<engine::tamblorProgram> createExecution(const EngineArguments& arguments);

}  // namespace desktop::inputs
