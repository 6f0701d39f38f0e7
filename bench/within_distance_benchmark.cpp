// Runs the within-distance analysis headless, end to end (open the layer, analyse, write
// all four outputs), on generated layers of habitat patches: within a radius that gives
// about ten neighbours per patch, and for all pairs. Prints, per case, the time to open
// the layer and to analyse, the memory (each case in a fresh process of its own, started
// anew so that it inherits nothing of the generator's memory): the resident size once
// the features are read, what the host's memory check then counts for the analysis,
// and the peak resident size; the number of pairs written, and whether the pairs and
// distances equal a brute-force GEOS run (up to --verify-up-to patches).
//
//   within_distance_benchmark [--within 1000,10000,100000] [--all-pairs 1000,2000]
//                             [--verify-up-to 10000] [--seed 7] [--folder DIR] [--help]
//
// --help prints every option with its default; a wrong command line is refused (exit
// status 2) before anything is run. Each case runs in this program started anew with
// --measure LAYER RADIUS|all FOLDER as its first arguments, which prints the case's
// figures; --estimate LAYER prints what the host's check counts for it, in bytes.
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>

#include "BenchOptions.h"
#include "gishost/model/FeatureTable.h"
#include "patches/BruteForcePairs.h"
#include "patches/HeadlessAnalysis.h"
#include "patches/PatchLayerGenerator.h"
#include "sysutils/FormatSettings.h"

namespace {

struct Options {
    std::vector<int> within{1000, 10000, 100000};
    std::vector<int> allPairs{1000, 2000};
    int verifyUpTo = 10000;
    std::uint64_t seed = 7;
    std::string folder = (std::filesystem::temp_directory_path() / "within_distance_benchmark").string();
};

// The command line, its defaults taken from `o`, which the options set.
bench::CommandLine commandLineOf(Options& o) {
    using bench::wholeNumber;
    return {"within_distance_benchmark",
            "Runs the within-distance analysis headless, end to end, on generated layers of habitat\n"
            "patches, each case in a new process of its own, and prints a table of its times, peak memory\n"
            "and pairs, checked against a brute-force run. The default run takes about half a minute on\n"
            "8 cores and peaks at about 440 MB (100,000 patches; bench/RESULTS.md).\n",
            {{"--within", "N,N,...", bench::commaText(o.within),
              "layers of N patches, pairs within about ten neighbours' distance; \"\" for none",
              [&o](const std::string& v) { o.within = bench::wholeNumbersOrNone(v, 1); }},
             {"--all-pairs", "N,N,...", bench::commaText(o.allPairs), "layers of N patches, all pairs; \"\" for none",
              [&o](const std::string& v) { o.allPairs = bench::wholeNumbersOrNone(v, 1); }},
             {"--verify-up-to", "N", std::to_string(o.verifyUpTo), "the brute-force check up to N patches",
              [&o](const std::string& v) { o.verifyUpTo = wholeNumber(v, 0); }},
             {"--seed", "N", std::to_string(o.seed), "the layer of n patches has the seed N + n",
              [&o](const std::string& v) { o.seed = wholeNumber<std::uint64_t>(v, 0); }},
             bench::folderOption(o.folder, "where the layers and the outputs are written")}};
}

std::size_t lineCount(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::size_t lines = 0;
    for (std::string line; std::getline(file, line);) ++lines;
    return lines;
}

struct Measured {
    bench::AnalysisRun run;
    std::int64_t peakKilobytes = 0;
    std::uint64_t estimateBytes = 0;  // what the host's check counts when the features are read
};

// The standard output of this program started anew with `arguments`, when it ends
// normally with status 0. (posix_spawn starts the child in this process's memory, so
// that the peak that wait4 reports is at least this process's own peak, the generated
// layers included: each child reports its own figures instead.)
std::optional<std::string> outputOfNewProcess(const char* program, std::vector<std::string> arguments) {
    int channel[2];
    if (pipe(channel) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], 1);
    posix_spawn_file_actions_addclose(&actions, channel[0]);
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(channel[1]);
    if (spawned != 0) {
        close(channel[0]);
        return std::nullopt;
    }
    std::string output;
    char buffer[256];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<std::size_t>(got));
    close(channel[0]);
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return output;
}

// Runs one analysis in a new process of this program (--measure), which prints its
// figures on one line, its own peak resident size among them, and asks another new
// process (--estimate) what the host's check counts for the layer.
std::optional<Measured> measureInNewProcess(const char* program, const bench::AnalysisRequest& request) {
    char radius[64];
    std::snprintf(radius, sizeof radius, "%.17g", request.radius);
    const std::optional<std::string> output = outputOfNewProcess(
        program, {"--measure", request.layerPath, request.allPairs ? "all" : radius, request.outputFolder});
    const std::optional<std::string> estimate = outputOfNewProcess(program, {"--estimate", request.layerPath});
    if (!output || !estimate) return std::nullopt;
    Measured measured;
    int reportStored = 0;
    long long peakKilobytes = 0;
    if (std::sscanf(output->c_str(), "%lf %lf %d %d %lld %lld", &measured.run.openSeconds,
                    &measured.run.analysisSeconds, &measured.run.errorReports, &reportStored,
                    &measured.run.residentAfterOpenKilobytes, &peakKilobytes) != 6 ||
        std::sscanf(estimate->c_str(), "%" SCNu64, &measured.estimateBytes) != 1)
        return std::nullopt;
    measured.run.reportStored = reportStored != 0;
    measured.peakKilobytes = peakKilobytes;
    return measured;
}

// This process's peak resident size (VmHWM), in kilobytes.
long long ownPeakKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stoll(line.substr(6));
    return 0;
}

int measureOne(int argc, char** argv) {
    if (argc != 5) return 2;
    bench::AnalysisRequest request;
    request.layerPath = argv[2];
    request.allPairs = std::string(argv[3]) == "all";
    request.radius = request.allPairs ? 0.0 : std::stod(argv[3]);
    request.outputFolder = argv[4];
    sysutils::ScopedDecimalSeparator point('.');
    const bench::AnalysisRun run = bench::runHeadlessAnalysis(request);
    std::printf("%.6f %.6f %d %d %lld %lld\n", run.openSeconds, run.analysisSeconds, run.errorReports,
                run.reportStored ? 1 : 0, run.residentAfterOpenKilobytes, ownPeakKilobytes());
    return 0;
}

// What the host's check counts for an analysis of the layer, in bytes.
int estimateOne(int argc, char** argv) {
    if (argc != 3) return 2;
    std::printf("%" PRIu64 "\n", gishost::model::FeatureTable::open(argv[2], "")->memoryToStartMeasuring());
    return 0;
}

void runCase(const char* program, const Options& options, int count, bool allPairs) {
    const std::string caseFolder =
        options.folder + "/" + (allPairs ? "all_" : "within_") + std::to_string(count);
    std::filesystem::remove_all(caseFolder);
    std::filesystem::create_directories(caseFolder + "/out");
    const bench::PatchLayer layer = bench::generatePatches(count, options.seed + static_cast<std::uint64_t>(count));
    const std::string layerPath = caseFolder + "/patches.gpkg";
    bench::writeGeoPackage(layer, layerPath);

    bench::AnalysisRequest request;
    request.layerPath = layerPath;
    request.allPairs = allPairs;
    request.radius = layer.radius;
    request.outputFolder = caseFolder + "/out";
    const std::optional<Measured> measured = measureInNewProcess(program, request);
    if (!measured) {
        std::printf("| %d | %s | failed |\n", count, allPairs ? "all pairs" : "within");
        return;
    }
    const bench::AnalysisRun& run = measured->run;
    const std::string distances = request.outputFolder + "/distances.txt";
    std::string same = "-";
    if (count <= options.verifyUpTo)
        same = bench::sortedDistanceLines(distances) == bench::bruteForcePairs(layer, allPairs, layer.radius) ? "yes"
                                                                                                              : "NO";
    char radius[32];
    std::snprintf(radius, sizeof radius, "%.0f m", layer.radius);
    const double startMegabytes = static_cast<double>(run.residentAfterOpenKilobytes) / 1024.0;
    const double estimateMegabytes = static_cast<double>(measured->estimateBytes) / (1024.0 * 1024.0);
    const double peakMegabytes = static_cast<double>(measured->peakKilobytes) / 1024.0;
    std::printf("| %d | %s | %zu | %.3f | %.3f | %.3f | %.1f | %.1f | %.1f | %.2f | %s | %s |\n", count,
                allPairs ? "all pairs" : radius, lineCount(distances), run.openSeconds, run.analysisSeconds,
                run.openSeconds + run.analysisSeconds, startMegabytes, estimateMegabytes, peakMegabytes,
                (startMegabytes + estimateMegabytes) / peakMegabytes,
                run.errorReports == 0 && run.reportStored ? "yes" : "NO", same.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--measure") return measureOne(argc, argv);
    if (argc > 1 && std::string(argv[1]) == "--estimate") return estimateOne(argc, argv);
    Options options;
    if (const std::optional<int> code = bench::exitCodeBeforeRun(commandLineOf(options), argc, argv)) return *code;
    std::printf("| patches | radius | pairs | open s | analysis s | total s | start MB | estimate MB | peak MB | "
                "(start + estimate) / peak | report | same as brute force |\n");
    std::printf("|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|---|---|\n");
    for (const int count : options.within) runCase(argv[0], options, count, false);
    for (const int count : options.allPairs) runCase(argv[0], options, count, true);
    return 0;
}
