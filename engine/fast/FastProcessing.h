#pragma once
// The processing step on the fast path: the overall landscape and every per-node
// landscape, with the same values to the last bit as the reference, the same status texts
// in the same order and per-index time totals.
#include "sysutils/Strings.h"

namespace engine {
class tamblorProgram;
}

namespace engine::fast {

// Runs of at most this many node records go to the reference under the automatic choice:
// it finishes them before the fast path's threads would have started.
inline constexpr int smallRunRecords = 8;

// Computes the overall landscape and all per-node landscapes and reports each node's
// texts, when the run's path and inputs allow the fast path; returns false without
// touching anything otherwise, and the reference then processes the run.
bool processFast(tamblorProgram& run, sysutils::StatusPanels& status);

}  // namespace engine::fast
