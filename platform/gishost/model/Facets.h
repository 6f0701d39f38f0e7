#pragma once
// The segments of a shape's lines and rings (a point is a segment of length 0), kept in
// flat arrays for measuring distances fast. facetDistance() gives the distance between
// two shapes whose bounding boxes are apart exactly as the geometry engine's distance
// does, bit for bit: when the boxes are apart nothing can touch or lie inside the other,
// so the engine's answer is the least of its segment-to-segment distances, and those are
// computed here with the engine's own formulas. Pairs of segments that cannot beat the
// least found so far (their boxes are farther apart, with a margin far above rounding)
// are passed over, which changes nothing in the least.
#include <geos_c.h>

#include <cstddef>
#include <optional>
#include <vector>

#include "gishost/model/Geos.h"

namespace gishost::model {

class Facets {
public:
    // The facets of a polygon, line or point and of collections of one of these kinds;
    // nothing for other shapes (a mixed collection, an empty part).
    static std::optional<Facets> of(const GEOSGeometry* geometry);
    // The memory that the facets of the shape take, about.
    static std::size_t bytesFor(const GEOSGeometry* geometry);

    const geos::Envelope& box() const { return box_; }

private:
    friend double facetDistance(const Facets& a, const Facets& b);

    struct Segment {
        double ax, ay, bx, by;  // ends (equal for a point)
    };

    void add(double ax, double ay, double bx, double by);

    std::vector<Segment> segments_;
    geos::Envelope box_{};
};

// The boxes are apart: one lies wholly to one side of the other.
bool boxesApart(const geos::Envelope& a, const geos::Envelope& b);

// The distance between two shapes whose boxes are apart (boxesApart), as the geometry
// engine's distance gives it.
double facetDistance(const Facets& a, const Facets& b);

}  // namespace gishost::model
