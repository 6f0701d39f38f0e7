// A program that runs one within-distance analysis headless, as the command would, so
// that a test can run it in a process of its own and kill it while it writes:
//
//   headless_analysis_program LAYER OUTPUT_FOLDER all|RADIUS
//
// Exits with 0 when the analysis reported no error.
#include <string>

#include "patches/HeadlessAnalysis.h"
#include "sysutils/FormatSettings.h"

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    bench::AnalysisRequest request;
    request.layerPath = argv[1];
    request.outputFolder = argv[2];
    request.allPairs = std::string(argv[3]) == "all";
    request.radius = request.allPairs ? 0.0 : std::stod(argv[3]);
    sysutils::ScopedDecimalSeparator point('.');
    const bench::AnalysisRun run = bench::runHeadlessAnalysis(request);
    return run.errorReports == 0 && run.reportStored ? 0 : 1;
}
