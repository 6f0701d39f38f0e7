// The facet distance, the fast path of distances between shapes whose boxes are apart,
// against the geometry engine's own distance, bit for bit, over families of shapes that
// stress it: star-shaped polygons, polygons with holes, multipolygons, lines with
// repeated vertices, points and multipoints, axis-aligned squares at exact distances,
// and coordinates far from the origin.
#include "gishost/model/Facets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "gishost/model/Geos.h"

namespace {

using gishost::model::Facets;
namespace geos = gishost::model::geos;

geos::Geometry fromWkt(const std::string& wkt) {
    GEOSWKTReader* reader = GEOSWKTReader_create_r(geos::context());
    GEOSGeometry* geometry = GEOSWKTReader_read_r(geos::context(), reader, wkt.c_str());
    GEOSWKTReader_destroy_r(geos::context(), reader);
    if (geometry == nullptr) throw std::invalid_argument("not a shape: " + wkt);
    return geos::Geometry(geometry);
}

std::string coordinates(const std::vector<std::pair<double, double>>& points) {
    std::string text;
    char buffer[80];
    for (const auto& [x, y] : points) {
        std::snprintf(buffer, sizeof buffer, "%s%.17g %.17g", text.empty() ? "" : ", ", x, y);
        text += buffer;
    }
    return text;
}

std::vector<std::pair<double, double>> starRing(std::mt19937& random, double cx, double cy, double radius) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<int> count(3, 40);
    std::vector<double> angles(static_cast<std::size_t>(count(random)));
    for (double& angle : angles) angle = unit(random) * 6.283185307179586;
    std::sort(angles.begin(), angles.end());
    std::vector<std::pair<double, double>> ring;
    for (const double angle : angles) {
        const double r = radius * (0.3 + 0.7 * unit(random));
        ring.emplace_back(cx + r * std::cos(angle), cy + r * std::sin(angle));
        if (unit(random) < 0.1) ring.push_back(ring.back());  // a repeated vertex: a segment of length 0
    }
    ring.push_back(ring.front());
    return ring;
}

// One shape of every family, around (cx, cy).
std::vector<std::string> shapesAround(std::mt19937& random, double cx, double cy) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::string> shapes;
    shapes.push_back("POLYGON ((" + coordinates(starRing(random, cx, cy, 10)) + "))");
    shapes.push_back("POLYGON ((" + coordinates({{cx - 10, cy - 10}, {cx + 10, cy - 10}, {cx + 10, cy + 10},
                                                 {cx - 10, cy + 10}, {cx - 10, cy - 10}}) +
                     "), (" + coordinates({{cx - 2, cy - 2}, {cx - 2, cy + 2}, {cx + 2, cy + 2}, {cx + 2, cy - 2},
                                          {cx - 2, cy - 2}}) +
                     "))");
    shapes.push_back("MULTIPOLYGON (((" + coordinates(starRing(random, cx - 6, cy, 4)) + ")), ((" +
                     coordinates(starRing(random, cx + 6, cy, 4)) + ")))");
    auto line = starRing(random, cx, cy, 8);
    line.pop_back();
    shapes.push_back("LINESTRING (" + coordinates(line) + ")");
    shapes.push_back("MULTILINESTRING ((" + coordinates({{cx, cy}, {cx + 5, cy + 1}}) + "), (" +
                     coordinates({{cx - 3, cy - 3}, {cx - 3, cy - 3}, {cx - 1, cy - 4}}) + "))");
    shapes.push_back("POINT (" + coordinates({{cx + unit(random), cy - unit(random)}}) + ")");
    shapes.push_back("MULTIPOINT (" + coordinates({{cx, cy}, {cx + 3, cy + 2}, {cx - 1, cy + 7}}) + ")");
    // Axis-aligned squares, whose distances to one another are whole numbers.
    const double x = std::round(cx);
    const double y = std::round(cy);
    shapes.push_back("POLYGON ((" + coordinates({{x, y}, {x + 4, y}, {x + 4, y + 4}, {x, y + 4}, {x, y}}) + "))");
    return shapes;
}

struct Layout {
    const char* name;
    double origin;   // coordinates far from 0 stress the rounding
    double spacing;  // between the centres of neighbouring groups of shapes
};

class FacetDistance : public ::testing::TestWithParam<Layout> {};

TEST_P(FacetDistance, EqualsTheEnginesDistanceBitForBitWheneverTheBoxesAreApart) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> jitter(-3.0, 3.0);
    std::vector<geos::Geometry> geometries;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            for (const std::string& wkt :
                 shapesAround(random, GetParam().origin + column * GetParam().spacing + jitter(random),
                              GetParam().origin + row * GetParam().spacing + jitter(random)))
                geometries.push_back(fromWkt(wkt));
    std::vector<std::optional<Facets>> facets;
    for (const geos::Geometry& geometry : geometries) {
        facets.push_back(Facets::of(geometry.get()));
        ASSERT_TRUE(facets.back());
    }
    std::size_t compared = 0;
    for (std::size_t a = 0; a < geometries.size(); ++a)
        for (std::size_t b = 0; b < geometries.size(); ++b) {
            if (!gishost::model::boxesApart(facets[a]->box(), facets[b]->box())) continue;
            ++compared;
            const double engine = geos::distance(geometries[a].get(), geometries[b].get());
            ASSERT_EQ(gishost::model::facetDistance(*facets[a], *facets[b]), engine) << a << " " << b;
        }
    EXPECT_GT(compared, geometries.size() * geometries.size() / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FacetDistance,
    ::testing::Values(Layout{"CloseTogether", 0.0, 18.0}, Layout{"FarApart", 0.0, 60.0},
                      Layout{"FarFromTheOrigin", 4321000.0, 25.0}, Layout{"SmallNumbers", 0.001, 21.0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Facets, AreMadeOnlyOfShapesOfOneKind) {
    EXPECT_FALSE(Facets::of(fromWkt("GEOMETRYCOLLECTION (POINT (0 0), LINESTRING (1 1, 2 2))").get()));
    EXPECT_FALSE(Facets::of(fromWkt("POLYGON EMPTY").get()));
    EXPECT_FALSE(Facets::of(fromWkt("MULTIPOLYGON (((0 0, 1 0, 1 1, 0 0)), EMPTY)").get()));
    EXPECT_TRUE(Facets::of(fromWkt("MULTIPOINT (0 0, 1 1)").get()));
}

}  // namespace
