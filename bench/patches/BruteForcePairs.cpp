#include "patches/BruteForcePairs.h"

#include <geos_c.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <thread>

namespace bench {
namespace {

struct Envelope {
    double minX, minY, maxX, maxY;
};

Envelope envelopeOf(const Patch& patch) {
    Envelope e{patch.ring[0].first, patch.ring[0].second, patch.ring[0].first, patch.ring[0].second};
    for (const auto& [x, y] : patch.ring) {
        e.minX = std::min(e.minX, x);
        e.minY = std::min(e.minY, y);
        e.maxX = std::max(e.maxX, x);
        e.maxY = std::max(e.maxY, y);
    }
    return e;
}

double envelopeDistance(const Envelope& a, const Envelope& b) {
    const double dx = std::max({0.0, b.minX - a.maxX, a.minX - b.maxX});
    const double dy = std::max({0.0, b.minY - a.maxY, a.minY - b.maxY});
    return std::sqrt(dx * dx + dy * dy);
}

std::string pairLine(std::int32_t a, std::int32_t b, double distance) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%d\t%d\t%.9f", std::min(a, b), std::max(a, b), distance);
    return buffer;
}

}  // namespace

std::vector<std::string> bruteForcePairs(const PatchLayer& layer, bool allPairs, double radius) {
    const std::size_t n = layer.patches.size();
    std::vector<Envelope> envelopes;
    for (const Patch& patch : layer.patches) envelopes.push_back(envelopeOf(patch));
    std::vector<std::string> pairs;
    std::mutex pairsMutex;
    std::atomic<std::size_t> nextRow{0};
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            GEOSContextHandle_t context = GEOS_init_r();
            GEOSWKTReader* reader = GEOSWKTReader_create_r(context);
            const auto polygon = [&](const Patch& patch) {
                std::string wkt = "POLYGON((";
                char buffer[64];
                for (std::size_t k = 0; k < patch.ring.size(); ++k) {
                    std::snprintf(buffer, sizeof buffer, "%s%.17g %.17g", k == 0 ? "" : ",", patch.ring[k].first,
                                  patch.ring[k].second);
                    wkt += buffer;
                }
                return GEOSWKTReader_read_r(context, reader, (wkt + "))").c_str());
            };
            std::vector<std::string> found;
            for (std::size_t i = nextRow++; i < n; i = nextRow++) {
                GEOSGeometry* a = nullptr;
                for (std::size_t j = i + 1; j < n; ++j) {
                    // A lower bound of the distance: pairs clearly beyond the radius are passed over.
                    if (!allPairs && envelopeDistance(envelopes[i], envelopes[j]) > radius * (1 + 1e-9) + 1e-9)
                        continue;
                    if (a == nullptr) a = polygon(layer.patches[i]);
                    GEOSGeometry* b = polygon(layer.patches[j]);
                    double distance = 0.0;
                    GEOSDistance_r(context, a, b, &distance);
                    GEOSGeom_destroy_r(context, b);
                    if (allPairs || distance <= radius)
                        found.push_back(pairLine(layer.patches[i].id, layer.patches[j].id, distance));
                }
                if (a != nullptr) GEOSGeom_destroy_r(context, a);
            }
            GEOSWKTReader_destroy_r(context, reader);
            GEOS_finish_r(context);
            std::lock_guard lock(pairsMutex);
            pairs.insert(pairs.end(), found.begin(), found.end());
        });
    }
    for (std::thread& worker : workers) worker.join();
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

std::vector<std::string> sortedDistanceLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream file(path, std::ios::binary);
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t first = line.find('\t');
        const std::size_t second = line.find('\t', first + 1);
        if (first == std::string::npos || second == std::string::npos) {
            lines.push_back(line);
            continue;
        }
        const std::int32_t a = std::stoi(line.substr(0, first));
        const std::int32_t b = std::stoi(line.substr(first + 1, second - first - 1));
        lines.push_back(std::to_string(std::min(a, b)) + "\t" + std::to_string(std::max(a, b)) + line.substr(second));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace bench
