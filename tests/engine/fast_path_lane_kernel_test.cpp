// The vector kernel of the per-node sums against the reference's step, lane by lane:
// random rows of terms and sums, rows built so that sum + term falls on a float rounding
// midpoint or within a few units of a double of it (where the kernel must take the exact
// step), and the bound below which a term leaves a float sum unchanged.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <random>
#include <vector>

#include "engine/fast/ExactArithmetic.h"
#include "engine/fast/LaneKernel.h"

namespace {

using engine::fast::addTerm;
using engine::fast::Extended;
using engine::fast::TermRow;

std::uint32_t bitsOf(float f) {
    std::uint32_t b = 0;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

TermRow rowOf(const std::vector<Extended>& terms) {
    TermRow row;
    row.reset(static_cast<std::int32_t>(terms.size()));
    for (std::size_t p = 0; p < terms.size(); ++p) row.append(static_cast<std::int32_t>(p), terms[p]);
    row.finish();
    return row;
}

// Every lane of `sums` through `row` with the kernel and with the reference's step.
void expectKernelMatchesStep(const std::vector<float>& sums, const TermRow& row) {
    std::vector<float> kernel = sums, exact = sums;
    std::uint64_t lanes = 0;
    for (std::size_t lane = 0; lane < sums.size(); ++lane) lanes |= std::uint64_t{1} << lane;
    engine::fast::addTermsToLanes(kernel.data(), lanes, row, 0, row.size());
    for (float& s : exact)
        for (const Extended term : row.term) s = addTerm(s, term);
    for (std::size_t lane = 0; lane < sums.size(); ++lane)
        EXPECT_EQ(bitsOf(kernel[lane]), bitsOf(exact[lane])) << "lane " << lane << ": " << kernel[lane] << " vs " << exact[lane];
}

struct Case {
    const char* name;
    double smallestTerm, largestTerm;  // terms drawn log-uniformly between
    float smallestSum, largestSum;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class LaneKernel : public ::testing::TestWithParam<Case> {};

TEST_P(LaneKernel, GivesTheReferenceStepOnRandomRows) {
    const Case& c = GetParam();
    std::mt19937_64 random(std::hash<std::string>{}(c.name));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 40; ++trial) {
        std::vector<Extended> terms(200);
        for (Extended& t : terms) {
            const double log = std::log(c.smallestTerm) + unit(random) * (std::log(c.largestTerm) - std::log(c.smallestTerm));
            // A long double with bits below double precision, as the index terms have.
            t = static_cast<Extended>(std::exp(log)) * (1.0L + static_cast<Extended>(unit(random)) * 0x1p-55L);
        }
        std::vector<float> sums(64);
        for (float& s : sums) s = static_cast<float>(c.smallestSum + unit(random) * (c.largestSum - c.smallestSum));
        expectKernelMatchesStep(sums, rowOf(terms));
        if (HasFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LaneKernel,
    ::testing::Values(Case{"TermsNearTheSum", 0.1, 10.0, 1.0f, 10.0f},
                      Case{"SmallTermsOnLargeSums", 1e-6, 1e-2, 1e3f, 1e6f},
                      Case{"TermsAroundHalfAnUlp", 1e-8, 1e-6, 4.0f, 16.0f},
                      Case{"LargeTermsOnSmallSums", 1.0, 1e6, 1e-3f, 1.0f},
                      Case{"SumsBelowTheNormalRange", 1e-45, 1e-40, 0.0f, 1e-39f}),
    [](const ::testing::TestParamInfo<Case>& test) { return std::string(test.param.name); });

// Sums and terms whose exact sum is a float midpoint, or a few units of a double away
// from one, on either side and next to floats of either parity: the cases the kernel
// cannot decide in double.
TEST(LaneKernel, TakesTheExactStepNearAFloatMidpoint) {
    for (const float s : {1.0f, 3.0f, 1000.25f, 12345.678f}) {
        const Extended ulp = std::ldexp(1.0L, std::ilogb(s) - 23);
        for (const Extended whole : {0.0L, 1.0L, 2.0L, 3.0L}) {
            // Offsets that long double keeps in sum + term and double loses.
            for (const Extended offset : {0.0L, 0x1p-35L, -0x1p-35L, 0x1p-38L, -0x1p-38L, 0x1p-31L, -0x1p-31L}) {
                // The crafted term first, then terms that add nothing, so the row is long
                // enough for the vector kernel.
                const Extended term = ulp * (whole + 0.5L * (1.0L + offset));
                expectKernelMatchesStep(std::vector<float>(64, s), rowOf({term, 0.0L, 0.0L, 0.0L, 0.0L}));
            }
        }
    }
}

TEST(NegligibleBelow, TermsUnderTheBoundLeaveTheSumAndTheBoundIsTight) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<float> sums(1e-30f, 1e30f);
    for (int trial = 0; trial < 2000; ++trial) {
        const float s = trial == 0 ? 1.0f : trial == 1 ? 0x1p-140f : sums(random);  // powers of 2 and denormals too
        const Extended bound = engine::fast::negligibleBelow(s);
        ASSERT_GT(bound, 0.0L);
        EXPECT_EQ(bitsOf(addTerm(s, bound * (1 - 0x1p-60L))), bitsOf(s)) << s;
        // Four times the bound is a whole spacing: the sum moves.
        EXPECT_NE(bitsOf(addTerm(s, bound * 4)), bitsOf(s)) << s;
    }
    EXPECT_EQ(engine::fast::negligibleBelow(0.0f), 0.0L);
    EXPECT_EQ(engine::fast::negligibleBelow(INFINITY), 0.0L);
}

}  // namespace
