#pragma once
// Generated layers of habitat patches for the within-distance benchmark and tests: N
// irregular polygons of 20 to 60 vertices, clumped around cluster centres, a few
// touching a neighbour, in a projected reference system in metres (ETRS89 / LAEA
// Europe), with an integer "ID" field and a real "Area" field (square metres). The same
// seed gives the same layer.
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct Patch {
    std::int32_t id = 0;
    std::vector<std::pair<double, double>> ring;  // closed: the last point repeats the first
    double area = 0.0;
};

struct PatchLayer {
    std::vector<Patch> patches;
    // A search radius that gives about ten neighbours within it per patch.
    double radius = 0.0;
};

PatchLayer generatePatches(int count, std::uint64_t seed);

// Writes the patches as layer "patches" of a new GeoPackage (an existing file is replaced).
void writeGeoPackage(const PatchLayer& layer, const std::string& path);

}  // namespace bench
