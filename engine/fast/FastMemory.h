#pragma once
// The memory of the fast path's own structures, beside the overall landscape: the compact
// graphs and candidate edges, held for the whole step, and the largest of its passes'
// working memory (per-source trees and rows of a chunk of sources, per-thread scratch,
// the lanes' sums), each pass's freed before the next begins.
#include <cstdint>

#include "engine/MemoryEstimate.h"

namespace engine::fast {

std::uint64_t fastProcessingMemory(const RunShape& shape);

}  // namespace engine::fast
