// Running short of memory and threads: a worker pool whose threads cannot all start, a
// list node or a standard allocation that fails, and runs too large for the memory that
// is available (with the system's overcommit their allocations would succeed and the
// kernel would end the program). Each ends in the out-of-memory exception, nothing else.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

#include "engine/Llista.h"
#include "engine/MemoryEstimate.h"
#include "engine/OutOfMemory.h"
#include "engine/fast/WorkerPool.h"
#include "engine/support/FastPathRuns.h"
#include "engine/support/InputFilesRun.h"
#include "sysutils/AvailableMemory.h"
#include "sysutils/Exception.h"
#include "sysutils/ThreadStart.h"

namespace {

using testing_support::InputFilesRun;
using testing_support::RunSettings;

// The message of the out-of-memory exception that `action` raises, or a note of what it did.
template <class Action>
std::string outOfMemoryMessage(Action action) {
    try {
        action();
    } catch (const sysutils::Exception& error) {
        return error.Message;
    }
    return "no exception";
}

TEST(OutOfMemory, APoolWhoseThreadsCannotAllStartEndsThoseThatDidAndRaisesTheMessage) {
    for (const long starting : {0L, 1L, 3L}) {
        SCOPED_TRACE(starting);
        sysutils::ScopedThreadStartFailure failure(starting);
        EXPECT_EQ(outOfMemoryMessage([] { engine::fast::WorkerPool pool(8); }), engine::outOfMemoryMessageB);
    }
    // Threads start again afterwards, and the pool works.
    engine::fast::WorkerPool pool(8);
    std::atomic<int> done{0};
    pool.run(100, [&done](std::int64_t, unsigned) { ++done; });
    EXPECT_EQ(done.load(), 100);
}

TEST(OutOfMemory, AFastRunWhosePoolCannotStartRaisesTheMessage) {
    testing_support::RunInputs in;
    in.resize(20, 1);
    for (int i = 0; i + 1 < 20; ++i) in.connect(i, i + 1, 0.5f);
    auto run = testing_support::programOf(in, engine::ProcessingPath::Fast, 4);
    sysutils::TStringList log;
    sysutils::TwoPanelStatus status;
    sysutils::ScopedThreadStartFailure failure(1);
    EXPECT_EQ(outOfMemoryMessage([&] { run->process(log, status); }), engine::outOfMemoryMessageB);
}

// What the user reads for each kind of failure that ends a run.
TEST(OutOfMemory, EveryFailureToGetMemoryOrAThreadReadsAsTheOutOfMemoryText) {
    const auto textOf = [](auto raise) {
        try {
            raise();
        } catch (...) {
            return engine::runFailureText();
        }
        return std::string("no exception");
    };
    const std::string outOfMemory = engine::outOfMemoryMessageB;
    EXPECT_EQ(textOf([] { throw engine::Llista<int>::noMem{}; }), outOfMemory);
    EXPECT_EQ(textOf([] { throw std::bad_alloc(); }), outOfMemory);
    EXPECT_EQ(textOf([] { throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again)); }),
              outOfMemory);
    EXPECT_EQ(textOf([] { throw std::system_error(std::make_error_code(std::errc::not_enough_memory)); }), outOfMemory);
    EXPECT_EQ(textOf([] { throw sysutils::Exception(engine::outOfMemoryMessageA); }), engine::outOfMemoryMessageA);
    EXPECT_EQ(textOf([] { throw sysutils::Exception("'x' is not a valid floating point value"); }),
              "'x' is not a valid floating point value");
    EXPECT_EQ(textOf([] { throw std::runtime_error("other"); }), "other");
    // Anything else is no failure of the run and goes on.
    struct NotAFailure {};
    EXPECT_THROW(textOf([] { throw NotAFailure{}; }), NotAFailure);
}

// A node file of `count` nodes and a connection file of one pair.
struct LargeRun {
    InputFilesRun run;
    int errors = -1;
    explicit LargeRun(int count, bool probabilistic) {
        std::string nodes;
        for (int k = 1; k <= count; ++k) nodes += std::to_string(k) + " 1\n";
        RunSettings settings;
        settings.doF = probabilistic;
        errors = run.check(settings, nodes, "1 2 5\n");
    }
};

TEST(OutOfMemory, ARunLargerThanTheMemoryAvailableIsRefusedBeforeAnythingIsAllocated) {
    LargeRun large(2100, /*probabilistic=*/true);
    ASSERT_EQ(large.errors, 0);
    engine::tamblorProgram& run = *large.run.program;
    {
        // The three matrices of 2100 x 2100 floats, 53 MB, do not fit in 40 MB.
        sysutils::ScopedAvailableMemory available(40u << 20);
        EXPECT_EQ(outOfMemoryMessage([&] { run.readInputs(); }), engine::outOfMemoryMessageB);
    }
    EXPECT_EQ(run.nodeIds, nullptr);
    EXPECT_EQ(run.connections, nullptr);
    EXPECT_GT(run.memoryNeeded(), 3u * 2100 * 2100 * sizeof(float));

    // With the memory it needs, the same run reads its inputs.
    sysutils::ScopedAvailableMemory enough(run.memoryNeeded());
    EXPECT_NO_THROW(run.readInputs());
    EXPECT_NE(run.connections, nullptr);
}

TEST(OutOfMemory, WithoutProbabilisticIndicesOnlyTheConnectionMatrixCounts) {
    LargeRun large(2100, /*probabilistic=*/false);
    ASSERT_EQ(large.errors, 0);
    engine::tamblorProgram& run = *large.run.program;
    sysutils::ScopedAvailableMemory available(40u << 20);
    EXPECT_LT(run.memoryNeeded(), std::uint64_t{40} << 20);
    EXPECT_NO_THROW(run.readInputs());
}

TEST(OutOfMemory, TheProbabilityRowsOfALandscapeAreRefusedWhenTheyCannotFit) {
    constexpr std::int32_t n = 1500;  // 2 x 1500 x 1500 floats: 18 MB
    auto matrix = std::make_unique<std::unique_ptr<float[]>[]>(n);
    for (std::int32_t i = 0; i < n; ++i) matrix[i] = std::make_unique<float[]>(n);
    auto attributes = std::make_unique<float[]>(n);
    auto ids = std::make_unique<std::int32_t[]>(n);
    engine::landscape overall;
    sysutils::ScopedAvailableMemory available(8u << 20);
    EXPECT_EQ(outOfMemoryMessage([&] {
                  overall.landscapeFromMatrix(attributes.get(), ids.get(), matrix.get(), n, 1, false, true, false,
                                              true, false, 0.5f, 0.5f, 1.0f, 0.0f, true);
              }),
              engine::outOfMemoryMessageA);
}

struct ProcessingCase {
    const char* name;
    bool binary, f, awf, pc;
    engine::ProcessingPath chosen;
    float firstAttribute;            // a negative one sends an automatic run to the reference
    engine::ProcessingPath expected;  // the path that processes the run
    bool processWithEnough;          // also run it with exactly the memory it needs
};

// The processing step needs more than the matrices: with the memory left for its own
// allocations one byte short, it ends in the out-of-memory message before it allocates
// anything (the overall landscape gets no node records), whatever the path; with exactly
// that memory it runs.
TEST(OutOfMemory, AProcessingStepLargerThanTheMemoryLeftIsRefusedBeforeItAllocates) {
    using engine::ProcessingPath;
    const ProcessingCase cases[] = {
        {"PC alone, fast path", false, false, false, true, ProcessingPath::Fast, 1.0f, ProcessingPath::Fast, false},
        {"all indices, automatic", true, true, true, true, ProcessingPath::Automatic, 1.0f, ProcessingPath::Fast, false},
        {"F and AWF alone, fast path", false, true, true, false, ProcessingPath::Fast, 1.0f, ProcessingPath::Fast, true},
        {"F alone, a negative attribute: the reference", false, true, false, false, ProcessingPath::Automatic, -1.0f,
         ProcessingPath::Reference, false},
    };
    constexpr unsigned threads = 4;
    for (const ProcessingCase& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::RunInputs in = testing_support::bandOf(1500, 7);
        in.doA = false;
        in.doNL = in.doNC = in.doH = in.doCCP = in.doLCP = in.doIIC = c.binary;
        in.doF = c.f;
        in.doAWF = c.awf;
        in.doPC = c.pc;
        in.attributes[0] = c.firstAttribute;
        auto run = testing_support::programOf(in, c.chosen, threads);
        run->countConnections();
        const std::uint64_t need = engine::processingMemory(run->memoryShape(threads), c.expected);
        // More than the overall landscape's probability rows, which the landscape checks itself.
        ASSERT_GT(need, 2u * 1500 * 1500 * sizeof(float) + (1u << 20));
        sysutils::TStringList log;
        sysutils::TwoPanelStatus status;
        {
            sysutils::ScopedAvailableMemory available(need - 1);
            EXPECT_EQ(outOfMemoryMessage([&] { run->process(log, status); }), engine::outOfMemoryMessageB);
            EXPECT_EQ(run->overall->nodes, nullptr);
        }
        if (c.processWithEnough) {
            sysutils::ScopedAvailableMemory enough(need);
            EXPECT_NO_THROW(run->process(log, status));
            EXPECT_EQ(run->processedOn, c.expected);
        }
    }
}

}  // namespace
