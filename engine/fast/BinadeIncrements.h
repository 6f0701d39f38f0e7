#pragma once
// A shortcut through a row for a float sum that stays within one binade. For a float s in
// [2^e, 2^(e+1)) and a term x >= 0 with s + x below 2^(e+1):
//
//   long double holds [2^e, 2^(e+1)) on the grid g = 2^(e-63), of which s is an even
//   multiple, so fl80(s + x) = s + rne(x, g); float holds it on u = 2^(e-23), of which s is
//   a multiple, so fl32(s + x') = s + u * rne(x' / u), where an exact tie goes to the even
//   one of s/u + m and s/u + m + 1.
//
// So the step adds u times an integer that depends on x and e alone, except at ties,
// where it depends on the parity of s/u. A row adds u times the sum of its integers as
// long as every partial sum stays in the binade; a final sum at most 2^(e+1) - 2u proves
// that (a step that left the binade would have brought the sum within u/2 + g of 2^(e+1)).
#include <cstdint>
#include <vector>

#include "engine/fast/ExactArithmetic.h"

namespace engine::fast {

struct TermRow;

// The integer a term adds in binade e, and whether it is a tie (then `value` is the lower
// of its two choices). Terms of 2^e or more cannot stay in the binade: they count as
// `leavesBinade`, more than any row may add.
struct Increment {
    std::int64_t value = 0;
    bool tie = false;
};
inline constexpr std::int64_t leavesBinade = std::int64_t{1} << 30;

// Binade e's scales, 2^e, 2^(23-e) and the spacing 2^(e-23), for incrementIn.
struct BinadeScale {
    Extended base;
    Extended toUnits;
    double spacing;
    double toUnitsInDouble;
    // Terms below it add nothing to a sum in this binade or above, and are no tie there:
    // half the spacing less the long double grid's spacing.
    Extended addsNothingBelow;
};
// For every binade of a normal float, -126 .. 127.
const BinadeScale& binadeScale(int binade);

// The bound below which a term adds nothing to the sum `s` or to any larger sum, and is no
// tie there (0 when `s` is not a normal float).
Extended addsNothingBelow(float s);
// The exact increment of 0 < x < 2^binade, in long double.
Increment exactIncrementIn(const BinadeScale& scale, Extended x);
inline Increment incrementIn(const BinadeScale& scale, Extended x) {
    if (!(x > 0.0L)) return {};
    if (x >= scale.base) return {leavesBinade, false};
    // First in double: x / u is below 2^23, so the double quotient is within 2^-30 of it,
    // and the long double grid moves it by at most 2^-41. Only a fraction that close to a
    // half can round either way: those take the exact steps.
    const double approximate = static_cast<double>(x) * scale.toUnitsInDouble;
    const std::int64_t whole = static_cast<std::int64_t>(approximate);  // not negative: the floor
    const double part = approximate - static_cast<double>(whole);
    const bool above = part > 0.5 + 0x1p-28;
    const bool below = part < 0.5 - 0x1p-28;
    if (above || below) return {whole + static_cast<std::int64_t>(above), false};
    return exactIncrementIn(scale, x);
}

// A row's increments in each of a few consecutive binades: prefix sums over the positions
// that are not ties, and the ties with their lower choices.
class RowIncrements {
public:
    void build(const TermRow& row, int lowestBinade, int binades);
    bool covers(int binade) const { return binade >= lowest_ && binade < lowest_ + count_; }

    struct Binade {
        std::vector<std::int64_t> prefix;     // prefix[p]: the non-tie increments at positions below p
        std::vector<std::int32_t> tie;        // positions of ties, ascending
        std::vector<std::int64_t> tieValue;   // their lower choices
        // tieTotal[j]: the units the ties below j add in the row's own sequence, each tie after
        // the first taken as the sum, even after the tie before it, makes it choose.
        std::vector<std::int64_t> tieTotal;
        std::vector<std::int32_t> tiesBelow;  // tiesBelow[p]: the ties at positions below p
        bool isTie(std::int32_t p) const {
            return tiesBelow[static_cast<std::size_t>(p) + 1] != tiesBelow[static_cast<std::size_t>(p)];
        }
        // The increment of the row's term at p when it is not a tie.
        std::int64_t at(std::int32_t p) const {
            return prefix[static_cast<std::size_t>(p) + 1] - prefix[static_cast<std::size_t>(p)];
        }
    };
    const Binade& binade(int e) const { return binades_[static_cast<std::size_t>(e - lowest_)]; }

private:
    int lowest_ = 0;
    int count_ = 0;
    std::vector<Binade> binades_;
};

// One lane's departure from a row: at `point` it replaces the row's term (replaces) or adds
// a term before the row's term there (insertion; point = row size for after all). Several
// insertions at one point come in the order of their nodes.
struct LanePatch {
    std::int32_t point;
    bool replaces;
    std::int32_t node;
    Extended term;
};

// Adds the row, with the lane's patches (any order), to the float sum `s` when the
// shortcut applies, and returns true; returns false and leaves `s` as it was otherwise.
// The cost grows with the patches, not with the row.
bool addRowByIncrements(float& s, const TermRow& row, const RowIncrements& increments, const LanePatch* patches,
                        std::int32_t count);

}  // namespace engine::fast
