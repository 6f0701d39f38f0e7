#include "engine/fast/PerNodeBasics.h"

#include "engine/fast/WorkerPool.h"
#include "engine/tamblorProgram.h"

namespace engine::fast {

void setPerNodeBasics(const FastInputs& inputs, tamblorProgram& run, WorkerPool& pool) {
    const landscape& overall = *run.overall;
    const std::int32_t n = inputs.n;
    // The attribute total of a landscape without node k: the float sum in node order with
    // k left out, so the sum up to k is shared and only the rest is added anew.
    std::vector<float> before(static_cast<std::size_t>(n) + 1, 0.0f);
    for (std::int32_t i = 0; i < n; ++i)
        before[static_cast<std::size_t>(i) + 1] = before[static_cast<std::size_t>(i)] + inputs.attribute[static_cast<std::size_t>(i)];
    pool.run(n, [&](std::int64_t index, unsigned) {
        const std::int32_t k = static_cast<std::int32_t>(index);
        landscape& L = run.withoutNode[static_cast<std::size_t>(k)];
        L.n = n - 1;
        float total = before[static_cast<std::size_t>(k)];
        for (std::int32_t i = k + 1; i < n; ++i) total = total + inputs.attribute[static_cast<std::size_t>(i)];
        L.totalAttribute = total;
        L.AL = overall.AL;
        L.minProbability = overall.minProbability;
        L.allPaths = overall.allPaths;
        if (inputs.links) L.nLinks = overall.nLinks - inputs.linkGraph.degree(k);
    });
    for (std::int32_t c = 0; c < inputs.candidates; ++c) {
        landscape& L = run.withAddedNode[static_cast<std::size_t>(c)];
        L.n = n + 1;
        L.totalAttribute = before[static_cast<std::size_t>(n)] + inputs.candidateAttribute[static_cast<std::size_t>(c)];
        L.AL = overall.AL < L.totalAttribute ? L.totalAttribute : overall.AL;
        L.minProbability = overall.minProbability;
        L.allPaths = overall.allPaths;
        if (inputs.links)
            L.nLinks = overall.nLinks + static_cast<std::int32_t>(inputs.candidateLinks[static_cast<std::size_t>(c)].size());
    }
}

}  // namespace engine::fast
