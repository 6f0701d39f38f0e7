// The programs under bench/ as a user starts them: --help prints the usage on standard
// output and ends at once with 0; an unknown option, a missing value, a stray word, a bad
// number or an empty list where one is needed prints what was wrong and the usage on
// standard error and ends with 2. In both cases nothing runs: the folder the run would
// write is never created.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "support/TestFiles.h"

namespace {

struct Refusal {
    std::vector<std::string> arguments;  // an option with a value that the program refuses
    std::string error;
};

struct Program {
    std::string name;
    std::string path;
    bool hasFolder;                                // takes --folder, which a run creates first
    std::vector<Refusal> refusals;                 // values of its own options that it refuses
    std::vector<std::vector<std::string>> takes;  // values that look doubtful but that it takes
};

void PrintTo(const Program& program, std::ostream* out) { *out << program.name; }

std::vector<Program> programs() {
    std::vector<Program> all{
        {"brelmark_benchmark",
         BRELMARK_BENCHMARK,
         true,
         {{{"--sample", "5x"}, "brelmark_benchmark: --sample: \"5x\" is not a whole number"},
          {{"--sizes", ""}, "brelmark_benchmark: --sizes: the list is empty"},
          {{"--probability", "NaN"}, "brelmark_benchmark: --probability: \"NaN\" is not from 0 to 1"},
          {{"--candidate-percent", "1e999"},
           "brelmark_benchmark: --candidate-percent: \"1e999\" is not from 0 to 100"}},
         {{"--sizes", "1"}}},
        {"brelmark_memory_benchmark",
         BRELMARK_MEMORY_BENCHMARK,
         true,
         {{{"--sizes", "1,,2"}, "brelmark_memory_benchmark: --sizes: \"1,,2\" has an empty item"},
          {{"--sizes", ""}, "brelmark_memory_benchmark: --sizes: the list is empty"},
          {{"--selections", ""}, "brelmark_memory_benchmark: --selections: the list is empty"}},
         {{"--band", ""}}},
        {"brelmark_driver",
         BRELMARK_DRIVER,
         false,
         {{{"--threshold", "5x"}, "not a number after --threshold: 5x"}},
         {{"--probability", ".5"}, {"--AL", "-0"}}},
    };
#ifdef WITHIN_DISTANCE_BENCHMARK
    all.push_back({"within_distance_benchmark",
                   WITHIN_DISTANCE_BENCHMARK,
                   true,
                   {{{"--verify-up-to", "-1"}, "within_distance_benchmark: --verify-up-to: \"-1\" is less than 0"},
                    {{"--within", ""}, "within_distance_benchmark: --within: the list is empty"},
                    {{"--all-pairs", ""}, "within_distance_benchmark: --all-pairs: the list is empty"}},
                   {{"--within", "5"}}});
#endif
    return all;
}

bool startsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

struct Ended {
    bool inTime = false;
    int code = -1;
    std::string out;
    std::string errors;
};

// Runs the program with its standard output and error in files; one that has not ended
// within the time limit is killed.
Ended run(const Program& program, std::vector<std::string> arguments, const testing_support::TemporaryFolder& folder) {
    const std::string outPath = folder.pathOf("stdout.txt");
    const std::string errorPath = folder.pathOf("stderr.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    arguments.insert(arguments.begin(), program.path);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    Ended ended;
    if (spawned != 0) return ended;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int status = 0;
    pid_t waited = 0;
    while ((waited = waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (waited == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    ended.inTime = waited == child;
    if (ended.inTime && WIFEXITED(status)) ended.code = WEXITSTATUS(status);
    ended.out = testing_support::readFile(outPath);
    ended.errors = testing_support::readFile(errorPath);
    return ended;
}

class BenchmarkCommandLine : public ::testing::TestWithParam<Program> {
protected:
    // The arguments after a --folder in the test's folder, which nothing may create.
    std::vector<std::string> withFolder(std::vector<std::string> arguments) const {
        if (GetParam().hasFolder) arguments.insert(arguments.begin(), {"--folder", runFolder()});
        return arguments;
    }
    std::string runFolder() const { return folder.pathOf("run"); }
    testing_support::TemporaryFolder folder;
};

TEST_P(BenchmarkCommandLine, HelpPrintsTheUsageAndRunsNothing) {
    const Program& program = GetParam();
    for (const char* help : {"--help", "-h"}) {
        SCOPED_TRACE(help);
        const Ended ended = run(program, withFolder({help}), folder);
        ASSERT_TRUE(ended.inTime) << "did not end at once";
        EXPECT_EQ(ended.code, 0);
        EXPECT_TRUE(startsWith(ended.out, "usage: " + program.name + " ")) << ended.out;
        EXPECT_EQ(ended.out.find("|---"), std::string::npos) << "a table was printed: " << ended.out;
        EXPECT_EQ(ended.errors, "");
        EXPECT_FALSE(std::filesystem::exists(runFolder()));
    }
}

TEST_P(BenchmarkCommandLine, EveryOptionInTheUsageNamesItsDefault) {
    const Program& program = GetParam();
    const Ended ended = run(program, {"--help"}, folder);
    ASSERT_EQ(ended.code, 0);
    if (program.name == "brelmark_driver") {
        EXPECT_NE(ended.out.find("Defaults: "), std::string::npos) << ended.out;
        return;
    }
    // An option's entry: its row and the rows that continue it, up to the next option.
    std::size_t options = 0;
    for (std::size_t at = ended.out.find("\n  --"); at != std::string::npos; ++options) {
        const std::size_t next = ended.out.find("\n  --", at + 1);
        const std::string entry = ended.out.substr(at + 1, next == std::string::npos ? next : next - at - 1);
        if (!startsWith(entry, "  --help ")) {
            EXPECT_NE(entry.find("(default "), std::string::npos) << entry;
        }
        at = next;
    }
    EXPECT_GT(options, 2u);
}

TEST_P(BenchmarkCommandLine, AWrongCommandLineSaysWhatWasWrongWithTheUsageAndRunsNothing) {
    const Program& program = GetParam();
    const std::string prefix = program.hasFolder ? program.name + ": " : "";
    const std::string& valued = program.refusals.front().arguments.front();
    std::vector<Refusal> wrong{
        {{"--bogus", "1"}, prefix + "unknown option --bogus"},
        {{"--bogus"}, prefix + "unknown option --bogus"},
        {{valued}, prefix + "missing value after " + valued},
        {{"stray"}, prefix + (program.hasFolder ? "unexpected argument \"stray\"" : "unknown option stray")},
    };
    wrong.insert(wrong.end(), program.refusals.begin(), program.refusals.end());
    for (const Refusal& w : wrong) {
        SCOPED_TRACE(w.error);
        const Ended ended = run(program, withFolder(w.arguments), folder);
        ASSERT_TRUE(ended.inTime) << "did not end at once";
        EXPECT_EQ(ended.code, 2);
        EXPECT_EQ(ended.out, "");
        EXPECT_TRUE(startsWith(ended.errors, w.error + "\nusage: " + program.name + " ")) << ended.errors;
        EXPECT_FALSE(std::filesystem::exists(runFolder()));
    }
}

// A value that the program takes lets the --help after it print the usage.
TEST_P(BenchmarkCommandLine, ValuesItTakesAreNotRefused) {
    const Program& program = GetParam();
    for (std::vector<std::string> arguments : program.takes) {
        SCOPED_TRACE(arguments.front() + " \"" + arguments.back() + "\"");
        arguments.push_back("--help");
        const Ended ended = run(program, withFolder(arguments), folder);
        ASSERT_TRUE(ended.inTime) << "did not end at once";
        EXPECT_EQ(ended.code, 0);
        EXPECT_EQ(ended.errors, "");
        EXPECT_FALSE(std::filesystem::exists(runFolder()));
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, BenchmarkCommandLine, ::testing::ValuesIn(programs()),
                         [](const auto& param) { return param.param.name; });

}  // namespace
