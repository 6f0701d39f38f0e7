#include "gishost/model/SpatialSearch.h"

#include <algorithm>
#include <cmath>

namespace gishost::model {
namespace {

// The box is widened by a hair more than rounding can move a coordinate, so that no
// feature whose exact test passes is left out by the box test.
geos::Envelope searchBox(const geos::Envelope& box) {
    const double magnitude =
        std::max({std::fabs(box.minX), std::fabs(box.minY), std::fabs(box.maxX), std::fabs(box.maxY)});
    return box.grown(1e-9 * magnitude + 1e-300);
}

}  // namespace

SpatialSearch::SpatialSearch(std::vector<std::shared_ptr<const Shape>> shapes) : shapes_(std::move(shapes)) {
    for (std::size_t k = 0; k < shapes_.size(); ++k)
        if (shapes_[k]->usable()) tree_.insert(shapes_[k]->materialised(), k);
}

std::vector<std::size_t> SpatialSearch::intersecting(const Shape& filter) {
    const geos::Envelope box = filter.envelope();
    std::vector<std::size_t> candidates;
    if (box.finite()) {
        candidates = tree_.query(searchBox(box));
    } else {
        for (std::size_t k = 0; k < shapes_.size(); ++k)
            if (shapes_[k]->usable()) candidates.push_back(k);
    }
    std::vector<std::size_t> found;
    for (const std::size_t k : candidates)
        if (filter.intersects(*shapes_[k])) found.push_back(k);
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace gishost::model
