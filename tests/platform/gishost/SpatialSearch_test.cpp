// Distances and the search by a buffer: a buffer by d searched with "intersects" finds
// exactly the features at most d away, and the count agrees with the search.
#include <gtest/gtest.h>

#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "LayerFixtures.h"
#include "com/Creation.h"
#include "gishost/model/HostModel.h"
#include "support/TestFiles.h"

namespace {

using namespace gishost;
using testing_support::FixtureLayer;
using testing_support::TemporaryFolder;

std::vector<com::ComPtr<IGeometry>> shapesOf(const com::ComPtr<IFeatureClass>& featureClass) {
    std::vector<com::ComPtr<IGeometry>> shapes;
    const auto cursor = featureClass->Search(nullptr, false);
    for (auto feature = cursor->NextFeature(); feature; feature = cursor->NextFeature()) shapes.push_back(feature->Shape());
    return shapes;
}

// The object IDs that a search by the buffer of `shape` finds, and the count of the same filter.
std::pair<std::vector<std::int32_t>, std::int32_t> searchWithin(const com::ComPtr<IFeatureClass>& featureClass,
                                                                const com::ComPtr<IGeometry>& shape, double distance) {
    const auto filter = com::createInstanceAs<ISpatialFilter>(CLSID_SpatialFilter);
    filter->putref_Geometry(shape.as<ITopologicalOperator>()->Buffer(distance).as<IPolygon>());
    filter->put_SpatialRel(spatialRelation::Intersects);
    std::vector<std::int32_t> found;
    const auto cursor = featureClass->Search(filter, true);
    for (auto feature = cursor->NextFeature(); feature; feature = cursor->NextFeature()) found.push_back(feature->OID());
    return {found, featureClass->FeatureCount(filter)};
}

class SpatialSearch : public ::testing::Test {
protected:
    void SetUp() override { model::registerHostClasses(); }
    TemporaryFolder folder_;

    com::ComPtr<IFeatureClass> layerOf(const FixtureLayer& layer) {
        return model::openFeatureLayer(testing_support::writeLayer(folder_.pathOf(layer.layerName + ".gpkg"), layer))
            ->FeatureClass();
    }
};

TEST_F(SpatialSearch, MeasuresZeroForTouchingAndOverlappingShapes) {
    FixtureLayer layer{"gpkg", "touch", wkbPolygon, 0, {},
                       {{testing_support::squareWkt(0, 0, 1), {}},
                        {testing_support::squareWkt(1, 0, 1), {}},
                        {testing_support::squareWkt(0.5, 0.5, 1), {}},
                        {testing_support::squareWkt(5, 0, 1), {}}}};
    const auto shapes = shapesOf(layerOf(layer));
    const auto proximity = shapes[0].as<IProximityOperator>();
    EXPECT_EQ(proximity->ReturnDistance(shapes[1]), 0.0);
    EXPECT_EQ(proximity->ReturnDistance(shapes[2]), 0.0);
    EXPECT_EQ(proximity->ReturnDistance(shapes[3]), 4.0);
}

// A polygon approximation of the round buffer around (0 0) would miss (3 4) at exactly 5.
TEST_F(SpatialSearch, FindsAPointExactlyAtTheRadiusOffTheAxes) {
    FixtureLayer layer{"gpkg", "points", wkbPoint, 0, {},
                       {{"POINT (0 0)", {}}, {"POINT (3 4)", {}}, {"POINT (3 4.000001)", {}}}};
    const auto featureClass = layerOf(layer);
    const auto shapes = shapesOf(featureClass);
    const auto [found, count] = searchWithin(featureClass, shapes[0], 5.0);
    EXPECT_EQ(found, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(searchWithin(featureClass, shapes[0], std::nextafter(5.0, 0.0)).second, 1);
}

// Random polygons against the geometry engine's own distances, including radii equal to
// a distance between two of them.
TEST_F(SpatialSearch, AgreesWithBruteForceDistancesOnRandomPolygons) {
    std::mt19937 random(12);
    std::uniform_real_distribution<double> position(0.0, 1000.0);
    std::uniform_real_distribution<double> radius(1.0, 25.0);
    std::uniform_int_distribution<int> corners(3, 9);
    FixtureLayer layer{"gpkg", "random", wkbPolygon, 0, {}, {}};
    for (int k = 0; k < 300; ++k) {
        const double x = position(random), y = position(random), r = radius(random);
        const int n = corners(random);
        std::string wkt = "POLYGON ((";
        for (int c = 0; c <= n; ++c) {
            const double angle = 2.0 * M_PI * (c % n) / n;
            char point[80];
            std::snprintf(point, sizeof point, "%s%.17g %.17g", c == 0 ? "" : ",", x + r * std::cos(angle),
                          y + r * std::sin(angle));
            wkt += point;
        }
        layer.features.push_back({wkt + "))", {}});
    }
    const auto featureClass = layerOf(layer);
    const auto shapes = shapesOf(featureClass);
    ASSERT_EQ(shapes.size(), 300u);
    std::vector<std::vector<double>> distances(shapes.size(), std::vector<double>(shapes.size()));
    for (std::size_t a = 0; a < shapes.size(); ++a)
        for (std::size_t b = 0; b < shapes.size(); ++b)
            distances[a][b] = shapes[a].as<IProximityOperator>()->ReturnDistance(shapes[b]);
    for (std::size_t a = 0; a < shapes.size(); a += 7) {
        std::vector<double> radii = {0.0, 10.0, 75.0};
        // The distance to some other polygon: that pair lies exactly at the radius.
        radii.push_back(distances[a][(a * 31 + 5) % shapes.size()]);
        for (const double d : radii) {
            std::vector<std::int32_t> expected;
            for (std::size_t b = 0; b < shapes.size(); ++b)
                if (distances[a][b] <= d) expected.push_back(static_cast<std::int32_t>(b + 1));
            const auto [found, count] = searchWithin(featureClass, shapes[a], d);
            EXPECT_EQ(found, expected) << "polygon " << a << ", radius " << d;
            EXPECT_EQ(count, static_cast<std::int32_t>(expected.size()));
        }
    }
}

TEST_F(SpatialSearch, RefusesAFilterItCannotAnswer) {
    FixtureLayer layer{"gpkg", "one", wkbPoint, 0, {}, {{"POINT (0 0)", {}}}};
    const auto featureClass = layerOf(layer);
    const auto filter = com::createInstanceAs<ISpatialFilter>(CLSID_SpatialFilter);
    filter->put_SpatialRel(spatialRelation::Intersects);
    EXPECT_THROW(featureClass->FeatureCount(filter), com::Error);  // no geometry
    filter->putref_Geometry(shapesOf(featureClass)[0]);
    filter->put_SpatialRel(7);
    EXPECT_THROW(featureClass->Search(filter, true), com::Error);
    filter->put_SpatialRel(spatialRelation::Intersects);
    EXPECT_EQ(featureClass->FeatureCount(filter), 1);
}

}  // namespace
