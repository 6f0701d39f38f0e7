#pragma once
// The search of a feature class by a filter shape with the relation "intersects": an
// STRtree over the features' bounding boxes narrows the candidates, and Shape::intersects
// decides each one exactly (for a buffer: distance to its source at most its width).
// Searches and counts both come here, so that they always agree. Kept small and apart
// so that the search can be made faster without touching its callers.
#include <cstddef>
#include <memory>
#include <vector>

#include "gishost/model/Geos.h"
#include "gishost/model/Shape.h"

namespace gishost::model {

class SpatialSearch {
public:
    // `shapes` by feature position; shapes that cannot be used are never found.
    explicit SpatialSearch(std::vector<std::shared_ptr<const Shape>> shapes);

    // The positions of the features whose shapes intersect `filter`, in ascending order.
    std::vector<std::size_t> intersecting(const Shape& filter);

private:
    std::vector<std::shared_ptr<const Shape>> shapes_;
    geos::StrTree tree_;
};

}  // namespace gishost::model
