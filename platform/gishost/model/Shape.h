#pragma once
// A shape as the model keeps it: immutable and shared by every geometry object, feature
// and search that refers to it. A buffer keeps its source and width instead of a round
// polygon, so that "within the buffer" is answered exactly as "at most the width away
// from the source"; the polygon is made only when something needs it as a polygon
// (a negative width, or a buffer of a shape that is not kept that way).
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "gishost/model/Geos.h"

namespace gishost::model {

class Proximity;

// Which feature of which feature class a shape belongs to, so that distances between the
// features of one class can be measured ahead and looked up (Proximity.h).
struct ShapeOrigin {
    std::weak_ptr<Proximity> proximity;
    std::size_t position = 0;
};

class Shape {
public:
    // A shape of the geometry engine, of the host's geometry type `type`.
    static std::shared_ptr<const Shape> of(geos::Geometry geometry, std::int32_t type, ShapeOrigin origin = {});
    // A feature without a shape.
    static std::shared_ptr<const Shape> empty(std::int32_t type);
    // A shape that was there but cannot be used; `problem` says why.
    static std::shared_ptr<const Shape> unusable(std::int32_t type, std::string problem);
    // The area within `width` of `source`.
    static std::shared_ptr<const Shape> buffer(std::shared_ptr<const Shape> source, double width);

    std::int32_t type() const { return type_; }
    bool isEmpty() const;
    // True when the shape can be measured and searched (not empty, not unusable).
    bool usable() const;
    // Raises the host's error when the shape cannot be measured.
    void requireUsable() const;

    // The bounding box: a buffer's is its source's grown by the width.
    geos::Envelope envelope() const;
    // The shortest distance to `other` (0 when touching or overlapping).
    double distanceTo(const Shape& other) const;
    // True when the shapes share a point; with a buffer, when the distance between the
    // sources is at most the widths.
    bool intersects(const Shape& other) const;
    // The engine's shape: the one given, or a buffer's polygon made on first use. The
    // shape must be usable.
    const GEOSGeometry* materialised() const;

    // For the area within a width of a shape: that shape, and the width (a width that is
    // not negative); else null.
    const Shape* bufferSource() const { return source_ && width_ >= 0.0 ? source_.get() : nullptr; }
    double bufferWidth() const { return width_; }
    const ShapeOrigin& origin() const { return origin_; }

private:
    // A shape reduced to a shape of the engine and the width that surrounds it.
    struct Core {
        const GEOSGeometry* geometry;
        double width;
    };

    Shape(std::int32_t type, geos::Geometry geometry, std::string problem, std::shared_ptr<const Shape> source,
          double width, ShapeOrigin origin = {});
    Core core() const;

    std::int32_t type_;
    mutable geos::Geometry geometry_;
    std::string problem_;
    std::shared_ptr<const Shape> source_;  // set for a buffer
    double width_ = 0.0;
    ShapeOrigin origin_;
    mutable std::once_flag materialise_;
};

}  // namespace gishost::model
