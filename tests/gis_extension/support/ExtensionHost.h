#pragma once
// The host around the extension's windows in a test: layers written by the test and
// opened through the host model, in the focus map of a map document whose file lies in
// the test's folder, an application with the extension loaded, and every seam the
// windows reach answered or recorded: the registry, the error-report window, message
// boxes, the shell, the catalog browser and the temporary folder.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "LayerFixtures.h"
#include "com/ClassTable.h"
#include "gis_extension/clsExtension.h"
#include "gis_toolkit/support/RecordingErrorReport.h"
#include "gishost/model/HostModel.h"
#include "gishost/model/Layers.h"
#include "gishost/model/Map.h"
#include "gishost/model/Recording.h"
#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"
#include "sysutils/MessageBoxes.h"
#include "winapi/Shell.h"

namespace testing_support {

class ExtensionHost {
public:
    ExtensionHost()
        : temporaryFolder_("TMPDIR", folder.pathOf("tmp")), extensionClass_(gis_extension::registerClsExtension()) {
        gishost::model::registerHostClasses();
        for (const char* name : {"tmp", "maps", "layers", "out"}) std::filesystem::create_directory(folder.pathOf(name));
        folder.write("maps/patches.map", "layers\n");
    }

    // Writes the layer into the folder's "layers" as <name>.<format> and opens it.
    com::ComPtr<gishost::IFeatureLayer> featureLayer(const std::string& name, FixtureLayer layer,
                                                     const std::string& shownName = {}) {
        layer.layerName = name;
        return gishost::model::openFeatureLayer(writeLayer(folder.pathOf("layers/" + name + "." + layer.format), layer),
                                                {}, shownName);
    }

    // The application with the extension loaded, its focus map holding `layers`.
    void start(std::vector<com::ComPtr<gishost::ILayer>> layers) {
        map = gishost::model::makeMap("Layers", std::move(layers));
        document = gishost::model::makeMxDocument(map);
        application = gishost::model::makeApplication(document, {mapDocumentPath()});
        settings = gishost::model::loadExtension(application, gis_extension::ProgID_clsExtension)
                       .as<gis_extension::_clsExtension>();
    }

    std::string mapDocumentPath() const { return folder.pathOf("maps/patches.map"); }

    ScopedRegistry registry;
    TemporaryFolder folder;
    RecordingErrorReport reports;
    sysutils::ScriptedMessageBoxes boxes;
    winapi::RecordingShell shell;
    gishost::model::ScriptedCatalogBrowser browser;

    com::ComPtr<gishost::IMap> map;
    com::ComPtr<gishost::IMxDocument> document;
    com::ComPtr<gishost::IApplication> application;
    com::ComPtr<gis_extension::_clsExtension> settings;

private:
    ScopedEnvironmentVariable temporaryFolder_;
    std::unique_ptr<com::ScopedClassRegistration> extensionClass_;
};

// `count` squares of side 10, 10 apart, in metres (EPSG:3035), with an integer ID and an area.
inline FixtureLayer squares(int count = 3) {
    FixtureLayer layer;
    layer.format = "shp";
    layer.geometryType = wkbPolygon;
    layer.epsg = 3035;
    layer.fields = {{"ID", OFTInteger, 9}, {"Area", OFTReal, 12, 2}};
    for (int k = 0; k < count; ++k)
        layer.features.push_back({squareWkt(20.0 * k, 0, 10), {std::to_string(10 * (k + 1)), "12.5"}});
    return layer;
}

}  // namespace testing_support
