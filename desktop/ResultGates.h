#pragma once
// Which result actions an execution offers. After a completed run: the node
// importances, the overall values and the events always, the links with binary
// indices, the components when they were computed, the direct probabilities with
// probabilistic indices and the maximum-product ones with PC. After a cancel or an
// exception only the actions whose data exist, and none without an engine object.
#include <array>
#include <cstddef>

#include "desktop/ExecutionProgress.h"

namespace engine {
class tamblorProgram;
}

namespace desktop {

// In the order in which they are set.
enum class ResultAction {
    WriteDBF,
    WriteTXT,
    ViewRes,
    ViewGlobRes,
    SaveGlobRes,
    SaveEvents,
    ViewAdj,
    SaveAdjacencies,
    ViewComponents,
    SaveCompTXT,
    SaveCompDBF,
    ViewProb,
    SaveProbabilities,
    ViewProbMax,
    SaveProbMax,
};
constexpr std::size_t resultActionCount = 15;
using ResultGates = std::array<bool, resultActionCount>;

struct ExecutionFacts {
    bool exists = false;
    ExecutionProgress::Stage stage = ExecutionProgress::Stage::Created;
    bool overallComputed = false;
    bool binaryIndices = false;
    bool components = false;
    bool probabilisticIndices = false;
    bool maxProductProbabilities = false;
};

// The engine's flags are read only once its check has derived them.
ExecutionFacts executionFacts(const engine::tamblorProgram* execution, const ExecutionProgress* progress);
ResultGates resultGates(const ExecutionFacts& facts);

}  // namespace desktop
