// Which processing path a run takes, and what stays the same whichever it takes: inputs
// outside the fast path's exactness conditions go to the reference, tiny runs too under
// the automatic choice; the thread count changes no value; time totals go to the indices
// that were selected, as on the reference path.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <limits>

#include "engine/fast/WorkerPool.h"
#include "engine/support/FastPathRuns.h"
#include "sysutils/DateTime.h"

namespace {

using engine::ProcessingPath;
using testing_support::Kind;
using testing_support::ProcessedInMemory;
using testing_support::RunInputs;

// A ring of `n` patches with chords, and a candidate between two of them.
RunInputs ring(int n, Kind kind) {
    RunInputs in;
    in.kind = kind;
    in.resize(n, 1);
    for (int i = 0; i < n; ++i) {
        in.attributes[static_cast<std::size_t>(i)] = static_cast<float>(1 + i % 5);
        const float near = kind == Kind::Distances ? 1.0f + 0.1f * static_cast<float>(i % 3) : kind == Kind::Probabilities ? 0.5f : 1.0f;
        in.connect(i, (i + 1) % n, near);
        if (i % 4 == 0) in.connect(i, (i + n / 2) % n, kind == Kind::Distances ? 3.0f : kind == Kind::Probabilities ? 0.2f : 1.0f);
    }
    in.addedConnections[0][0] = kind == Kind::Distances ? 1.0f : kind == Kind::Probabilities ? 0.5f : 1.0f;
    in.addedConnections[0][static_cast<std::size_t>(n / 3)] = in.addedConnections[0][0];
    in.threshold = kind == Kind::Distances ? 2.0f : kind == Kind::Probabilities ? 0.3f : 1.0f;
    in.distance = 2.0f;
    if (kind == Kind::Links) in.doF = in.doAWF = in.doPC = false;
    return in;
}

struct Case {
    const char* name;
    std::function<void(RunInputs&)> change;
    ProcessingPath path;  // asked for
    ProcessingPath taken;
};

class ProcessingPathChoice : public ::testing::TestWithParam<Case> {};

TEST_P(ProcessingPathChoice, TakesTheExpectedPathAndGivesTheReferenceValues) {
    const Case& c = GetParam();
    RunInputs in = ring(24, Kind::Distances);
    c.change(in);
    const ProcessedInMemory reference(in, ProcessingPath::Reference, 1);
    const ProcessedInMemory run(in, c.path, 4);
    EXPECT_EQ(run.program->processedOn, c.taken);
    testing_support::expectSameResults(run, reference);
}

const auto keep = [](RunInputs&) {};
INSTANTIATE_TEST_SUITE_P(
    Inputs, ProcessingPathChoice,
    ::testing::Values(
        Case{"AutomaticTakesTheFastPath", keep, ProcessingPath::Automatic, ProcessingPath::Fast},
        Case{"ReferenceWhenAskedFor", keep, ProcessingPath::Reference, ProcessingPath::Reference},
        Case{"AutomaticLeavesTinyRunsToTheReference", [](RunInputs& in) { in = ring(6, Kind::Distances); },
             ProcessingPath::Automatic, ProcessingPath::Reference},
        Case{"FastTakesTinyRunsToo", [](RunInputs& in) { in = ring(6, Kind::Distances); }, ProcessingPath::Fast,
             ProcessingPath::Fast},
        Case{"ANegativeDistance", [](RunInputs& in) { in.connect(3, 4, -1.0f); }, ProcessingPath::Fast,
             ProcessingPath::Reference},
        Case{"ADistanceThatIsNotANumber",
             [](RunInputs& in) { in.connect(3, 4, std::numeric_limits<float>::quiet_NaN()); }, ProcessingPath::Fast,
             ProcessingPath::Reference},
        Case{"ACandidateAtANegativeDistance", [](RunInputs& in) { in.addedConnections[0][5] = -2.0f; },
             ProcessingPath::Fast, ProcessingPath::Reference},
        Case{"AProbabilityAboveOne",
             [](RunInputs& in) {
                 in = ring(24, Kind::Probabilities);
                 in.connect(1, 2, 1.5f);
             },
             ProcessingPath::Fast, ProcessingPath::Reference},
        Case{"ANegativeAttribute", [](RunInputs& in) { in.attributes[7] = -1.0f; }, ProcessingPath::Fast,
             ProcessingPath::Reference},
        Case{"AnInfiniteCandidateAttribute",
             [](RunInputs& in) { in.addedAttributes[0] = std::numeric_limits<float>::infinity(); },
             ProcessingPath::Fast, ProcessingPath::Reference},
        Case{"LinksOutsideZeroAndOneStayExact",
             [](RunInputs& in) {
                 in = ring(24, Kind::Links);
                 in.connect(2, 9, 0.5f);
             },
             ProcessingPath::Fast, ProcessingPath::Fast}),
    [](const ::testing::TestParamInfo<Case>& test) { return std::string(test.param.name); });

TEST(FastPath, GivesTheSameValuesOnOneThreadAndOnMany) {
    const RunInputs in = ring(40, Kind::Probabilities);
    const ProcessedInMemory one(in, ProcessingPath::Fast, 1);
    const ProcessedInMemory many(in, ProcessingPath::Fast, 8);
    testing_support::expectSameResults(many, one);
}

// Pausing holds the run's thread where it calls the window, at a status text: every other
// thread of the fast path must be idle by then, or it would go on computing while paused.
TEST(FastPath, ReportsProgressOnlyWhileNoOtherThreadWorks) {
    struct Watching : sysutils::StatusPanels {
        void setPanelText(int, const std::string&) override {
            ++texts;
            if (engine::fast::WorkerPool::tasksRunning() != 0) ++whileWorking;
        }
        int texts = 0, whileWorking = 0;
    } status;
    RunInputs in = ring(120, Kind::Distances);
    auto program = testing_support::programOf(in, ProcessingPath::Fast, 8);
    sysutils::TStringList log;
    program->process(log, status);
    ASSERT_EQ(program->processedOn, ProcessingPath::Fast);
    EXPECT_GE(status.texts, 2 * (in.n() + in.candidates()));
    EXPECT_EQ(status.whileWorking, 0);
}

// A cancelled run gives up the parallel step it is in between two tasks: no task starts
// once the run is abandoned, and the step ends in WorkerPool::Abandoned, no failure.
TEST(FastPath, AnAbandonedRunStartsNoFurtherTaskOfItsStep) {
    engine::fast::WorkerPool pool(8);
    std::atomic<bool> abandoned{false};
    pool.setAbandoned([&abandoned] { return abandoned.load(); });
    std::atomic<int> started{0}, afterwards{0};
    EXPECT_THROW(pool.run(100000,
                          [&](std::int64_t index, unsigned) {
                              if (abandoned.load()) ++afterwards;
                              ++started;
                              if (index == 10) abandoned.store(true);
                          }),
                 engine::fast::WorkerPool::Abandoned);
    // Only the tasks already past the question when it turned could still start.
    EXPECT_LE(afterwards.load(), static_cast<int>(pool.size()));
    EXPECT_LT(started.load(), 100000);

    // A whole run gives up the same way, at its first step after the cancel.
    struct Cancelled : sysutils::StatusPanels {
        void setPanelText(int, const std::string&) override {}
        bool abandoned() const override { return true; }
    } status;
    auto program = testing_support::programOf(ring(120, Kind::Distances), ProcessingPath::Fast, 8);
    sysutils::TStringList log;
    EXPECT_THROW(program->process(log, status), engine::fast::WorkerPool::Abandoned);
}

// Each computation is bracketed by two readings of the clock; a clock that moves 7 ms per
// reading shows which totals a run adds to.
TEST(FastPath, AddsTimeOnlyToTheSelectedIndicesAsTheReferenceDoes) {
    std::int64_t ticks = 0;
    sysutils::ScopedTickCounter clock([&ticks] { return ticks += 7; });
    for (const bool withH : {true, false}) {
        RunInputs in = ring(24, Kind::Distances);
        in.doH = withH;
        in.doCCP = in.doLCP = in.doF = false;
        const ProcessedInMemory run(in, ProcessingPath::Fast, 2);
        const engine::tamblorProgram& e = *run.program;
        ASSERT_EQ(e.processedOn, ProcessingPath::Fast);
        EXPECT_EQ(e.ticksHIIC > 0, withH);
        EXPECT_EQ(e.ticksIIC > 0, !withH);
        EXPECT_EQ(e.ticksH, 0);
        EXPECT_EQ(e.ticksCCP + e.ticksLCP + e.ticksF, 0);
        EXPECT_GT(e.ticksNL, 0);
        EXPECT_GT(e.ticksNC, 0);
        EXPECT_GT(e.ticksAWF, 0);
        EXPECT_GT(e.ticksPC, 0);
    }
}

}  // namespace
