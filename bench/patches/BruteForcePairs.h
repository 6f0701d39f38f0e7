#pragma once
// The pairs of patches within a radius (or all pairs) by brute force: every pair is
// considered and measured with GEOS's distance, on all cores. Each pair is given as the
// distance file writes it, "<lower ID><TAB><higher ID><TAB><distance, nine decimals>",
// and the list is sorted.
#include <string>
#include <vector>

#include "patches/PatchLayerGenerator.h"

namespace bench {

std::vector<std::string> bruteForcePairs(const PatchLayer& layer, bool allPairs, double radius);

// The lines of a distance file, line ends removed, with each pair's IDs in ascending
// order, sorted.
std::vector<std::string> sortedDistanceLines(const std::string& path);

}  // namespace bench
