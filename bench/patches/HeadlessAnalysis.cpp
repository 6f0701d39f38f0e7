#include "patches/HeadlessAnalysis.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "com/ClassFactory.h"
#include "com/ClassTable.h"
#include "forms/IErrorReport.h"
#include "gis_extension/WithinDistance.h"
#include "gis_extension/clsExtension.h"
#include "gishost/model/FeatureTable.h"
#include "gishost/model/HostModel.h"
#include "gishost/model/Layers.h"
#include "gishost/model/Map.h"
#include "winapi/Shell.h"

namespace bench {
namespace {

int& reportsShown() {
    static int count = 0;
    return count;
}

// Stands in for the error-report window: prints the report instead of showing it.
class PrintedErrorReport final : public com::Object<forms::IErrorReport> {
public:
    void SetReportText(const std::string& text) override { text_ = text; }
    void Display(bool) override {
        ++reportsShown();
        std::fprintf(stderr, "%s\n", text_.c_str());
    }

private:
    std::string text_;
};

// Why the layer at `path` has no feature class, as the host model says it.
std::string unreadableLayerReason(const std::string& path) {
    try {
        gishost::model::FeatureTable::open(path, "");
    } catch (const com::Error& error) {
        return error.Description;
    }
    return "The data source " + path + " cannot be read";
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stoll(line.substr(6));
    return 0;
}

}  // namespace

AnalysisRun runHeadlessAnalysis(const AnalysisRequest& request) {
    gishost::model::registerHostClasses();
    const auto extensionClass = gis_extension::registerClsExtension();
    com::ScopedClassRegistration reportWindow(forms::CLSID_ErrorReportWindow, "",
                                              com::classFactory<PrintedErrorReport>());
    winapi::RecordingShell shell;
    reportsShown() = 0;

    AnalysisRun run;
    auto start = std::chrono::steady_clock::now();
    const com::ComPtr<gishost::IFeatureLayer> layer = gishost::model::openFeatureLayer(request.layerPath);
    const com::ComPtr<gishost::IFeatureClass> featureClass = layer->FeatureClass();
    if (!featureClass) {
        // The host shows such a layer as invalid, with the reason; so does this program.
        std::fprintf(stderr, "%s\n", unreadableLayerReason(request.layerPath).c_str());
        run.errorReports = 1;
        return run;
    }
    try {
        featureClass->Search(nullptr, true)->NextFeature();  // reads the features
    } catch (const com::Error&) {
        // the analysis meets the same failure when it reads them, and reports it
    }
    run.openSeconds = secondsSince(start);
    run.residentAfterOpenKilobytes = residentKilobytes();

    const auto map = gishost::model::makeMap("Layers", {layer});
    const auto document = gishost::model::makeMxDocument(map);
    const auto application = gishost::model::makeApplication(document, {request.layerPath});
    const auto extension = gishost::model::loadExtension(application, gis_extension::ProgID_clsExtension)
                               .as<gis_extension::_clsExtension>();

    std::string folder = request.outputFolder;
    start = std::chrono::steady_clock::now();
    gis_extension::WithinDistance::CalcWithinDistance(layer, request.idField, request.attributeField,
                                                      request.allPairs, request.allPairs ? -9999.0 : request.radius,
                                                      true, true, true, folder, document, application);
    run.analysisSeconds = secondsSince(start);
    run.errorReports = reportsShown();
    run.reportStored = !extension->ReportOfAnalysis().empty();
    gishost::model::shutdownExtensions(application);
    return run;
}

}  // namespace bench
