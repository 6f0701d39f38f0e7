// The shortcut through a row for a float sum that stays in its binade, against the
// reference's step taken term by term over the lane's own sequence: rows of terms that
// tie (exact halves of the float spacing), terms that land near ties, zeros and tiny
// terms, with replacements and insertions, including tie terms among the patches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <random>
#include <vector>

#include "engine/fast/BinadeIncrements.h"
#include "engine/fast/TermRow.h"

namespace {

using engine::fast::addTerm;
using engine::fast::Extended;
using engine::fast::LanePatch;
using engine::fast::TermRow;

std::uint32_t bitsOf(float f) {
    std::uint32_t b = 0;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

// The lane's terms in order: at each point its insertions by node, then its replacement
// or the row's term.
float stepByStep(float s, const TermRow& row, std::vector<LanePatch> patches) {
    std::sort(patches.begin(), patches.end(), [](const LanePatch& a, const LanePatch& b) {
        if (a.point != b.point) return a.point < b.point;
        if (a.replaces != b.replaces) return !a.replaces;
        return a.node < b.node;
    });
    std::size_t next = 0;
    for (std::int32_t p = 0; p <= row.size(); ++p) {
        bool replaced = false;
        for (; next < patches.size() && patches[next].point == p; ++next) {
            s = addTerm(s, patches[next].term);
            replaced = replaced || patches[next].replaces;
        }
        if (p < row.size() && !replaced) s = addTerm(s, row.term[static_cast<std::size_t>(p)]);
    }
    return s;
}

struct Case {
    const char* name;
    double tieShare;      // terms that are exact multiples of half the spacing
    double patchesPerRow;
    bool insertions;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class BinadeShortcut : public ::testing::TestWithParam<Case> {};

TEST_P(BinadeShortcut, GivesTheSumOfTheStepsWhenItApplies) {
    const Case& c = GetParam();
    std::mt19937_64 random(std::hash<std::string>{}(c.name));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int applied = 0;
    const int trials = 3000;
    for (int trial = 0; trial < trials; ++trial) {
        // A sum in some binade, and terms measured in its spacing u.
        const int binade = static_cast<int>(random() % 60) - 20;
        const float s = static_cast<float>(std::ldexp(1.0 + unit(random) * 0.5, binade));
        const Extended u = std::ldexp(1.0L, binade - 23);
        const auto term = [&]() -> Extended {
            const double pick = unit(random);
            if (pick < c.tieShare) return u * (0.5L * static_cast<Extended>(random() % 7));  // ties and whole spacings
            if (pick < c.tieShare + 0.1) return 0.0L;
            if (pick < c.tieShare + 0.2) return u * 0x1p-30L * static_cast<Extended>(unit(random));  // negligible
            // near a tie, on either side, by less than double would see
            return u * (0.5L + static_cast<Extended>(random() % 5)) * (1.0L + (unit(random) - 0.5) * 0x1p-40L);
        };
        TermRow row;
        const std::int32_t size = 1 + static_cast<std::int32_t>(random() % 40);
        row.reset(size);
        for (std::int32_t p = 0; p < size; ++p) row.append(p, term());
        row.finish();
        row.increments.build(row, binade - 1, 3);
        std::vector<LanePatch> patches;
        const int count = static_cast<int>(unit(random) * c.patchesPerRow * 2);
        std::vector<std::int32_t> replacedPoints;
        for (int k = 0; k < count; ++k) {
            const bool insertion = c.insertions && unit(random) < 0.5;
            const std::int32_t point = static_cast<std::int32_t>(random() % static_cast<unsigned>(size + (insertion ? 1 : 0)));
            if (!insertion) {
                if (std::find(replacedPoints.begin(), replacedPoints.end(), point) != replacedPoints.end()) continue;
                replacedPoints.push_back(point);
            }
            patches.push_back(LanePatch{point, !insertion, 2 * point + (insertion ? 0 : 1) + 100 * k, term()});
        }
        const float expected = stepByStep(s, row, patches);
        float shortcut = s;
        std::vector<LanePatch> working = patches;
        if (engine::fast::addRowByIncrements(shortcut, row, row.increments, working.data(),
                                             static_cast<std::int32_t>(working.size()))) {
            ++applied;
            ASSERT_EQ(bitsOf(shortcut), bitsOf(expected)) << "trial " << trial << ": " << shortcut << " vs " << expected;
        } else {
            ASSERT_EQ(bitsOf(shortcut), bitsOf(s)) << "a refused shortcut leaves the sum";
        }
    }
    EXPECT_GT(applied, trials / 2) << "the shortcut should apply to most rows";
}

INSTANTIATE_TEST_SUITE_P(Rows, BinadeShortcut,
                         ::testing::Values(Case{"NoTies", 0.0, 2, false}, Case{"SharedTies", 0.4, 0, false},
                                           Case{"TiesAndReplacements", 0.4, 3, false},
                                           Case{"TiesReplacementsAndInsertions", 0.5, 4, true},
                                           Case{"FewTiesManyPatches", 0.1, 8, true}),
                         [](const ::testing::TestParamInfo<Case>& test) { return std::string(test.param.name); });

TEST(BinadeShortcut, RefusesASumThatWouldLeaveItsBinade) {
    TermRow row;
    row.reset(3);
    for (std::int32_t p = 0; p < 3; ++p) row.append(p, 0.3L);
    row.finish();
    row.increments.build(row, -1, 3);
    float s = 1.5f;  // 1.5 + 0.9 leaves [1, 2)
    EXPECT_FALSE(engine::fast::addRowByIncrements(s, row, row.increments, nullptr, 0));
    EXPECT_EQ(s, 1.5f);
    float inside = 1.0f;  // 1.9 stays, far from 2
    std::vector<LanePatch> none;
    row.term = {0.3L, 0.3L, 0.0L};
    row.increments.build(row, -1, 3);
    EXPECT_TRUE(engine::fast::addRowByIncrements(inside, row, row.increments, none.data(), 0));
    EXPECT_EQ(bitsOf(inside), bitsOf(addTerm(addTerm(addTerm(1.0f, 0.3L), 0.3L), 0.0L)));
}

}  // namespace
