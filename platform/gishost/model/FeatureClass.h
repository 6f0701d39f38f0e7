#pragma once
// Feature classes over OGR layers, their features and cursors, and the spatial filter.
#include <memory>

#include "com/ComPtr.h"
#include "com/Object.h"
#include "gishost/Geodatabase.h"
#include "gishost/model/FeatureTable.h"

namespace gishost::model {

com::ComPtr<IFeatureClass> makeFeatureClass(std::shared_ptr<FeatureTable> table);

// The filter that callers create by class identifier.
class SpatialFilter final : public com::Object<ISpatialFilter> {
public:
    com::ComPtr<IGeometry> Geometry() override { return geometry_; }
    void putref_Geometry(const com::ComPtr<IGeometry>& geometry) override { geometry_ = geometry; }
    std::int32_t SpatialRel() override { return relation_; }
    void put_SpatialRel(std::int32_t relation) override { relation_ = relation; }

private:
    com::ComPtr<IGeometry> geometry_;
    std::int32_t relation_ = 0;
};

}  // namespace gishost::model
