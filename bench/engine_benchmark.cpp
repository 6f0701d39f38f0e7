// Runs the reference and the fast processing path on the same generated landscapes and
// prints a table: size, links, processing time of each path, their ratio, peak memory of
// each, and whether their results agree to the last bit. Each run is a child process of
// its own, so the peaks do not mix. The reference is run whole up to one size, measured
// on a sample of per-node landscapes and extrapolated up to another, and beyond that
// estimated from the largest sampled size by its n^4 growth; the table says which.
//
//   brelmark_benchmark [--sizes 250,500,1000,2000,5000,10000,20000] [--reference-whole-up-to 500]
//                      [--reference-sample-up-to 2000] [--sample 4] [--threads 0]
//                      [--full-up-to 500] [--probability 0.5] [--candidate-percent 1] [--seed 1]
//                      [--folder DIR] [--help]
//
// --help prints every option with its default and what the default run takes; a wrong
// command line is refused (exit status 2) before anything is run.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "BenchOptions.h"
#include "IsolatedRun.h"
#include "LandscapeGenerator.h"
#include "ResultDigest.h"
#include "engine/tamblorProgram.h"
#include "sysutils/MessageBoxes.h"
#include "sysutils/Strings.h"

namespace {

struct Options {
    std::vector<std::int32_t> sizes{250, 500, 1000, 2000, 5000, 10000, 20000};
    std::int32_t referenceWholeUpTo = 500;
    std::int32_t referenceSampleUpTo = 2000;
    std::int32_t sample = 4;
    unsigned threads = 0;
    std::int32_t fullUpTo = 500;
    float probability = 0.5f;
    double candidatePercent = 1.0;
    std::uint64_t seed = 1;
    std::string folder = (std::filesystem::temp_directory_path() / "brelmark_benchmark").string();
};

// The command line, its defaults taken from `o`, which the options set.
bench::CommandLine commandLineOf(Options& o) {
    using bench::realNumber;
    using bench::wholeNumber;
    const auto number = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return std::string(text);
    };
    return {"brelmark_benchmark",
            "Runs the reference and the fast processing path on the same generated landscapes and prints\n"
            "a table of their times, peak memory and whether their results agree, each run in a child\n"
            "process of its own. The default run, up to n = 20,000, takes about 10 minutes on 8 cores (5 of\n"
            "them the whole reference runs at n = 500) and peaks at about 4.8 GB at n = 20,000\n"
            "(bench/RESULTS.md).\n",
            {bench::sizesOption(o.sizes),
             {"--reference-whole-up-to", "N", std::to_string(o.referenceWholeUpTo),
              "the reference runs whole up to this size",
              [&o](const std::string& v) { o.referenceWholeUpTo = wholeNumber<std::int32_t>(v, 0); }},
             {"--reference-sample-up-to", "N", std::to_string(o.referenceSampleUpTo),
              "and on a sample of per-node landscapes up to this one",
              [&o](const std::string& v) { o.referenceSampleUpTo = wholeNumber<std::int32_t>(v, 0); }},
             {"--sample", "N", std::to_string(o.sample), "per-node landscapes timed in a sample",
              [&o](const std::string& v) { o.sample = wholeNumber<std::int32_t>(v, 1); }},
             bench::threadsOption(o.threads),
             bench::fullUpToOption(o.fullUpTo),
             {"--probability", "P", number(static_cast<double>(o.probability)),
              "the probability at the link cutoff, above 0",
              [&o](const std::string& v) {
                  o.probability = realNumber(v, 0.0f, 1.0f);
                  if (o.probability == 0.0f) throw std::invalid_argument('"' + v + "\" is not above 0");
              }},
             {"--candidate-percent", "P", number(o.candidatePercent), "candidates, in per cent of the nodes",
              [&o](const std::string& v) { o.candidatePercent = realNumber(v, 0.0, 100.0); }},
             {"--seed", "N", std::to_string(o.seed), "the landscape of n nodes has the seed N + n",
              [&o](const std::string& v) { o.seed = wholeNumber<std::uint64_t>(v, 0); }},
             bench::folderOption(o.folder, "where the landscapes are written")}};
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// All indices, PC checking all paths (the default), the cutoff as the binary threshold and
// as the distance of the given probability.
std::unique_ptr<engine::tamblorProgram> runFor(const bench::GeneratedLandscape& files, bool full, bool candidates,
                                               float probability) {
    const float cutoff = static_cast<float>(files.cutoff);
    return std::make_unique<engine::tamblorProgram>(true, false, false, true, true, true, true, true, true, true, true,
                                                    true, true, files.nodeFile, files.connectionFile, cutoff, cutoff,
                                                    probability, 0.0f, true, full, candidates, 0.0f);
}

bench::Measurement measure(const bench::GeneratedLandscape& files, bool full, bool candidates, const Options& o,
                           engine::ProcessingPath path, bool sampled) {
    sysutils::PrintedMessageBoxes boxes;
    sysutils::installMessageBoxes(&boxes);
    auto run = runFor(files, full, candidates, o.probability);
    run->processingPath = path;
    run->processingThreads = o.threads;
    bench::Measurement m;
    auto start = std::chrono::steady_clock::now();
    if (run->checkParameters() != 0) throw std::runtime_error("the generated inputs were refused");
    run->readInputs();
    m.readSeconds = secondsSince(start);
    start = std::chrono::steady_clock::now();
    if (!sampled) {
        sysutils::TStringList log;
        sysutils::TwoPanelStatus status;
        run->process(log, status);
        m.processSeconds = secondsSince(start);
        if (std::getenv("BRELMARK_BENCHMARK_TICKS") != nullptr)
            std::fprintf(stderr, "n %d: ms NL %d NC %d HIIC %d CCP %d LCP %d F %d AWF %d PC %d\n", run->nNodes,
                         run->ticksNL, run->ticksNC, run->ticksHIIC, run->ticksCCP, run->ticksLCP, run->ticksF,
                         run->ticksAWF, run->ticksPC);
        m.digest = bench::resultDigest(*run);
    } else {
        // The reference: the overall landscape, then a sample of per-node landscapes spread
        // over the nodes and candidates, each costing about the same.
        run->computeOverall();
        const double overall = secondsSince(start);
        double removals = 0, additions = 0;
        const std::int32_t removalSample = std::min(o.sample, run->nNodes);
        const std::int32_t additionSample = std::min(std::max(1, o.sample / 2), run->nAddedNodes);
        for (std::int32_t s = 0; s < removalSample; ++s) {
            const auto at = std::chrono::steady_clock::now();
            run->computeWithoutNode(static_cast<std::int32_t>((static_cast<std::int64_t>(s) * 2 + 1) * run->nNodes / (2 * removalSample)));
            removals += secondsSince(at);
        }
        for (std::int32_t s = 0; s < additionSample; ++s) {
            const auto at = std::chrono::steady_clock::now();
            run->computeWithAddedNode(s * run->nAddedNodes / additionSample);
            additions += secondsSince(at);
        }
        m.processSeconds = overall + (removalSample > 0 ? removals / removalSample * run->nNodes : 0) +
                           (additionSample > 0 ? additions / additionSample * run->nAddedNodes : 0);
        m.estimated = true;
    }
    m.links = run->overall->nLinks;
    sysutils::installMessageBoxes(nullptr);
    return m;
}

std::string megabytes(std::int64_t kilobytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(kilobytes) / 1024.0);
    return text;
}

std::string seconds(double s, bool estimated) {
    char text[48];
    if (s < 10)
        std::snprintf(text, sizeof text, "%s%.3f", estimated ? "~" : "", s);
    else
        std::snprintf(text, sizeof text, "%s%.0f", estimated ? "~" : "", s);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (const std::optional<int> code = bench::exitCodeBeforeRun(commandLineOf(o), argc, argv)) return *code;
    std::filesystem::create_directories(o.folder);
    const unsigned threads = o.threads == 0 ? std::thread::hardware_concurrency() : o.threads;
    std::printf("All indices selected, PC checking all paths, p = %.2f at the link cutoff; fast path on %u threads.\n",
                static_cast<double>(o.probability), threads);
    std::printf("| n | candidates | structure | links | reference s | fast s | ratio | reference peak MB | fast peak MB | same results |\n");
    std::printf("|---:|---:|---|---:|---:|---:|---:|---:|---:|---|\n");
    double modelN = 0, modelSeconds = 0;  // the largest sampled reference, for the n^4 model
    for (const std::int32_t n : o.sizes) {
        for (const bool full : {false, true}) {
            if (full && n > o.fullUpTo) continue;
            const std::int32_t candidates = static_cast<std::int32_t>(std::ceil(n * o.candidatePercent / 100.0));
            const std::string folder = o.folder + "/n" + std::to_string(n) + (full ? "full" : "partial");
            std::filesystem::create_directories(folder);
            const bench::GeneratedLandscape files =
                bench::generateLandscape({n, candidates, 10.0, full, o.seed + static_cast<std::uint64_t>(n)}, folder);

            const auto fast = bench::runIsolated(
                [&] { return measure(files, full, candidates > 0, o, engine::ProcessingPath::Fast, false); });
            std::optional<bench::IsolatedResult> reference;
            std::string referenceText, ratioText, referencePeak = "-", same = "-";
            if (n <= o.referenceSampleUpTo) {
                const bool sampled = n > o.referenceWholeUpTo;
                reference = bench::runIsolated(
                    [&] { return measure(files, full, candidates > 0, o, engine::ProcessingPath::Reference, sampled); });
            }
            double referenceSeconds = 0;
            bool estimated = true;
            if (reference) {
                referenceSeconds = reference->measurement.processSeconds;
                estimated = reference->measurement.estimated;
                referencePeak = megabytes(reference->peakKilobytes) + (estimated ? " (sample)" : "");
                if (!estimated && fast) same = reference->measurement.digest == fast->measurement.digest ? "yes" : "NO";
                if (!full && n > modelN) {
                    modelN = n;
                    modelSeconds = referenceSeconds;
                }
            } else if (modelN > 0) {
                referenceSeconds = modelSeconds * std::pow(n / modelN, 4.0);
            }
            referenceText = referenceSeconds > 0 ? seconds(referenceSeconds, estimated) : "-";
            if (!fast) {
                std::printf("| %d | %d | %s | - | %s | failed | - | %s | - | - |\n", n, candidates,
                            full ? "Full" : "Partial", referenceText.c_str(), referencePeak.c_str());
                continue;
            }
            const double fastSeconds = fast->measurement.processSeconds;
            char ratio[32] = "-";
            if (referenceSeconds > 0 && fastSeconds > 0)
                std::snprintf(ratio, sizeof ratio, "%s%.0f", estimated ? "~" : "", referenceSeconds / fastSeconds);
            std::printf("| %d | %d | %s | %lld | %s | %s | %s | %s | %s | %s |\n", n, candidates, full ? "Full" : "Partial",
                        static_cast<long long>(fast->measurement.links), referenceText.c_str(),
                        seconds(fastSeconds, false).c_str(), ratio, referencePeak.c_str(),
                        megabytes(fast->peakKilobytes).c_str(), same.c_str());
            std::fflush(stdout);
            std::filesystem::remove_all(folder);
        }
    }
    return 0;
}
