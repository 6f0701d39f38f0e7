#include "gishost/model/Shape.h"

#include <algorithm>
#include <cmath>

#include "gishost/Geometry.h"
#include "gishost/model/HostError.h"
#include "gishost/model/Proximity.h"

namespace gishost::model {

Shape::Shape(std::int32_t type, geos::Geometry geometry, std::string problem, std::shared_ptr<const Shape> source,
             double width, ShapeOrigin origin)
    : type_(type),
      geometry_(std::move(geometry)),
      problem_(std::move(problem)),
      source_(std::move(source)),
      width_(width),
      origin_(std::move(origin)) {}

std::shared_ptr<const Shape> Shape::of(geos::Geometry geometry, std::int32_t type, ShapeOrigin origin) {
    if (geos::isEmpty(geometry.get())) return empty(type);
    if (!geos::envelope(geometry.get()).finite())
        return unusable(type, "the shape has coordinates that are not finite numbers");
    return std::shared_ptr<const Shape>(new Shape(type, std::move(geometry), {}, nullptr, 0.0, std::move(origin)));
}

std::shared_ptr<const Shape> Shape::empty(std::int32_t type) {
    return std::shared_ptr<const Shape>(new Shape(type, nullptr, {}, nullptr, 0.0));
}

std::shared_ptr<const Shape> Shape::unusable(std::int32_t type, std::string problem) {
    return std::shared_ptr<const Shape>(new Shape(type, nullptr, std::move(problem), nullptr, 0.0));
}

std::shared_ptr<const Shape> Shape::buffer(std::shared_ptr<const Shape> source, double width) {
    source->requireUsable();
    if (!std::isfinite(width))
        throw hostError(HostFailure::Argument, "A buffer distance must be a finite number");
    if (source->source_ && width >= 0.0 && source->width_ >= 0.0)
        return buffer(source->source_, source->width_ + width);  // widths of round buffers add up
    auto result = std::shared_ptr<const Shape>(new Shape(geometryType::Polygon, nullptr, {}, source, width));
    // A negative width shrinks the area: only the engine's polygon can say what is left.
    if (width < 0.0 && geos::isEmpty(result->materialised())) return empty(geometryType::Polygon);
    return result;
}

bool Shape::isEmpty() const { return !source_ && !geometry_ && problem_.empty(); }

bool Shape::usable() const { return source_ || geometry_; }

void Shape::requireUsable() const {
    if (usable()) return;
    throw hostError(HostFailure::Geometry, problem_.empty() ? "The shape is empty" : "The shape cannot be used: " + problem_);
}

const GEOSGeometry* Shape::materialised() const {
    std::call_once(materialise_, [this] {
        if (!geometry_) geometry_ = geos::buffer(source_->materialised(), width_);
    });
    return geometry_.get();
}

Shape::Core Shape::core() const {
    requireUsable();
    if (source_ && width_ >= 0.0) {
        const Core inner = source_->core();
        return {inner.geometry, inner.width + width_};
    }
    return {materialised(), 0.0};
}

geos::Envelope Shape::envelope() const {
    const Core shape = core();
    return geos::envelope(shape.geometry).grown(shape.width);
}

double Shape::distanceTo(const Shape& other) const {
    // Two features of one feature class: measured ahead, or with the rest of a row.
    if (!source_ && !other.source_) {
        // One lock: the other shape belongs to the same (living) object when it shares its owner.
        const std::weak_ptr<Proximity>& theirs = other.origin_.proximity;
        if (const std::shared_ptr<Proximity> proximity = origin_.proximity.lock();
            proximity && !proximity.owner_before(theirs) && !theirs.owner_before(proximity))
            return proximity->distance(origin_.position, other.origin_.position);
    }
    const Core a = core();
    const Core b = other.core();
    const double between = geos::distance(a.geometry, b.geometry);
    if (a.width == 0.0 && b.width == 0.0) return between;
    return std::max(0.0, between - (a.width + b.width));
}

bool Shape::intersects(const Shape& other) const {
    const Core a = core();
    const Core b = other.core();
    if (a.width == 0.0 && b.width == 0.0) return geos::intersects(a.geometry, b.geometry);
    return geos::distance(a.geometry, b.geometry) <= a.width + b.width;
}

}  // namespace gishost::model
