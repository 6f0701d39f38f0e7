// Which result actions an execution offers, after a completed run and after a cancel
// or an exception that left only part of the data.
#include <gtest/gtest.h>

#include <set>

#include "desktop/ResultGates.h"

namespace {

using desktop::ExecutionFacts;
using desktop::ResultAction;
using Stage = desktop::ExecutionProgress::Stage;

struct GateCase {
    const char* name;
    ExecutionFacts facts;
    std::set<ResultAction> offered;
};

class Gates : public ::testing::TestWithParam<GateCase> {};

TEST_P(Gates, OfferOnlyWhatWasComputed) {
    const desktop::ResultGates gates = desktop::resultGates(GetParam().facts);
    for (std::size_t i = 0; i < desktop::resultActionCount; ++i)
        EXPECT_EQ(gates[i], GetParam().offered.count(static_cast<ResultAction>(i)) == 1) << "action " << i;
}

using A = ResultAction;
const std::set<ResultAction> always = {A::WriteDBF, A::WriteTXT, A::ViewRes, A::ViewGlobRes, A::SaveGlobRes,
                                       A::SaveEvents};

std::set<ResultAction> plus(std::set<ResultAction> base, std::initializer_list<ResultAction> more) {
    base.insert(more);
    return base;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Gates,
    ::testing::Values(
        GateCase{"NoEngineObjectNothing", {}, {}},
        GateCase{"CompletedWithEverything",
                 {true, Stage::Processed, true, true, true, true, true},
                 plus(always, {A::ViewAdj, A::SaveAdjacencies, A::ViewComponents, A::SaveCompTXT, A::SaveCompDBF,
                               A::ViewProb, A::SaveProbabilities, A::ViewProbMax, A::SaveProbMax})},
        GateCase{"CompletedWithHIICAndNLOnly",
                 {true, Stage::Processed, true, true, false, false, false},
                 plus(always, {A::ViewAdj, A::SaveAdjacencies})},
        GateCase{"CompletedWithFOnlyHasNoMaximumProduct",
                 {true, Stage::Processed, true, false, false, true, false},
                 plus(always, {A::ViewProb, A::SaveProbabilities})},
        GateCase{"MaximumProductNeedsProbabilisticIndices",
                 {true, Stage::Processed, true, false, false, false, true},
                 always},
        GateCase{"CancelledBeforeTheCheckOnlyTheEvents", {true, Stage::Created, false, false, false, false, false},
                 {A::SaveEvents}},
        GateCase{"CancelledWhileReadingNoMatrices", {true, Stage::Checked, false, true, true, true, true},
                 {A::SaveEvents}},
        GateCase{"CancelledBeforeTheOverallIndicesOnlyTheMatrices",
                 {true, Stage::InputsRead, false, true, true, true, true},
                 {A::SaveEvents, A::ViewAdj, A::SaveAdjacencies, A::ViewProb, A::SaveProbabilities}},
        GateCase{"CancelledAmongTheNodesNoImportances",
                 {true, Stage::InputsRead, true, true, true, true, true},
                 {A::SaveEvents, A::ViewGlobRes, A::SaveGlobRes, A::ViewAdj, A::SaveAdjacencies, A::ViewComponents,
                  A::SaveCompTXT, A::SaveCompDBF, A::ViewProb, A::SaveProbabilities, A::ViewProbMax,
                  A::SaveProbMax}}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
