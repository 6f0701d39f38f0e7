#pragma once
// Data sources that make GDAL open a file other than the one they name: a virtual layer's
// source (by a full path, relative to the virtual layer, through a second virtual layer),
// GDAL's archive and slice paths (/vsizip/, /vsigzip/, /vsitar/, /vsisubfile/), the
// "GPKG:file:layer" form, and symbolic links to a virtual layer and to an archive.
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

struct ReachingLayer {
    std::string kind;     // what the case shows
    std::string source;   // the data source to open
    std::string reached;  // the file that GDAL opens through it, as GDAL names it
};

// The files that the layers reach, by name: "src.gpkg" (a GeoPackage with the layer "x"),
// "src.geojson" (a GeoJSON layer), "src.zip" and "src.tar" (archives holding
// src.geojson) and "src.geojson.gz".
const std::vector<std::string>& reachedFileNames();

// Every kind of layer, in `folder`, each reaching one of the files above; `makeReached`
// makes the file of that name in the folder (a real one or something in its place) and
// is called once for each name, before the layers are written.
std::vector<ReachingLayer> layersReaching(const std::string& folder,
                                          const std::function<void(const std::string& path)>& makeReached);

// Writes the real file of each name of reachedFileNames() at `path`, each holding one
// point feature.
void writeReachedFile(const std::string& path);

}  // namespace testing_support
