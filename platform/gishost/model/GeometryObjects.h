#pragma once
// The host's geometry objects: an IGeometry (an IPolygon for areas) with the buffer and
// distance operators, over a shared Shape. shapeOf() finds the Shape behind any geometry
// object of this host.
#include <memory>

#include "com/ComPtr.h"
#include "gishost/Geometry.h"
#include "gishost/model/Shape.h"

namespace gishost::model {

// What the model's geometry objects answer among themselves.
struct IShapeAccess : com::IUnknown {
    static constexpr com::IID iid = com::guid("{9046FCD2-8A1E-4025-A59D-80A174D4EB8C}");
    using Base = com::IUnknown;

    virtual std::shared_ptr<const Shape> SharedShape() = 0;

protected:
    ~IShapeAccess() = default;
};

com::ComPtr<IGeometry> makeGeometry(std::shared_ptr<const Shape> shape);

// The shape behind a geometry object of this host; another object raises the host's error.
std::shared_ptr<const Shape> shapeOf(const com::ComPtr<IGeometry>& geometry);

}  // namespace gishost::model
