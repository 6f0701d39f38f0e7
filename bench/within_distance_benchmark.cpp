// Runs the within-distance analysis headless, end to end (open the layer, analyse, write
// all four outputs), on generated layers of habitat patches: within a radius that gives
// about ten neighbours per patch, and for all pairs. Prints, per case, the time to open
// the layer and to analyse, the peak memory (each case in a fresh process of its own,
// started anew so that it inherits nothing of the generator's memory),
// the number of pairs written, and whether the pairs and distances equal a brute-force
// GEOS run (up to --verify-up-to patches).
//
//   within_distance_benchmark [--within 1000,10000,100000] [--all-pairs 1000,2000]
//                             [--verify-up-to 10000] [--seed 7] [--folder DIR]
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>

#include "CommaList.h"
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

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--within") o.within = bench::commaNumbers(value);
        else if (name == "--all-pairs") o.allPairs = bench::commaNumbers(value);
        else if (name == "--verify-up-to") o.verifyUpTo = std::stoi(value);
        else if (name == "--seed") o.seed = std::stoull(value);
        else if (name == "--folder") o.folder = value;
    }
    return o;
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
};

// Runs one analysis in a new process of this program (--measure), which prints its
// figures on one line, its own peak resident size among them. (The peak that wait4
// reports is no good here: posix_spawn starts the child in this process's memory, so
// that figure is at least this process's own peak, the generated layers included.)
std::optional<Measured> measureInNewProcess(const char* program, const bench::AnalysisRequest& request) {
    int channel[2];
    if (pipe(channel) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], 1);
    posix_spawn_file_actions_addclose(&actions, channel[0]);
    char radius[64];
    std::snprintf(radius, sizeof radius, "%.17g", request.radius);
    std::vector<std::string> arguments{program, "--measure", request.layerPath, request.allPairs ? "all" : radius,
                                       request.outputFolder};
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
    Measured measured;
    int reportStored = 0;
    long long peakKilobytes = 0;
    if (std::sscanf(output.c_str(), "%lf %lf %d %d %lld", &measured.run.openSeconds, &measured.run.analysisSeconds,
                    &measured.run.errorReports, &reportStored, &peakKilobytes) != 5)
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
    std::printf("%.6f %.6f %d %d %lld\n", run.openSeconds, run.analysisSeconds, run.errorReports,
                run.reportStored ? 1 : 0, ownPeakKilobytes());
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
    std::printf("| %d | %s | %zu | %.3f | %.3f | %.3f | %.0f | %s | %s |\n", count,
                allPairs ? "all pairs" : radius, lineCount(distances), run.openSeconds, run.analysisSeconds,
                run.openSeconds + run.analysisSeconds, static_cast<double>(measured->peakKilobytes) / 1024.0,
                run.errorReports == 0 && run.reportStored ? "yes" : "NO", same.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--measure") return measureOne(argc, argv);
    const Options options = parse(argc, argv);
    std::printf("| patches | radius | pairs | open s | analysis s | total s | peak MB | report | same as brute force |\n");
    std::printf("|---:|---|---:|---:|---:|---:|---:|---|---|\n");
    for (const int count : options.within) runCase(argv[0], options, count, false);
    for (const int count : options.allPairs) runCase(argv[0], options, count, true);
    return 0;
}
