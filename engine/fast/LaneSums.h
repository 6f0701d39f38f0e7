#pragma once
// The float sums of a block of per-node landscapes ("lanes") for one pair-sum index,
// advanced together one source row at a time. Every lane adds the row's terms in target
// order, except where its patches say otherwise, so each lane's sum sees exactly the term
// sequence of its own landscape, in its order, with a rounding after every addition.
#include <cstdint>
#include <vector>

#include "engine/fast/BinadeIncrements.h"
#include "engine/fast/ReplacementTable.h"
#include "engine/fast/TermRow.h"

namespace engine::fast {

// At most 64 lanes, one bit each in the masks of the kernel.
class LaneSums {
public:
    static constexpr std::int32_t maximumLanes = 64;
    explicit LaneSums(std::int32_t lanes) : sum_(static_cast<std::size_t>(lanes), 0.0f) {}

    std::int32_t lanes() const { return static_cast<std::int32_t>(sum_.size()); }
    float sum(std::int32_t lane) const { return sum_[static_cast<std::size_t>(lane)]; }

    // Adds one row to every lane whose `takesRow` entry is non-zero. `patches` (lanes that
    // take the row only) are sorted here.
    void addRow(const TermRow& row, const std::vector<std::uint8_t>& takesRow, std::vector<Patch>& patches);
    // Adds one row to one lane, with the lane's patches, by the binade shortcut; false, with
    // nothing added, when the shortcut does not apply.
    bool addRowByIncrements(std::int32_t lane, const TermRow& row, const std::vector<LanePatch>& patches);
    // Adds one row term by term to the lanes of the mask, each taking its replacements from
    // the table.
    void addRowTermByTerm(const TermRow& row, std::uint64_t lanes, const ReplacementTable& replacements);

    // Adds one term to one lane.
    void addTo(std::int32_t lane, Extended term) {
        sum_[static_cast<std::size_t>(lane)] = addTerm(sum_[static_cast<std::size_t>(lane)], term);
    }

    // The smallest of the lanes' negligible-term bounds (see negligibleBelow): a term below
    // it leaves every lane's sum unchanged.
    Extended negligibleForAll() const;

    // The binades of the lanes' sums: the lowest and the highest (none when no sum is a
    // normal float yet).
    bool binades(int& lowest, int& highest) const;

private:
    std::vector<float> sum_;
    std::vector<std::int32_t> first_;
    std::vector<LanePatch> own_;
};

}  // namespace engine::fast
