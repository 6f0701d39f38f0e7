#pragma once
// F and AWF of the overall and every per-node landscape. Both add a term per pair of nodes
// in the order i = 0 .. n-1, j < i; a pair with p = 0 adds an exact 0, which leaves a float
// sum as it is, so only the nonzero direct probabilities are visited, in that order.
#include "engine/fast/FastInputs.h"
#include "engine/fast/PassTiming.h"

namespace engine {
class landscape;
class tamblorProgram;
}

namespace engine::fast {

struct FluxSelection {
    bool f = false, awf = false;
};

// The sums before doubling, which the candidates' landscapes continue.
struct FluxPrefix {
    float f = 0.0f, awf = 0.0f;
};

FluxPrefix fluxOfOverall(const FastInputs& inputs, landscape& overall, const FluxSelection& selection);

void fluxOfPerNodeLandscapes(const FastInputs& inputs, const FluxPrefix& overall, tamblorProgram& run,
                             WorkerPool& pool, PassTiming& timing, const FluxSelection& selection);

}  // namespace engine::fast
