#pragma once
// Runs the within-distance analysis as the command would: on a layer opened through the
// host model, in the host of the extension's tests (ExtensionHost.h: an application with
// the extension loaded and every seam recorded), with the clock fixed.
#include <memory>
#include <string>

#include "gis_extension/WithinDistance.h"
#include "gis_extension/support/ExtensionHost.h"
#include "sysutils/DateTime.h"

namespace testing_support {

struct AnalysisSettings {
    std::string idField = "ID";
    std::string attributeField = "Area";
    bool allPairs = false;
    double radius = 10.0;
    bool numberTable = true;
    bool distanceTable = true;
    bool distanceFile = true;
    std::string folder;  // the output folder as typed; empty: the fixture's folder
};

class AnalysisRun {
public:
    AnalysisRun() : clock_([] { return sysutils::EncodeDateTime(2026, 12, 10, 14, 3, 0, 0); }) {}

    const TemporaryFolder& folder() const { return host.folder; }

    // Writes the layer into the fixture's folder as <name>.<format>.
    std::string writeLayerFile(const std::string& name, FixtureLayer layer) {
        layer.layerName = name;
        return writeLayer(host.folder.pathOf(name + "." + layer.format), layer);
    }

    // Runs the analysis on the layer file; returns the report stored in the extension.
    std::string run(const std::string& layerPath, const AnalysisSettings& settings) {
        layer_ = gishost::model::openFeatureLayer(layerPath);
        host.start({layer_});
        std::string directory = settings.folder.empty() ? host.folder.path().string() : settings.folder;
        gis_extension::WithinDistance::CalcWithinDistance(
            layer_, settings.idField, settings.attributeField, settings.allPairs,
            settings.allPairs ? -9999.0 : settings.radius, settings.numberTable, settings.distanceTable,
            settings.distanceFile, directory, host.document, host.application);
        return host.settings->ReportOfAnalysis();
    }

    std::string output(const std::string& name) const { return readFile(host.folder.pathOf(name)); }

    com::ComPtr<gishost::IApplication> application() const { return host.application; }
    com::ComPtr<gishost::IMap> map() const { return host.map; }
    com::ComPtr<gishost::IMxDocument> document() const { return host.document; }

    ExtensionHost host;
    RecordingErrorReport& reports = host.reports;
    sysutils::ScriptedMessageBoxes& boxes = host.boxes;
    winapi::RecordingShell& shell = host.shell;

private:
    sysutils::ScopedClock clock_;
    com::ComPtr<gishost::IFeatureLayer> layer_;
};

// Six squares of side 10 (EPSG:3035, metres): ID 10 at (0,0), 20 at (20,0), 30 at
// (10,20), 40 at (0,10) touching 10 and 30, 50 far away at (100,100), 60 at (40.5,0),
// 10.5 from 20. With a radius of 10, the pairs at exactly 10 count and 60 stays alone.
inline FixtureLayer sixSquares() {
    FixtureLayer layer;
    layer.format = "shp";
    layer.geometryType = wkbPolygon;
    layer.epsg = 3035;
    layer.fields = {{"ID", OFTInteger, 9}, {"Area", OFTReal, 12, 2}};
    const struct {
        double x, y;
        const char* id;
        const char* area;
    } squares[] = {{0, 0, "10", "12.5"}, {20, 0, "20", "3.25"},  {10, 20, "30", "1"},
                   {0, 10, "40", "0"},   {100, 100, "50", "7"}, {40.5, 0, "60", "2"}};
    for (const auto& square : squares)
        layer.features.push_back({squareWkt(square.x, square.y, 10), {square.id, square.area}});
    return layer;
}

}  // namespace testing_support
