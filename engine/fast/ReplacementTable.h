#pragma once
// The patches of a block of up to 64 lanes against one row when every patch replaces a
// term of the row (as for removed nodes, whose landscapes never gain a term): a lane mask
// per row position and, per position, a short list of the lanes' own terms. Filling and
// clearing cost only the patches, so nothing needs sorting.
#include <cstdint>
#include <vector>

#include "engine/fast/ExactArithmetic.h"

namespace engine::fast {

class ReplacementTable {
public:
    struct Entry {
        std::int32_t lane;
        std::int32_t position;
        std::int32_t next;  // the next entry at the same position, or -1
        double high;
        Extended term;
    };

    // Makes the table ready for a row of `positions` positions, with no entry.
    void prepare(std::int32_t positions) {
        if (mask_.size() < static_cast<std::size_t>(positions)) {
            mask_.resize(static_cast<std::size_t>(positions), 0);
            head_.resize(static_cast<std::size_t>(positions), -1);
        }
        clear();
    }
    // Lane `lane` takes `term` instead of the row's term at row position `position`.
    void replace(std::int32_t position, std::int32_t lane, Extended term) {
        const std::size_t at = static_cast<std::size_t>(position);
        entries_.push_back(Entry{lane, position, head_[at], static_cast<double>(term), term});
        head_[at] = static_cast<std::int32_t>(entries_.size() - 1);
        mask_[at] |= std::uint64_t{1} << lane;
    }
    const std::uint64_t* masks() const { return mask_.data(); }
    const std::int32_t* heads() const { return head_.data(); }
    const Entry* entries() const { return entries_.data(); }

private:
    void clear() {
        for (const Entry& entry : entries_) {
            mask_[static_cast<std::size_t>(entry.position)] = 0;
            head_[static_cast<std::size_t>(entry.position)] = -1;
        }
        entries_.clear();
    }

    std::vector<std::uint64_t> mask_;
    std::vector<std::int32_t> head_;
    std::vector<Entry> entries_;
};

}  // namespace engine::fast
