#pragma once
// The within-distance analysis (module "WithinDistance"): measures the distance between
// the features of a layer, for all pairs or for pairs within a search radius, and writes
// the node file, and on request the distance file and the two dBASE tables, then stores
// the analysis report in the extension object. Every search, distance and table goes
// through the host; the analysis orders the calls, counts, keeps track of the pairs
// written and formats the outputs. An error ends the analysis with an error report;
// nothing written so far is undone.
#include <string>

#include "com/ComPtr.h"
#include "gishost/Carto.h"
#include "gishost/Framework.h"

namespace gis_extension::WithinDistance {

// `directoryPath` gets a trailing "/" when it has none.
void CalcWithinDistance(const com::ComPtr<gishost::IFeatureLayer>& layer, const std::string& fieldName,
                        const std::string& attributeFieldName, bool calcAllFeatures, double distanceLimit,
                        bool calcNumberDBase, bool calcDistanceDBase, bool calcDistanceASCII,
                        std::string& directoryPath, const com::ComPtr<gishost::IMxDocument>& document,
                        const com::ComPtr<gishost::IApplication>& application);

}  // namespace gis_extension::WithinDistance
