#pragma once
// Runs the within-distance analysis headless, as the command would after a confirmed
// dialog: the layer opened through the host model, all four outputs written into a
// folder, the shell's requests and the error reports kept instead of shown (an error
// report is printed to standard error).
#include <string>

namespace bench {

struct AnalysisRequest {
    std::string layerPath;
    std::string idField = "ID";
    std::string attributeField = "Area";
    bool allPairs = false;
    double radius = 0.0;
    std::string outputFolder;
};

struct AnalysisRun {
    double openSeconds = 0.0;      // opening the layer and reading its features
    double analysisSeconds = 0.0;  // the analysis, from its first call to its report
    // The process's resident size once the features are read, when the host has checked
    // the memory that an analysis measuring them takes (VmRSS).
    long long residentAfterOpenKilobytes = 0;
    int errorReports = 0;
    bool reportStored = false;
};

AnalysisRun runHeadlessAnalysis(const AnalysisRequest& request);

}  // namespace bench
