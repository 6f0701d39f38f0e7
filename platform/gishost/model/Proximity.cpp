#include "gishost/model/Proximity.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

#include "gishost/model/ParallelWork.h"
#include "gishost/model/Shape.h"

namespace gishost::model {
namespace {

// The memory that kept rows of distances may take; beyond it rows are measured and
// used but not kept.
constexpr std::size_t rowMemoryLimit = std::size_t{512} << 20;

// A grid of cells over the features' boxes: every feature is listed in each cell its
// box meets.
class BoxGrid {
public:
    BoxGrid(const std::vector<geos::Envelope>& boxes, const std::vector<char>& usable, double cell) {
        bool any = false;
        for (std::size_t k = 0; k < boxes.size(); ++k) {
            if (!usable[k]) continue;
            bounds_ = any ? geos::Envelope{std::min(bounds_.minX, boxes[k].minX), std::min(bounds_.minY, boxes[k].minY),
                                           std::max(bounds_.maxX, boxes[k].maxX), std::max(bounds_.maxY, boxes[k].maxY)}
                          : boxes[k];
            any = true;
        }
        // At most about four cells per feature, and never a cell of size 0.
        const double extent = std::max(bounds_.maxX - bounds_.minX, bounds_.maxY - bounds_.minY);
        const double fewest = extent / std::sqrt(4.0 * static_cast<double>(std::max<std::size_t>(1, boxes.size())));
        cell_ = std::max({cell, fewest, extent * 1e-9, std::numeric_limits<double>::min()});
        columns_ = index(bounds_.maxX, bounds_.minX) + 1;
        rows_ = index(bounds_.maxY, bounds_.minY) + 1;
        cells_.resize(columns_ * rows_);
        for (std::size_t k = 0; k < boxes.size(); ++k)
            if (usable[k]) forCells(boxes[k], [&](std::size_t c) { cells_[c].push_back(k); });
    }

    template <class Visit>
    void forCells(const geos::Envelope& box, Visit visit) const {
        const std::size_t x0 = index(std::max(box.minX, bounds_.minX), bounds_.minX);
        const std::size_t x1 = std::min(columns_ - 1, index(std::min(box.maxX, bounds_.maxX), bounds_.minX));
        const std::size_t y0 = index(std::max(box.minY, bounds_.minY), bounds_.minY);
        const std::size_t y1 = std::min(rows_ - 1, index(std::min(box.maxY, bounds_.maxY), bounds_.minY));
        for (std::size_t y = y0; y <= y1; ++y)
            for (std::size_t x = x0; x <= x1; ++x) visit(y * columns_ + x);
    }
    const std::vector<std::size_t>& cell(std::size_t c) const { return cells_[c]; }

private:
    std::size_t index(double value, double origin) const {
        const double steps = std::floor((value - origin) / cell_);
        return steps <= 0.0 ? 0 : static_cast<std::size_t>(steps);
    }

    geos::Envelope bounds_{};
    double cell_ = 1.0;
    std::size_t columns_ = 1;
    std::size_t rows_ = 1;
    std::vector<std::vector<std::size_t>> cells_;
};

double boxDistance(const geos::Envelope& a, const geos::Envelope& b) {
    const double dx = std::max(0.0, std::max(b.minX - a.maxX, a.minX - b.maxX));
    const double dy = std::max(0.0, std::max(b.minY - a.maxY, a.minY - b.maxY));
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

void Proximity::setShapes(std::vector<std::shared_ptr<const Shape>> shapes) {
    std::lock_guard lock(mutex_);
    shapes_ = std::move(shapes);
}

void Proximity::prepare() {
    if (prepared_) return;
    const std::size_t n = shapes_.size();
    usable_.assign(n, 0);
    boxes_.assign(n, geos::Envelope{});
    facets_.assign(n, std::nullopt);
    // On this thread: the engine keeps what it learns of a shape (its boxes), so that
    // afterwards the shapes are only read.
    for (std::size_t k = 0; k < n; ++k) {
        if (!shapes_[k]->usable()) continue;
        usable_[k] = 1;
        boxes_[k] = shapes_[k]->envelope();
    }
    parallelFor(n, [&](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k)
            if (usable_[k]) facets_[k] = Facets::of(shapes_[k]->materialised());
    });
    prepared_ = true;
}

std::optional<double> Proximity::measureApart(std::size_t a, std::size_t b) const {
    if (facets_[a] && facets_[b] && boxesApart(facets_[a]->box(), facets_[b]->box()))
        return facetDistance(*facets_[a], *facets_[b]);
    return std::nullopt;
}

double Proximity::measureByEngine(std::size_t a, std::size_t b) const {
    return geos::distance(shapes_[a]->materialised(), shapes_[b]->materialised());
}

void Proximity::findNeighbours(double width) {
    prepare();
    const std::size_t n = shapes_.size();
    std::vector<double> sizes;
    for (std::size_t k = 0; k < n; ++k)
        if (usable_[k]) sizes.push_back(std::max(boxes_[k].maxX - boxes_[k].minX, boxes_[k].maxY - boxes_[k].minY));
    double typical = 0.0;
    if (!sizes.empty()) {
        std::nth_element(sizes.begin(), sizes.begin() + static_cast<std::ptrdiff_t>(sizes.size() / 2), sizes.end());
        typical = sizes[sizes.size() / 2];
    }
    const BoxGrid grid(boxes_, usable_, std::max(width, typical));
    // A pair is passed over only when its boxes lie farther apart than the width by far
    // more than rounding could account for.
    const double boxLimit = width * (1.0 + 1e-12);

    struct Found {
        std::size_t a, b;
        double distance;
    };
    std::vector<std::vector<Found>> found(parallelThreads() * 16 + 1);
    std::vector<std::vector<std::pair<std::size_t, std::size_t>>> forEngine(found.size());
    std::atomic<std::size_t> nextList{0};
    parallelFor(n, [&](std::size_t begin, std::size_t end) {
        const std::size_t list = nextList++;
        std::vector<std::size_t> candidates;
        for (std::size_t a = begin; a < end; ++a) {
            if (!usable_[a]) continue;
            candidates.clear();
            grid.forCells(boxes_[a].grown(width), [&](std::size_t c) {
                for (const std::size_t b : grid.cell(c))
                    if (b > a) candidates.push_back(b);
            });
            std::sort(candidates.begin(), candidates.end());
            candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
            for (const std::size_t b : candidates) {
                if (boxDistance(boxes_[a], boxes_[b]) > boxLimit) continue;
                if (const std::optional<double> distance = measureApart(a, b)) {
                    if (*distance <= width) found[list].push_back({a, b, *distance});
                } else {
                    forEngine[list].emplace_back(a, b);
                }
            }
        }
    });
    neighbours_.assign(n, {});
    for (const auto& list : found)
        for (const Found& pair : list) {
            neighbours_[pair.a].push_back({pair.b, pair.distance});
            neighbours_[pair.b].push_back({pair.a, pair.distance});
        }
    for (const auto& list : forEngine)
        for (const auto& [a, b] : list) {
            const double distance = measureByEngine(a, b);
            if (distance <= width) {
                neighbours_[a].push_back({b, distance});
                neighbours_[b].push_back({a, distance});
            }
        }
    for (auto& list : neighbours_) std::sort(list.begin(), list.end());
    neighbourWidth_ = width;
}

std::vector<std::size_t> Proximity::within(std::size_t position, double width) {
    std::lock_guard lock(mutex_);
    if (!neighbourWidth_ || *neighbourWidth_ != width) findNeighbours(width);
    std::vector<std::size_t> positions;
    if (!usable_[position]) return positions;
    const std::vector<Neighbour>& list = neighbours_[position];
    positions.reserve(list.size() + 1);
    bool selfAdded = false;
    for (const Neighbour& neighbour : list) {
        if (!selfAdded && neighbour.position > position) {
            positions.push_back(position);
            selfAdded = true;
        }
        positions.push_back(neighbour.position);
    }
    if (!selfAdded) positions.push_back(position);
    return positions;
}

const double* Proximity::rowOf(std::size_t position) const {
    return position < rows_.size() ? rows_[position].get() : nullptr;
}

void Proximity::measureRows(std::size_t first) {
    const std::size_t n = shapes_.size();
    // Rows are asked for in order when every pair is measured: a batch of them is
    // measured in one parallel pass. Within the batch each pair is measured once.
    const std::size_t count = std::min(n - first, std::max<std::size_t>(1, (std::size_t{1} << 20) / std::max<std::size_t>(1, n)));
    const std::size_t last = first + count;
    std::vector<std::unique_ptr<double[]>> batch(count);
    for (auto& row : batch) row = std::make_unique<double[]>(n);
    parallelFor(count * n, [&](std::size_t begin, std::size_t end) {
        for (std::size_t cell = begin; cell < end; ++cell) {
            const std::size_t r = first + cell / n;
            const std::size_t c = cell % n;
            double& distance = batch[r - first][c];
            distance = std::numeric_limits<double>::quiet_NaN();
            if (c == r || !usable_[c] || !usable_[r]) continue;
            if (c >= first && c < r) continue;  // measured in row c of this batch
            if (const double* other = rowOf(c)) {
                distance = other[r];
            } else if (const std::optional<double> apart = measureApart(r, c)) {
                distance = *apart;
            }
        }
    });
    for (std::size_t r = first; r < last; ++r) {
        double* row = batch[r - first].get();
        if (!usable_[r]) continue;
        for (std::size_t c = 0; c < n; ++c) {
            if (c == r || !usable_[c]) continue;
            if (c >= first && c < r) {
                row[c] = batch[c - first][r];
            } else if (std::isnan(row[c])) {
                row[c] = measureByEngine(r, c);
            }
        }
        row[r] = measureByEngine(r, r);
    }
    if (rows_.empty()) rows_.resize(n);
    for (std::size_t r = first; r < last; ++r) {
        if ((rowsKept_ + 1) * n * sizeof(double) > rowMemoryLimit) {
            // No room to keep more: the row asked for is kept aside until the next one.
            transientRow_ = std::move(batch[0]);
            transientRowPosition_ = first;
            return;
        }
        rows_[r] = std::move(batch[r - first]);
        ++rowsKept_;
    }
}

double Proximity::distance(std::size_t a, std::size_t b) {
    std::lock_guard lock(mutex_);
    shapes_[a]->requireUsable();
    shapes_[b]->requireUsable();
    prepare();
    if (neighbourWidth_) {
        const std::vector<Neighbour>& list = neighbours_[a];
        const auto found = std::lower_bound(list.begin(), list.end(), Neighbour{b, 0.0});
        if (found != list.end() && found->position == b) return found->distance;
    }
    if (const double* row = rowOf(a)) return row[b];
    if (const double* row = rowOf(b)) return row[a];
    if (transientRow_ && transientRowPosition_ == a) return transientRow_[b];
    measureRows(a);
    if (const double* row = rowOf(a)) return row[b];
    return transientRow_[b];
}

}  // namespace gishost::model
