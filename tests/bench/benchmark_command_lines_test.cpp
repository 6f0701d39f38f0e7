// The programs under bench/ as a user starts them: --help prints the usage on standard
// output and ends at once with 0; an unknown option, a missing value, a stray word, a bad
// number or an empty list where one is needed prints what was wrong and the usage on
// standard error and ends with 2. In both cases nothing runs: the folder the run would
// write is never created. The driver, on the bundled examples, refuses what the program's
// window refuses with the window's messages and ends with 1.
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
         {{{"--threshold", "5x"}, "not a number after --threshold: 5x"},
          {{"--threshold", "NaN"}, "not a number after --threshold: NaN"},
          {{"--threshold", "inf"}, "not a number after --threshold: inf"},
          {{"--distance", "-inf"}, "not a number after --distance: -inf"},
          {{"--probability", "0x1p3"}, "not a number after --probability: 0x1p3"},
          {{"--AL", ""}, "not a number after --AL: "},
          {{"--min-probability", "0,5"}, "not a number after --min-probability: 0,5"}},
         // The reader takes a number that no float holds; the window's check refuses it.
         {{"--threshold", "1e999"}, {"--probability", ".5"}, {"--AL", "-0"}}},
    };
#ifdef WITHIN_DISTANCE_BENCHMARK
    all.push_back({"within_distance_benchmark",
                   WITHIN_DISTANCE_BENCHMARK,
                   true,
                   {{{"--verify-up-to", "-1"}, "within_distance_benchmark: --verify-up-to: \"-1\" is less than 0"},
                    {{"--within", "5,"}, "within_distance_benchmark: --within: \"5,\" has an empty item"}},
                   // An empty list of one kind runs none of that kind.
                   {{"--within", "5"}, {"--within", ""}, {"--all-pairs", ""}}});
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

// The environment of this process with LC_ALL set to `locale` (unchanged when it is empty).
std::vector<std::string> environmentWith(const std::string& locale) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable)
        if (locale.empty() || !startsWith(*variable, "LC_ALL=")) variables.emplace_back(*variable);
    if (!locale.empty()) variables.push_back("LC_ALL=" + locale);
    return variables;
}

// Runs the program with its standard output and error in files; one that has not ended
// within the time limit is killed.
Ended run(const Program& program, std::vector<std::string> arguments, const testing_support::TemporaryFolder& folder,
          const std::string& locale = "") {
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
    std::vector<std::string> variables = environmentWith(locale);
    std::vector<char*> environment;
    for (std::string& variable : variables) environment.push_back(variable.data());
    environment.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.path.c_str(), &actions, nullptr, argv.data(), environment.data());
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

struct DriverCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string locale;  // LC_ALL of the run; empty: the test's
    int code;
    std::string out;     // standard output of a refused run; a line in it after a run
    std::string errors;  // standard error
};

const std::string examples = BRELMARK_EXAMPLES;
const std::vector<std::string> distances{"--nodes", examples + "/nodes.txt", "--connections",
                                         examples + "/distances_partial.txt", "--type", "Distances"};
const std::vector<std::string> probabilities{"--nodes", examples + "/nodes.txt", "--connections",
                                             examples + "/probabilities_full.txt", "--type", "Probabilities",
                                             "--structure", "Full"};

std::vector<std::string> operator+(std::vector<std::string> files, const std::vector<std::string>& options) {
    files.insert(files.end(), options.begin(), options.end());
    return files;
}

class DriverChecks : public ::testing::TestWithParam<DriverCase> {};

// The driver checks its numbers as the program's window checks the same texts in its enabled
// edits: it refuses what the window refuses, each message as the window's box, with exit
// status 1 and nothing computed, and never takes a number that no float holds.
TEST_P(DriverChecks, RefusesWhatTheWindowRefusesAndRunsWhatItRuns) {
    const DriverCase& c = GetParam();
    testing_support::TemporaryFolder folder;
    const Ended ended = run({"brelmark_driver", BRELMARK_DRIVER, false, {}, {}}, c.arguments, folder, c.locale);
    ASSERT_TRUE(ended.inTime) << "did not end at once";
    EXPECT_EQ(ended.code, c.code);
    EXPECT_EQ(ended.errors, c.errors);
    if (c.code == 0) {
        EXPECT_NE(ended.out.find("\n" + c.out + "\n"), std::string::npos) << ended.out;
    } else {
        EXPECT_EQ(ended.out, c.out);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, DriverChecks,
    ::testing::Values(
        DriverCase{"NoIndex", distances + std::vector<std::string>{"--indices", "A"}, "", 1, "errors\t\t1\n",
                   "[Error!] At least one connectivity index should be selected for analysis\n"},
        DriverCase{"ThresholdBeyondTheDoubleRange",
                   distances + std::vector<std::string>{"--indices", "NC", "--threshold", "1e999"}, "", 1,
                   "errors\t\t1\n", "[Error!] Error in the distance threshold value (binary indices)\n"},
        DriverCase{"ProbabilityThresholdBeyondTheFloatRange",
                   probabilities + std::vector<std::string>{"--indices", "NL", "--threshold", "1e39"}, "", 1,
                   "errors\t\t1\n", "[Error!] Error in the probability threshold value (binary indices)\n"},
        DriverCase{"EveryNumberNoFloatHoldsInTheWindowsOrder",
                   distances + std::vector<std::string>{"--indices", "LCP,PC", "--threshold", "1e999", "--distance",
                                                        "1e39", "--probability", "-1e39", "--AL", "1e999",
                                                        "--all-paths", "no", "--min-probability", "1e40"},
                   "", 1, "errors\t\t5\n",
                   "[Error!] Error in the value of the maximum landscape attribute (AL)\n"
                   "[Error!] Error in the distance threshold value (binary indices)\n"
                   "[Error!] Error in the probability value (probabilistic indices)\n"
                   "[Error!] Error in the distance value (probabilistic indices)\n"
                   "[Error!] Error in the minimum probability value (PC index)\n"},
        DriverCase{"ProbabilityTwo",
                   distances + std::vector<std::string>{"--indices", "PC", "--distance", "1000", "--probability", "2"},
                   "", 1, "errors\t\t1\n",
                   "[Error!] The probability value must range between 0 and 1 (probabilistic indices)\n"},
        // With Probabilities the window disables the distance and the probability: they are
        // neither checked nor used.
        DriverCase{"NumbersOfDisabledEditsAreNotRead",
                   probabilities + std::vector<std::string>{"--indices", "NL,PC", "--threshold", "0.5", "--distance",
                                                            "1e39", "--probability", "2"},
                   "", 0, "log\t\tDistance and probability (probabilistic indices): 0 0.00", ""},
        // The numbers take a point under a comma locale; the log writes the regional comma.
        DriverCase{"APointUnderACommaLocale",
                   distances +
                       std::vector<std::string>{"--indices", "PC", "--distance", "1000", "--probability", "0.5"},
                   "de_DE.UTF-8", 0, "log\t\tDistance and probability (probabilistic indices): 1000 0,50", ""}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
