#include "engine/fast/FastProcessing.h"

#include <cstdint>
#include <new>

#include "engine/NumericConversion.h"
#include "engine/OutOfMemory.h"
#include "engine/fast/ComponentIndices.h"
#include "engine/fast/ConnectivityIndex.h"
#include "engine/fast/FastInputs.h"
#include "engine/fast/FluxIndices.h"
#include "engine/fast/NodeProgress.h"
#include "engine/fast/PassTiming.h"
#include "engine/fast/PerNodeBasics.h"
#include "engine/fast/TopologicalIndices.h"
#include "engine/fast/WorkerPool.h"
#include "engine/tamblorProgram.h"
#include "sysutils/DateTime.h"

namespace engine::fast {
namespace {

std::int32_t& ticksOf(tamblorProgram& run, TimedIndex index) {
    switch (index) {
        case TimedIndex::NL: return run.ticksNL;
        case TimedIndex::NC: return run.ticksNC;
        case TimedIndex::HIIC: return run.ticksHIIC;
        case TimedIndex::H: return run.ticksH;
        case TimedIndex::CCP: return run.ticksCCP;
        case TimedIndex::LCP: return run.ticksLCP;
        case TimedIndex::IIC: return run.ticksIIC;
        case TimedIndex::F: return run.ticksF;
        case TimedIndex::AWF: return run.ticksAWF;
        case TimedIndex::PC: return run.ticksPC;
    }
    return run.ticksPC;
}

void addTicks(tamblorProgram& run, TimedIndex index, std::int64_t milliseconds) {
    std::int32_t& total = ticksOf(run, index);
    total = static_cast<std::int32_t>(total + milliseconds);
}

// Runs one computation and adds its milliseconds to one index's total.
template <class Compute>
void timed(tamblorProgram& run, TimedIndex index, Compute compute) {
    const std::int64_t start = sysutils::GetTickCount();
    compute();
    addTicks(run, index, sysutils::GetTickCount() - start);
}

// A pass over the per-node landscapes: its wall time less the time the calling thread
// spent reporting progress, shared among the indices it computes.
class TimedPass {
public:
    TimedPass(tamblorProgram& run, unsigned threads) : run_(run), timing_(threads), start_(sysutils::GetTickCount()) {}

    PassTiming& timing() { return timing_; }
    // Progress reported within the pass, its time left out of the pass.
    void report(NodeProgress& progress) {
        const std::int64_t before = sysutils::GetTickCount();
        progress.advance();
        reporting_ += sysutils::GetTickCount() - before;
    }
    void finish(TimedIndex fallback) {
        const std::int64_t elapsed = sysutils::GetTickCount() - start_ - reporting_;
        const auto shares = timing_.split(elapsed < 0 ? 0 : elapsed, fallback);
        for (std::size_t index = 0; index < timedIndexCount; ++index)
            if (shares[index] != 0) addTicks(run_, static_cast<TimedIndex>(index), shares[index]);
    }

private:
    tamblorProgram& run_;
    PassTiming timing_;
    std::int64_t start_;
    std::int64_t reporting_ = 0;
};

TopologicalSelection topologicalSelection(const tamblorProgram& run) {
    TopologicalSelection selection;
    selection.iic = run.doIIC;
    selection.h = run.doH;
    selection.timedAs = run.doIIC && run.doH ? TimedIndex::HIIC : (run.doH ? TimedIndex::H : TimedIndex::IIC);
    return selection;
}

void computeOverall(tamblorProgram& run, const FastInputs& inputs, WorkerPool& pool, FluxPrefix& flux) {
    landscape& overall = *run.overall;
    const TopologicalSelection topological = topologicalSelection(run);
    if (run.doNL) timed(run, TimedIndex::NL, [&] { overall.computeNL(); });
    if (run.doNC) timed(run, TimedIndex::NC, [&] { overall.computeNC(); });
    if (run.doH || run.doIIC)
        timed(run, topological.timedAs, [&] { topologicalIndicesOfOverall(inputs, run, pool, topological); });
    if (run.doCCP) timed(run, TimedIndex::CCP, [&] { overall.computeCCP(); });
    if (run.doLCP) timed(run, TimedIndex::LCP, [&] { overall.computeLCP(); });
    if (run.doF) timed(run, TimedIndex::F, [&] { flux.f = fluxOfOverall(inputs, overall, {true, false}).f; });
    if (run.doAWF) timed(run, TimedIndex::AWF, [&] { flux.awf = fluxOfOverall(inputs, overall, {false, true}).awf; });
    if (run.doPC) timed(run, TimedIndex::PC, [&] { connectivityOfOverall(inputs, run, pool); });
}

void computePerNode(tamblorProgram& run, const FastInputs& inputs, const FluxPrefix& flux, WorkerPool& pool,
                    NodeProgress& progress) {
    const std::int32_t n = inputs.n;
    if (run.doNL) {
        timed(run, TimedIndex::NL, [&] {
            for (std::int32_t k = 0; k < n; ++k) run.withoutNode[static_cast<std::size_t>(k)].NL = run.withoutNode[static_cast<std::size_t>(k)].nLinks;
            for (std::int32_t c = 0; c < inputs.candidates; ++c)
                run.withAddedNode[static_cast<std::size_t>(c)].NL = run.withAddedNode[static_cast<std::size_t>(c)].nLinks;
        });
    }
    progress.advance();

    if (run.needComponents) {
        ComponentSelection selection{run.doNC, run.doCCP, run.doLCP, TimedIndex::NC};
        selection.search = run.doNC ? TimedIndex::NC : (run.doCCP ? TimedIndex::CCP : TimedIndex::LCP);
        TimedPass pass(run, pool.size());
        componentIndicesOfPerNodeLandscapes(inputs, run, pool, pass.timing(), selection);
        pass.finish(selection.search);
    }
    progress.advance();

    if (run.doIIC || run.doH) {
        const TopologicalSelection selection = topologicalSelection(run);
        TimedPass pass(run, pool.size());
        topologicalIndicesOfPerNodeLandscapes(inputs, run, pool, pass.timing(), selection,
                                              [&] { pass.report(progress); });
        pass.finish(selection.timedAs);
    }

    if (run.doF || run.doAWF) {
        TimedPass pass(run, pool.size());
        fluxOfPerNodeLandscapes(inputs, flux, run, pool, pass.timing(), {run.doF, run.doAWF});
        pass.finish(run.doF ? TimedIndex::F : TimedIndex::AWF);
    }
    progress.advance();

    if (run.doPC) {
        TimedPass pass(run, pool.size());
        connectivityOfPerNodeLandscapes(inputs, run, pool, pass.timing(), [&] { pass.report(progress); });
        pass.finish(TimedIndex::PC);
    }
}

}  // namespace

bool processFast(tamblorProgram& run, sysutils::StatusPanels& status) {
    if (run.processingPath == ProcessingPath::Reference) return false;
    if (run.processingPath == ProcessingPath::Automatic &&
        static_cast<std::int64_t>(run.nNodes) + run.nAddedNodes <= smallRunRecords)
        return false;
    WorkerPool pool(run.processingThreads);
    // A cancelled run gives up its parallel step between tasks instead of finishing it.
    pool.setAbandoned([&status] { return status.abandoned(); });
    try {
        if (!fastPathIsExact(run, pool)) return false;
        run.ensureProcessingMemory(ProcessingPath::Fast, pool.size());
        run.overall->landscapeFromMatrix(run.attributes.get(), run.nodeIds.get(), run.connections.get(), run.nNodes,
                                         truncateToInt32(run.AL), run.anyBinary, run.anyProbabilistic, run.isDistances,
                                         run.isProbabilities, run.isLinks, run.threshold, run.probability, run.distance,
                                         run.minProbability, run.allPaths);
        const FastInputs inputs = gatherFastInputs(run, pool);
        FluxPrefix flux;
        computeOverall(run, inputs, pool, flux);

        setPerNodeBasics(inputs, run, pool);
        std::int64_t units = 3;
        if (run.doIIC || run.doH) units += topologicalChunks(inputs, pool.size());
        if (run.doPC) units += connectivityChunks(inputs, pool.size());
        NodeProgress progress(run, status, units);
        computePerNode(run, inputs, flux, pool, progress);
        progress.finish();
    } catch (const std::bad_alloc&) {
        throwOutOfMemory(outOfMemoryMessageB);
    }
    return true;
}

}  // namespace engine::fast
