// The memory a process can still take, read from a /proc folder that the test writes:
// the system's available memory and free swap, and the limits of the control groups
// (v2 and the v1 memory controller) along the process's hierarchy, wherever mounted.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "support/TestFiles.h"
#include "sysutils/AvailableMemory.h"

namespace {

using sysutils::AvailableMemory;
using sysutils::unlimitedMemory;

// A /proc folder and the cgroup folders it names, all inside the test's folder.
class FakeProc {
public:
    FakeProc() { std::filesystem::create_directories(folder.pathOf("proc/self")); }

    std::string proc() const { return folder.pathOf("proc"); }
    std::string mounted(const std::string& name) const { return folder.pathOf(name); }

    void write(const std::string& relative, const std::string& contents) const {
        const std::filesystem::path path = folder.path() / relative;
        std::filesystem::create_directories(path.parent_path());
        folder.write(relative, contents);
    }
    // Control-group files: folder relative to the test's folder -> {file -> contents}.
    void groups(const std::map<std::string, std::map<std::string, std::string>>& folders) const {
        for (const auto& [group, files] : folders)
            for (const auto& [file, contents] : files) write(group + "/" + file, contents + "\n");
    }

    testing_support::TemporaryFolder folder;
};

const std::string meminfo = "MemTotal:       8000000 kB\nMemFree:         100000 kB\nMemAvailable:    1000000 kB\n"
                            "SwapTotal:        50000 kB\nSwapFree:           24 kB\n";
constexpr std::uint64_t systemAvailable = (1000000 + 24) * std::uint64_t{1024};

TEST(AvailableMemory, IsTheSystemsAvailableMemoryAndFreeSwapWithoutControlGroups) {
    FakeProc fake;
    fake.write("proc/meminfo", meminfo);
    EXPECT_EQ(AvailableMemory(fake.proc()), systemAvailable);
}

TEST(AvailableMemory, NothingReadableLimitsNothing) {
    FakeProc fake;
    EXPECT_EQ(AvailableMemory(fake.proc()), unlimitedMemory);
}

struct GroupCase {
    const char* name;
    std::string cgroup;     // /proc/self/cgroup
    std::string mountinfo;  // with @ for the test's folder
    std::map<std::string, std::map<std::string, std::string>> groups;
    std::uint64_t expected;
};

class ControlGroups : public ::testing::TestWithParam<GroupCase> {};

TEST_P(ControlGroups, LimitWhatTheProcessCanTakeByTheTightestGroupAlongItsHierarchy) {
    const GroupCase& c = GetParam();
    FakeProc fake;
    fake.write("proc/meminfo", meminfo);
    fake.write("proc/self/cgroup", c.cgroup);
    std::string mountinfo = c.mountinfo;
    for (std::size_t at = mountinfo.find('@'); at != std::string::npos; at = mountinfo.find('@'))
        mountinfo.replace(at, 1, fake.folder.path().string());
    fake.write("proc/self/mountinfo", mountinfo);
    fake.groups(c.groups);
    EXPECT_EQ(AvailableMemory(fake.proc()), c.expected);
}

const std::string v2Mount = "25 1 0:22 / @/cgroup rw,nosuid - cgroup2 cgroup2 rw\n";
const std::string v1Mounts =
    "26 1 0:23 / @/cpu rw - cgroup cgroup rw,cpu\n"
    "27 1 0:24 /process_api/run7 @/memory rw,nosuid shared:9 - cgroup cgroup rw,memory\n";

INSTANTIATE_TEST_SUITE_P(
    AvailableMemory, ControlGroups,
    ::testing::Values(
        GroupCase{"Version2LimitOfTheOwnGroup", "0::/app/run\n", v2Mount,
                  {{"cgroup/app/run", {{"memory.max", "10000000"}, {"memory.current", "4000000"}}},
                   {"cgroup/app", {{"memory.max", "max"}, {"memory.current", "4000000"}}}},
                  6000000},
        GroupCase{"Version2LimitOfAGroupAbove", "0::/app/run\n", v2Mount,
                  {{"cgroup/app/run", {{"memory.max", "max"}, {"memory.current", "100"}}},
                   {"cgroup/app", {{"memory.max", "5000000"}, {"memory.current", "4500000"}}}},
                  500000},
        GroupCase{"Version2GroupOverItsLimitLeavesNothing", "0::/app\n", v2Mount,
                  {{"cgroup/app", {{"memory.max", "1000"}, {"memory.current", "2000"}}}},
                  0},
        GroupCase{"Version2WithoutLimitsLeavesTheSystemFigure", "0::/app\n", v2Mount,
                  {{"cgroup/app", {{"memory.max", "max"}, {"memory.current", "2000"}}}},
                  systemAvailable},
        GroupCase{"Version1MemoryControllerMountedAtItsGroup", "5:cpu:/\n4:memory:/process_api/run7\n0::/\n", v1Mounts,
                  {{"memory", {{"memory.limit_in_bytes", "3000000"}, {"memory.usage_in_bytes", "1000000"}}}},
                  2000000},
        GroupCase{"Version1UnlimitedGroup", "4:memory:/process_api/run7\n", v1Mounts,
                  {{"memory",
                    {{"memory.limit_in_bytes", "9223372036854771712"}, {"memory.usage_in_bytes", "1000000"}}}},
                  systemAvailable},
        GroupCase{"AGroupLargerThanTheSystemLeavesTheSystemFigure", "0::/app\n", v2Mount,
                  {{"cgroup/app", {{"memory.max", "99000000000"}, {"memory.current", "0"}}}},
                  systemAvailable}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(AvailableMemory, OfThisProcessIsSomeMemoryAndATestCanSetIt) {
    EXPECT_GT(AvailableMemory(), 0u);
    {
        sysutils::ScopedAvailableMemory set(12345);
        EXPECT_EQ(AvailableMemory(), 12345u);
    }
    EXPECT_NE(AvailableMemory(), 12345u);
}

}  // namespace
