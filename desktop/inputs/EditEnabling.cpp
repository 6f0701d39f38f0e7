#include "desktop/inputs/EditEnabling.h"

namespace desktop::inputs {

void enableEditsByTheWindowRules(RunInputs& in) {
    const bool anyBinary = in.doCCP || in.doLCP || in.doIIC || in.doNC || in.doNL || in.doH;
    const bool anyProbabilistic = in.doF || in.doAWF || in.doPC;
    const bool links = in.connectionType == 2;
    const bool probabilities = in.connectionType == 1;
    in.threshold.enabled = anyBinary && !links;
    in.distance.enabled = anyProbabilistic && !links && !probabilities;
    in.probability.enabled = in.distance.enabled;
    in.landscapeArea.enabled = in.doLCP || in.doIIC || in.doPC;
    in.minProbability.enabled = !in.allPaths;
}

}  // namespace desktop::inputs
