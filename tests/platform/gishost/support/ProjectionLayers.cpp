#include "ProjectionLayers.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "LayerFixtures.h"
#include "support/TestFiles.h"

namespace testing_support {
namespace {

// Where the projection library's own grids are installed.
const char* const libraryGrids = "/usr/share/proj/";

std::string geoJsonWithCrs(const std::string& crs) {
    return R"({"type":"FeatureCollection","crs":{"type":"name","properties":{"name":")" + crs +
           R"("}},"features":[{"type":"Feature","properties":{"ID":1},"geometry":{"type":"Point","coordinates":[1,2]}}]})";
}

std::string gmlWithSrsName(const std::string& srsName) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
           "<ogr:FeatureCollection xmlns:ogr=\"http://ogr.maptools.org/\" xmlns:gml=\"http://www.opengis.net/gml\">\n"
           "<gml:featureMember><ogr:x fid=\"x.0\"><ogr:geometryProperty><gml:Point srsName=\"" + srsName +
           "\"><gml:coordinates>1,2</gml:coordinates></gml:Point></ogr:geometryProperty><ogr:ID>1</ogr:ID></ogr:x>"
           "</gml:featureMember>\n</ogr:FeatureCollection>\n";
}

}  // namespace

const std::vector<std::string>& projectionFileNames() {
    static const std::vector<std::string> names{"zone.init", "shift.gsb", "geoid.gtx"};
    return names;
}

void writeProjectionFile(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    if (name == "zone.init") return writeFile(path, "<1> +proj=longlat +ellps=WGS84 <>\n");
    const std::string grid = name == "shift.gsb" ? "BETA2007.gsb" : name == "geoid.gtx" ? "egm96_15.gtx" : "";
    if (grid.empty()) throw std::runtime_error("no such projection file: " + name);
    std::filesystem::copy_file(libraryGrids + grid, path);
}

std::vector<ReachingLayer> layersNamingProjectionFiles(const std::string& folder,
                                                       const std::function<void(const std::string& path)>& makeNamed) {
    const auto in = [&](const std::string& name) { return folder + "/" + name; };
    for (const std::string& name : projectionFileNames()) makeNamed(in(name));
    const std::string init = in("zone.init");
    const std::string shift = in("shift.gsb");
    const std::string geoid = in("geoid.gtx");
    writeFile(in("init.geojson"), geoJsonWithCrs("+proj=longlat +init=" + init + ":1"));
    writeFile(in("grid.geojson"), geoJsonWithCrs("+proj=longlat +ellps=GRS80 +nadgrids=" + shift + " +wktext"));
    writeFile(in("optional.geojson"), geoJsonWithCrs("+proj=longlat +ellps=GRS80 +nadgrids=@" + shift + " +wktext"));
    writeFile(in("heights.geojson"), geoJsonWithCrs("+proj=longlat +ellps=GRS80 +geoidgrids=" + geoid + " +wktext"));
    writeFile(in("plain.geojson"), geoJsonWithCrs("urn:ogc:def:crs:OGC:1.3:CRS84"));
    writeFile(in("srs.vrt"), "<OGRVRTDataSource><OGRVRTLayer name=\"plain\"><SrcDataSource>" + in("plain.geojson") +
                                 "</SrcDataSource><LayerSRS>+init=" + init + ":1</LayerSRS></OGRVRTLayer></OGRVRTDataSource>");
    writeFile(in("points.gml"), gmlWithSrsName("+init=" + init + ":1"));
    writeLayer(in("points.shp"), {"shp", "points", wkbPoint, 0, {}, {{"POINT (1 2)", {}}}});
    writeFile(in("points.prj"), "GEOGCS[\"x\",DATUM[\"y\",SPHEROID[\"GRS80\",6378137,298.257222101]],PRIMEM[\"Greenwich\",0],"
                                "UNIT[\"degree\",0.0174532925199433],EXTENSION[\"PROJ4\",\"+proj=longlat +ellps=GRS80 "
                                "+nadgrids=" + shift + " +wktext\"]]");
    return {
        {"a GeoJSON crs naming an init file", in("init.geojson"), init},
        {"a GeoJSON crs naming a grid", in("grid.geojson"), shift},
        {"a GeoJSON crs naming an optional grid", in("optional.geojson"), shift},
        // A geoid grid serves heights, which reading a layer never transforms.
        {"a GeoJSON crs naming a geoid grid", in("heights.geojson"), ""},
        {"a virtual layer's LayerSRS naming an init file", in("srs.vrt"), init},
        {"a GML srsName naming an init file", in("points.gml"), init},
        // A .prj names a file only through an extension node, whose grid is kept as a name.
        {"a shapefile's .prj naming a grid", in("points.shp"), ""},
    };
}

}  // namespace testing_support
