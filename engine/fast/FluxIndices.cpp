#include "engine/fast/FluxIndices.h"

#include "engine/fast/IndexFormulas.h"
#include "engine/fast/WorkerPool.h"
#include "engine/tamblorProgram.h"

namespace engine::fast {
namespace {

// The pair sums over the pairs (i, j < i) of the nonzero direct probabilities, leaving out
// every pair of node `removed` (-1: none).
FluxPrefix pairSums(const FastInputs& inputs, std::int32_t removed, const FluxSelection& selection) {
    const CompactGraph& flux = inputs.fluxGraph;
    FluxPrefix sums;
    for (std::int32_t i = 0; i < inputs.n; ++i) {
        if (i == removed) continue;
        const float attributeI = inputs.attribute[static_cast<std::size_t>(i)];
        for (std::int64_t e = flux.begin(i); e < flux.end(i); ++e) {
            const std::int32_t j = flux.target[static_cast<std::size_t>(e)];
            if (j >= i) break;
            if (j == removed) continue;
            const float p = flux.weight[static_cast<std::size_t>(e)];
            if (selection.f) sums.f = addTerm(sums.f, static_cast<Extended>(p));
            if (selection.awf)
                sums.awf = addTerm(sums.awf, areaWeightedFluxTerm(attributeI, inputs.attribute[static_cast<std::size_t>(j)], p));
        }
    }
    return sums;
}

}  // namespace

FluxPrefix fluxOfOverall(const FastInputs& inputs, landscape& overall, const FluxSelection& selection) {
    const FluxPrefix sums = pairSums(inputs, -1, selection);
    if (selection.f) overall.F = doubled(sums.f);
    if (selection.awf) overall.AWF = doubled(sums.awf);
    return sums;
}

void fluxOfPerNodeLandscapes(const FastInputs& inputs, const FluxPrefix& overall, tamblorProgram& run,
                             WorkerPool& pool, PassTiming& timing, const FluxSelection& selection) {
    const std::int32_t n = inputs.n;
    pool.run(n + inputs.candidates, [&](std::int64_t index, unsigned thread) {
        if (index < n) {
            landscape& L = run.withoutNode[static_cast<std::size_t>(index)];
            FluxPrefix sums;
            if (selection.f) {
                PassTiming::Measure measure(timing, thread, TimedIndex::F);
                sums.f = pairSums(inputs, static_cast<std::int32_t>(index), {true, false}).f;
                L.F = doubled(sums.f);
            }
            if (selection.awf) {
                PassTiming::Measure measure(timing, thread, TimedIndex::AWF);
                sums.awf = pairSums(inputs, static_cast<std::int32_t>(index), {false, true}).awf;
                L.AWF = doubled(sums.awf);
            }
            return;
        }
        // The candidate is the last node: its pairs come after all of the overall landscape's.
        const std::size_t c = static_cast<std::size_t>(index - n);
        landscape& L = run.withAddedNode[c];
        const CandidateEdges& edges = inputs.candidateFlux[c];
        const float attributeC = inputs.candidateAttribute[c];
        if (selection.f) {
            PassTiming::Measure measure(timing, thread, TimedIndex::F);
            float f = overall.f;
            for (float p : edges.weight) f = addTerm(f, static_cast<Extended>(p));
            L.F = doubled(f);
        }
        if (selection.awf) {
            PassTiming::Measure measure(timing, thread, TimedIndex::AWF);
            float awf = overall.awf;
            for (std::size_t e = 0; e < edges.node.size(); ++e)
                awf = addTerm(awf, areaWeightedFluxTerm(attributeC, inputs.attribute[static_cast<std::size_t>(edges.node[e])],
                                                        edges.weight[e]));
            L.AWF = doubled(awf);
        }
    });
}

}  // namespace engine::fast
