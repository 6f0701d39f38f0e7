#include "gishost/model/Facets.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace gishost::model {
namespace {

// The geometry engine's point and segment distances, term for term.
double pointDistance(double px, double py, double qx, double qy) {
    const double dx = px - qx;
    const double dy = py - qy;
    return std::sqrt(dx * dx + dy * dy);
}

double pointToSegment(double px, double py, double ax, double ay, double bx, double by) {
    if (ax == bx && ay == by) return pointDistance(px, py, ax, ay);
    const double len2 = (bx - ax) * (bx - ax) + (by - ay) * (by - ay);
    const double r = ((px - ax) * (bx - ax) + (py - ay) * (by - ay)) / len2;
    if (r <= 0.0) return pointDistance(px, py, ax, ay);
    if (r >= 1.0) return pointDistance(px, py, bx, by);
    const double s = ((ay - py) * (bx - ax) - (ax - px) * (by - ay)) / len2;
    return std::fabs(s) * std::sqrt(len2);
}

// The distance of two segments whose boxes do not meet (so they do not intersect).
double segmentToSegment(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
    if (ax == bx && ay == by) return pointToSegment(ax, ay, cx, cy, dx, dy);
    if (cx == dx && cy == dy) return pointToSegment(dx, dy, ax, ay, bx, by);
    return std::min(pointToSegment(ax, ay, cx, cy, dx, dy),
                    std::min(pointToSegment(bx, by, cx, cy, dx, dy),
                             std::min(pointToSegment(cx, cy, ax, ay, bx, by), pointToSegment(dx, dy, ax, ay, bx, by))));
}

// The squared distance between two boxes (0 when they meet).
double boxDistanceSquared(double minX0, double minY0, double maxX0, double maxY0, double minX1, double minY1,
                          double maxX1, double maxY1) {
    const double dx = std::max(0.0, std::max(minX1 - maxX0, minX0 - maxX1));
    const double dy = std::max(0.0, std::max(minY1 - maxY0, minY0 - maxY1));
    return dx * dx + dy * dy;
}

// A pair whose squared box distance exceeds this cannot beat `best`: its distance lies
// above the box distance, and the margin is many orders above the rounding of either.
double pruneLimit(double best) {
    const double widened = best * (1.0 + 1e-9);
    return widened * widened;
}

bool addLine(Facets& facets, GEOSContextHandle_t context, const GEOSGeometry* line,
             void (*add)(Facets&, double, double, double, double)) {
    const GEOSCoordSequence* sequence = GEOSGeom_getCoordSeq_r(context, line);
    unsigned size = 0;
    if (sequence == nullptr || GEOSCoordSeq_getSize_r(context, sequence, &size) == 0 || size < 2) return false;
    double x0 = 0.0, y0 = 0.0;
    if (GEOSCoordSeq_getXY_r(context, sequence, 0, &x0, &y0) == 0) return false;
    for (unsigned k = 1; k < size; ++k) {
        double x1 = 0.0, y1 = 0.0;
        if (GEOSCoordSeq_getXY_r(context, sequence, k, &x1, &y1) == 0) return false;
        add(facets, x0, y0, x1, y1);
        x0 = x1;
        y0 = y1;
    }
    return true;
}

}  // namespace

void Facets::add(double ax, double ay, double bx, double by) {
    const geos::Envelope box{std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)};
    if (segments_.empty()) {
        box_ = box;
    } else {
        box_ = {std::min(box_.minX, box.minX), std::min(box_.minY, box.minY), std::max(box_.maxX, box.maxX),
                std::max(box_.maxY, box.maxY)};
    }
    segments_.push_back({ax, ay, bx, by});
}

std::size_t Facets::bytesFor(const GEOSGeometry* geometry) {
    const int coordinates = GEOSGetNumCoordinates_r(geos::context(), geometry);
    return sizeof(Facets) + static_cast<std::size_t>(std::max(coordinates, 0)) * sizeof(Segment);
}

std::optional<Facets> Facets::of(const GEOSGeometry* geometry) {
    GEOSContextHandle_t context = geos::context();
    Facets facets;
    const auto add = [](Facets& to, double ax, double ay, double bx, double by) { to.add(ax, ay, bx, by); };
    // Every part must be of one kind: the engine measures a mixed collection otherwise.
    const int type = GEOSGeomTypeId_r(context, geometry);
    const int parts = GEOSGetNumGeometries_r(context, geometry);
    if (parts < 1) return std::nullopt;
    const int coordinates = GEOSGetNumCoordinates_r(context, geometry);
    if (coordinates > 0) facets.segments_.reserve(static_cast<std::size_t>(coordinates));
    for (int k = 0; k < parts; ++k) {
        const GEOSGeometry* part = GEOSGetGeometryN_r(context, geometry, k);
        if (part == nullptr || GEOSisEmpty_r(context, part) != 0) return std::nullopt;
        const int partType = GEOSGeomTypeId_r(context, part);
        switch (partType) {
            case GEOS_POINT: {
                if (type != GEOS_POINT && type != GEOS_MULTIPOINT) return std::nullopt;
                double x = 0.0, y = 0.0;
                if (GEOSGeomGetX_r(context, part, &x) == 0 || GEOSGeomGetY_r(context, part, &y) == 0)
                    return std::nullopt;
                facets.add(x, y, x, y);
                break;
            }
            case GEOS_LINESTRING:
            case GEOS_LINEARRING:
                if (type != GEOS_LINESTRING && type != GEOS_LINEARRING && type != GEOS_MULTILINESTRING)
                    return std::nullopt;
                if (!addLine(facets, context, part, add)) return std::nullopt;
                break;
            case GEOS_POLYGON: {
                if (type != GEOS_POLYGON && type != GEOS_MULTIPOLYGON) return std::nullopt;
                const GEOSGeometry* shell = GEOSGetExteriorRing_r(context, part);
                if (shell == nullptr || !addLine(facets, context, shell, add)) return std::nullopt;
                const int holes = GEOSGetNumInteriorRings_r(context, part);
                for (int h = 0; h < holes; ++h) {
                    const GEOSGeometry* hole = GEOSGetInteriorRingN_r(context, part, h);
                    if (hole == nullptr || GEOSisEmpty_r(context, hole) != 0 || !addLine(facets, context, hole, add))
                        return std::nullopt;
                }
                break;
            }
            default: return std::nullopt;
        }
    }
    if (facets.segments_.empty()) return std::nullopt;
    return facets;
}

bool boxesApart(const geos::Envelope& a, const geos::Envelope& b) {
    return a.maxX < b.minX || b.maxX < a.minX || a.maxY < b.minY || b.maxY < a.minY;
}

double facetDistance(const Facets& a, const Facets& b) {
    // The segments of `a` nearest to the box of `b` first, so that a small distance is
    // found early and most pairs are passed over.
    thread_local std::vector<std::pair<double, std::size_t>> order;
    order.clear();
    const geos::Envelope& far = b.box_;
    for (std::size_t i = 0; i < a.segments_.size(); ++i) {
        const Facets::Segment& s = a.segments_[i];
        order.emplace_back(boxDistanceSquared(std::min(s.ax, s.bx), std::min(s.ay, s.by), std::max(s.ax, s.bx),
                                              std::max(s.ay, s.by), far.minX, far.minY, far.maxX, far.maxY),
                           i);
    }
    std::sort(order.begin(), order.end());
    double best = std::numeric_limits<double>::infinity();
    double limit = best;
    for (const auto& [bound, i] : order) {
        if (bound > limit) break;
        const Facets::Segment& s = a.segments_[i];
        const double sMinX = std::min(s.ax, s.bx), sMinY = std::min(s.ay, s.by);
        const double sMaxX = std::max(s.ax, s.bx), sMaxY = std::max(s.ay, s.by);
        for (const Facets::Segment& t : b.segments_) {
            if (boxDistanceSquared(sMinX, sMinY, sMaxX, sMaxY, std::min(t.ax, t.bx), std::min(t.ay, t.by),
                                   std::max(t.ax, t.bx), std::max(t.ay, t.by)) > limit)
                continue;
            const double distance = segmentToSegment(s.ax, s.ay, s.bx, s.by, t.ax, t.ay, t.bx, t.by);
            if (distance < best) {
                best = distance;
                limit = pruneLimit(best);
            }
        }
    }
    return best;
}

}  // namespace gishost::model
