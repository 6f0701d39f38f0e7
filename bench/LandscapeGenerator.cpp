#include "LandscapeGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <vector>

namespace bench {
namespace {

struct Patch {
    double x, y;
};

// Patches on a square of side sqrt(count) (one patch per unit area on average): 60 % in
// clumps of a few tens, the rest spread evenly.
std::vector<Patch> scatter(std::int32_t count, std::mt19937_64& random) {
    const double side = std::sqrt(static_cast<double>(std::max(count, 1)));
    std::uniform_real_distribution<double> across(0.0, side);
    std::normal_distribution<double> around(0.0, 1.5);
    std::vector<Patch> centres(static_cast<std::size_t>(std::max(1, count / 30)));
    for (Patch& c : centres) c = {across(random), across(random)};
    std::vector<Patch> patches(static_cast<std::size_t>(count));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (Patch& p : patches) {
        if (unit(random) < 0.6) {
            const Patch& c = centres[random() % centres.size()];
            p = {std::clamp(c.x + around(random), 0.0, side), std::clamp(c.y + around(random), 0.0, side)};
        } else {
            p = {across(random), across(random)};
        }
    }
    return patches;
}

// Cells of a square grid, for the pairs within a distance.
class Grid {
public:
    Grid(const std::vector<Patch>& patches, double cell) : cell_(cell) {
        double side = 1;
        for (const Patch& p : patches) side = std::max({side, p.x, p.y});
        columns_ = static_cast<std::int64_t>(side / cell) + 1;
        cells_.resize(static_cast<std::size_t>(columns_ * columns_));
        for (std::size_t i = 0; i < patches.size(); ++i) cells_[index(patches[i])].push_back(static_cast<std::int32_t>(i));
    }
    // visit(j) for every patch in the cells around p (within one cell).
    template <class Visit>
    void around(const Patch& p, Visit visit) const {
        const std::int64_t cx = static_cast<std::int64_t>(p.x / cell_);
        const std::int64_t cy = static_cast<std::int64_t>(p.y / cell_);
        for (std::int64_t y = std::max<std::int64_t>(0, cy - 1); y <= std::min(columns_ - 1, cy + 1); ++y)
            for (std::int64_t x = std::max<std::int64_t>(0, cx - 1); x <= std::min(columns_ - 1, cx + 1); ++x)
                for (std::int32_t j : cells_[static_cast<std::size_t>(y * columns_ + x)]) visit(j);
    }

private:
    std::size_t index(const Patch& p) const {
        return static_cast<std::size_t>(static_cast<std::int64_t>(p.y / cell_) * columns_ +
                                        static_cast<std::int64_t>(p.x / cell_));
    }
    double cell_;
    std::int64_t columns_ = 1;
    std::vector<std::vector<std::int32_t>> cells_;
};

double distanceBetween(const Patch& a, const Patch& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The cutoff that gives the mean degree: the (meanDegree n / 2)-th smallest pair distance.
double cutoffForDegree(const std::vector<Patch>& patches, double meanDegree) {
    const std::size_t wanted = static_cast<std::size_t>(meanDegree * static_cast<double>(patches.size()) / 2.0);
    if (wanted == 0 || patches.size() < 2) return 1.0;
    for (double reach = 2.0;; reach *= 1.5) {
        const Grid grid(patches, reach);
        std::vector<double> distances;
        for (std::size_t i = 0; i < patches.size(); ++i) {
            grid.around(patches[i], [&](std::int32_t j) {
                if (static_cast<std::size_t>(j) < i) {
                    const double d = distanceBetween(patches[i], patches[static_cast<std::size_t>(j)]);
                    if (d <= reach) distances.push_back(d);
                }
            });
        }
        if (distances.size() >= wanted) {
            std::nth_element(distances.begin(), distances.begin() + static_cast<std::ptrdiff_t>(wanted - 1), distances.end());
            return distances[wanted - 1];
        }
        if (reach > 1e6) return reach;
    }
}

struct File {
    explicit File(const std::string& path) : handle(std::fopen(path.c_str(), "w")) {
        if (handle == nullptr) throw std::runtime_error("cannot write " + path);
    }
    ~File() { std::fclose(handle); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    std::FILE* handle;
};

}  // namespace

GeneratedLandscape generateLandscape(const LandscapeShape& shape, const std::string& folder) {
    std::mt19937_64 random(shape.seed);
    const std::int32_t total = shape.nodes + shape.candidates;
    const std::vector<Patch> patches = scatter(total, random);
    // Which records are candidates: spread over the file.
    std::vector<std::uint8_t> candidate(static_cast<std::size_t>(total), 0);
    for (std::int32_t c = 0; c < shape.candidates; ++c) candidate[static_cast<std::size_t>(shape.nodes + c)] = 1;
    std::shuffle(candidate.begin(), candidate.end(), random);
    std::lognormal_distribution<double> area(1.0, 1.2);

    GeneratedLandscape result;
    result.nodeFile = folder + "/nodes.txt";
    result.connectionFile = folder + "/distances.txt";
    result.cutoff = cutoffForDegree(patches, shape.meanDegree);
    {
        File nodes(result.nodeFile);
        for (std::int32_t i = 0; i < total; ++i) {
            const float a = static_cast<float>(area(random));
            if (shape.candidates > 0)
                std::fprintf(nodes.handle, "%d\t%.4f\t%d\n", i + 1, static_cast<double>(a), candidate[static_cast<std::size_t>(i)] ? 0 : 1);
            else
                std::fprintf(nodes.handle, "%d\t%.4f\n", i + 1, static_cast<double>(a));
        }
    }
    File connections(result.connectionFile);
    const auto write = [&](std::size_t i, std::size_t j, double d) {
        std::fprintf(connections.handle, "%zu\t%zu\t%.6f\n", i + 1, j + 1, d);
        ++result.pairsWritten;
        if (d <= result.cutoff && !candidate[i] && !candidate[j]) ++result.existingPairsWithinCutoff;
    };
    if (shape.full) {
        for (std::size_t i = 0; i < patches.size(); ++i)
            for (std::size_t j = 0; j < i; ++j) write(i, j, distanceBetween(patches[i], patches[j]));
    } else {
        const Grid grid(patches, result.cutoff);
        for (std::size_t i = 0; i < patches.size(); ++i) {
            grid.around(patches[i], [&](std::int32_t j) {
                if (static_cast<std::size_t>(j) >= i) return;
                const double d = distanceBetween(patches[i], patches[static_cast<std::size_t>(j)]);
                if (d <= result.cutoff) write(i, static_cast<std::size_t>(j), d);
            });
        }
    }
    return result;
}

GeneratedLandscape generateBand(std::int32_t nodes, std::int32_t successors, double farthest, std::uint64_t seed,
                                const std::string& folder) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> area(1.0, 100.0);
    std::uniform_real_distribution<double> distance(1.0, farthest);
    GeneratedLandscape result;
    result.nodeFile = folder + "/band_nodes.txt";
    result.connectionFile = folder + "/band_distances.txt";
    result.cutoff = farthest;
    {
        File file(result.nodeFile);
        for (std::int32_t i = 1; i <= nodes; ++i) std::fprintf(file.handle, "%d\t%.4f\n", i, area(random));
    }
    File file(result.connectionFile);
    for (std::int32_t i = 1; i <= nodes; ++i) {
        for (std::int32_t k = 1; k <= successors && i + k <= nodes; ++k) {
            std::fprintf(file.handle, "%d\t%d\t%.3f\n", i, i + k, distance(random));
            ++result.pairsWritten;
        }
    }
    return result;
}

}  // namespace bench
