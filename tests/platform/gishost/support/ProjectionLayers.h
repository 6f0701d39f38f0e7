#pragma once
// Layers whose coordinate system names a file that the projection library opens by
// itself: an init file ("+init=file:1"), a horizontal grid ("+nadgrids=", and in a list of
// optional grids, "@file"), a geoid grid ("+geoidgrids="), written as a GeoJSON "crs", a
// virtual layer's LayerSRS, a GML srsName or a shapefile's .prj.
#include <functional>
#include <string>
#include <vector>

#include "ReachingLayers.h"

namespace testing_support {

// The files the layers name: "zone.init" (an init file whose entry 1 is longitude and
// latitude on WGS 84), "shift.gsb" (a horizontal grid) and "geoid.gtx" (a geoid grid).
const std::vector<std::string>& projectionFileNames();

// Writes the real file of each name of projectionFileNames() at `path`; the grids are
// copies of grids that come with the projection library.
void writeProjectionFile(const std::string& path);

// Every kind of layer, in `folder`, each naming one of the files above; `makeNamed`
// makes the file of that name in the folder (a real one or something in its place) and
// is called once for each name, before the layers are written. `reached` is empty for a
// layer whose named file is not opened when the layer is read.
std::vector<ReachingLayer> layersNamingProjectionFiles(const std::string& folder,
                                                       const std::function<void(const std::string& path)>& makeNamed);

}  // namespace testing_support
