#pragma once
// One source's terms of a pair sum (IIC, H or PC), as the overall landscape has them: the
// targets with a term that can change a sum, in ascending node order, and each target's
// rank among them, so that the per-node landscapes can state where their own terms differ.
#include <cstdint>
#include <vector>

#include "engine/fast/ExactArithmetic.h"
#include "engine/fast/BinadeIncrements.h"

namespace engine::fast {

struct TermRow {
    std::vector<std::int32_t> target;  // ascending node indices
    std::vector<Extended> term;        // one per target
    std::vector<double> high;          // each term rounded to double, for the vector kernel
    double total = 0.0;                // a bound on the sum of the terms
    std::vector<std::int32_t> rank;    // n + 1 entries: rank[v] = number of targets below v
    RowIncrements increments;          // for the binades of the sums that take the row

    std::int32_t size() const { return static_cast<std::int32_t>(target.size()); }
    bool contains(std::int32_t v) const {
        return rank[static_cast<std::size_t>(v) + 1] != rank[static_cast<std::size_t>(v)];
    }

    // Starts a row over `n` nodes; targets are then appended in ascending order.
    void reset(std::int32_t n) {
        target.clear();
        term.clear();
        high.clear();
        total = 0.0;
        rank.assign(static_cast<std::size_t>(n) + 1, 0);
    }
    void append(std::int32_t v, Extended value) {
        target.push_back(v);
        term.push_back(value);
        high.push_back(static_cast<double>(value));
        total += static_cast<double>(value);
    }
    // Fills rank once every target is appended.
    void finish() {
        std::int32_t count = 0;
        std::size_t next = 0;
        for (std::size_t v = 0; v + 1 < rank.size(); ++v) {
            rank[v] = count;
            if (next < target.size() && static_cast<std::size_t>(target[next]) == v) {
                ++count;
                ++next;
            }
        }
        rank.back() = count;
        total *= 1.0 + 1e-9;  // above the exact sum whatever the rounding of the additions
    }
};

// Where one per-node landscape's term sequence departs from a row: at node `node`, lane
// `lane` adds `term` instead of the row's term there (replace), or adds it as an extra term
// of its own before the row's next target (a node the row does not hold, or the node
// after all others, such as an added candidate).
struct Patch {
    std::int32_t point;  // the row position it comes at: the rank of `node`
    std::int32_t lane;
    std::int32_t node;
    bool replaces;
    Extended term;
};

// Records patches of the lanes of one block against one row.
class PatchList {
public:
    void clear() { patches_.clear(); }
    // Lane `lane`'s term at `node` (a node index, or n for the node after all) is `term`.
    void set(const TermRow& row, std::int32_t lane, std::int32_t node, Extended term) {
        const bool inRow = node < static_cast<std::int32_t>(row.rank.size()) - 1 && row.contains(node);
        const std::int32_t point = node < static_cast<std::int32_t>(row.rank.size()) - 1
                                       ? row.rank[static_cast<std::size_t>(node)]
                                       : row.size();
        if (!inRow && term == 0.0L) return;  // no term where the row has none either
        patches_.push_back(Patch{point, lane, node, inRow, term});
    }
    std::vector<Patch>& patches() { return patches_; }

private:
    std::vector<Patch> patches_;
};

}  // namespace engine::fast
