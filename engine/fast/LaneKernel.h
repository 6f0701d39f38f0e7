#pragma once
// The inner step of the per-node sums: for every lane of a block, sum <- (float)(term + sum)
// for each term of a row, in order. The reference forms term + sum in long double and rounds
// to float; long double has no vector instructions, so the vector kernel works in double
// and proves each lane's result instead:
//
//   z = fl64(sum + high), high = fl64(term). |z - (sum + term)| is at most one unit in the
//   last place of z's double (half for each rounding), and rounding sum + term to long
//   double moves it by far less. Rounding to float gives the same float for every value
//   of an interval that holds no float midpoint; midpoints are exactly the doubles whose
//   29 bits below float precision read 1000...0. So when z's low 29 bits are more than 4
//   units from that pattern, fl32(z) equals the reference's float. Otherwise (about one
//   step in 2^25) the lane takes the exact long double step instead.
//
// This holds for sums that are normal floats (at least 2^-126) and stay far from the float
// range's end, and for terms that are not negative (the fast path's inputs); rows outside
// that take the exact step throughout.
#include <cstdint>

#include "engine/fast/ReplacementTable.h"
#include "engine/fast/TermRow.h"

namespace engine::fast {

// Lanes are bits of a 64-bit mask; sums[lane] is the lane's float sum.
// Positions [from, to) of the row, the same term for every lane.
void addTermsToLanes(float* sums, std::uint64_t lanes, const TermRow& row, std::int32_t from, std::int32_t to);

// The whole row, each lane taking its replacements from the table.
void addRowWithReplacements(float* sums, std::uint64_t lanes, const TermRow& row, const ReplacementTable& table);

// The exact step only, for every lane (the reference's expression).
void addTermsToLanesExactly(float* sums, std::uint64_t lanes, const TermRow& row, std::int32_t from, std::int32_t to);

// Whether the vector kernel runs on this processor.
bool vectorLaneKernel();

}  // namespace engine::fast
