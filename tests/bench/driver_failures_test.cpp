// The headless driver when memory or threads run out: whichever allocation or thread
// start fails, and in a process whose address space is limited, the run ends with the
// out-of-memory text and exit code 3, never with an abort.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "DriverOptions.h"
#include "DriverRun.h"
#include "engine/Allocation.h"
#include "engine/OutOfMemory.h"
#include "support/TestFiles.h"
#include "sysutils/ThreadStart.h"

namespace {

const std::string examples = BRELMARK_EXAMPLES;

driver::DriverOptions options(const std::string& nodes, const std::string& connections) {
    const driver::ParsedOptions parsed = driver::parseDriverOptions(
        {"--nodes", nodes, "--connections", connections, "--type", "Distances", "--structure", "Partial",
         "--indices", "A,NL,NC,H,CCP,LCP,IIC,F,AWF,PC", "--threshold", "1000", "--distance", "1000",
         "--probability", "0.5"});
    EXPECT_TRUE(parsed.options) << parsed.error;
    return parsed.options.value_or(driver::DriverOptions{});
}

struct Outcome {
    int code = -1;
    std::string errors;
};

Outcome runReporting(const driver::DriverOptions& o, const testing_support::TemporaryFolder& folder) {
    const std::string outPath = folder.pathOf("out.txt");
    const std::string errorPath = folder.pathOf("errors.txt");
    std::FILE* out = std::fopen(outPath.c_str(), "w");
    std::FILE* errors = std::fopen(errorPath.c_str(), "w");
    Outcome outcome;
    outcome.code = driver::runExecutionReportingFailure(o, out, errors);
    std::fclose(out);
    std::fclose(errors);
    outcome.errors = testing_support::readFile(errorPath);
    return outcome;
}

const std::string outOfMemoryA = std::string("[Error] ") + engine::outOfMemoryMessageA + "\n";
const std::string outOfMemoryB = std::string("[Error] ") + engine::outOfMemoryMessageB + "\n";

TEST(DriverFailures, EveryAllocationThatFailsEndsTheRunWithTheOutOfMemoryText) {
    testing_support::TemporaryFolder folder;
    const driver::DriverOptions o = options(examples + "/nodes.txt", examples + "/distances_partial.txt");
    int failures = 0;
    for (long allowed = 0;; ++allowed) {
        SCOPED_TRACE(allowed);
        Outcome outcome;
        {
            engine::ScopedAllocationFailure failure(allowed);
            outcome = runReporting(o, folder);
        }
        if (outcome.code == 0) break;
        ++failures;
        ASSERT_EQ(outcome.code, 3);
        // The node arrays and the overall probability rows say A, every other allocation B.
        EXPECT_TRUE(outcome.errors == outOfMemoryA || outcome.errors == outOfMemoryB) << outcome.errors;
        ASSERT_LT(allowed, 100000);
    }
    EXPECT_GT(failures, 50);  // list nodes among them
}

TEST(DriverFailures, AThreadThatCannotStartEndsTheRunWithTheOutOfMemoryText) {
    testing_support::TemporaryFolder folder;
    const driver::DriverOptions o = options(examples + "/nodes.txt", examples + "/distances_partial.txt");
    for (const long starting : {0L, 1L}) {
        sysutils::ScopedThreadStartFailure failure(starting);
        const Outcome outcome = runReporting(o, folder);
        EXPECT_EQ(outcome.code, 3);
        EXPECT_EQ(outcome.errors, outOfMemoryB);
    }
}

std::uint64_t virtualSizeBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmSize:", 0) == 0) return std::stoull(line.substr(7)) * 1024;
    return 0;
}

TEST(DriverFailures, InALimitedAddressSpaceARunTooLargeForItEndsWithTheOutOfMemoryText) {
    // 9000 nodes: a connection matrix of 324 MB, in 256 MB more than the process holds.
    testing_support::TemporaryFolder folder;
    std::string nodes;
    for (int k = 1; k <= 9000; ++k) nodes += std::to_string(k) + " 1\n";
    const driver::DriverOptions o = options(folder.write("nodes.txt", nodes), folder.write("pairs.txt", "1 2 5\n"));

    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlim_t limit = virtualSizeBytes() + (rlim_t{256} << 20);
        const rlimit addressSpace{limit, limit};
        if (setrlimit(RLIMIT_AS, &addressSpace) != 0) _exit(100);
        const Outcome outcome = runReporting(o, folder);
        _exit(outcome.code == 3 && outcome.errors == outOfMemoryB ? 0 : 101);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the run ended by a signal";
    EXPECT_EQ(WEXITSTATUS(status), 0) << testing_support::readFile(folder.pathOf("errors.txt"));
}

}  // namespace
