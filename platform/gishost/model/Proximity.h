#pragma once
// The distances between the features of one feature class, measured ahead on all cores.
//
// A search "within a width of one of the class's own features" (the buffer of a
// feature's shape searched with intersects) is, as an analysis runs, asked for every
// feature in turn with the same width: the first such search finds the neighbours within
// that width of every feature at once, in parallel, and keeps each pair's distance.
// Later searches with that width, and the distances between the features they found,
// are look-ups. A distance that was not measured ahead is measured with the whole row
// of its first feature against every other feature (the distances that come next when
// every pair is measured), and the rows are kept while they fit in memory. A pair is
// measured once: its distance serves both directions, as the engine's distance is
// symmetric.
//
// Every distance is the geometry engine's distance bit for bit: between features whose
// boxes are apart it is computed from the facets (Facets.h), otherwise by the engine on
// the calling thread.
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
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
    // The engine's distance between two usable shapes: from the facets when their boxes
    // are apart, else nothing (the engine must measure it, on the calling thread).
    std::optional<double> measureApart(std::size_t a, std::size_t b) const;
    double measureByEngine(std::size_t a, std::size_t b) const;
    void findNeighbours(double width);
    // Measures the rows from `first` on, as many as make about a million distances.
    void measureRows(std::size_t first);
    const double* rowOf(std::size_t position) const;

    std::mutex mutex_;
    std::vector<std::shared_ptr<const Shape>> shapes_;
    bool prepared_ = false;
    std::vector<char> usable_;
    std::vector<geos::Envelope> boxes_;
    std::vector<std::optional<Facets>> facets_;

    std::optional<double> neighbourWidth_;
    std::vector<std::vector<Neighbour>> neighbours_;  // by position, without itself, ascending

    std::vector<std::unique_ptr<double[]>> rows_;  // measured rows, by position
    std::size_t rowsKept_ = 0;
    std::unique_ptr<double[]> transientRow_;  // the last row measured when no more rows are kept
    std::size_t transientRowPosition_ = 0;
};

}  // namespace gishost::model
