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
            all.push_back(BinadeScale{std::ldexp(1.0L, e), std::ldexp(1.0L, 23 - e), std::ldexp(1.0, e - 23)});
        return all;
    }();
    return scales[static_cast<std::size_t>(binade + 126)];
}

Increment incrementIn(const BinadeScale& scale, Extended x) {
    if (!(x > 0.0L)) return {};
    if (x >= scale.base) return {leavesBinade, false};
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
        out.afterTie.clear();
        out.tieValues = 0;
        out.laterExtras = 0;
        std::int64_t sum = 0;
        const BinadeScale& scale = binadeScale(std::clamp(lowestBinade + b, -126, 127));
        for (std::int32_t p = 0; p < size; ++p) {
            out.prefix[static_cast<std::size_t>(p)] = sum;
            const Increment step = incrementIn(scale, row.term[static_cast<std::size_t>(p)]);
            if (step.tie) {
                out.tie.push_back(p);
                out.tieValue.push_back(step.value);
                out.tieValues += step.value;
            } else {
                sum += step.value;
            }
        }
        out.prefix[static_cast<std::size_t>(size)] = sum;
        // After a tie the sum in units is even; the next tie's choice then follows from the
        // increments between the two alone.
        out.afterTie.assign(out.tie.size(), 0);
        for (std::size_t j = 1; j < out.tie.size(); ++j) {
            const std::int64_t between = out.prefix[static_cast<std::size_t>(out.tie[j])] -
                                         out.prefix[static_cast<std::size_t>(out.tie[j - 1])];
            out.afterTie[j] = static_cast<std::uint8_t>((between + out.tieValue[j]) & 1);
            out.laterExtras += out.afterTie[j];
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

// The lane's units over the row in sequence order: shared non-ties by prefix sums, shared
// ties and patch terms one at a time with the parity of the sum so far (`parity`: s/u's).
std::int64_t walk(const RowIncrements::Binade& b, std::int32_t size, std::int64_t parity, LanePatch* patches,
                  std::int32_t count) {
    std::sort(patches, patches + count, [](const LanePatch& x, const LanePatch& y) {
        if (x.point != y.point) return x.point < y.point;
        if (x.replaces != y.replaces) return !x.replaces;  // insertions come before the term at their point
        return x.node < y.node;
    });
    std::int64_t units = 0;
    std::int32_t position = 0;  // shared positions below it are done
    std::size_t next = 0;       // the first shared tie not yet passed
    const auto advanceTo = [&](std::int32_t end) {
        for (; next < b.tie.size() && b.tie[next] < end; ++next) {
            const std::int32_t t = b.tie[next];
            if (t < position) continue;  // replaced by the lane
            units += b.prefix[static_cast<std::size_t>(t)] - b.prefix[static_cast<std::size_t>(position)];
            units += resolve({b.tieValue[next], true}, parity, units);
            position = t + 1;
        }
        if (end > position) {
            units += b.prefix[static_cast<std::size_t>(end)] - b.prefix[static_cast<std::size_t>(position)];
            position = end;
        }
    };
    for (std::int32_t i = 0; i < count; ++i) {
        const LanePatch& patch = patches[i];
        advanceTo(patch.point);
        units += resolve(patch.step, parity, units);
        if (patch.replaces) position = patch.point + 1;  // the shared term there is not added
    }
    advanceTo(size);
    return units;
}

// The stretch of a patch: the number of shared ties before it in the lane's sequence.
std::size_t stretchOf(const RowIncrements::Binade& b, std::int32_t point) {
    return static_cast<std::size_t>(std::lower_bound(b.tie.begin(), b.tie.end(), point) - b.tie.begin());
}

}  // namespace

bool addRowByIncrements(float& s, const TermRow& row, const RowIncrements& increments, LanePatch* patches,
                        std::int32_t count) {
    if (!(s >= FLT_MIN) || !(s <= FLT_MAX)) return false;
    int e = 0;
    std::int64_t parity = 0;
    binadeOf(s, e, parity);
    if (!increments.covers(e)) return false;
    const RowIncrements::Binade& b = increments.binade(e);
    const std::int32_t size = row.size();

    // The order of the lane's terms matters only through ties: when a patch term is a tie
    // or replaces one, the lane walks the row.
    bool orderMatters = false;
    const BinadeScale& scale = binadeScale(e);
    for (std::int32_t i = 0; i < count; ++i) {
        patches[i].step = incrementIn(scale, patches[i].term);
        if (patches[i].step.tie) orderMatters = true;
        if (patches[i].replaces && !b.tie.empty() && std::binary_search(b.tie.begin(), b.tie.end(), patches[i].point))
            orderMatters = true;
    }
    std::int64_t units = 0;
    if (orderMatters) {
        units = walk(b, size, parity, patches, count);
    } else if (b.tie.empty()) {
        // No ties: the order of the lane's terms does not matter.
        units = b.prefix[static_cast<std::size_t>(size)];
        for (std::int32_t i = 0; i < count; ++i) {
            units += patches[i].step.value;
            if (patches[i].replaces)
                units -= b.prefix[static_cast<std::size_t>(patches[i].point) + 1] - b.prefix[static_cast<std::size_t>(patches[i].point)];
        }
    } else {
        // Every shared increment, changed by the patches; then the ties. After a tie the
        // sum in units is even, so tie j's choice follows from the stretch since tie j-1,
        // and only the stretches holding patches differ from the row's own choices.
        units = b.prefix[static_cast<std::size_t>(size)];
        std::sort(patches, patches + count, [](const LanePatch& x, const LanePatch& y) { return x.point < y.point; });
        std::int64_t firstStretch = 0;
        std::int64_t extrasChange = 0;
        for (std::int32_t i = 0; i < count;) {
            const std::size_t stretch = stretchOf(b, patches[i].point);
            std::int64_t change = 0;
            for (; i < count && stretchOf(b, patches[i].point) == stretch; ++i) {
                const LanePatch& patch = patches[i];
                change += patch.step.value;
                if (patch.replaces)
                    change -= b.prefix[static_cast<std::size_t>(patch.point) + 1] - b.prefix[static_cast<std::size_t>(patch.point)];
            }
            units += change;
            if (stretch == 0) {
                firstStretch = change;
            } else if (stretch < b.tie.size()) {
                const std::int64_t between =
                    b.prefix[static_cast<std::size_t>(b.tie[stretch])] - b.prefix[static_cast<std::size_t>(b.tie[stretch - 1])];
                extrasChange += ((between + change + b.tieValue[stretch]) & 1) - b.afterTie[stretch];
            }
        }
        if (!b.tie.empty()) {
            const std::int64_t before = b.prefix[static_cast<std::size_t>(b.tie[0])] + firstStretch;
            units += b.tieValues + ((parity + before + b.tieValue[0]) & 1) + b.laterExtras + extrasChange;
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
