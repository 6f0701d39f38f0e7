#pragma once
// One row added to the lanes of a block of removed nodes, lane by lane: each lane lists
// where its terms replace the row's (a removal never adds a term), then takes the row by
// the binade shortcut at once; the lanes the shortcut refuses are gathered in a table and
// take the row term by term at the end.
#include <cstdint>
#include <vector>

#include "engine/fast/BinadeIncrements.h"
#include "engine/fast/LaneSums.h"
#include "engine/fast/ReplacementTable.h"
#include "engine/fast/TermRow.h"

namespace engine::fast {

class RemovalRow {
public:
    void start(const TermRow& row) {
        row_ = &row;
        refused_ = 0;
        table_.prepare(row.size());
    }
    // Before each lane's replacements: what the lane's sum now is.
    void startLane(const LaneSums& sums, std::int32_t lane) {
        patches_.clear();
        addsNothingBelow_ = addsNothingBelow(sums.sum(lane));
    }
    // The lane's term at node v is termOf(), never more than the row's term there. Where
    // the row holds no term for v, a smaller one changes no sum either; where the row's term
    // adds nothing to the lane's sum, which only grows, neither does a smaller one.
    template <class TermOf>
    void replace(std::int32_t v, TermOf termOf) {
        if (!row_->contains(v)) return;
        const std::int32_t point = row_->rank[static_cast<std::size_t>(v)];
        if (row_->term[static_cast<std::size_t>(point)] < addsNothingBelow_) return;
        patches_.push_back(LanePatch{point, true, v, termOf()});
    }
    void finishLane(LaneSums& sums, std::int32_t lane) {
        if (sums.addRowByIncrements(lane, *row_, patches_)) return;
        for (const LanePatch& patch : patches_) table_.replace(patch.point, lane, patch.term);
        refused_ |= std::uint64_t{1} << lane;
    }
    void finish(LaneSums& sums) {
        if (refused_ != 0) sums.addRowTermByTerm(*row_, refused_, table_);
    }

private:
    const TermRow* row_ = nullptr;
    std::vector<LanePatch> patches_;
    Extended addsNothingBelow_ = 0.0L;
    ReplacementTable table_;
    std::uint64_t refused_ = 0;
};

}  // namespace engine::fast
