// The memory estimate against what a run really allocates: this test program counts every
// byte that operator new hands out (as the allocator sized the block) and keeps the peak of
// the bytes alive, so that an allocation of the processing step that the estimate leaves
// out shows as a peak above it, on either path and for every index selection. Counting the
// heap rather than the resident size keeps the check steady under the sanitizers and
// whatever the allocator keeps in reserve.
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <random>
#include <string>

#include "engine/MemoryEstimate.h"
#include "engine/OutOfMemory.h"
#include "engine/support/FastPathRuns.h"
#include "sysutils/Exception.h"

namespace {

std::atomic<std::int64_t> liveBytes{0};
std::atomic<std::int64_t> peakBytes{0};

void* counted(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) return nullptr;
    const std::int64_t now = liveBytes += static_cast<std::int64_t>(malloc_usable_size(block));
    std::int64_t peak = peakBytes.load(std::memory_order_relaxed);
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
    return block;
}

void released(void* block) {
    if (block == nullptr) return;
    liveBytes -= static_cast<std::int64_t>(malloc_usable_size(block));
    std::free(block);
}

// The bytes a piece of work allocated at its peak beyond what was alive before it.
template <class Work>
std::int64_t peakAllocatedBy(Work work) {
    const std::int64_t before = liveBytes.load();
    peakBytes.store(before);
    work();
    return peakBytes.load() - before;
}

}  // namespace

void* operator new(std::size_t size) {
    if (void* block = counted(size)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return counted(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return counted(size); }
void operator delete(void* block) noexcept { released(block); }
void operator delete[](void* block) noexcept { released(block); }
void operator delete(void* block, std::size_t) noexcept { released(block); }
void operator delete[](void* block, std::size_t) noexcept { released(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { released(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { released(block); }

namespace {

using engine::ProcessingPath;
using testing_support::Kind;
using testing_support::RunInputs;

// Patches in clumps along a line with candidates: links and direct connections stay within
// a clump and its neighbours, and the searches reach few nodes.
RunInputs clumps(std::int32_t n, std::int32_t candidates, Kind kind) {
    RunInputs in;
    in.kind = kind;
    in.resize(n, candidates);
    std::mt19937 random(5);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const auto value = [&](float d) { return kind == Kind::Distances ? d : 1.0f / (1.0f + d); };
    in.threshold = kind == Kind::Distances ? 3.0f : 0.25f;
    in.distance = 3.0f;
    for (std::int32_t i = 0; i < n; ++i) {
        in.attributes[static_cast<std::size_t>(i)] = 0.5f + 10.0f * unit(random);
        for (std::int32_t j = i + 1; j < n && j < i + 40; ++j)
            if (j / 25 == i / 25 || unit(random) < 0.05f) in.connect(i, j, value(5.0f * unit(random)));
    }
    for (std::int32_t c = 0; c < candidates; ++c) {
        in.addedAttributes[static_cast<std::size_t>(c)] = 20.0f;
        for (std::int32_t u = 0; u < n; u += 3) in.addedConnections[static_cast<std::size_t>(c)][static_cast<std::size_t>(u)] = value(2.0f);
    }
    return in;
}

struct Selection {
    const char* name;
    bool binary, flux, pc;
};

constexpr Selection selections[] = {
    {"all indices", true, true, true},
    {"PC alone", false, false, true},
    {"F and AWF alone", false, true, false},
    {"binary indices alone", true, false, false},
};

struct Landscape {
    const char* name;
    RunInputs inputs;
};

// The processing step of each landscape, selection and path allocates at its peak no more
// than the estimate of that path. The reference processes the overall landscape, the first
// removal and the first candidate: every later per-node landscape takes the same memory in
// turn.
TEST(MemoryEstimate, TheProcessingStepNeverAllocatesMoreThanItsEstimate) {
    RunInputs pruned = clumps(300, 3, Kind::Distances);
    pruned.setPathMode(testing_support::PathMode::Pruned, 0.2f);
    RunInputs lists = clumps(300, 3, Kind::Probabilities);
    lists.setPathMode(testing_support::PathMode::Links, 0.0f);
    const Landscape landscapes[] = {
        {"band of 400", testing_support::bandOf(400, 11)},
        {"clumps of 300 with 3 candidates, PC pruned", pruned},
        {"clumps of 300 with 3 candidates, probabilities, PC over lists", lists},
    };
    constexpr unsigned threads = 4;
    for (const Landscape& landscape : landscapes) {
        for (const Selection& selection : selections) {
            for (const ProcessingPath path : {ProcessingPath::Fast, ProcessingPath::Reference}) {
                SCOPED_TRACE(std::string(landscape.name) + ", " + selection.name +
                             (path == ProcessingPath::Fast ? ", fast path" : ", reference"));
                RunInputs in = landscape.inputs;
                in.doA = true;
                in.doNL = in.doNC = in.doH = in.doCCP = in.doLCP = in.doIIC = selection.binary;
                in.doF = in.doAWF = selection.flux;
                in.doPC = selection.pc;
                auto run = testing_support::programOf(in, path, threads);
                sysutils::TStringList log;
                sysutils::TwoPanelStatus status;
                const std::int64_t peak = peakAllocatedBy([&] {
                    if (path == ProcessingPath::Fast) {
                        run->process(log, status);
                        return;
                    }
                    run->ensureProcessingMemory(ProcessingPath::Reference, 1);
                    run->computeOverall();
                    run->computeWithoutNode(0);
                    if (run->nAddedNodes > 0) run->computeWithAddedNode(0);
                });
                if (path == ProcessingPath::Fast) {
                    ASSERT_EQ(run->processedOn, ProcessingPath::Fast);
                }
                EXPECT_LE(static_cast<std::uint64_t>(peak), engine::processingMemory(run->memoryShape(threads), path));
            }
        }
    }
}

// A memory control group of its own under the one this process is in, with a limit, for a
// child process to move into; none when the system offers no writable group (v1's memory
// controller, or v2 with the memory controller enabled for the groups below).
class LimitedGroup {
public:
    explicit LimitedGroup(std::uint64_t limit) {
        std::ifstream in("/proc/self/cgroup");
        const std::string name = "/brelmark_memory_test_" + std::to_string(getpid());
        for (std::string line; std::getline(in, line);) {
            const std::size_t first = line.find(':');
            const std::size_t second = line.find(':', first + 1);
            if (first == std::string::npos || second == std::string::npos) continue;
            const std::string controllers = line.substr(first + 1, second - first - 1);
            const std::string path = line.substr(second + 1);
            std::string folder, limitFile;
            if (controllers == "memory") {
                folder = "/sys/fs/cgroup/memory" + (path == "/" ? "" : path) + name;
                limitFile = "memory.limit_in_bytes";
            } else if (controllers.empty() && line.rfind("0::", 0) == 0) {
                folder = "/sys/fs/cgroup" + (path == "/" ? "" : path) + name;
                limitFile = "memory.max";
            } else {
                continue;
            }
            std::error_code error;
            if (!std::filesystem::create_directory(folder, error)) continue;
            std::ofstream(folder + "/" + limitFile) << limit;
            std::uint64_t written = 0;
            if (std::ifstream(folder + "/" + limitFile) >> written && written <= limit + 4096) {
                folder_ = folder;
                return;
            }
            std::filesystem::remove(folder, error);
        }
    }
    ~LimitedGroup() {
        std::error_code error;
        if (!folder_.empty()) std::filesystem::remove(folder_, error);
    }
    LimitedGroup(const LimitedGroup&) = delete;
    LimitedGroup& operator=(const LimitedGroup&) = delete;

    bool usable() const { return !folder_.empty(); }
    // Moves the calling process into the group.
    bool join() const { return static_cast<bool>(std::ofstream(folder_ + "/cgroup.procs") << getpid()); }

private:
    std::string folder_;
};

// Under a kernel limit between the overall landscape's probability rows (which the landscape
// checks itself) and what the processing step needs, the step ends in the out-of-memory
// message and the process lives on; the kernel never has to end it.
TEST(MemoryEstimate, UnderAControlGroupLimitBelowTheNeedTheRunEndsInTheMessageAndTheProcessLives) {
    constexpr unsigned threads = 4;
    RunInputs in = testing_support::bandOf(1500, 3);
    in.doA = in.doNL = in.doNC = in.doH = in.doCCP = in.doLCP = in.doIIC = in.doF = in.doAWF = false;
    in.doPC = true;
    auto run = testing_support::programOf(in, ProcessingPath::Fast, threads);
    run->countConnections();
    const std::uint64_t need = engine::processingMemory(run->memoryShape(threads), ProcessingPath::Fast);
    const std::uint64_t rows = 2u * 1500 * 1500 * sizeof(float);
    ASSERT_GT(need, rows + (std::uint64_t{8} << 20));
    const LimitedGroup group(rows + (need - rows) / 2);
    if (!group.usable()) GTEST_SKIP() << "no memory control group can be made here";

    // The inputs are in place before the child starts, so the group counts only what the
    // processing step allocates.
    enum Outcome { refused = 0, ranThrough = 1, otherMessage = 2, notInGroup = 3 };
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!group.join()) _exit(notInGroup);
        sysutils::TStringList log;
        sysutils::TwoPanelStatus status;
        try {
            run->process(log, status);
        } catch (const sysutils::Exception& error) {
            _exit(error.Message == engine::outOfMemoryMessageB ? refused : otherMessage);
        }
        _exit(ranThrough);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), refused);
}

}  // namespace
