// Feature layers over OGR layers: field types and values as the layer stores them, shape
// types, spatial references, validity, object IDs, cursors, and damaged sources.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "LayerFixtures.h"
#include "gishost/model/FeatureTable.h"
#include "gishost/model/HostModel.h"
#include "support/TestFiles.h"

namespace {

using namespace gishost;
using testing_support::FixtureLayer;
using testing_support::TemporaryFolder;
using testing_support::writeLayer;

com::ComPtr<IFeatureClass> featureClassOf(const std::string& path) {
    const com::ComPtr<IFeatureClass> featureClass = model::openFeatureLayer(path)->FeatureClass();
    if (!featureClass) throw std::runtime_error("no feature class for " + path);
    return featureClass;
}

std::vector<com::ComPtr<IFeature>> allFeatures(const com::ComPtr<IFeatureClass>& featureClass) {
    std::vector<com::ComPtr<IFeature>> features;
    const com::ComPtr<IFeatureCursor> cursor = featureClass->Search(nullptr, false);
    for (com::ComPtr<IFeature> feature = cursor->NextFeature(); feature; feature = cursor->NextFeature())
        features.push_back(feature);
    return features;
}

struct FieldCase {
    const char* name;
    testing_support::FixtureField field;
    std::string text;
    std::int32_t hostType;
    com::Variant value;
};

class FieldTypes : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldTypes, MapToTheHostsCodesAndKeepTheStoredValue) {
    const FieldCase& c = GetParam();
    TemporaryFolder folder;
    FixtureLayer layer{"gpkg", "things", wkbPoint, 0, {c.field}, {{"POINT (1 2)", {c.text}}, {"POINT (3 4)", {std::nullopt}}}};
    const auto featureClass = featureClassOf(writeLayer(folder.pathOf("things.gpkg"), layer));
    const com::ComPtr<IFields> fields = featureClass->Fields();
    ASSERT_EQ(fields->FieldCount(), 3);
    EXPECT_EQ(fields->Field(0)->Type(), fieldType::OID);
    EXPECT_EQ(fields->Field(1)->Type(), fieldType::Geometry);
    EXPECT_EQ(fields->Field(2)->Type(), c.hostType);
    EXPECT_EQ(featureClass->FindField(c.field.name), 2);
    const auto features = allFeatures(featureClass);
    ASSERT_EQ(features.size(), 2u);
    EXPECT_EQ(features[0]->Value(2), c.value);
    EXPECT_TRUE(features[1]->Value(2).isNull());
}

INSTANTIATE_TEST_SUITE_P(
    OgrTypes, FieldTypes,
    ::testing::Values(
        FieldCase{"Integer", {"n", OFTInteger}, "-17", fieldType::Integer, std::int32_t{-17}},
        FieldCase{"Int16", {"n", OFTInteger, 0, 0, OFSTInt16}, "300", fieldType::SmallInteger, std::int16_t{300}},
        FieldCase{"Boolean", {"n", OFTInteger, 0, 0, OFSTBoolean}, "1", fieldType::SmallInteger, std::int16_t{1}},
        FieldCase{"Integer64", {"n", OFTInteger64}, "9000000000", fieldType::Double, 9000000000.0},
        FieldCase{"Real", {"n", OFTReal}, "12.5", fieldType::Double, 12.5},
        FieldCase{"Float32", {"n", OFTReal, 0, 0, OFSTFloat32}, "12.3", fieldType::Single, 12.3f},
        FieldCase{"String", {"n", OFTString}, "abc", fieldType::String, std::string("abc")},
        FieldCase{"Date", {"n", OFTDate}, "2026/12/10", fieldType::Date, com::Date{46366.0}},
        FieldCase{"DateTime", {"n", OFTDateTime}, "1899/12/31 18:00:00", fieldType::Date, com::Date{1.75}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(FeatureClass, TakesPrecisionAndScaleFromTheSource) {
    TemporaryFolder folder;
    FixtureLayer layer{"shp", "sizes", wkbPoint, 0,
                       {{"whole", OFTInteger, 9}, {"real", OFTReal, 16, 6}, {"text", OFTString, 30}}, {}};
    const auto fields = featureClassOf(writeLayer(folder.pathOf("sizes.shp"), layer))->Fields();
    EXPECT_EQ(fields->Field(2)->Precision(), 9);
    EXPECT_EQ(fields->Field(3)->Precision(), 16);
    EXPECT_EQ(fields->Field(3)->Scale(), 6);
    EXPECT_EQ(fields->Field(4)->Length(), 30);
}

struct ShapeCase {
    const char* name;
    OGRwkbGeometryType ogrType;
    std::string wkt;
    std::int32_t hostType;
};

class ShapeTypes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ShapeTypes, NameTheHostsGeometryType) {
    TemporaryFolder folder;
    FixtureLayer layer{"shp", "shapes", GetParam().ogrType, 0, {}, {{GetParam().wkt, {}}}};
    const auto featureClass = featureClassOf(writeLayer(folder.pathOf("shapes.shp"), layer));
    EXPECT_EQ(featureClass->ShapeType(), GetParam().hostType);
    EXPECT_EQ(allFeatures(featureClass).at(0)->Shape()->GeometryType(), GetParam().hostType);
}

INSTANTIATE_TEST_SUITE_P(Shapefiles, ShapeTypes,
                         ::testing::Values(ShapeCase{"Points", wkbPoint, "POINT (1 1)", geometryType::Point},
                                           ShapeCase{"Lines", wkbLineString, "LINESTRING (0 0,1 1)", geometryType::Polyline},
                                           ShapeCase{"Polygons", wkbPolygon, testing_support::squareWkt(0, 0, 1),
                                                     geometryType::Polygon},
                                           ShapeCase{"Multipoints", wkbMultiPoint, "MULTIPOINT ((0 0),(1 1))",
                                                     geometryType::Multipoint}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(FeatureClass, NamesItsSpatialReference) {
    TemporaryFolder folder;
    const auto referenceOf = [&](int epsg) {
        FixtureLayer layer{"shp", "l" + std::to_string(epsg), wkbPoint, epsg, {}, {}};
        return featureClassOf(writeLayer(folder.pathOf("l" + std::to_string(epsg) + ".shp"), layer))
            .as<IGeoDataset>()
            ->SpatialReference();
    };
    EXPECT_TRUE(referenceOf(4326).tryAs<IGeographicCoordinateSystem>());
    const auto projected = referenceOf(32633).tryAs<IProjectedCoordinateSystem>();
    ASSERT_TRUE(projected);
    EXPECT_EQ(projected->CoordinateUnit()->Name(), "Meter");
    const auto none = referenceOf(0);
    EXPECT_FALSE(none.tryAs<IGeographicCoordinateSystem>());
    EXPECT_FALSE(none.tryAs<IProjectedCoordinateSystem>());
}

TEST(FeatureLayer, IsValidOnlyWhileItsSourceOpens) {
    TemporaryFolder folder;
    FixtureLayer layer{"shp", "gone", wkbPoint, 0, {}, {{"POINT (0 0)", {}}}};
    const std::string path = writeLayer(folder.pathOf("gone.shp"), layer);
    const auto present = model::openFeatureLayer(path);
    EXPECT_TRUE(present->Valid());
    EXPECT_EQ(present->Name(), "gone");
    for (const char* extension : {".shp", ".shx", ".dbf"}) std::filesystem::remove(folder.pathOf(std::string("gone") + extension));
    EXPECT_FALSE(present->Valid());
    const auto deleted = model::openFeatureLayer(path);
    EXPECT_FALSE(deleted->Valid());
    EXPECT_FALSE(deleted->FeatureClass());
}

TEST(FeatureLayer, RefusesAVirtualLayerWhoseSourceLayerCannotBeReadWithGdalsReason) {
    TemporaryFolder folder;
    const std::string source = writeLayer(folder.pathOf("src.gpkg"), {"gpkg", "x", wkbPoint, 0, {}, {{"POINT (0 0)", {}}}});
    const std::string raster = testing_support::writeRaster(folder.pathOf("heights.tif"));
    const auto layer = [](const std::string& name, const std::string& from, const std::string& sourceLayer) {
        return "<OGRVRTLayer name=\"" + name + "\"><SrcDataSource>" + from + "</SrcDataSource>" +
               (sourceLayer.empty() ? "" : "<SrcLayer>" + sourceLayer + "</SrcLayer>") + "</OGRVRTLayer>";
    };
    const auto virtualLayers = [&](const std::string& name, const std::string& layers) {
        return folder.write(name, "<OGRVRTDataSource>" + layers + "</OGRVRTDataSource>");
    };
    const std::string both = virtualLayers("both.vrt", layer("good", source, "x") + layer("bad", source, "gone"));
    const struct Case {
        const char* kind;
        std::string path;
        std::string layerName;
        std::string reason;
    } cases[] = {
        {"its source is missing", virtualLayers("missing.vrt", layer("x", folder.pathOf("gone.gpkg"), "")), "",
         "Failed to open datasource `" + folder.pathOf("gone.gpkg") + "'."},
        {"its source holds no such layer", virtualLayers("no_layer.vrt", layer("x", source, "gone")), "",
         "Failed to find layer 'gone' on datasource '" + source + "'."},
        {"its source is a raster", virtualLayers("raster.vrt", layer("x", raster, "")), "",
         "Failed to open datasource `" + raster + "'."},
        {"the second of two layers", both, "bad", "Failed to find layer 'gone' on datasource '" + source + "'."},
    };
    for (const Case& test : cases) {
        try {
            model::FeatureTable::open(test.path, test.layerName);
            ADD_FAILURE() << test.kind << ": opened";
        } catch (const com::Error& error) {
            const std::string layerNamed = test.layerName.empty() ? "" : " (layer " + test.layerName + ")";
            EXPECT_EQ(error.Description, "The data source " + test.path + layerNamed + " cannot be read: " + test.reason)
                << test.kind;
        }
        const auto opened = model::openFeatureLayer(test.path, test.layerName);
        EXPECT_FALSE(opened->Valid()) << test.kind;
        EXPECT_FALSE(opened->FeatureClass()) << test.kind;
    }
    const auto good = model::openFeatureLayer(both, "good");
    EXPECT_TRUE(good->Valid());
    ASSERT_TRUE(good->FeatureClass());
    EXPECT_EQ(good->FeatureClass()->FeatureCount(nullptr), 1);
}

TEST(FeatureTable, RefusesAPipeAndWhatComesWithOneBeforeOpeningThemAndReadsAFolderOfShapefiles) {
    TemporaryFolder folder;
    const FixtureLayer points{"shp", "points", wkbPoint, 0, {}, {{"POINT (0 0)", {}}}};
    std::filesystem::create_directory(folder.pathOf("shapes"));
    writeLayer(folder.pathOf("shapes/points.shp"), points);
    const std::string withPipedTable = writeLayer(folder.pathOf("roads.shp"), points);
    std::filesystem::remove(folder.pathOf("roads.dbf"));
    std::filesystem::create_directory(folder.pathOf("piped"));
    // Every reader finds a writer, so that GDAL opening a pipe fails instead of waiting.
    const testing_support::NamedPipe pipe(folder.pathOf("layer.geojson"), "", /*everyReader=*/true);
    const testing_support::NamedPipe table(folder.pathOf("roads.dbf"), "", /*everyReader=*/true);
    const testing_support::NamedPipe inFolder(folder.pathOf("piped/points.shp"), "", /*everyReader=*/true);
    std::filesystem::create_symlink(pipe.path(), folder.pathOf("link.geojson"));
    const struct Case {
        std::string path;
        std::string why;
    } cases[] = {
        {pipe.path(), "it is a pipe"},
        {folder.pathOf("link.geojson"), "it is a pipe"},
        {withPipedTable, "the file beside it, " + table.path() + ", which is a pipe"},
        {folder.pathOf("piped"), "it holds " + inFolder.path() + ", which is a pipe"},
    };
    for (const Case& test : cases) {
        try {
            model::FeatureTable::open(test.path, "");
            ADD_FAILURE() << test.path << " opened";
        } catch (const com::Error& error) {
            EXPECT_EQ(error.Description, "The data source " + test.path + " cannot be read: " + test.why);
        }
        EXPECT_FALSE(model::openFeatureLayer(test.path)->Valid()) << test.path;
    }
    const auto shapes = model::openFeatureLayer(folder.pathOf("shapes"), "points", "points");
    EXPECT_TRUE(shapes->Valid());
    EXPECT_TRUE(shapes->FeatureClass());
}

TEST(FeatureClass, RaisesForAnObjectIdBeyond32Bits) {
    TemporaryFolder folder;
    const std::string path = folder.write(
        "big.geojson",
        R"({"type":"FeatureCollection","features":[{"type":"Feature","id":3000000000,"properties":{},)"
        R"("geometry":{"type":"Point","coordinates":[0,0]}}]})");
    const auto feature = allFeatures(featureClassOf(path)).at(0);
    for (const auto& read : {std::function<void()>([&] { feature->OID(); }), std::function<void()>([&] { feature->Value(0); })}) {
        try {
            read();
            ADD_FAILURE() << "no error";
        } catch (const com::Error& error) {
            EXPECT_NE(error.Description.find("3000000000"), std::string::npos) << error.Description;
        }
    }
}

TEST(FeatureClass, GivesAFeatureWithoutShapeAnEmptyShapeThatCannotBeMeasured) {
    TemporaryFolder folder;
    FixtureLayer layer{"gpkg", "holes", wkbPolygon, 0, {}, {{"", {}}, {testing_support::squareWkt(0, 0, 1), {}}}};
    const auto features = allFeatures(featureClassOf(writeLayer(folder.pathOf("holes.gpkg"), layer)));
    const com::ComPtr<IGeometry> empty = features.at(0)->Shape();
    EXPECT_TRUE(empty->IsEmpty());
    EXPECT_THROW(empty.as<ITopologicalOperator>()->Buffer(1.0), com::Error);
    EXPECT_THROW(features.at(1)->Shape().as<IProximityOperator>()->ReturnDistance(empty), com::Error);
}

TEST(FeatureClass, FailsWithTheHostsErrorWhenItsSourceIsDamaged) {
    TemporaryFolder folder;
    FixtureLayer layer{"shp", "damaged", wkbPolygon, 0, {{"id", OFTInteger, 9}}, {}};
    for (int k = 0; k < 20; ++k) layer.features.push_back({testing_support::squareWkt(k, 0, 1), {std::to_string(k)}});
    const std::string path = writeLayer(folder.pathOf("damaged.shp"), layer);
    const auto featureClass = featureClassOf(path);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    EXPECT_THROW(featureClass->FeatureCount(nullptr), com::Error);
    EXPECT_THROW(featureClass->Search(nullptr, true), com::Error);
}

TEST(FeatureCursor, RecyclesOneFeatureAndLetsCursorsWalkAtOnce) {
    TemporaryFolder folder;
    FixtureLayer layer{"shp", "walk", wkbPoint, 0, {{"id", OFTInteger, 9}},
                       {{"POINT (0 0)", {"10"}}, {"POINT (1 0)", {"11"}}, {"POINT (2 0)", {"12"}}}};
    const auto featureClass = featureClassOf(writeLayer(folder.pathOf("walk.shp"), layer));
    const auto outer = featureClass->Search(nullptr, true);
    const com::ComPtr<IFeature> first = outer->NextFeature();
    EXPECT_EQ(first->OID(), 0);
    // A cursor opened meanwhile starts from the beginning and leaves the outer one alone.
    std::vector<com::Variant> inner;
    const auto innerCursor = featureClass->Search(nullptr, true);
    for (auto feature = innerCursor->NextFeature(); feature; feature = innerCursor->NextFeature())
        inner.push_back(feature->Value(2));
    EXPECT_EQ(inner, (std::vector<com::Variant>{std::int32_t{10}, std::int32_t{11}, std::int32_t{12}}));
    const com::ComPtr<IFeature> second = outer->NextFeature();
    EXPECT_EQ(second.get(), first.get());
    EXPECT_EQ(second->Value(2), com::Variant(std::int32_t{11}));
    const auto fresh = featureClass->Search(nullptr, false);
    EXPECT_NE(fresh->NextFeature().get(), fresh->NextFeature().get());
}

TEST(FeatureClass, KeepsItsFieldsFromBeingEditedButClonesThem) {
    TemporaryFolder folder;
    FixtureLayer layer{"shp", "ro", wkbPoint, 0, {{"id", OFTInteger, 9}}, {}};
    const auto field = featureClassOf(writeLayer(folder.pathOf("ro.shp"), layer))->Fields()->Field(2);
    EXPECT_THROW(field.as<IFieldEdit>()->put_Name("other"), com::Error);
    const auto copy = field.as<IClone>()->Clone().as<IFieldEdit>();
    copy->put_Name("From_ID");
    EXPECT_EQ(copy.as<IField>()->Name(), "From_ID");
    EXPECT_EQ(copy.as<IField>()->Precision(), 9);
    EXPECT_EQ(field->Name(), "id");
}

}  // namespace
