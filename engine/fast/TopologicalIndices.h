#pragma once
// IIC and H of the overall and every per-node landscape from one breadth-first search per
// source. A removed node k changes only the distances of the nodes it dominates; an added
// candidate only those it shortens; every other term of a per-node landscape is the
// overall landscape's, so the per-node sums share the overall rows and patch the rest.
#include <functional>

#include "engine/fast/FastInputs.h"
#include "engine/fast/PassTiming.h"

namespace engine {
class tamblorProgram;
}

namespace engine::fast {

struct TopologicalSelection {
    bool iic = false, h = false;
    TimedIndex timedAs = TimedIndex::HIIC;
};

void topologicalIndicesOfOverall(const FastInputs& inputs, tamblorProgram& run, WorkerPool& pool,
                                 const TopologicalSelection& selection);

// afterChunk runs on the calling thread after each chunk of sources; chunks() says how many.
std::int32_t topologicalChunks(const FastInputs& inputs, unsigned threads);
void topologicalIndicesOfPerNodeLandscapes(const FastInputs& inputs, tamblorProgram& run, WorkerPool& pool,
                                           PassTiming& timing, const TopologicalSelection& selection,
                                           const std::function<void()>& afterChunk);

}  // namespace engine::fast
