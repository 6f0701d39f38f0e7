// Reading a layer writes nothing: whatever its opening asks of GDAL and SQLite (statements
// run at opening or closing, SQL in either dialect, a driver's side file, the tidying of
// a database in write-ahead-log mode), no file is made, changed, renamed or deleted; a
// layer that cannot be read without the write is refused, naming the file it would
// write, and the others open without it. A GeoPackage in write-ahead-log mode opens,
// with its log read when it is there.
#include <cpl_conv.h>
#include <gtest/gtest.h>

#include <string>

#include "ModelRefusals.h"
#include "WritingLayers.h"
#include "gishost/model/HostModel.h"
#include "support/TestFiles.h"

namespace {

using namespace gishost;
using testing_support::refusalOf;
using testing_support::TemporaryFolder;

TEST(ReadOnlyLayers, ReadingALayerMakesChangesAndDeletesNoFile) {
    TemporaryFolder folder;
    const std::string path = folder.path().string();
    const auto layers = testing_support::layersThatWouldWrite(path);
    // GDAL's geocoding keeps its cache where this names, when it can.
    CPLSetConfigOption("OGR_GEOCODE_CACHE_FILE", folder.pathOf("geocoded.sqlite").c_str());
    const auto files = testing_support::filesIn(path);
    testing_support::FolderWatch watch(path);
    for (const auto& layer : layers) {
        EXPECT_EQ(refusalOf(layer.source), layer.refusal.empty() ? "opened" : layer.refusal) << layer.kind;
        const auto opened = model::openFeatureLayer(layer.source);
        EXPECT_EQ(opened->Valid(), layer.refusal.empty()) << layer.kind;
        if (layer.refusal.empty()) {
            const com::ComPtr<IFeatureClass> featureClass = opened->FeatureClass();
            ASSERT_TRUE(featureClass) << layer.kind;
            EXPECT_EQ(featureClass->FeatureCount(nullptr), layer.features) << layer.kind;
        }
        EXPECT_EQ(watch.changes(), "") << layer.kind;
        EXPECT_EQ(testing_support::differences(files, testing_support::filesIn(path)), "") << layer.kind;
    }
    CPLSetConfigOption("OGR_GEOCODE_CACHE_FILE", nullptr);
}

}  // namespace
