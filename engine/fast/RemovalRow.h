#pragma once
// One row added to the lanes of a block of removed nodes, lane by lane: each lane lists
// where its terms replace the row's (a removal never adds a term), then takes the row by
// the binade shortcut at once; the lanes the shortcut refuses are gathered in a table and
// take the row term by term at the end.
#include <cstdint>
#include <vector>

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
    void startLane() { patches_.clear(); }
    // The lane's term at node v is `term` (v is in the landscape's sequence; where the row
    // holds no term for v, a smaller one changes no sum either).
    void replace(std::int32_t v, Extended term) {
        if (row_->contains(v)) patches_.push_back(LanePatch{row_->rank[static_cast<std::size_t>(v)], true, v, term});
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
    ReplacementTable table_;
    std::uint64_t refused_ = 0;
};

}  // namespace engine::fast
