// The fast processing path against the reference on many random landscapes: every value
// that an accessor, a view or a file can show must agree to the last bit, and the
// progress texts must be the same, for every connection type and structure, every PC
// mode, with and without candidates, with ties, zeros, isolated nodes and components.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <random>

#include "engine/support/FastPathRuns.h"

namespace {

using engine::ProcessingPath;
using testing_support::Kind;
using testing_support::PathMode;
using testing_support::ProcessedInMemory;
using testing_support::RunInputs;

struct Family {
    const char* name;
    Kind kind;
    bool full;
    PathMode mode;
    bool ties;  // values from small sets, so that paths and distances tie
    int minimumNodes, maximumNodes;
    int maximumCandidates;
    int seeds;
    bool probabilistic = true;  // F, AWF and PC may be selected
};

void PrintTo(const Family& family, std::ostream* out) { *out << family.name; }

struct Place {
    double x, y;
};

float roundedIf(bool ties, double value) { return static_cast<float>(ties ? std::round(value) : value); }

// Nodes in clusters on a plane, some far from all others; pairs within a cutoff are
// connected (all pairs for Full files), with values of the family's type.
RunInputs randomRun(const Family& family, std::mt19937_64& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto pick = [&random](std::initializer_list<float> values) {
        return *(values.begin() + static_cast<std::ptrdiff_t>(random() % values.size()));
    };
    RunInputs in;
    in.kind = family.kind;
    const int n = family.minimumNodes + static_cast<int>(random() % static_cast<unsigned>(family.maximumNodes - family.minimumNodes + 1));
    const int candidates = family.maximumCandidates == 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(family.maximumCandidates + 1));
    in.resize(n, candidates);

    const int clusters = 1 + static_cast<int>(random() % 4);
    std::vector<Place> centres;
    for (int c = 0; c < clusters; ++c) centres.push_back({unit(random) * 100, unit(random) * 100});
    const double spread = 4 + unit(random) * 10;
    std::normal_distribution<double> normal(0.0, 1.0);
    const auto place = [&] {
        if (unit(random) < 0.1) return Place{unit(random) * 400 + 200, unit(random) * 400 + 200};  // far away
        const Place& c = centres[random() % centres.size()];
        return Place{roundedIf(family.ties, c.x + normal(random) * spread), roundedIf(family.ties, c.y + normal(random) * spread)};
    };
    std::vector<Place> nodes(static_cast<std::size_t>(n)), added(static_cast<std::size_t>(candidates));
    for (Place& p : nodes) p = place();
    for (Place& p : added) p = place();
    const double cutoff = family.ties ? std::round(4 + unit(random) * 12) : 4 + unit(random) * 12;

    // The value of a pair at Euclidean distance d, or "no connection".
    const auto value = [&](double d, bool& listed) -> float {
        listed = family.full || d <= cutoff;
        if (!listed) return in.noConnection();
        switch (family.kind) {
            case Kind::Distances:
                return roundedIf(family.ties, d);
            case Kind::Probabilities:
                if (d > 2 * cutoff) return 0.0f;
                if (family.ties) return pick({1.0f, 0.5f, 0.25f, 0.125f, 0.0625f, 0.0f});
                return static_cast<float>(std::exp(-d / cutoff));
            case Kind::Links:
                return d <= cutoff ? 1.0f : 0.0f;
        }
        return 0.0f;
    };
    const auto between = [](const Place& a, const Place& b) { return std::hypot(a.x - b.x, a.y - b.y); };
    bool listed = false;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j) {
            const float v = value(between(nodes[static_cast<std::size_t>(i)], nodes[static_cast<std::size_t>(j)]), listed);
            if (listed) in.connect(i, j, v);
        }
    for (int c = 0; c < candidates; ++c)
        for (int j = 0; j < n; ++j) {
            const float v = value(between(added[static_cast<std::size_t>(c)], nodes[static_cast<std::size_t>(j)]), listed);
            if (listed) in.addedConnections[static_cast<std::size_t>(c)][static_cast<std::size_t>(j)] = v;
        }

    const bool allZero = unit(random) < 0.03;
    std::lognormal_distribution<double> area(1.0, 1.2);
    for (float& a : in.attributes) a = allZero ? 0.0f : family.ties ? pick({0.0f, 1.0f, 2.0f, 3.0f, 8.0f}) : static_cast<float>(area(random));
    for (float& a : in.addedAttributes) a = family.ties ? pick({0.0f, 1.0f, 5.0f}) : static_cast<float>(area(random));

    switch (family.kind) {
        case Kind::Distances:
            in.threshold = roundedIf(family.ties, cutoff * (0.4 + unit(random) * 0.7));
            in.distance = static_cast<float>(cutoff * (0.5 + unit(random)));
            in.probability = unit(random) < 0.05 ? 1.0f : pick({0.5f, 0.1f, 0.05f, 0.3f});
            break;
        case Kind::Probabilities:
            in.threshold = pick({0.5f, 0.25f, 0.1f, 0.0625f, 1.0f});
            break;
        case Kind::Links:
            in.threshold = 1.0f;
            break;
    }
    in.setPathMode(family.mode, pick({0.05f, 0.2f, 0.5f, 0.0625f, 1.0f}));

    // All indices, or a random selection (the Links type has no probabilistic ones).
    const bool all = unit(random) < 0.5;
    for (bool* selected : {&in.doA, &in.doCCP, &in.doLCP, &in.doIIC, &in.doNC, &in.doNL, &in.doH})
        *selected = all || unit(random) < 0.5;
    for (bool* selected : {&in.doF, &in.doAWF, &in.doPC})
        *selected = family.probabilistic && family.kind != Kind::Links && (all || unit(random) < 0.5);

    float total = 0.0f;
    for (float a : in.attributes) total += a;
    const double al = unit(random);
    in.AL = al < 0.7 ? 1.0f : al < 0.9 ? std::ceil(total * 2 + 1) : 0.5f;  // 0.5 becomes 0 as a whole number
    return in;
}

class FastPathMatchesReference : public ::testing::TestWithParam<Family> {};

TEST_P(FastPathMatchesReference, OnEveryValueToTheLastBit) {
    const Family& family = GetParam();
    for (int seed = 0; seed < family.seeds; ++seed) {
        std::mt19937_64 random(0x5eed0000u + static_cast<unsigned>(seed) * 7919u + std::hash<std::string>{}(family.name));
        const RunInputs in = randomRun(family, random);
        SCOPED_TRACE(std::string(family.name) + " seed " + std::to_string(seed) + " n " + std::to_string(in.n()) +
                     " candidates " + std::to_string(in.candidates()));
        const ProcessedInMemory reference(in, ProcessingPath::Reference, 1);
        const ProcessedInMemory fast(in, ProcessingPath::Fast, 3);
        ASSERT_EQ(reference.program->processedOn, ProcessingPath::Reference);
        ASSERT_EQ(fast.program->processedOn, ProcessingPath::Fast);
        testing_support::expectSameResults(fast, reference);
        if (HasFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(
    RandomLandscapes, FastPathMatchesReference,
    ::testing::Values(
        Family{"DistancesPartialAllPaths", Kind::Distances, false, PathMode::AllPaths, false, 1, 45, 3, 40},
        Family{"DistancesPartialAllPathsTies", Kind::Distances, false, PathMode::AllPaths, true, 1, 45, 3, 40},
        Family{"DistancesPartialLinks", Kind::Distances, false, PathMode::Links, true, 1, 45, 3, 25},
        Family{"DistancesPartialPruned", Kind::Distances, false, PathMode::Pruned, false, 1, 45, 3, 25},
        Family{"DistancesPartialPrunedTies", Kind::Distances, false, PathMode::Pruned, true, 1, 45, 3, 25},
        Family{"DistancesFull", Kind::Distances, true, PathMode::AllPaths, false, 1, 30, 2, 20},
        Family{"DistancesFullPrunedTies", Kind::Distances, true, PathMode::Pruned, true, 1, 30, 2, 20},
        Family{"ProbabilitiesPartial", Kind::Probabilities, false, PathMode::AllPaths, false, 1, 45, 3, 25},
        Family{"ProbabilitiesPartialTies", Kind::Probabilities, false, PathMode::Links, true, 1, 45, 3, 30},
        Family{"ProbabilitiesPartialPrunedTies", Kind::Probabilities, false, PathMode::Pruned, true, 1, 45, 3, 30},
        Family{"ProbabilitiesFullTies", Kind::Probabilities, true, PathMode::AllPaths, true, 1, 30, 2, 20},
        Family{"LinksPartial", Kind::Links, false, PathMode::AllPaths, false, 1, 60, 3, 30},
        Family{"LinksFullTies", Kind::Links, true, PathMode::AllPaths, true, 1, 40, 3, 20},
        Family{"LargerWithPC", Kind::Distances, false, PathMode::Links, false, 90, 130, 3, 3},
        Family{"LargerBinary", Kind::Distances, false, PathMode::AllPaths, true, 180, 280, 4, 2, false}),
    [](const ::testing::TestParamInfo<Family>& test) { return std::string(test.param.name); });

}  // namespace
