// The map document reader: a document with every kind of item, relative and absolute
// sources, and one case per way a document is refused, each naming its line.
#include "gishost/app/MapDocument.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace {

using gishost::app::MapDocument;
using gishost::app::MapDocumentError;
using gishost::app::MapDocumentLayer;
using gishost::app::parseMapDocument;

MapDocumentLayer feature(std::string name, std::string source, std::string layerName = {}) {
    MapDocumentLayer layer;
    layer.name = std::move(name);
    layer.source = std::move(source);
    layer.layerName = std::move(layerName);
    return layer;
}

MapDocumentLayer group(std::string name, std::vector<MapDocumentLayer> layers) {
    MapDocumentLayer layer;
    layer.kind = MapDocumentLayer::Kind::Group;
    layer.name = std::move(name);
    layer.layers = std::move(layers);
    return layer;
}

TEST(MapDocument, ReadsEveryKindOfItem) {
    const std::string text =
        "gishost map document 1\r\n"
        "# habitat patches and what surrounds them\r\n"
        "map\tStudy area\r\n"
        "\r\n"
        "layer\tPatches\tdata/patches.gpkg\tpatches\r\n"
        "group\tSurroundings\n"
        "layer\tRoads\t/srv/roads.shp\n"
        "group\tEmpty\n"
        "end\n"
        "layer\tRivers\t../rivers.geojson\n"
        "end\n"
        "layer\tSpaced name \tsites.shp";
    MapDocument expected;
    expected.mapName = "Study area";
    expected.layers = {feature("Patches", "/maps/data/patches.gpkg", "patches"),
                       group("Surroundings", {feature("Roads", "/srv/roads.shp"), group("Empty", {}),
                                              feature("Rivers", "/rivers.geojson")}),
                       feature("Spaced name ", "/maps/sites.shp")};
    EXPECT_EQ(parseMapDocument(text, "/maps"), expected);
    EXPECT_EQ(parseMapDocument("gishost map document 1\n", "/maps"), MapDocument{});
}

TEST(MapDocument, RefusesWhatItDoesNotKnowNamingTheLine) {
    const std::string header = "gishost map document 1\n";
    const std::string deep = [] {
        std::string text;
        for (std::size_t k = 0; k <= gishost::app::mapDocumentMaxGroupDepth; ++k) text += "group\tg\n";
        return text;
    }();
    const struct Case {
        const char* name;
        std::string text;
        std::size_t line;
        const char* says;
    } cases[] = {
        {"empty file", "", 0, "empty"},
        {"no header", "layer\ta\tb.shp\n", 1, "does not start with"},
        {"another version", "gishost map document 2\n", 1, "does not start with"},
        {"unknown item", header + "raster\ta\tb.tif\n", 2, "unknown item \"raster\""},
        {"blanks instead of a tab", header + "layer Patches patches.shp\n", 2, "unknown item"},
        {"layer without source", header + "layer\tPatches\n", 2, "layer NAME SOURCE [LAYER]"},
        {"layer with a field too many", header + "layer\ta\tb.shp\tc\td\n", 2, "layer NAME SOURCE [LAYER]"},
        {"empty name", header + "layer\t\tb.shp\n", 2, "name is empty"},
        {"blank source", header + "layer\ta\t  \n", 2, "data source is empty"},
        {"empty layer in the source", header + "layer\ta\tb.gpkg\t\n", 2, "layer in the source is empty"},
        {"end without group", header + "end\n", 2, "closes no group"},
        {"group left open", header + "group\tg\nlayer\ta\tb.shp\n", 2, "not closed"},
        {"map named twice", header + "map\ta\nmap\tb\n", 3, "named twice"},
        {"map named after a layer", header + "layer\ta\tb.shp\nmap\tm\n", 3, "after its first layer"},
        {"carriage return inside a line", header + "layer\ta\rb\tc.shp\n", 2, "control characters"},
        {"nul byte", header + std::string("layer\ta\0b\tc.shp\n", 16), 2, "control characters"},
        {"not UTF-8", header + "layer\t\xE4rea\tc.shp\n", 2, "UTF-8"},
        {"overlong UTF-8", header + "layer\t\xC0\xAF\tc.shp\n", 2, "UTF-8"},
        {"groups too deep", header + deep, 18, "nested deeper"},
        {"too large", header + std::string(gishost::app::mapDocumentMaxBytes, '#'), 0, "larger than"},
    };
    for (const Case& test : cases) {
        try {
            parseMapDocument(test.text, "/maps");
            ADD_FAILURE() << test.name << ": read";
        } catch (const MapDocumentError& error) {
            EXPECT_EQ(error.line(), test.line) << test.name << ": " << error.what();
            EXPECT_NE(std::string(error.what()).find(test.says), std::string::npos)
                << test.name << ": " << error.what();
            if (test.line > 0) {
                EXPECT_EQ(std::string(error.what()).rfind("line " + std::to_string(test.line) + ": ", 0), 0u)
                    << test.name;
            }
        }
    }
}

TEST(MapDocument, TakesRelativeSourcesFromTheFilesFolder) {
    testing_support::TemporaryFolder folder;
    const std::string path = folder.write("study.gmap", "gishost map document 1\nlayer\tPatches\tpatches.shp\n");
    const MapDocument document = gishost::app::readMapDocument(path);
    ASSERT_EQ(document.layers.size(), 1u);
    EXPECT_EQ(document.layers[0].source, folder.pathOf("patches.shp"));
    for (const std::string& missing : {folder.pathOf("missing.gmap"), folder.path().string()}) {
        try {
            gishost::app::readMapDocument(missing);
            ADD_FAILURE() << missing;
        } catch (const MapDocumentError& error) {
            EXPECT_EQ(error.line(), 0u);
            EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
        }
    }
}

}  // namespace
