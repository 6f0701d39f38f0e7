#pragma once
// The layers of a map: feature layers over OGR layers, group layers, and raster and
// surface layers over GDAL rasters. A layer is valid while its data source opens.
#include <string>
#include <vector>

#include "com/ComPtr.h"
#include "gishost/Carto.h"

namespace gishost::model {

// The layer `layerName` of the vector data source at `path` (its first layer when the
// name is empty), named `name` (the OGR layer's name, or the file's, when empty). The
// source is not read until it is asked for.
com::ComPtr<IFeatureLayer> openFeatureLayer(const std::string& path, const std::string& layerName = {},
                                            const std::string& name = {});
com::ComPtr<ILayer> makeGroupLayer(const std::string& name, std::vector<com::ComPtr<ILayer>> layers);
com::ComPtr<IRasterLayer> openRasterLayer(const std::string& path, const std::string& name = {});
com::ComPtr<ISurfaceLayer> openSurfaceLayer(const std::string& path, const std::string& name = {});

// The layers in map order; with `recursive`, each group layer followed by its layers.
com::ComPtr<IEnumLayer> enumerateLayers(const std::vector<com::ComPtr<ILayer>>& layers, const com::IID* only,
                                        bool recursive);

}  // namespace gishost::model
