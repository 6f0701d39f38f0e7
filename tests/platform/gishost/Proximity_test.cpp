// Distances measured ahead on all cores: the neighbours within a width of every feature
// and whole rows of distances give what the geometry engine gives for each pair, in
// both directions, on a layer of mixed shapes large enough to be shared among threads.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "LayerFixtures.h"
#include "com/Creation.h"
#include "gishost/model/Geos.h"
#include "gishost/model/HostModel.h"
#include "gishost/model/Layers.h"
#include "support/TestFiles.h"

namespace {

using namespace gishost;
namespace geos = gishost::model::geos;

std::string point(double x, double y) {
    char text[80];
    std::snprintf(text, sizeof text, "%.17g %.17g", x, y);
    return text;
}

// A few hundred shapes in clumps: squares on whole coordinates (touching, overlapping,
// or a whole number apart), star-shaped polygons, lines and points.
std::vector<std::string> mixedShapes() {
    std::mt19937 random(31);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::string> shapes;
    for (int k = 0; k < 280; ++k) {
        const double cx = std::floor(unit(random) * 6) * 40 + unit(random) * 30;
        const double cy = std::floor(unit(random) * 6) * 40 + unit(random) * 30;
        switch (k % 4) {
            case 0: shapes.push_back(testing_support::squareWkt(std::round(cx), std::round(cy), 3)); break;
            case 1: {
                std::string ring;
                std::string first;
                for (int v = 0; v < 12; ++v) {
                    const double r = 2 + 2 * unit(random);
                    const std::string vertex =
                        point(cx + r * std::cos(v * 0.5235987755982988), cy + r * std::sin(v * 0.5235987755982988));
                    if (v == 0) first = vertex;
                    ring += vertex + ", ";
                }
                shapes.push_back("POLYGON ((" + ring + first + "))");
                break;
            }
            case 2: shapes.push_back("LINESTRING (" + point(cx, cy) + ", " + point(cx + 5, cy + 2) + ")"); break;
            default: shapes.push_back("POINT (" + point(std::round(cx), std::round(cy)) + ")");
        }
    }
    return shapes;
}

class Proximity : public ::testing::Test {
protected:
    void SetUp() override {
        model::registerHostClasses();
        testing_support::FixtureLayer layer{"gpkg", "mixed", wkbUnknown, 0, {}, {}};
        for (const std::string& wkt : mixedShapes()) {
            layer.features.push_back({wkt, {}});
            GEOSWKTReader* reader = GEOSWKTReader_create_r(geos::context());
            engine_.emplace_back(GEOSWKTReader_read_r(geos::context(), reader, wkt.c_str()));
            GEOSWKTReader_destroy_r(geos::context(), reader);
            ASSERT_TRUE(engine_.back()) << wkt;
        }
        featureClass_ = model::openFeatureLayer(writeLayer(folder_.pathOf("mixed.gpkg"), layer))->FeatureClass();
        const auto cursor = featureClass_->Search(nullptr, false);
        for (auto feature = cursor->NextFeature(); feature; feature = cursor->NextFeature()) {
            shapes_.push_back(feature->Shape());
            oids_.push_back(feature->OID());
        }
        ASSERT_EQ(shapes_.size(), engine_.size());
    }

    // The geometry engine's distance between the shapes as read from their texts.
    double engineDistance(std::size_t a, std::size_t b) const {
        return geos::distance(engine_[a].get(), engine_[b].get());
    }

    double modelDistance(std::size_t a, std::size_t b) const {
        return shapes_[a].as<IProximityOperator>()->ReturnDistance(shapes_[b]);
    }

    std::vector<std::int32_t> searchWithin(std::size_t a, double width) const {
        const auto filter = com::createInstanceAs<ISpatialFilter>(CLSID_SpatialFilter);
        filter->putref_Geometry(shapes_[a].as<ITopologicalOperator>()->Buffer(width));
        filter->put_SpatialRel(spatialRelation::Intersects);
        std::vector<std::int32_t> found;
        const auto cursor = featureClass_->Search(filter, true);
        for (auto feature = cursor->NextFeature(); feature; feature = cursor->NextFeature()) found.push_back(feature->OID());
        EXPECT_EQ(featureClass_->FeatureCount(filter), static_cast<std::int32_t>(found.size()));
        return found;
    }

    testing_support::TemporaryFolder folder_;
    std::vector<geos::Geometry> engine_;
    com::ComPtr<IFeatureClass> featureClass_;
    std::vector<com::ComPtr<IGeometry>> shapes_;
    std::vector<std::int32_t> oids_;
};

TEST_F(Proximity, FindsTheNeighboursWithinAWidthAsTheEngineMeasuresThem) {
    for (const double width : {0.0, 3.0, 10.0, 17.25}) {
        SCOPED_TRACE(width);
        for (std::size_t a = 0; a < shapes_.size(); ++a) {
            std::vector<std::int32_t> expected;
            for (std::size_t b = 0; b < shapes_.size(); ++b)
                if (b == a || engineDistance(a, b) <= width) expected.push_back(oids_[b]);
            ASSERT_EQ(searchWithin(a, width), expected) << "feature " << a;
            for (std::size_t b = 0; b < shapes_.size(); ++b) {
                if (b != a && engineDistance(a, b) <= width) {
                    ASSERT_EQ(modelDistance(a, b), engineDistance(a, b));
                }
            }
        }
    }
}

TEST_F(Proximity, MeasuresEveryPairInBothDirectionsAsTheEngineDoes) {
    for (std::size_t a = 0; a < shapes_.size(); ++a) {
        for (std::size_t b = 0; b < shapes_.size(); ++b) {
            ASSERT_EQ(modelDistance(a, b), engineDistance(a, b)) << a << " " << b;
        }
    }
}

}  // namespace
