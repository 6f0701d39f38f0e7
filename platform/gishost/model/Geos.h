#pragma once
// The one wrapper over the GEOS C API (the reentrant _r functions): a context per
// thread, geometries freed by RAII, the few operations the host needs, and an STRtree
// of item numbers. Every failure of the geometry engine raises the host's error.
#include <geos_c.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace gishost::model::geos {

// This thread's GEOS context, created on first use.
GEOSContextHandle_t context();

struct GeometryDeleter {
    void operator()(GEOSGeometry* geometry) const;
};
using Geometry = std::unique_ptr<GEOSGeometry, GeometryDeleter>;

struct Envelope {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;

    bool finite() const;
    // Grown by `margin` on every side.
    Envelope grown(double margin) const;
};

// A geometry from well-known binary.
Geometry readWkb(const unsigned char* data, std::size_t size);

bool isEmpty(const GEOSGeometry* geometry);
// The bounding box of a geometry that is not empty.
Envelope envelope(const GEOSGeometry* geometry);
// The shortest distance between two geometries that are not empty (0 when they touch).
double distance(const GEOSGeometry* a, const GEOSGeometry* b);
bool intersects(const GEOSGeometry* a, const GEOSGeometry* b);
// The area within `width` of the geometry, its round parts approximated.
Geometry buffer(const GEOSGeometry* geometry, double width);

// Item numbers by bounding box; built on the first query, no inserts after that.
class StrTree {
public:
    StrTree();
    ~StrTree();
    StrTree(const StrTree&) = delete;
    StrTree& operator=(const StrTree&) = delete;

    // `geometry` must outlive the tree.
    void insert(const GEOSGeometry* geometry, std::size_t item);
    // The items whose boxes meet `box`, in no particular order.
    std::vector<std::size_t> query(const Envelope& box);

private:
    GEOSSTRtree* tree_;
};

}  // namespace gishost::model::geos
