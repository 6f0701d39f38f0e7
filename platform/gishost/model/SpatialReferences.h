#pragma once
// The spatial reference of a data source as the host names it: geographic, projected
// with its linear unit, or unknown (neither, also when the source names none).
#include <ogr_srs_api.h>

#include "com/ComPtr.h"
#include "gishost/Geometry.h"

namespace gishost::model {

// `reference` may be null (the source has none).
com::ComPtr<ISpatialReference> makeSpatialReference(OGRSpatialReferenceH reference);

// The host's name of a linear unit: OGR's name with "metre" spelt "meter", and the
// first letter upper case ("metre" gives "Meter", "kilometre" "Kilometer").
std::string linearUnitName(const std::string& ogrName);

}  // namespace gishost::model
