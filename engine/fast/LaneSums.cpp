#include "engine/fast/LaneSums.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "engine/fast/LaneKernel.h"

namespace engine::fast {

bool LaneSums::binades(int& lowest, int& highest) const {
    bool any = false;
    for (float s : sum_) {
        if (!(s >= FLT_MIN) || !(s <= FLT_MAX)) continue;
        const int e = std::ilogb(s);
        if (!any || e < lowest) lowest = e;
        if (!any || e > highest) highest = e;
        any = true;
    }
    return any;
}

Extended LaneSums::negligibleForAll() const {
    Extended least = 0.0L;
    bool first = true;
    for (float s : sum_) {
        const Extended bound = negligibleBelow(s);
        if (first || bound < least) least = bound;
        first = false;
    }
    return least;
}

namespace {

std::uint64_t activeLanes(const std::vector<std::uint8_t>& takesRow, std::int32_t lanes) {
    std::uint64_t active = 0;
    for (std::int32_t lane = 0; lane < lanes; ++lane)
        if (takesRow[static_cast<std::size_t>(lane)] != 0) active |= std::uint64_t{1} << lane;
    return active;
}

}  // namespace

bool LaneSums::addRowByIncrements(std::int32_t lane, const TermRow& row, const std::vector<LanePatch>& patches) {
    return fast::addRowByIncrements(sum_[static_cast<std::size_t>(lane)], row, row.increments, patches.data(),
                                    static_cast<std::int32_t>(patches.size()));
}

void LaneSums::addRowTermByTerm(const TermRow& row, std::uint64_t lanes, const ReplacementTable& replacements) {
    addRowWithReplacements(sum_.data(), lanes, row, replacements);
}

void LaneSums::addRow(const TermRow& row, const std::vector<std::uint8_t>& takesRow, std::vector<Patch>& patches) {
    std::uint64_t active = activeLanes(takesRow, lanes());
    if (active == 0) return;
    // Patches come lane by lane, as the lanes are patched in turn.
    first_.assign(static_cast<std::size_t>(lanes()) + 1, 0);
    for (const Patch& patch : patches) ++first_[static_cast<std::size_t>(patch.lane) + 1];
    for (std::size_t lane = 0; lane < static_cast<std::size_t>(lanes()); ++lane) first_[lane + 1] += first_[lane];
    // Each lane by the binade shortcut where it applies; the others term by term below.
    for (std::uint64_t rest = active; rest != 0; rest &= rest - 1) {
        const std::int32_t lane = __builtin_ctzll(rest);
        own_.clear();
        for (std::int32_t p = first_[static_cast<std::size_t>(lane)]; p < first_[static_cast<std::size_t>(lane) + 1]; ++p) {
            const Patch& patch = patches[static_cast<std::size_t>(p)];
            own_.push_back(LanePatch{patch.point, patch.replaces, patch.node, patch.term});
        }
        if (addRowByIncrements(lane, row, own_)) active &= ~(std::uint64_t{1} << lane);
    }
    if (active == 0) return;
    patches.erase(std::remove_if(patches.begin(), patches.end(),
                                 [active](const Patch& patch) { return ((active >> patch.lane) & 1) == 0; }),
                  patches.end());

    // At one point: each lane's extra terms (nodes before the row's target there, in node
    // order), then its replacement of the row's term or else the row's term itself.
    std::sort(patches.begin(), patches.end(), [](const Patch& a, const Patch& b) {
        if (a.point != b.point) return a.point < b.point;
        if (a.lane != b.lane) return a.lane < b.lane;
        if (a.replaces != b.replaces) return !a.replaces;
        return a.node < b.node;
    });
    float* sums = sum_.data();
    const std::int32_t rowSize = row.size();
    std::int32_t position = 0;
    std::size_t next = 0;
    while (next < patches.size()) {
        const std::int32_t point = patches[next].point;
        addTermsToLanes(sums, active, row, position, point);
        std::uint64_t replaced = 0;
        for (; next < patches.size() && patches[next].point == point; ++next) {
            const Patch& patch = patches[next];
            addTo(patch.lane, patch.term);
            if (patch.replaces) replaced |= std::uint64_t{1} << patch.lane;
        }
        if (point < rowSize) {
            addTermsToLanes(sums, active & ~replaced, row, point, point + 1);
            position = point + 1;
        } else {
            position = rowSize;
        }
    }
    addTermsToLanes(sums, active, row, position, rowSize);
}

}  // namespace engine::fast
