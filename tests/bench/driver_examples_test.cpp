// The headless driver's output on the bundled examples and on a small run with
// candidates, compared with committed expected output: any change of a last bit in
// an index, an importance or a pairwise value shows here. Run with
// BRELMARK_UPDATE_EXPECTED=1 to rewrite the expected files after an intended change.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "DriverOptions.h"
#include "DriverRun.h"
#include "support/TestFiles.h"

namespace {

struct DriverCase {
    const char* name;
    std::vector<std::string> arguments;
};

const std::string examples = BRELMARK_EXAMPLES;
const std::string data = std::string(BRELMARK_TEST_DATA) + "/driver";

class DriverOutput : public ::testing::TestWithParam<DriverCase> {};

TEST_P(DriverOutput, MatchesTheExpectedOutputToTheLastDigit) {
    const DriverCase& c = GetParam();
    const driver::ParsedOptions parsed = driver::parseDriverOptions(c.arguments);
    ASSERT_TRUE(parsed.options) << parsed.error;
    testing_support::TemporaryFolder folder;
    const std::string outputPath = folder.pathOf("output.txt");
    std::FILE* out = std::fopen(outputPath.c_str(), "w");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(driver::runExecution(*parsed.options, out), 0);
    std::fclose(out);
    // The file names in the log depend on where the repository lies.
    std::string output = testing_support::readFile(outputPath);
    for (const auto& [folderPath, name] : {std::pair{examples, std::string("examples")}, std::pair{data, std::string("data")}}) {
        for (std::size_t at = output.find(folderPath); at != std::string::npos; at = output.find(folderPath, at))
            output.replace(at, folderPath.size(), name);
    }

    const std::string expectedPath = std::string(BRELMARK_TEST_DATA) + "/expected/driver_" + c.name + ".txt";
    if (std::getenv("BRELMARK_UPDATE_EXPECTED") != nullptr) {
        std::FILE* expected = std::fopen(expectedPath.c_str(), "w");
        ASSERT_NE(expected, nullptr);
        std::fputs(output.c_str(), expected);
        std::fclose(expected);
    }
    EXPECT_EQ(output, testing_support::readFile(expectedPath));
}


INSTANTIATE_TEST_SUITE_P(
    Runs, DriverOutput,
    ::testing::Values(
        DriverCase{"distances_partial",
                   {"--nodes", examples + "/nodes.txt", "--connections", examples + "/distances_partial.txt", "--type",
                    "Distances", "--structure", "Partial", "--indices", "all", "--threshold", "1200", "--distance",
                    "1000", "--probability", "0.5", "--AL", "1000", "--components", "--pairs"}},
        DriverCase{"probabilities_full_pruned",
                   {"--nodes", examples + "/nodes.txt", "--connections", examples + "/probabilities_full.txt",
                    "--type", "Probabilities", "--structure", "Full", "--indices", "all", "--threshold", "0.3",
                    "--all-paths", "no", "--min-probability", "0.01", "--components", "--pairs"}},
        DriverCase{"candidates_links_mode",
                   {"--nodes", data + "/nodes_with_candidates.txt", "--connections",
                    data + "/distances_with_candidates.txt", "--type", "Distances", "--structure", "Partial",
                    "--indices", "all", "--threshold", "500", "--distance", "1000", "--probability", "0.3",
                    "--all-paths", "no", "--min-probability", "0", "--candidates", "--AL", "200", "--components",
                    "--pairs"}}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
