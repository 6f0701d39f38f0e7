#pragma once
// Runs the within-distance analysis as the command would: on a layer opened through the
// host model, in a map document and an application with the extension loaded, with the
// shell, the message boxes and the error-report window recorded and the clock fixed.
#include <memory>
#include <string>

#include "LayerFixtures.h"
#include "com/ClassTable.h"
#include "gis_extension/WithinDistance.h"
#include "gis_extension/clsExtension.h"
#include "gis_toolkit/support/RecordingErrorReport.h"
#include "gishost/model/HostModel.h"
#include "gishost/model/Layers.h"
#include "gishost/model/Map.h"
#include "support/TestFiles.h"
#include "sysutils/DateTime.h"
#include "sysutils/FormatSettings.h"
#include "sysutils/MessageBoxes.h"
#include "winapi/Shell.h"

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
    AnalysisRun()
        : extensionClass_(gis_extension::registerClsExtension()),
          clock_([] { return sysutils::EncodeDateTime(2026, 12, 10, 14, 3, 0, 0); }) {
        gishost::model::registerHostClasses();
    }

    const TemporaryFolder& folder() const { return folder_; }

    // Writes the layer into the fixture's folder as <name>.<format>.
    std::string writeLayerFile(const std::string& name, FixtureLayer layer) {
        layer.layerName = name;
        return writeLayer(folder_.pathOf(name + "." + layer.format), layer);
    }

    // Runs the analysis on the layer file; returns the report stored in the extension.
    std::string run(const std::string& layerPath, const AnalysisSettings& settings) {
        layer_ = gishost::model::openFeatureLayer(layerPath);
        map_ = gishost::model::makeMap("Layers", {layer_});
        document_ = gishost::model::makeMxDocument(map_);
        application_ = gishost::model::makeApplication(document_, {folder_.pathOf("patches.map")});
        extension_ = gishost::model::loadExtension(application_, gis_extension::ProgID_clsExtension)
                         .as<gis_extension::_clsExtension>();
        std::string directory = settings.folder.empty() ? folder_.path().string() : settings.folder;
        gis_extension::WithinDistance::CalcWithinDistance(
            layer_, settings.idField, settings.attributeField, settings.allPairs,
            settings.allPairs ? -9999.0 : settings.radius, settings.numberTable, settings.distanceTable,
            settings.distanceFile, directory, document_, application_);
        return extension_->ReportOfAnalysis();
    }

    std::string output(const std::string& name) const { return readFile(folder_.pathOf(name)); }

    com::ComPtr<gishost::IApplication> application() const { return application_; }
    com::ComPtr<gishost::IMap> map() const { return map_; }
    com::ComPtr<gishost::IMxDocument> document() const { return document_; }

    RecordingErrorReport reports;
    sysutils::ScriptedMessageBoxes boxes;
    winapi::RecordingShell shell;

private:
    TemporaryFolder folder_;
    std::unique_ptr<com::ScopedClassRegistration> extensionClass_;
    sysutils::ScopedClock clock_;
    com::ComPtr<gishost::IFeatureLayer> layer_;
    com::ComPtr<gishost::IMap> map_;
    com::ComPtr<gishost::IMxDocument> document_;
    com::ComPtr<gishost::IApplication> application_;
    com::ComPtr<gis_extension::_clsExtension> extension_;
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
