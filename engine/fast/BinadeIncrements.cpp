#include "engine/fast/BinadeIncrements.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "engine/fast/TermRow.h"

namespace engine::fast {

const BinadeScale& binadeScale(int binade) {
    static const std::vector<BinadeScale> scales = [] {
        std::vector<BinadeScale> all;
        for (int e = -126; e <= 127; ++e)
            all.push_back(BinadeScale{std::ldexp(1.0L, e), std::ldexp(1.0L, 23 - e), std::ldexp(1.0, e - 23),
                                      std::ldexp(1.0, 23 - e), std::ldexp(1.0L, e - 24) - std::ldexp(1.0L, e - 63)});
        return all;
    }();
    return scales[static_cast<std::size_t>(binade + 126)];
}

Extended addsNothingBelow(float s) {
    if (!(s >= FLT_MIN) || !(s <= FLT_MAX)) return 0.0L;
    std::uint32_t bits = 0;
    std::memcpy(&bits, &s, sizeof bits);
    return binadeScale(static_cast<int>(bits >> 23) - 127).addsNothingBelow;
}

Increment exactIncrementIn(const BinadeScale& scale, Extended x) {
    const Extended onGrid = (scale.base + x) - scale.base;  // rne(x, 2^(binade-63)), exact
    const Extended units = onGrid * scale.toUnits;           // a power of two: exact, below 2^23
    const std::int64_t lower = static_cast<std::int64_t>(units);  // truncation: the floor
    const Extended fraction = units - static_cast<Extended>(lower);
    if (fraction > 0.5L) return {lower + 1, false};
    if (fraction < 0.5L) return {lower, false};
    return {lower, true};
}

void RowIncrements::build(const TermRow& row, int lowestBinade, int binades) {
    lowest_ = lowestBinade;
    count_ = binades;
    if (binades_.size() < static_cast<std::size_t>(binades)) binades_.resize(static_cast<std::size_t>(binades));
    const std::int32_t size = row.size();
    for (int b = 0; b < binades; ++b) {
        Binade& out = binades_[static_cast<std::size_t>(b)];
        out.prefix.resize(static_cast<std::size_t>(size) + 1);
        out.tie.clear();
        out.tieValue.clear();
        out.tiesBelow.resize(static_cast<std::size_t>(size) + 1);
        std::int64_t sum = 0;
        const BinadeScale& scale = binadeScale(std::clamp(lowestBinade + b, -126, 127));
        for (std::int32_t p = 0; p < size; ++p) {
            out.prefix[static_cast<std::size_t>(p)] = sum;
            out.tiesBelow[static_cast<std::size_t>(p)] = static_cast<std::int32_t>(out.tie.size());
            const Increment step = incrementIn(scale, row.term[static_cast<std::size_t>(p)]);
            if (step.tie) {
                out.tie.push_back(p);
                out.tieValue.push_back(step.value);
            } else {
                sum += step.value;
            }
        }
        out.prefix[static_cast<std::size_t>(size)] = sum;
        out.tiesBelow[static_cast<std::size_t>(size)] = static_cast<std::int32_t>(out.tie.size());
        // After a tie the sum in units is even; the next tie's choice then follows from the
        // increments between the two alone.
        out.tieTotal.resize(out.tie.size() + 1);
        out.tieTotal[0] = 0;
        for (std::size_t j = 0; j < out.tie.size(); ++j) {
            std::int64_t extra = 0;
            if (j > 0) {
                const std::int64_t between = out.prefix[static_cast<std::size_t>(out.tie[j])] -
                                             out.prefix[static_cast<std::size_t>(out.tie[j - 1])];
                extra = (between + out.tieValue[j]) & 1;
            }
            out.tieTotal[j + 1] = out.tieTotal[j] + out.tieValue[j] + extra;
        }
    }
}

namespace {

// The float's binade and the parity of s/u, for a normal float.
void binadeOf(float s, int& binade, std::int64_t& parity) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &s, sizeof bits);
    binade = static_cast<int>(bits >> 23) - 127;
    parity = bits & 1;
}

// The increment of a term at a tie: the choice that makes the sum in units even.
std::int64_t resolve(const Increment& step, std::int64_t parity, std::int64_t unitsSoFar) {
    if (!step.tie) return step.value;
    return step.value + ((parity + unitsSoFar + step.value) & 1);
}

// A patch's increment and its place in the lane's sequence: by point, insertions before
// the term at their point, insertions by node.
struct Step {
    std::uint64_t order;
    std::int32_t point;
    bool replaces;
    Increment increment;
};
thread_local std::vector<Step> steps;

std::uint64_t sequenceOrder(const LanePatch& patch) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(patch.point)) << 33) |
           (patch.replaces ? std::uint64_t{1} << 32 : 0) | static_cast<std::uint32_t>(patch.node);
}

// The lane's units over the row in sequence order (`parity`: s/u's). Between two patches the
// lane's terms are the row's: their non-tie increments come from the prefix sums, the
// first tie there is resolved with the parity of the sum so far, and every later tie there
// makes the choice the row's own sequence made, since the sum was even after the tie
// before it in both and the increments between the two are the same.
std::int64_t walk(const RowIncrements::Binade& b, std::int32_t size, std::int64_t parity, std::vector<Step>& lane) {
    std::sort(lane.begin(), lane.end(), [](const Step& x, const Step& y) { return x.order < y.order; });
    std::int64_t units = 0;
    std::int32_t position = 0;  // shared positions below it are done
    const auto advanceTo = [&](std::int32_t end) {
        if (end <= position) return;
        const std::size_t next = static_cast<std::size_t>(b.tiesBelow[static_cast<std::size_t>(position)]);
        const std::size_t stop = static_cast<std::size_t>(b.tiesBelow[static_cast<std::size_t>(end)]);
        if (next < stop) {
            const std::int32_t firstTie = b.tie[next];
            units += b.prefix[static_cast<std::size_t>(firstTie)] - b.prefix[static_cast<std::size_t>(position)];
            units += resolve({b.tieValue[next], true}, parity, units);
            units += b.tieTotal[stop] - b.tieTotal[next + 1];
            units += b.prefix[static_cast<std::size_t>(end)] - b.prefix[static_cast<std::size_t>(firstTie)];
        } else {
            units += b.prefix[static_cast<std::size_t>(end)] - b.prefix[static_cast<std::size_t>(position)];
        }
        position = end;
    };
    for (const Step& step : lane) {
        advanceTo(step.point);
        units += resolve(step.increment, parity, units);
        if (step.replaces) position = std::max(position, step.point + 1);  // the shared term there is not added
    }
    advanceTo(size);
    return units;
}

}  // namespace

bool addRowByIncrements(float& s, const TermRow& row, const RowIncrements& increments, const LanePatch* patches,
                        std::int32_t count) {
    if (!(s >= FLT_MIN) || !(s <= FLT_MAX)) return false;
    int e = 0;
    std::int64_t parity = 0;
    binadeOf(s, e, parity);
    if (!increments.covers(e)) return false;
    const RowIncrements::Binade& b = increments.binade(e);
    const std::int32_t size = row.size();

    // Without ties the order of the lane's terms does not matter. A patch that adds no
    // unit and is no tie, where the row's term added none and was no tie either, changes
    // neither the units nor their parity anywhere: it is left out.
    bool orderMatters = !b.tie.empty();
    const BinadeScale& scale = binadeScale(e);
    std::vector<Step>& lane = steps;
    lane.clear();
    for (std::int32_t i = 0; i < count; ++i) {
        const LanePatch& patch = patches[i];
        const Increment increment = incrementIn(scale, patch.term);
        if (increment.tie) orderMatters = true;
        else if (increment.value == 0 && (!patch.replaces || (b.at(patch.point) == 0 && !b.isTie(patch.point))))
            continue;
        lane.push_back(Step{sequenceOrder(patch), patch.point, patch.replaces, increment});
    }
    std::int64_t units = 0;
    if (orderMatters) {
        units = walk(b, size, parity, lane);
    } else {
        units = b.prefix[static_cast<std::size_t>(size)];
        for (const Step& step : lane) {
            units += step.increment.value;
            if (step.replaces) units -= b.at(step.point);
        }
    }

    if (units < 0 || units > (std::int64_t{1} << 24)) return false;
    const double u = scale.spacing;
    const double result = static_cast<double>(s) + static_cast<double>(units) * u;
    if (!(result <= static_cast<double>(2 * scale.base) - 2 * u)) return false;
    s = static_cast<float>(result);
    return true;
}

}  // namespace engine::fast
