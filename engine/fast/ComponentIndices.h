#pragma once
// NC, CCP and LCP of every per-node landscape. A component search over the compact links
// costs O(n + links) per landscape; components are numbered by their lowest node and their
// attributes summed in node order, as the reference does, so the sums come out the same.
#include "engine/fast/FastInputs.h"
#include "engine/fast/PassTiming.h"

namespace engine {
class tamblorProgram;
}

namespace engine::fast {

struct ComponentSelection {
    bool nc = false, ccp = false, lcp = false;
    TimedIndex search = TimedIndex::NC;  // the index whose time the search counts under
};

void componentIndicesOfPerNodeLandscapes(const FastInputs& inputs, tamblorProgram& run, WorkerPool& pool,
                                         PassTiming& timing, const ComponentSelection& selection);

}  // namespace engine::fast
