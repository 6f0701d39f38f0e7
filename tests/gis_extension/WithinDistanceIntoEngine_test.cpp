// From a layer of patches to the engine's indices: the analysis writes the node and
// distance files (within a radius, and for all pairs), the engine's headless driver
// reads them as a node file and a Partial or Full distance file without one message,
// computes its indices, and its links are exactly the pairs within the threshold.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "DriverOptions.h"
#include "DriverRun.h"
#include "patches/HeadlessAnalysis.h"
#include "patches/PatchLayerGenerator.h"
#include "support/TestFiles.h"
#include "sysutils/FormatSettings.h"

namespace {

using Pair = std::pair<std::int32_t, std::int32_t>;

struct DriverResult {
    std::string output;
    std::string messages;  // what the driver's message boxes printed
    int status = -1;
};

// Runs the driver with its message boxes, which it prints to standard error, caught.
DriverResult runDriver(const std::vector<std::string>& arguments, const testing_support::TemporaryFolder& folder) {
    const driver::ParsedOptions parsed = driver::parseDriverOptions(arguments);
    EXPECT_TRUE(parsed.options) << parsed.error;
    DriverResult result;
    if (!parsed.options) return result;
    const std::string outputPath = folder.pathOf("driver.txt");
    const std::string messagesPath = folder.pathOf("messages.txt");
    std::FILE* out = std::fopen(outputPath.c_str(), "w");
    std::fflush(stderr);
    const int savedError = ::dup(2);
    std::FILE* messages = std::fopen(messagesPath.c_str(), "w");
    ::dup2(::fileno(messages), 2);
    result.status = driver::runExecution(*parsed.options, out);
    std::fflush(stderr);
    ::dup2(savedError, 2);
    ::close(savedError);
    std::fclose(messages);
    std::fclose(out);
    result.output = testing_support::readFile(outputPath);
    result.messages = testing_support::readFile(messagesPath);
    return result;
}

std::set<Pair> linkedPairs(const std::string& output) {
    std::set<Pair> pairs;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("linked\t", 0) != 0 || line.substr(line.size() - 2) != "\t1") continue;
        const std::string key = line.substr(7, line.find('\t', 7) - 7);
        const std::int32_t a = std::stoi(key.substr(0, key.find('-')));
        const std::int32_t b = std::stoi(key.substr(key.find('-') + 1));
        if (a < b) pairs.emplace(a, b);
    }
    return pairs;
}

// The pairs of a distance file whose distance, read as the engine reads it, is within `threshold`.
std::set<Pair> pairsWithin(const std::string& distanceFile, float threshold) {
    std::set<Pair> pairs;
    std::ifstream file(distanceFile);
    std::int32_t a = 0, b = 0;
    float distance = 0;
    while (file >> a >> b >> distance)
        if (distance <= threshold) pairs.emplace(std::min(a, b), std::max(a, b));
    return pairs;
}

TEST(WithinDistanceIntoEngine, TheEngineReadsTheFilesAndLinksThePairsWithinTheThreshold) {
    sysutils::ScopedDecimalSeparator point('.');
    testing_support::TemporaryFolder folder;
    const bench::PatchLayer layer = bench::generatePatches(60, 5);
    const std::string layerPath = folder.pathOf("patches.gpkg");
    bench::writeGeoPackage(layer, layerPath);
    char threshold[32];
    std::snprintf(threshold, sizeof threshold, "%.0f", layer.radius);

    for (const bool allPairs : {false, true}) {
        SCOPED_TRACE(allPairs ? "all pairs" : "within the radius");
        const std::string out = folder.pathOf(allPairs ? "all" : "within");
        std::filesystem::create_directory(out);
        bench::AnalysisRequest request;
        request.layerPath = layerPath;
        request.allPairs = allPairs;
        request.radius = std::stod(threshold);
        request.outputFolder = out;
        const bench::AnalysisRun run = bench::runHeadlessAnalysis(request);
        ASSERT_EQ(run.errorReports, 0);
        ASSERT_TRUE(run.reportStored);

        const DriverResult result = runDriver({"--nodes", out + "/nodes.txt", "--connections", out + "/distances.txt",
                                               "--type", "Distances", "--structure", allPairs ? "Full" : "Partial",
                                               "--indices", "NL,NC,IIC,PC", "--threshold", threshold, "--distance",
                                               threshold, "--probability", "0.5", "--pairs"},
                                              folder);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.messages, "");
        EXPECT_NE(result.output.find("nodes\t\t60\n"), std::string::npos);
        const std::set<Pair> links = linkedPairs(result.output);
        EXPECT_EQ(links, pairsWithin(out + "/distances.txt", std::stof(threshold)));
        EXPECT_GT(links.size(), 30u);
    }
    // Both runs agree on the pairs within the radius.
    EXPECT_EQ(pairsWithin(folder.pathOf("within/distances.txt"), std::stof(threshold)),
              pairsWithin(folder.pathOf("all/distances.txt"), std::stof(threshold)));
}

}  // namespace
