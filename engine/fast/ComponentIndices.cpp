#include "engine/fast/ComponentIndices.h"

#include "engine/fast/IndexFormulas.h"
#include "engine/fast/WorkerPool.h"
#include "engine/tamblorProgram.h"

namespace engine::fast {
namespace {

struct alignas(64) ComponentScratch {
    std::vector<std::int32_t> label, stack;
    std::vector<float> attribute;
    std::vector<std::uint8_t> linkedToCandidate;
};

// Labels the nodes 0 .. count-1 by component, numbered by lowest node. `removed` (or -1) is
// left out; neighbours(v, visit) lists v's neighbours. Returns the number of components.
template <class Neighbours>
std::int32_t labelComponents(std::int32_t count, std::int32_t removed, Neighbours neighbours,
                             ComponentScratch& scratch) {
    scratch.label.assign(static_cast<std::size_t>(count), -1);
    std::int32_t components = 0;
    for (std::int32_t start = 0; start < count; ++start) {
        if (start == removed || scratch.label[static_cast<std::size_t>(start)] >= 0) continue;
        scratch.label[static_cast<std::size_t>(start)] = components;
        scratch.stack.assign(1, start);
        while (!scratch.stack.empty()) {
            const std::int32_t u = scratch.stack.back();
            scratch.stack.pop_back();
            neighbours(u, [&](std::int32_t v) {
                if (v == removed || scratch.label[static_cast<std::size_t>(v)] >= 0) return;
                scratch.label[static_cast<std::size_t>(v)] = components;
                scratch.stack.push_back(v);
            });
        }
        ++components;
    }
    return components;
}

// Component attributes in node order, then the selected indices into L.
template <class AttributeOf>
void finishComponents(landscape& L, std::int32_t count, std::int32_t removed, std::int32_t components,
                      AttributeOf attributeOf, ComponentScratch& scratch, const ComponentSelection& selection,
                      PassTiming& timing, unsigned thread) {
    L.nComponents = components;
    if (selection.nc) L.NC = components;
    if (!selection.ccp && !selection.lcp) return;
    {
        PassTiming::Measure measure(timing, thread, selection.ccp ? TimedIndex::CCP : TimedIndex::LCP);
        scratch.attribute.assign(static_cast<std::size_t>(components), 0.0f);
        for (std::int32_t v = 0; v < count; ++v) {
            if (v == removed) continue;
            float& sum = scratch.attribute[static_cast<std::size_t>(scratch.label[static_cast<std::size_t>(v)])];
            sum = sum + attributeOf(v);
        }
        if (selection.ccp) L.CCP = coincidenceOfClass(scratch.attribute, components, L.totalAttribute);
    }
    if (selection.lcp) {
        PassTiming::Measure measure(timing, thread, TimedIndex::LCP);
        coincidenceOfLandscape(scratch.attribute, components, L.AL, L.LCP, L.LCPnum);
    }
}

}  // namespace

void componentIndicesOfPerNodeLandscapes(const FastInputs& inputs, tamblorProgram& run, WorkerPool& pool,
                                         PassTiming& timing, const ComponentSelection& selection) {
    const std::int32_t n = inputs.n;
    const CompactGraph& links = inputs.linkGraph;
    std::vector<ComponentScratch> scratch(pool.size());
    const auto linksOf = [&links](std::int32_t u, auto visit) {
        for (std::int64_t e = links.begin(u); e < links.end(u); ++e) visit(links.target[static_cast<std::size_t>(e)]);
    };
    const auto attributeOf = [&inputs](std::int32_t v) { return inputs.attribute[static_cast<std::size_t>(v)]; };

    pool.run(n + inputs.candidates, [&](std::int64_t index, unsigned thread) {
        ComponentScratch& s = scratch[thread];
        if (index < n) {
            const std::int32_t k = static_cast<std::int32_t>(index);
            std::int32_t components = 0;
            {
                PassTiming::Measure measure(timing, thread, selection.search);
                components = labelComponents(n, k, linksOf, s);
            }
            finishComponents(run.withoutNode[static_cast<std::size_t>(k)], n, k, components, attributeOf, s, selection,
                             timing, thread);
            return;
        }
        // A candidate is node n, linked both ways to the nodes of its list.
        const std::int32_t c = static_cast<std::int32_t>(index - n);
        const std::vector<std::int32_t>& own = inputs.candidateLinks[static_cast<std::size_t>(c)];
        std::int32_t components = 0;
        {
            PassTiming::Measure measure(timing, thread, selection.search);
            s.linkedToCandidate.assign(static_cast<std::size_t>(n), 0);
            for (std::int32_t u : own) s.linkedToCandidate[static_cast<std::size_t>(u)] = 1;
            components = labelComponents(
                n + 1, -1,
                [&](std::int32_t u, auto visit) {
                    if (u == n) {
                        for (std::int32_t v : own) visit(v);
                        return;
                    }
                    linksOf(u, visit);
                    if (s.linkedToCandidate[static_cast<std::size_t>(u)] != 0) visit(n);
                },
                s);
        }
        const float candidateAttribute = inputs.candidateAttribute[static_cast<std::size_t>(c)];
        finishComponents(
            run.withAddedNode[static_cast<std::size_t>(c)], n + 1, -1, components,
            [&](std::int32_t v) { return v == n ? candidateAttribute : attributeOf(v); }, s, selection, timing, thread);
    });
}

}  // namespace engine::fast
