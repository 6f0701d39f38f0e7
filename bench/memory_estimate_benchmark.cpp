// Sets the engine's memory estimate beside the peak resident size that the run reaches, on
// the benchmark's landscapes and on bands of patches linked to their next ones, for three
// index selections, each run in a child process of its own. The estimate counts what the run
// allocates; the process's resident size when the run starts (code, libraries) comes on
// top, as it does in the memory use that the run's check reads, so the table sets that sum
// ("predicted") beside the peak.
//
//   brelmark_memory_benchmark [--sizes 250,500,1000,2000,5000,10000] [--full-up-to 500]
//                             [--band 2000,5000,10000] [--selections all,PC,F+AWF]
//                             [--path automatic|reference] [--reference-sample yes|no]
//                             [--threads 0] [--folder DIR] [--help]
//
// With --path reference and --reference-sample yes, the reference computes the overall
// landscape, one removal and one candidate: every per-node landscape takes the same memory
// in turn, so that reaches the run's peak without the hours of the whole run. --help prints
// every option with its default; a wrong command line is refused (exit status 2) before
// anything is run.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "IsolatedRun.h"
#include "LandscapeGenerator.h"
#include "engine/MemoryEstimate.h"
#include "engine/tamblorProgram.h"
#include "sysutils/MessageBoxes.h"
#include "sysutils/Strings.h"

namespace {

struct Options {
    std::vector<std::int32_t> sizes{250, 500, 1000, 2000, 5000, 10000};
    std::int32_t fullUpTo = 500;
    std::vector<std::int32_t> bands{2000, 5000, 10000};
    std::vector<std::string> selections{"all", "PC", "F+AWF"};
    bool reference = false;
    bool referenceSample = true;
    unsigned threads = 0;
    std::string folder = (std::filesystem::temp_directory_path() / "brelmark_memory_benchmark").string();
};

const std::vector<std::string> selectionNames{"all", "PC", "F+AWF"};

// The command line, its defaults taken from `o`, which the options set.
bench::CommandLine commandLineOf(Options& o) {
    return {"brelmark_memory_benchmark",
            "Sets the engine's memory estimate beside the peak resident size of each run, on generated\n"
            "landscapes and bands of patches, each run in a child process of its own. The default run\n"
            "takes about 10 minutes on 8 cores (most of it the cases of 10,000) and peaks at about 1.4 GB\n"
            "(the band of 10,000 with all indices; bench/RESULTS.md).\n",
            {bench::sizesOption(o.sizes),
             bench::fullUpToOption(o.fullUpTo),
             {"--band", "N,N,...", bench::commaText(o.bands), "the bands' numbers of patches, \"\" for none",
              [&o](const std::string& v) { o.bands = bench::wholeNumbersOrNone(v, 1); }},
             {"--selections", "S,S,...", bench::commaText(o.selections), "index selections, each of all, PC, F+AWF",
              [&o](const std::string& v) {
                  std::vector<std::string> names = bench::commaItems(v);
                  for (const std::string& name : names) bench::oneOf(name, selectionNames);
                  o.selections = std::move(names);
              }},
             {"--path", "automatic|reference", o.reference ? "reference" : "automatic", "the processing path",
              [&o](const std::string& v) { o.reference = bench::oneOf(v, {"automatic", "reference"}) == "reference"; }},
             {"--reference-sample", "yes|no", o.referenceSample ? "yes" : "no",
              "the reference computes one removal and one candidate only",
              [&o](const std::string& v) { o.referenceSample = bench::oneOf(v, {"yes", "no"}) == "yes"; }},
             bench::threadsOption(o.threads),
             bench::folderOption(o.folder, "where the landscapes are written")}};
}

struct Selection {
    bool doA = false, doCCP = false, doLCP = false, doIIC = false, doNC = false, doNL = false, doH = false,
         doF = false, doAWF = false, doPC = false;
};

// The indices of one of selectionNames, the only names the command line lets through.
Selection selectionOf(const std::string& name) {
    Selection s;
    if (name == "all") s = {true, true, true, true, true, true, true, true, true, true};
    else if (name == "PC") s.doPC = true;
    else if (name == "F+AWF") s.doF = s.doAWF = true;
    return s;
}

struct Case {
    std::string landscape;
    bench::GeneratedLandscape files;
    std::int32_t nodes = 0;
    std::int32_t candidates = 0;
    bool full = false;
    float threshold = 0.0f;
    float distance = 0.0f;
};

// The resident size of this process now.
std::int64_t residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stoll(line.substr(6));
    return 0;
}

bench::Measurement measure(const Case& c, const Selection& s, const Options& o) {
    sysutils::PrintedMessageBoxes boxes;
    sysutils::installMessageBoxes(&boxes);
    engine::tamblorProgram run(true, false, false, s.doA, s.doCCP, s.doLCP, s.doIIC, s.doNC, s.doNL, s.doH, s.doF,
                               s.doAWF, s.doPC, c.files.nodeFile, c.files.connectionFile, c.threshold, c.distance, 0.5f,
                               0.0f, true, c.full, c.candidates > 0, 0.0f);
    run.processingPath = o.reference ? engine::ProcessingPath::Reference : engine::ProcessingPath::Automatic;
    run.processingThreads = o.threads;
    if (run.checkParameters() != 0) throw std::runtime_error("the generated inputs were refused");
    bench::Measurement m;
    m.residentAtStartKilobytes = residentKilobytes();
    run.readInputs();
    m.estimateBeforeReading = run.memoryNeeded();
    if (o.reference && o.referenceSample) {
        run.ensureProcessingMemory(engine::ProcessingPath::Reference, 1);
        run.computeOverall();
        if (run.nNodes > 0) run.computeWithoutNode(0);
        if (run.nAddedNodes > 0) run.computeWithAddedNode(0);
        run.processedOn = engine::ProcessingPath::Reference;
        m.estimated = true;
    } else {
        sysutils::TStringList log;
        sysutils::TwoPanelStatus status;
        run.process(log, status);
    }
    m.path = static_cast<int>(run.processedOn);
    m.estimate = engine::inputMemory(run.memoryShape(1)) +
                 engine::processingMemory(run.memoryShape(run.fastPathThreads()), run.processedOn);
    sysutils::installMessageBoxes(nullptr);
    return m;
}

double megabytes(double bytes) { return bytes / (1024.0 * 1024.0); }

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (const std::optional<int> code = bench::exitCodeBeforeRun(commandLineOf(o), argc, argv)) return *code;
    std::filesystem::create_directories(o.folder);
    std::vector<Case> cases;
    for (const std::int32_t n : o.sizes) {
        for (const bool full : {false, true}) {
            if (full && n > o.fullUpTo) continue;
            const std::string folder = o.folder + "/landscape" + std::to_string(n) + (full ? "full" : "");
            std::filesystem::create_directories(folder);
            Case c;
            c.landscape = full ? "benchmark, Full" : "benchmark";
            c.nodes = n;
            c.candidates = std::max(1, n / 100);
            c.full = full;
            c.files = bench::generateLandscape({n, c.candidates, 10.0, full, 1 + static_cast<std::uint64_t>(n)}, folder);
            c.threshold = c.distance = static_cast<float>(c.files.cutoff);
            cases.push_back(c);
        }
    }
    for (const std::int32_t n : o.bands) {
        const std::string folder = o.folder + "/band" + std::to_string(n);
        std::filesystem::create_directories(folder);
        Case c;
        c.landscape = "band of 20 successors";
        c.nodes = n;
        c.files = bench::generateBand(n, 20, 1000.0, static_cast<std::uint64_t>(n), folder);
        c.threshold = c.distance = 500.0f;
        cases.push_back(c);
    }

    std::printf("| landscape | n | candidates | indices | path | start MB | estimate before reading MB | estimate MB | "
                "predicted MB | peak MB | predicted / peak |\n");
    std::printf("|---|---:|---:|---|---|---:|---:|---:|---:|---:|---:|\n");
    for (const Case& c : cases) {
        for (const std::string& selection : o.selections) {
            const Selection s = selectionOf(selection);
            const auto result = bench::runIsolated([&] { return measure(c, s, o); });
            if (!result) {
                std::printf("| %s | %d | %d | %s | - | failed |\n", c.landscape.c_str(), c.nodes, c.candidates,
                            selection.c_str());
                continue;
            }
            const bench::Measurement& m = result->measurement;
            const double start = static_cast<double>(m.residentAtStartKilobytes) * 1024.0;
            const double peak = static_cast<double>(result->peakKilobytes) * 1024.0;
            const double predicted = start + static_cast<double>(m.estimate);
            const char* path = m.path == static_cast<int>(engine::ProcessingPath::Fast) ? "fast" : "reference";
            std::printf("| %s | %d | %d | %s | %s%s | %.1f | %.1f | %.1f | %.1f | %.1f | %.2f |\n", c.landscape.c_str(),
                        c.nodes, c.candidates, selection.c_str(), path, m.estimated ? " (sampled)" : "",
                        megabytes(start), megabytes(static_cast<double>(m.estimateBeforeReading)),
                        megabytes(static_cast<double>(m.estimate)), megabytes(predicted), megabytes(peak),
                        predicted / peak);
            std::fflush(stdout);
        }
    }
    return 0;
}
