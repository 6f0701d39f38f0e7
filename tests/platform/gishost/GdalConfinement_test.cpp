// GDAL confined to the host's drivers and to regular files: layers that reach a file
// through another (virtual layers, archive and slice paths, a driver's own form,
// symbolic links) open when that file is a real one and are refused, naming it, when it
// is a pipe or a device; standard input, the network and unreadable companion files are
// refused too, and so is a database's table that the spatial extension would read from a
// file with its own calls; drivers the host does not use stay out even after GDAL
// registers anew.
#include <cpl_http.h>
#include <gdal.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "LayerFixtures.h"
#include "ModelRefusals.h"
#include "ReachingLayers.h"
#include "gishost/model/FeatureTable.h"
#include "gishost/model/GdalConfinement.h"
#include "gishost/model/HostModel.h"
#include "support/TestFiles.h"

namespace {

using namespace gishost;
using testing_support::refusalOf;
using testing_support::TemporaryFolder;

// Adds to the GeoPackage at `path` a table x, a virtual table of the spatial extension's
// that reads the shapefile `shapefile` (named without its ending) with its own file calls.
void makeTableOfAShapefile(const std::string& path, const std::string& shapefile) {
    testing_support::editDatabase(
        path, "PRAGMA writable_schema=ON;"
              "INSERT INTO sqlite_master(type, name, tbl_name, rootpage, sql) VALUES ('table', 'x', 'x', 0, "
              "'CREATE VIRTUAL TABLE x USING VirtualShape(''" + shapefile + "'', ''UTF-8'', 4326)');"
              "INSERT INTO gpkg_contents(table_name, data_type, identifier) VALUES ('x', 'attributes', 'x');");
}

TEST(GdalConfinement, OpensLayersThatReachARegularFileThroughAnother) {
    TemporaryFolder folder;
    for (const auto& layer : testing_support::layersReaching(folder.path().string(), testing_support::writeReachedFile)) {
        const auto opened = model::openFeatureLayer(layer.source);
        EXPECT_TRUE(opened->Valid()) << layer.kind;
        const com::ComPtr<IFeatureClass> featureClass = opened->FeatureClass();
        ASSERT_TRUE(featureClass) << layer.kind << ": " << refusalOf(layer.source);
        EXPECT_EQ(featureClass->FeatureCount(nullptr), 1) << layer.kind;
    }
}

TEST(GdalConfinement, RefusesLayersThatReachAPipeThroughAnotherAndNamesThePipe) {
    TemporaryFolder folder;
    // Every reader finds a writer, so that a GDAL that opens a pipe fails instead of waiting.
    std::vector<std::unique_ptr<testing_support::NamedPipe>> pipes;
    const auto layers = testing_support::layersReaching(folder.path().string(), [&](const std::string& path) {
        pipes.push_back(std::make_unique<testing_support::NamedPipe>(path, "", /*everyReader=*/true));
    });
    for (const auto& layer : layers) {
        EXPECT_EQ(refusalOf(layer.source), "it reads " + layer.reached + ", which is a pipe") << layer.kind;
        EXPECT_FALSE(model::openFeatureLayer(layer.source)->Valid()) << layer.kind;
    }
}

TEST(GdalConfinement, RefusesWhatIsNoFileOfThisMachineAndCompanionsThatCannotBeRead) {
    TemporaryFolder folder;
    const testing_support::FixtureLayer points{"shp", "points", wkbPoint, 0, {}, {{"POINT (0 0)", {}}}};
    const std::string shapefile = testing_support::writeLayer(folder.pathOf("roads.shp"), points);
    std::filesystem::remove(folder.pathOf("roads.dbf"));
    std::filesystem::create_symlink(folder.pathOf("roads.dbf"), folder.pathOf("roads.dbf"));
    std::filesystem::create_symlink(folder.pathOf("loop.shp"), folder.pathOf("loop.shp"));
    // A GeoPackage in write-ahead-log mode, whose log SQLite opens beside it.
    const std::string logged = testing_support::writeLayer(folder.pathOf("logged.gpkg"),
                                                           {"gpkg", "x", wkbPoint, 0, {}, {{"POINT (0 0)", {}}}});
    {
        std::fstream header(logged, std::ios::in | std::ios::out | std::ios::binary);
        header.seekp(18);
        header.write("\2\2", 2);
    }
    const testing_support::NamedPipe log(logged + "-wal", "", /*everyReader=*/true);
    const std::string throughLog = folder.write(
        "journal.vrt", "<OGRVRTDataSource><OGRVRTLayer name=\"x\"><SrcDataSource>" + logged +
                           "</SrcDataSource></OGRVRTLayer></OGRVRTDataSource>");
    const std::string device = folder.write(
        "device.vrt", "<OGRVRTDataSource><OGRVRTLayer name=\"x\"><SrcDataSource>/dev/zero</SrcDataSource>"
                      "</OGRVRTLayer></OGRVRTDataSource>");
    const struct Case {
        const char* kind;
        std::string source;
        std::string reason;
    } cases[] = {
        {"a virtual layer of a device", device, "it reads /dev/zero, which is a character device"},
        {"a virtual layer of a GeoPackage whose log is a pipe", throughLog,
         "it reads " + log.path() + ", which is a pipe"},
        {"the standard input", "/vsistdin/", "it reads /vsistdin/, which is the standard input"},
        {"a file on the network", "/vsicurl/http://127.0.0.1:9/x.geojson",
         "it reads /vsicurl/http://127.0.0.1:9/x.geojson, which is on the network"},
        {"a shapefile whose table is a symbolic link in a loop", shapefile,
         "the file beside it, " + folder.pathOf("roads.dbf") + ", cannot be read: too many levels of symbolic links"},
        {"a symbolic link in a loop", folder.pathOf("loop.shp"),
         "it cannot be read: too many levels of symbolic links"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(refusalOf(test.source), test.reason) << test.kind;
        EXPECT_FALSE(model::openFeatureLayer(test.source)->Valid()) << test.kind;
    }
}

TEST(GdalConfinement, ReadsNoTableOfADatabaseThatWouldReadAFileOnItsOwn) {
    TemporaryFolder folder;
    const testing_support::FixtureLayer points{"shp", "points", wkbPoint, 0, {}, {{"POINT (0 0)", {}}}};
    testing_support::writeLayer(folder.pathOf("points.shp"), points);
    const std::string database = testing_support::writeLayer(folder.pathOf("own.gpkg"),
                                                             {"gpkg", "y", wkbPoint, 0, {}, {{"POINT (0 0)", {}}}});
    makeTableOfAShapefile(database, folder.pathOf("points"));
    // The number of features the host reads from `table`, or -1 when it cannot read them.
    const auto featuresOf = [&](const std::string& table) {
        try {
            const com::ComPtr<IFeatureClass> featureClass = model::openFeatureLayer(database, table)->FeatureClass();
            return featureClass ? featureClass->FeatureCount(nullptr) : -1;
        } catch (const com::Error&) {
            return -1;
        }
    };
    EXPECT_EQ(featuresOf("x"), -1);
    EXPECT_EQ(featuresOf("y"), 1);
}

TEST(GdalConfinement, KeepsOnlyItsDriversWhenGdalRegistersAgainAndAsksNothingOfTheNetwork) {
    model::gdal::confine();
    GDALAllRegister();
    const std::vector<std::string>& permitted = model::gdal::permittedDrivers();
    for (int k = 0; k < GDALGetDriverCount(); ++k) {
        const std::string name = GDALGetDriverShortName(GDALGetDriver(k));
        EXPECT_NE(std::find(permitted.begin(), permitted.end(), name), permitted.end()) << name;
    }
    for (const std::string& name : permitted) EXPECT_NE(GDALGetDriverByName(name.c_str()), nullptr) << name;

    CPLHTTPResult* result = CPLHTTPFetch("http://127.0.0.1:9/schema.xsd", nullptr);
    ASSERT_NE(result, nullptr);
    EXPECT_NE(result->nStatus, 0);
    EXPECT_STREQ(result->pszErrBuf, "the host reads no data from the network");
    CPLHTTPDestroyResult(result);
}

}  // namespace
