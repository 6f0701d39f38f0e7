#include "gishost/model/GeometryObjects.h"

#include "com/Object.h"
#include "gishost/model/HostError.h"

namespace gishost::model {
namespace {

// Kind is IGeometry, or IPolygon for areas, so that an area answers "taken as a polygon".
template <class Kind>
class GeometryObject final : public com::Object<Kind, ITopologicalOperator, IProximityOperator, IShapeAccess> {
public:
    explicit GeometryObject(std::shared_ptr<const Shape> shape) : shape_(std::move(shape)) {}

    std::int32_t GeometryType() override { return shape_->type(); }
    bool IsEmpty() override { return shape_->isEmpty(); }

    com::ComPtr<IGeometry> Buffer(double distance) override { return makeGeometry(Shape::buffer(shape_, distance)); }

    double ReturnDistance(const com::ComPtr<IGeometry>& other) override {
        return shape_->distanceTo(*shapeOf(other));
    }

    std::shared_ptr<const Shape> SharedShape() override { return shape_; }

private:
    std::shared_ptr<const Shape> shape_;
};

}  // namespace

com::ComPtr<IGeometry> makeGeometry(std::shared_ptr<const Shape> shape) {
    if (shape->type() == geometryType::Polygon)
        return com::make<IPolygon, GeometryObject<IPolygon>>(std::move(shape));
    return com::make<IGeometry, GeometryObject<IGeometry>>(std::move(shape));
}

std::shared_ptr<const Shape> shapeOf(const com::ComPtr<IGeometry>& geometry) {
    if (!geometry) throw com::runtimeError(com::errors::ObjectNotSet);
    const com::ComPtr<IShapeAccess> access = geometry.tryAs<IShapeAccess>();
    if (!access) throw hostError(HostFailure::Argument, "The geometry is not one of this host's shapes");
    return access->SharedShape();
}

}  // namespace gishost::model
