// The shapes read for drawing: areas with holes one path per feature, lines, points of
// single and multiple shapes, what is left out (no shape, empty shapes), the extent, and
// the reasons given for sources that cannot be read.
#include "gishost/app/LayerDrawing.h"

#include <gtest/gtest.h>

#include "LayerFixtures.h"
#include "support/TestFiles.h"

namespace {

using gishost::app::LayerDrawing;
using gishost::app::readLayerDrawing;
using testing_support::FixtureLayer;

TEST(LayerDrawing, ReadsAreasLinesAndPointsWithTheirExtent) {
    testing_support::TemporaryFolder folder;
    FixtureLayer mixed;
    mixed.format = "gpkg";
    mixed.layerName = "mixed";
    mixed.geometryType = wkbUnknown;
    mixed.features = {
        {"POLYGON ((0 0, 10 0, 10 10, 0 10, 0 0), (2 2, 4 2, 4 4, 2 2))", {}},
        {"MULTIPOLYGON (((20 0, 30 0, 30 5, 20 0)), ((40 0, 50 0, 50 5, 40 0)))", {}},
        {"LINESTRING (0 -5, 50 -5)", {}},
        {"MULTIPOINT ((1 20), (2 21))", {}},
        {"POINT (-3 7)", {}},
        {"GEOMETRYCOLLECTION (POINT (5 5), LINESTRING (0 30, 1 31))", {}},
        {"", {}},
        {"POLYGON EMPTY", {}},
    };
    const LayerDrawing drawing = readLayerDrawing(testing_support::writeLayer(folder.pathOf("mixed.gpkg"), mixed), "");
    EXPECT_EQ(drawing.featureCount, 8u);
    ASSERT_EQ(drawing.areas.size(), 2u) << "one path per feature with an area";
    EXPECT_TRUE(drawing.areas[0].contains(QPointF(1, 1)));
    EXPECT_FALSE(drawing.areas[0].contains(QPointF(3.5, 2.5))) << "the hole is left open";
    EXPECT_TRUE(drawing.areas[1].contains(QPointF(45, 1)));
    EXPECT_EQ(drawing.points, (std::vector<QPointF>{{1, 20}, {2, 21}, {-3, 7}, {5, 5}}));
    EXPECT_EQ(drawing.lines.elementCount(), 4);
    EXPECT_EQ(drawing.extent, (gishost::app::Bounds{-3, -5, 50, 31}));
}

TEST(LayerDrawing, FindsTheLayerByNameAndSaysWhyASourceCannotBeRead) {
    testing_support::TemporaryFolder folder;
    FixtureLayer points;
    points.format = "gpkg";
    points.layerName = "sites";
    points.geometryType = wkbPoint;
    points.features = {{"POINT (3 4)", {}}};
    const std::string path = testing_support::writeLayer(folder.pathOf("sites.gpkg"), points);
    const LayerDrawing drawing = readLayerDrawing(path, "sites");
    EXPECT_EQ(drawing.extent, (gishost::app::Bounds{3, 4, 3, 4})) << "one point has an extent of no size";

    const std::string text = folder.write("notes.txt", "not a layer");
    const struct Case {
        std::string path;
        std::string layer;
        const char* says;
    } cases[] = {
        {path, "roads", "holds no layer named roads"},
        {folder.pathOf("missing.shp"), "", "missing.shp"},
        {text, "", ""},
    };
    for (const Case& test : cases) {
        try {
            readLayerDrawing(test.path, test.layer);
            ADD_FAILURE() << test.path << " read";
        } catch (const gishost::app::LayerDrawingError& error) {
            EXPECT_NE(std::string(error.what()), "");
            EXPECT_NE(std::string(error.what()).find(test.says), std::string::npos) << error.what();
        }
    }
}

}  // namespace
