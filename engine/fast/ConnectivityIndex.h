#pragma once
// PC of the overall and every per-node landscape, and the overall landscape's
// maximum-product probabilities. One shortest-path tree per source; a removed node changes
// only the weights of its subtree, an added candidate only the nodes it reaches more
// cheaply, so the per-node sums share the overall rows and patch the rest.
#include <functional>

#include "engine/fast/FastInputs.h"
#include "engine/fast/PassTiming.h"

namespace engine {
class tamblorProgram;
}

namespace engine::fast {

void connectivityOfOverall(const FastInputs& inputs, tamblorProgram& run, WorkerPool& pool);

std::int32_t connectivityChunks(const FastInputs& inputs, unsigned threads);
void connectivityOfPerNodeLandscapes(const FastInputs& inputs, tamblorProgram& run, WorkerPool& pool,
                                     PassTiming& timing, const std::function<void()>& afterChunk);

}  // namespace engine::fast
