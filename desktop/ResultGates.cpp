#include "desktop/ResultGates.h"

#include "engine/tamblorProgram.h"

namespace desktop {

ExecutionFacts executionFacts(const engine::tamblorProgram* execution, const ExecutionProgress* progress) {
    ExecutionFacts facts;
    if (execution == nullptr || progress == nullptr) return facts;
    facts.exists = true;
    facts.stage = progress->stage.load();
    facts.overallComputed = progress->overallComputed();
    if (facts.stage >= ExecutionProgress::Stage::Checked) {
        facts.binaryIndices = execution->hasBinaryIndices();
        facts.components = execution->hasComponents();
        facts.probabilisticIndices = execution->hasProbabilisticIndices();
        facts.maxProductProbabilities = execution->hasMaxProductProbabilities();
    }
    return facts;
}

ResultGates resultGates(const ExecutionFacts& facts) {
    using Stage = ExecutionProgress::Stage;
    ResultGates gates{};
    if (!facts.exists) return gates;
    const bool importances = facts.stage >= Stage::Processed;
    const bool matrices = facts.stage >= Stage::InputsRead;
    const bool overall = facts.overallComputed;
    const auto set = [&gates](ResultAction action, bool enabled) { gates[static_cast<std::size_t>(action)] = enabled; };
    set(ResultAction::WriteDBF, importances);
    set(ResultAction::WriteTXT, importances);
    set(ResultAction::ViewRes, importances);
    set(ResultAction::ViewGlobRes, overall);
    set(ResultAction::SaveGlobRes, overall);
    set(ResultAction::SaveEvents, true);
    set(ResultAction::ViewAdj, matrices && facts.binaryIndices);
    set(ResultAction::SaveAdjacencies, matrices && facts.binaryIndices);
    set(ResultAction::ViewComponents, overall && facts.components);
    set(ResultAction::SaveCompTXT, overall && facts.components);
    set(ResultAction::SaveCompDBF, overall && facts.components);
    set(ResultAction::ViewProb, matrices && facts.probabilisticIndices);
    set(ResultAction::SaveProbabilities, matrices && facts.probabilisticIndices);
    const bool maxProduct = overall && facts.probabilisticIndices && facts.maxProductProbabilities;
    set(ResultAction::ViewProbMax, maxProduct);
    set(ResultAction::SaveProbMax, maxProduct);
    return gates;
}

}  // namespace desktop
