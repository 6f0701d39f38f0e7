#include "patches/PatchLayerGenerator.h"

#include <geos_c.h>
#include <cpl_vsi.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <unordered_map>

namespace bench {
namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double meanPatchRadius = 60.0;   // metres
constexpr double clusterSpread = 900.0;    // standard deviation of a patch around its cluster centre
constexpr int patchesPerCluster = 40;
constexpr double touchingShare = 0.05;     // patches placed against a neighbour

// A star-shaped polygon around its centre: its vertices at increasing angles keep it simple.
Patch irregularPatch(std::int32_t id, double cx, double cy, double radius, std::mt19937_64& random) {
    std::uniform_int_distribution<int> vertexCount(20, 60);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int vertices = vertexCount(random);
    std::vector<double> angles(static_cast<std::size_t>(vertices));
    for (double& angle : angles) angle = unit(random) * 2.0 * pi;
    std::sort(angles.begin(), angles.end());
    Patch patch;
    patch.id = id;
    for (const double angle : angles) {
        const double r = radius * (0.55 + 0.45 * unit(random));
        patch.ring.emplace_back(cx + r * std::cos(angle), cy + r * std::sin(angle));
    }
    patch.ring.push_back(patch.ring.front());
    double twiceArea = 0.0;
    for (std::size_t i = 0; i + 1 < patch.ring.size(); ++i)
        twiceArea += patch.ring[i].first * patch.ring[i + 1].second - patch.ring[i + 1].first * patch.ring[i].second;
    patch.area = std::abs(twiceArea) / 2.0;
    return patch;
}

// Centres on a grid of cells, to keep new patches apart from the ones placed.
class CentreGrid {
public:
    explicit CentreGrid(double cell) : cell_(cell) {}
    bool farFromAll(double x, double y, double distance) const {
        const long cx = cellOf(x);
        const long cy = cellOf(y);
        for (long dx = -1; dx <= 1; ++dx)
            for (long dy = -1; dy <= 1; ++dy) {
                const auto found = cells_.find(key(cx + dx, cy + dy));
                if (found == cells_.end()) continue;
                for (const auto& [px, py] : found->second)
                    if (std::hypot(px - x, py - y) < distance) return false;
            }
        return true;
    }
    void add(double x, double y) { cells_[key(cellOf(x), cellOf(y))].emplace_back(x, y); }

private:
    long cellOf(double value) const { return static_cast<long>(std::floor(value / cell_)); }
    static std::int64_t key(long x, long y) { return (static_cast<std::int64_t>(x) << 32) ^ (y & 0xffffffffL); }
    double cell_;
    std::unordered_map<std::int64_t, std::vector<std::pair<double, double>>> cells_;
};

struct GeosContext {
    GeosContext() : handle(GEOS_init_r()) {}
    ~GeosContext() { GEOS_finish_r(handle); }
    GEOSContextHandle_t handle;
};

GEOSGeometry* geosPolygon(GEOSContextHandle_t context, const Patch& patch) {
    GEOSCoordSequence* sequence = GEOSCoordSeq_create_r(context, static_cast<unsigned>(patch.ring.size()), 2);
    for (std::size_t i = 0; i < patch.ring.size(); ++i)
        GEOSCoordSeq_setXY_r(context, sequence, static_cast<unsigned>(i), patch.ring[i].first, patch.ring[i].second);
    return GEOSGeom_createPolygon_r(context, GEOSGeom_createLinearRing_r(context, sequence), nullptr, 0);
}

// The median over sampled patches of the distance to their tenth nearest neighbour.
double radiusForTenNeighbours(const std::vector<Patch>& patches, std::mt19937_64& random) {
    if (patches.size() < 12) return 4.0 * meanPatchRadius;
    GeosContext context;
    std::vector<std::pair<double, double>> centres;
    for (const Patch& patch : patches) centres.push_back(patch.ring.front());
    std::uniform_int_distribution<std::size_t> pick(0, patches.size() - 1);
    std::vector<double> tenth;
    for (int sample = 0; sample < 100; ++sample) {
        const std::size_t i = pick(random);
        // Exact distances to the 40 nearest by a vertex, which hold the ten nearest patches.
        std::vector<std::pair<double, std::size_t>> near;
        for (std::size_t j = 0; j < patches.size(); ++j)
            if (j != i)
                near.emplace_back(std::hypot(centres[j].first - centres[i].first, centres[j].second - centres[i].second), j);
        const std::size_t keep = std::min<std::size_t>(40, near.size());
        std::partial_sort(near.begin(), near.begin() + static_cast<std::ptrdiff_t>(keep), near.end());
        GEOSGeometry* a = geosPolygon(context.handle, patches[i]);
        std::vector<double> distances;
        for (std::size_t k = 0; k < keep; ++k) {
            GEOSGeometry* b = geosPolygon(context.handle, patches[near[k].second]);
            double distance = 0.0;
            GEOSDistance_r(context.handle, a, b, &distance);
            distances.push_back(distance);
            GEOSGeom_destroy_r(context.handle, b);
        }
        GEOSGeom_destroy_r(context.handle, a);
        std::nth_element(distances.begin(), distances.begin() + 9, distances.end());
        tenth.push_back(distances[9]);
    }
    std::nth_element(tenth.begin(), tenth.begin() + static_cast<std::ptrdiff_t>(tenth.size() / 2), tenth.end());
    return std::round(tenth[tenth.size() / 2]);
}

}  // namespace

PatchLayer generatePatches(int count, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> spread(0.0, clusterSpread);
    const int clusters = std::max(1, count / patchesPerCluster);
    // The world grows with the count, so that the clusters keep their density.
    const double world = std::sqrt(static_cast<double>(clusters)) * 4.0 * clusterSpread;
    std::vector<std::pair<double, double>> clusterCentres;
    for (int c = 0; c < clusters; ++c)
        clusterCentres.emplace_back(4321000.0 + unit(random) * world, 3210000.0 + unit(random) * world);

    PatchLayer layer;
    CentreGrid grid(4.0 * meanPatchRadius);
    std::uniform_int_distribution<std::size_t> anyCluster(0, clusterCentres.size() - 1);
    while (static_cast<int>(layer.patches.size()) < count) {
        const std::int32_t id = static_cast<std::int32_t>(layer.patches.size()) + 1;
        const double radius = meanPatchRadius * (0.5 + unit(random));
        if (!layer.patches.empty() && unit(random) < touchingShare) {
            // Against a neighbour: a vertex of the new patch on a vertex of an earlier one.
            const Patch& neighbour = layer.patches[static_cast<std::size_t>(unit(random) * layer.patches.size())];
            const auto [vx, vy] = neighbour.ring.front();
            Patch patch = irregularPatch(id, 0.0, 0.0, radius, random);
            const auto [px, py] = patch.ring.front();
            const double angle = std::atan2(vy - neighbour.ring[neighbour.ring.size() / 2].second,
                                            vx - neighbour.ring[neighbour.ring.size() / 2].first);
            const double shiftX = vx - px + std::cos(angle) * 1e-9;
            const double shiftY = vy - py + std::sin(angle) * 1e-9;
            for (auto& [x, y] : patch.ring) {
                x += shiftX;
                y += shiftY;
            }
            patch.ring.front() = neighbour.ring.front();
            patch.ring.back() = neighbour.ring.front();
            grid.add(patch.ring[patch.ring.size() / 2].first, patch.ring[patch.ring.size() / 2].second);
            layer.patches.push_back(std::move(patch));
            continue;
        }
        const auto [ccx, ccy] = clusterCentres[anyCluster(random)];
        const double x = ccx + spread(random);
        const double y = ccy + spread(random);
        if (!grid.farFromAll(x, y, 2.2 * meanPatchRadius)) continue;
        grid.add(x, y);
        layer.patches.push_back(irregularPatch(id, x, y, radius, random));
    }
    layer.radius = radiusForTenNeighbours(layer.patches, random);
    return layer;
}

namespace {

void writeGeoPackageAt(const PatchLayer& layer, const std::string& path) {
    GDALAllRegister();
    VSIUnlink(path.c_str());
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
    if (driver == nullptr) throw std::runtime_error("GDAL has no GeoPackage driver");
    std::unique_ptr<GDALDataset> dataset(driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset) throw std::runtime_error("cannot create " + path);
    OGRSpatialReference reference;
    reference.importFromEPSG(3035);
    OGRLayer* patches = dataset->CreateLayer("patches", &reference, wkbPolygon, nullptr);
    if (patches == nullptr) throw std::runtime_error("cannot create the layer in " + path);
    OGRFieldDefn id("ID", OFTInteger);
    OGRFieldDefn area("Area", OFTReal);
    area.SetWidth(16);
    area.SetPrecision(2);
    patches->CreateField(&id);
    patches->CreateField(&area);
    dataset->StartTransaction();
    for (const Patch& patch : layer.patches) {
        OGRFeature feature(patches->GetLayerDefn());
        feature.SetField("ID", patch.id);
        feature.SetField("Area", patch.area);
        OGRLinearRing ring;
        for (const auto& [x, y] : patch.ring) ring.addPoint(x, y);
        OGRPolygon polygon;
        polygon.addRing(&ring);
        feature.SetGeometry(&polygon);
        if (patches->CreateFeature(&feature) != OGRERR_NONE) throw std::runtime_error("cannot write " + path);
    }
    dataset->CommitTransaction();
}

}  // namespace

void writeGeoPackage(const PatchLayer& layer, const std::string& path) {
    // Made in GDAL's memory files, then copied into place: a process that has read a layer
    // through the host lets GDAL write no file.
    const std::string memoryPath = "/vsimem/generated_patches.gpkg";
    writeGeoPackageAt(layer, memoryPath);
    vsi_l_offset size = 0;
    GByte* bytes = VSIGetMemFileBuffer(memoryPath.c_str(), &size, /*bUnlinkAndSeize=*/TRUE);
    if (bytes == nullptr) throw std::runtime_error("cannot create " + path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    CPLFree(bytes);
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace bench
