#include "gishost/model/Proximity.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

#include "gishost/model/AnalysisPeakMemory.h"
#include "gishost/model/HostError.h"
#include "gishost/model/ParallelWork.h"
#include "gishost/model/Shape.h"
#include "sysutils/AvailableMemory.h"

namespace gishost::model {
namespace {

// The distances a block of rows holds: enough for one parallel pass to pay off, few
// enough to take a few megabytes.
constexpr std::size_t defaultDistancesPerBlock = std::size_t{1} << 20;
std::atomic<std::size_t> distancesPerBlock{defaultDistancesPerBlock};

// Raises the run-time's "Out of memory" error when `bytes` more do not fit in what the
// process can still take, before they are allocated.
void requireMemory(std::uint64_t bytes) {
    if (bytes > sysutils::AvailableMemory()) throw com::runtimeError(com::errors::OutOfMemory, hostErrorSource);
}

// Adds to a list whose length is not known ahead: before it grows to a megabyte or more,
// the memory it grows into is checked, with `aside` bytes more kept free.
template <class T>
void pushChecked(std::vector<T>& list, T item, std::uint64_t aside) {
    constexpr std::size_t checkedGrowthBytes = std::size_t{1} << 20;
    if (list.size() == list.capacity() && 2 * list.capacity() * sizeof(T) >= checkedGrowthBytes)
        requireMemory(2 * list.capacity() * sizeof(T) + aside);
    list.push_back(std::move(item));
}

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

std::size_t Proximity::facetBytes() {
    const std::size_t n = shapes_.size();
    usable_.assign(n, 0);
    boxes_.assign(n, geos::Envelope{});
    // On this thread: the engine keeps what it learns of a shape (its boxes), so that
    // afterwards the shapes are only read.
    std::size_t bytes = 0;
    for (std::size_t k = 0; k < n; ++k) {
        if (!shapes_[k]->usable()) continue;
        usable_[k] = 1;
        boxes_[k] = shapes_[k]->envelope();
        bytes += Facets::bytesFor(shapes_[k]->materialised());
    }
    return bytes;
}

std::size_t Proximity::blockDistances(std::size_t first) const {
    const std::size_t n = shapes_.size();
    return std::min(n - first, std::max<std::size_t>(1, distancesPerBlock.load() / n)) * n;
}

std::uint64_t Proximity::startBytes() {
    return analysisPeakMemory({shapes_.size(), facetBytes(), blockDistances(0), parallelThreads()});
}

std::uint64_t Proximity::memoryToStart() {
    std::lock_guard lock(mutex_);
    return shapes_.empty() ? 0 : startBytes();
}

void Proximity::requireMemoryToStart() {
    std::lock_guard lock(mutex_);
    if (prepared_ || shapes_.empty()) return;
    requireMemory(startBytes());
}

void Proximity::prepare() {
    if (prepared_) return;
    const std::size_t n = shapes_.size();
    const std::size_t bytes = facetBytes();
    facets_.assign(n, std::nullopt);
    requireMemory(bytes);
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
    // What the analysis takes after its first search, which finds these neighbours.
    const std::uint64_t aside = memoryBesideMeasuring(n, parallelThreads());
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
                    if (*distance <= width) pushChecked(found[list], Found{a, b, *distance}, aside);
                } else {
                    pushChecked(forEngine[list], std::pair{a, b}, aside);
                }
            }
        }
    });
    std::vector<Found> byEngine;
    for (const auto& list : forEngine)
        for (const auto& [a, b] : list)
            if (const double distance = measureByEngine(a, b); distance <= width)
                pushChecked(byEngine, Found{a, b, distance}, aside);
    found.push_back(std::move(byEngine));
    // Every pair in both directions, laid out feature by feature in one array.
    neighbourStart_.assign(n + 1, 0);
    for (const auto& list : found)
        for (const Found& pair : list) {
            ++neighbourStart_[pair.a + 1];
            ++neighbourStart_[pair.b + 1];
        }
    for (std::size_t k = 0; k < n; ++k) neighbourStart_[k + 1] += neighbourStart_[k];
    requireMemory(neighbourStart_[n] * sizeof(Neighbour) + n * sizeof(std::size_t) + aside);
    neighbourList_.resize(neighbourStart_[n]);
    std::vector<std::size_t> filled(neighbourStart_.begin(), neighbourStart_.end() - 1);
    for (auto& list : found) {
        for (const Found& pair : list) {
            neighbourList_[filled[pair.a]++] = {pair.b, pair.distance};
            neighbourList_[filled[pair.b]++] = {pair.a, pair.distance};
        }
        std::vector<Found>().swap(list);
    }
    parallelFor(n, [&](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k)
            std::sort(neighbourList_.begin() + static_cast<std::ptrdiff_t>(neighbourStart_[k]),
                      neighbourList_.begin() + static_cast<std::ptrdiff_t>(neighbourStart_[k + 1]));
    });
    neighbourWidth_ = width;
}

std::vector<std::size_t> Proximity::within(std::size_t position, double width) {
    std::lock_guard lock(mutex_);
    if (!neighbourWidth_ || *neighbourWidth_ != width) findNeighbours(width);
    std::vector<std::size_t> positions;
    if (!usable_[position]) return positions;
    const std::span<const Neighbour> list = neighboursOf(position);
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

std::span<const Proximity::Neighbour> Proximity::neighboursOf(std::size_t position) const {
    return std::span<const Neighbour>(neighbourList_.data() + neighbourStart_[position],
                                      neighbourStart_[position + 1] - neighbourStart_[position]);
}

const double* Proximity::rowOf(std::size_t position) const {
    if (position < blockFirst_ || position - blockFirst_ >= blockRows_) return nullptr;
    return block_.get() + (position - blockFirst_) * shapes_.size();
}

void Proximity::measureRows(std::size_t first) {
    const std::size_t n = shapes_.size();
    // Rows are asked for in order when every pair is measured: a block of them is
    // measured in one parallel pass. Within the block each pair is measured once.
    const std::size_t count = blockDistances(first) / n;
    // Every block but the last is as large as the first: its memory is taken once,
    // checked then, and reused by the blocks after it.
    blockRows_ = 0;
    if (count * n > blockCapacity_) {
        block_.reset();
        blockCapacity_ = 0;
        requireMemory(count * n * sizeof(double));
        block_ = std::make_unique_for_overwrite<double[]>(count * n);
        blockCapacity_ = count * n;
    }
    double* const block = block_.get();
    const auto cellOf = [&](std::size_t r, std::size_t c) -> double& { return block[(r - first) * n + c]; };
    parallelFor(count * n, [&](std::size_t begin, std::size_t end) {
        for (std::size_t cell = begin; cell < end; ++cell) {
            const std::size_t r = first + cell / n;
            const std::size_t c = cell % n;
            double& distance = block[cell];
            distance = std::numeric_limits<double>::quiet_NaN();
            if (c == r || !usable_[c] || !usable_[r]) continue;
            if (c >= first && c < r) continue;  // measured in row c of this block
            if (const std::optional<double> apart = measureApart(std::min(r, c), std::max(r, c))) distance = *apart;
        }
    });
    for (std::size_t r = first; r < first + count; ++r) {
        if (!usable_[r]) continue;
        for (std::size_t c = 0; c < n; ++c) {
            if (c == r || !usable_[c]) continue;
            double& distance = cellOf(r, c);
            if (c >= first && c < r) {
                distance = cellOf(c, r);
            } else if (std::isnan(distance)) {
                distance = measureByEngine(std::min(r, c), std::max(r, c));
            }
        }
        cellOf(r, r) = measureByEngine(r, r);
    }
    blockFirst_ = first;
    blockRows_ = count;
}

double Proximity::distance(std::size_t a, std::size_t b) {
    std::lock_guard lock(mutex_);
    shapes_[a]->requireUsable();
    shapes_[b]->requireUsable();
    prepare();
    if (neighbourWidth_) {
        const std::span<const Neighbour> list = neighboursOf(a);
        const auto found = std::lower_bound(list.begin(), list.end(), Neighbour{b, 0.0});
        if (found != list.end() && found->position == b) return found->distance;
    }
    if (const double* row = rowOf(a)) return row[b];
    if (const double* row = rowOf(b)) return row[a];
    measureRows(a);
    return rowOf(a)[b];
}

ScopedDistancesPerBlock::ScopedDistancesPerBlock(std::size_t distances) : before_(distancesPerBlock.load()) {
    distancesPerBlock.store(distances);
}

ScopedDistancesPerBlock::~ScopedDistancesPerBlock() { distancesPerBlock.store(before_); }

}  // namespace gishost::model
