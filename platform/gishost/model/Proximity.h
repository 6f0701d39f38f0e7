#pragma once
// The distances between the features of one feature class, measured ahead on all cores.
//
// A search "within a width of one of the class's own features" (the buffer of a
// feature's shape searched with intersects) is, as an analysis runs, asked for every
// feature in turn with the same width: the first such search finds the neighbours within
// that width of every feature at once, in parallel, and keeps each pair's distance.
// Later searches with that width, and the distances between the features they found,
// are look-ups. A distance that was not measured ahead is measured with the whole row
// of its first feature against every other feature, together with the rows after it
// (the distances that come next when every pair is measured in order), about a million
// distances at a time. Only that block of rows is kept: the next block takes its place
// in the same memory, so that measuring every pair takes memory for one block, not for
// every pair, and a row asked for again is measured again. Within a block each pair is
// measured once, and a pair is always measured from its lower position, so a distance
// is the same whichever block measures it.
//
// Before the memory for the blocks of rows or for the list of neighbours is allocated,
// its size is compared with the memory the process can still take
// (sysutils/AvailableMemory.h): when it does not fit, the question fails with the
// run-time's "Out of memory" error instead of the system ending the process. Once, when
// the features are read, so is all that an analysis measuring them holds at its peak;
// the list of neighbours, found at an analysis's first search, is checked with what the
// analysis takes after it kept aside (AnalysisPeakMemory.h).
//
// Every distance is the geometry engine's distance bit for bit: between features whose
// boxes are apart it is computed from the facets (Facets.h), otherwise by the engine on
// the calling thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "gishost/model/Facets.h"
#include "gishost/model/Geos.h"

namespace gishost::model {

class Shape;

class Proximity {
public:
    Proximity() = default;
    Proximity(const Proximity&) = delete;
    Proximity& operator=(const Proximity&) = delete;

    // The features' shapes by position; set once, before the first question.
    void setShapes(std::vector<std::shared_ptr<const Shape>> shapes);

    // What an analysis that measures these features holds at its peak beyond what the
    // process holds now, in bytes (AnalysisPeakMemory.h): the facets of every shape and
    // the first block of rows, the measuring threads' own memory, the outputs' buffers
    // and what the analysis keeps per feature.
    std::uint64_t memoryToStart();
    // Raises the run-time's "Out of memory" error when memoryToStart() does not fit in
    // the memory the process can still take. The feature class asks when it reads its
    // features, so that an analysis that cannot be measured is refused before it writes
    // anything.
    void requireMemoryToStart();

    // The positions of the features whose distance to the feature at `position` is at
    // most `width` (itself included), ascending. Features without a usable shape are
    // never found.
    std::vector<std::size_t> within(std::size_t position, double width);

    // The distance between the shapes of two features.
    double distance(std::size_t a, std::size_t b);

private:
    struct Neighbour {
        std::size_t position;
        double distance;
        bool operator<(const Neighbour& other) const { return position < other.position; }
    };

    void prepare();
    // The memory the facets of the usable shapes take, about; records which are usable.
    std::size_t facetBytes();
    // memoryToStart(), the mutex held.
    std::uint64_t startBytes();
    // The distances a block of rows that starts at `first` holds.
    std::size_t blockDistances(std::size_t first) const;
    // The engine's distance between two usable shapes: from the facets when their boxes
    // are apart, else nothing (the engine must measure it, on the calling thread).
    std::optional<double> measureApart(std::size_t a, std::size_t b) const;
    double measureByEngine(std::size_t a, std::size_t b) const;
    void findNeighbours(double width);
    // Measures the rows from `first` on, as many as make a block (about a million
    // distances), in place of the block before.
    void measureRows(std::size_t first);
    std::span<const Neighbour> neighboursOf(std::size_t position) const;
    // The row of `position` when the block holds it, else null.
    const double* rowOf(std::size_t position) const;

    std::mutex mutex_;
    std::vector<std::shared_ptr<const Shape>> shapes_;
    bool prepared_ = false;
    std::vector<char> usable_;
    std::vector<geos::Envelope> boxes_;
    std::vector<std::optional<Facets>> facets_;

    std::optional<double> neighbourWidth_;
    // The neighbours of the feature at position k (itself left out), ascending, are
    // neighbourList_[neighbourStart_[k] .. neighbourStart_[k + 1]).
    std::vector<std::size_t> neighbourStart_;
    std::vector<Neighbour> neighbourList_;

    // Rows blockFirst_ .. blockFirst_ + blockRows_ - 1, one after the other, each of
    // shapes_.size() distances, in room for blockCapacity_ distances.
    std::unique_ptr<double[]> block_;
    std::size_t blockCapacity_ = 0;
    std::size_t blockFirst_ = 0;
    std::size_t blockRows_ = 0;
};

// Makes blocks of rows hold about `distances` distances (at least one row) until the
// object goes out of scope, so that tests see many blocks on a small layer.
class ScopedDistancesPerBlock {
public:
    explicit ScopedDistancesPerBlock(std::size_t distances);
    ~ScopedDistancesPerBlock();
    ScopedDistancesPerBlock(const ScopedDistancesPerBlock&) = delete;
    ScopedDistancesPerBlock& operator=(const ScopedDistancesPerBlock&) = delete;

private:
    std::size_t before_;
};

}  // namespace gishost::model
