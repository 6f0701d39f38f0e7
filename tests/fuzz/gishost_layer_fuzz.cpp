// Writes the input as a GeoJSON file and reads it as the host reads a layer: every
// feature's object ID, values and shape, the distances between the first shapes, and
// the search by a buffer, whose count must agree with its search and whose features
// must be exactly those at most the buffer's width away. The host's errors are the
// expected answer to a hostile layer; a crash, a hang or a broken agreement is a finding.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "com/Error.h"
#include "gishost/model/FeatureClass.h"
#include "gishost/model/HostModel.h"

namespace {

using namespace gishost;

constexpr std::size_t measuredShapes = 24;

// Runs one step; the host's error ends only that step.
template <class Step>
void attempt(Step&& step) {
    try {
        step();
    } catch (const com::Error&) {
    }
}

struct Measured {
    std::int32_t oid;
    com::ComPtr<IGeometry> shape;
};

// A filter of the shape buffered by `width`, checked against the distances.
void searchAround(const com::ComPtr<IFeatureClass>& featureClass, const com::ComPtr<IGeometry>& shape, double width,
                  const std::vector<Measured>& measured, bool uniqueIds) {
    const auto filter = com::make<ISpatialFilter, model::SpatialFilter>();
    filter->putref_Geometry(shape.as<ITopologicalOperator>()->Buffer(width));
    filter->put_SpatialRel(spatialRelation::Intersects);
    const std::int32_t count = featureClass->FeatureCount(filter);
    std::set<std::int32_t> found;
    std::int32_t walked = 0;
    const auto cursor = featureClass->Search(filter, true);
    for (auto feature = cursor->NextFeature(); feature; feature = cursor->NextFeature()) {
        ++walked;
        attempt([&] { found.insert(feature->OID()); });
    }
    if (walked != count) std::abort();
    if (!uniqueIds) return;
    for (const Measured& each : measured) {
        attempt([&] {
            const double distance = shape.as<IProximityOperator>()->ReturnDistance(each.shape);
            if ((distance <= width) != (found.count(each.oid) == 1)) std::abort();
        });
    }
}

void readLayer(const std::string& path) {
    const auto layer = model::openFeatureLayer(path);
    layer->Valid();
    const com::ComPtr<IFeatureClass> featureClass = layer->FeatureClass();
    if (!featureClass) return;
    featureClass->ShapeType();
    featureClass.as<IGeoDataset>()->SpatialReference()->Name();
    const std::int32_t fieldCount = featureClass->Fields()->FieldCount();
    std::vector<Measured> measured;
    std::set<std::int32_t> ids;
    bool uniqueIds = true;
    const auto cursor = featureClass->Search(nullptr, true);
    for (auto feature = cursor->NextFeature(); feature; feature = cursor->NextFeature()) {
        bool hasId = false;
        std::int32_t oid = 0;
        attempt([&] {
            oid = feature->OID();
            hasId = true;
        });
        uniqueIds = uniqueIds && hasId && ids.insert(oid).second;
        for (std::int32_t k = 0; k < fieldCount; ++k) attempt([&] { com::toText(feature->Value(k)); });
        const com::ComPtr<IGeometry> shape = feature->Shape();
        shape->GeometryType();
        if (hasId && measured.size() < measuredShapes) measured.push_back({oid, shape});
    }
    for (const Measured& a : measured)
        for (const Measured& b : measured) attempt([&] { a.shape.as<IProximityOperator>()->ReturnDistance(b.shape); });
    if (measured.size() >= 2) {
        const com::ComPtr<IGeometry>& first = measured[0].shape;
        attempt([&] { searchAround(featureClass, first, 1.0, measured, uniqueIds); });
        attempt([&] {
            const double width = first.as<IProximityOperator>()->ReturnDistance(measured[1].shape);
            searchAround(featureClass, first, width, measured, uniqueIds);
        });
        attempt([&] { first.as<ITopologicalOperator>()->Buffer(-0.5)->IsEmpty(); });
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > fuzzing::maxInputSize) return -1;
    if (!fuzzing::looksLikeGeoJson(data, size)) return -1;
    const std::string path = fuzzing::writeInputFile("layer.geojson", data, size);
    attempt([&] { readLayer(path); });
    return 0;
}
