// Distances measured ahead on all cores: the neighbours within a width of every feature
// and whole rows of distances give what the geometry engine gives for each pair, in
// both directions, on a layer of mixed shapes large enough to be shared among threads,
// whatever the size of the blocks of rows and the order the rows are asked in; and what
// does not fit in the memory left fails with "Out of memory" before it is allocated.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <random>

#include "LayerFixtures.h"
#include "com/Creation.h"
#include "gishost/model/AnalysisPeakMemory.h"
#include "gishost/model/Geos.h"
#include "gishost/model/HostModel.h"
#include "gishost/model/Layers.h"
#include "gishost/model/ParallelWork.h"
#include "gishost/model/Proximity.h"
#include "support/TestFiles.h"
#include "sysutils/AvailableMemory.h"

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
        SetUpShapes();
    }

    // The shapes of featureClass_, whose distances nothing has measured yet when it was
    // just opened.
    void SetUpShapes() {
        shapes_.clear();
        oids_.clear();
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
    const std::size_t n = shapes_.size();
    std::vector<double> expected(n * n);
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = 0; b < n; ++b) expected[a * n + b] = engineDistance(a, b);
    // Blocks of all rows at once, of one row, and of a few rows; rows asked in order,
    // backwards (every block measured anew), and from both ends in turn.
    enum Order { Forwards, Backwards, FromBothEnds };
    const struct {
        std::size_t distancesPerBlock;
        Order order;
    } cases[] = {{std::size_t{1} << 20, Forwards}, {1, Backwards}, {3 * n + 5, Forwards}, {3 * n + 5, FromBothEnds}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.distancesPerBlock) + " distances per block, order " + std::to_string(c.order));
        const model::ScopedDistancesPerBlock blocks(c.distancesPerBlock);
        featureClass_ = model::openFeatureLayer(folder_.pathOf("mixed.gpkg"))->FeatureClass();
        SetUpShapes();
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t a = c.order == Forwards ? k : c.order == Backwards ? n - 1 - k : k % 2 ? n - 1 - k / 2 : k / 2;
            for (std::size_t b = 0; b < n; ++b) ASSERT_EQ(modelDistance(a, b), expected[a * n + b]) << a << " " << b;
        }
    }
}

// What measuring ahead allocates is compared with the memory left first: too little
// raises the run-time's "Out of memory"; the memory for two blocks of rows is enough
// for every pair. The neighbours within a width, found before an analysis writes
// anything, also need what the analysis takes after them.
TEST_F(Proximity, FailsWithOutOfMemoryBeforeAllocatingWhatDoesNotFit) {
    const std::size_t n = shapes_.size();
    const std::size_t blockBytes = 8 * n * sizeof(double);
    const std::uint64_t aside = model::memoryBesideMeasuring(n, model::parallelThreads());
    const model::ScopedDistancesPerBlock blocks(8 * n);
    const struct {
        const char* question;
        std::function<void()> ask;
        std::uint64_t tooLittle;
    } questions[] = {{"a distance", [&] { modelDistance(0, 1); }, 1000},
                     {"the neighbours within a width", [&] { searchWithin(0, 17.25); }, aside}};
    for (const auto& question : questions) {
        SCOPED_TRACE(question.question);
        {
            const sysutils::ScopedAvailableMemory available(question.tooLittle);
            try {
                question.ask();
                ADD_FAILURE() << "no error";
            } catch (const com::Error& error) {
                EXPECT_EQ(error.Number, com::errors::OutOfMemory);
                EXPECT_EQ(error.Description, "Out of memory");
            }
        }
        const sysutils::ScopedAvailableMemory enough(aside + (std::size_t{1} << 20));
        EXPECT_NO_THROW(question.ask());
    }
    // Every pair measured with the memory for two blocks, far less than all rows take.
    const sysutils::ScopedAvailableMemory available(2 * blockBytes);
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = 0; b < n; ++b) ASSERT_EQ(modelDistance(a, b), engineDistance(a, b)) << a << " " << b;
}

}  // namespace
