// Listing a map's layers by kind, naming geometry types, and the open document's path.
#include <gtest/gtest.h>

#include <filesystem>

#include "LayerFixtures.h"
#include "com/Creation.h"
#include "gis_toolkit/MyGeneralOperations.h"
#include "gis_toolkit/aml_func_mod.h"
#include "gis_toolkit/support/RecordingErrorReport.h"
#include "gishost/model/HostModel.h"
#include "support/TestFiles.h"

namespace {

using namespace gishost;
using gis_toolkit::MyGeneralOperations::ReturnLayersByType;
using testing_support::FixtureLayer;

// A map of every kind: a point layer, a polygon layer inside a group with a line layer,
// a multipoint layer, a polygon layer whose file was deleted, a raster and a surface
// layer, and two standalone tables.
class LayerKinds : public ::testing::Test {
protected:
    void SetUp() override {
        model::registerHostClasses();
        const auto layer = [&](const std::string& name, OGRwkbGeometryType type, const std::string& wkt) {
            return model::openFeatureLayer(
                       testing_support::writeLayer(folder_.pathOf(name + ".shp"), FixtureLayer{"shp", name, type, 0, {}, {{wkt, {}}}}))
                .as<ILayer>();
        };
        const auto deleted = layer("deleted", wkbPolygon, testing_support::squareWkt(0, 0, 1));
        for (const char* extension : {".shp", ".shx", ".dbf"})
            std::filesystem::remove(folder_.pathOf(std::string("deleted") + extension));
        const std::string raster = testing_support::writeRaster(folder_.pathOf("heights.tif"));
        map_ = model::makeMap(
            "Layers",
            {layer("points", wkbPoint, "POINT (0 0)"),
             model::makeGroupLayer("group", {layer("parcels", wkbPolygon, testing_support::squareWkt(0, 0, 1)),
                                             layer("roads", wkbLineString, "LINESTRING (0 0,1 1)")}),
             layer("wells", wkbMultiPoint, "MULTIPOINT ((0 0))"), deleted, model::openRasterLayer(raster, "image"),
             model::openSurfaceLayer(raster, "surface"),
             model::openRasterLayer(folder_.pathOf("missing.tif"), "missing image")},
            {table("first"), table("second")});
    }

    static com::ComPtr<IStandaloneTable> table(const std::string& name) {
        const auto table = com::createInstanceAs<IStandaloneTable>(CLSID_StandaloneTable);
        table->put_Name(name);
        return table;
    }

    static std::vector<std::string> namesOf(const com::ComPtr<IArray>& array) {
        std::vector<std::string> names;
        for (std::int32_t k = 0; k < array->Count(); ++k) {
            const auto element = array->Element(k);
            if (const auto layer = element.tryAs<ILayer>()) {
                names.push_back(layer->Name());
            } else {
                names.push_back("table " + element.as<IStandaloneTable>()->Name());
            }
        }
        return names;
    }

    testing_support::TemporaryFolder folder_;
    testing_support::RecordingErrorReport reports_;
    com::ComPtr<IMap> map_;
};

struct MaskCase {
    const char* name;
    std::int32_t mask;
    std::vector<std::string> names;
};

class Masks : public LayerKinds, public ::testing::WithParamInterface<MaskCase> {};

TEST_P(Masks, SelectValidLayersInMapOrderAndTablesLast) {
    EXPECT_EQ(namesOf(ReturnLayersByType(map_, GetParam().mask)), GetParam().names);
    EXPECT_TRUE(reports_.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Masks,
    ::testing::Values(
        MaskCase{"AllFeatureLayers", 1, {"points", "parcels", "roads", "wells", "image", "surface"}},
        MaskCase{"TablesOnly", 4, {"image", "surface", "table first", "table second"}},
        MaskCase{"PolygonsAndPoints", 40, {"points", "parcels", "image", "surface"}},
        MaskCase{"PolylinesAndMultipoints", 80, {"roads", "wells", "image", "surface"}},
        MaskCase{"DigitsThatSelectNothing", 130, {"image", "surface"}},
        MaskCase{"OnlyTheLowestEightBitsCount", 256 + 4, {"image", "surface", "table first", "table second"}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(LayerKinds, MapWithoutLayersGivesItsTablesOrNothing) {
    const auto empty = model::makeMap("Empty", {}, {table("only")});
    EXPECT_EQ(namesOf(ReturnLayersByType(empty, 4)), (std::vector<std::string>{"table only"}));
    EXPECT_EQ(ReturnLayersByType(empty, 1)->Count(), 0);
}

TEST(ReturnShapeName, NamesEveryCodeOfTheTableAndNoOther) {
    using gis_toolkit::aml_func_mod::ReturnShapeName;
    EXPECT_EQ(ReturnShapeName(14), "Circular Arc");
    EXPECT_EQ(ReturnShapeName(4), "Polygon");
    EXPECT_EQ(ReturnShapeName(22), "Triangles");
    for (const std::int32_t unknown : {8, 0, 7, 10, 12, 23, -1}) EXPECT_EQ(ReturnShapeName(unknown), "Unknown Geometry");
}

TEST(GetMxDocPath, GivesTheLastTemplate) {
    testing_support::RecordingErrorReport reports;
    const auto document = model::makeMxDocument(model::makeMap("Layers", {}));
    EXPECT_EQ(gis_toolkit::aml_func_mod::GetMxDocPath(
                  model::makeApplication(document, {"/maps/normal.template", "/maps/study.map"})),
              "/maps/study.map");
    // No template at all: the host's error is reported and the path stays empty.
    EXPECT_EQ(gis_toolkit::aml_func_mod::GetMxDocPath(model::makeApplication(document, {})), "");
    ASSERT_EQ(reports.shown().size(), 1u);
    EXPECT_NE(reports.shown()[0].find("GetMxDocPath aml_func_mod"), std::string::npos);
}

}  // namespace
