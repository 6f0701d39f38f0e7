#pragma once
// Vector layers written with OGR for tests: a format (named by its file extension), a
// geometry type, a spatial reference (an EPSG code, or none), fields and features given
// as WKT and texts. The host lets GDAL write no file once it reads a layer, so fixtures
// are written into GDAL's memory files and copied from there into place.
#include <ogr_api.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct FixtureField {
    std::string name;
    OGRFieldType type = OFTString;
    int width = 0;
    int precision = 0;
    OGRFieldSubType subtype = OFSTNone;
};

struct FixtureFeature {
    std::string wkt;                                  // empty: no shape
    std::vector<std::optional<std::string>> values;   // nullopt: Null
};

struct FixtureLayer {
    std::string format = "shp";  // "shp", "gpkg", "geojson" ...
    std::string layerName = "layer";
    OGRwkbGeometryType geometryType = wkbPolygon;
    int epsg = 0;  // 0: no spatial reference
    std::vector<FixtureField> fields;
    std::vector<FixtureFeature> features;
};

// Writes the layer as the data source `path`; returns the path. Fails the test (and
// throws) when OGR refuses.
std::string writeLayer(const std::string& path, const FixtureLayer& layer);

// A small raster of heights (GeoTIFF); returns the path.
std::string writeRaster(const std::string& path);

// Has `write` write the files it makes in a folder of GDAL's memory files, whose path it
// is given, then copies every file made there into the folder of `path`, under the same
// names, and frees the memory; returns `path`.
std::string writeThroughMemory(const std::string& path, const std::function<void(const std::string& folder)>& write);

// Runs the SQL `statements` on the SQLite database at `path` (a GeoPackage), in memory,
// and writes the database back.
void editDatabase(const std::string& path, const std::string& statements);

// The square polygon with its lower left corner at (x, y) and the side given.
std::string squareWkt(double x, double y, double side);

}  // namespace testing_support
