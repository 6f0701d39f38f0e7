#pragma once
// Seeded landscapes for the benchmarks: patches scattered over a square, partly in clumps,
// with areas from a skewed (log-normal) distribution, and the node and connection files of
// a run on them. A Partial distance file lists the pairs within a cutoff chosen so that a
// patch has about `meanDegree` neighbours; a Full file lists every pair. Candidates are
// further patches, marked 0 in the node file's third column.
#include <cstdint>
#include <string>

namespace bench {

struct LandscapeShape {
    std::int32_t nodes = 1000;
    std::int32_t candidates = 10;
    double meanDegree = 10.0;
    bool full = false;
    std::uint64_t seed = 1;
};

struct GeneratedLandscape {
    std::string nodeFile;
    std::string connectionFile;
    double cutoff = 0.0;          // the distance within which pairs are listed (Partial)
    std::int64_t pairsWritten = 0;
    std::int64_t existingPairsWithinCutoff = 0;  // links between existing patches at the cutoff
};

// Writes "nodes.txt" and "distances.txt" into `folder`.
GeneratedLandscape generateLandscape(const LandscapeShape& shape, const std::string& folder);

// A band of `nodes` patches, each listed with its `successors` next ones (pair i, i + k for
// k = 1 .. successors) at a distance drawn evenly from 1 to `farthest`; areas drawn evenly
// from 1 to 100; no candidates. Writes "band_nodes.txt" and "band_distances.txt".
GeneratedLandscape generateBand(std::int32_t nodes, std::int32_t successors, double farthest, std::uint64_t seed,
                                const std::string& folder);

}  // namespace bench
