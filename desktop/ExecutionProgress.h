#pragma once
// How far the worker got with its engine object: the last run step that returned, and
// how many node landscapes the engine reported as processed. The worker writes it,
// the window reads it to offer only results whose data exist.
#include <atomic>

namespace desktop {

struct ExecutionProgress {
    enum class Stage { Created, Checked, InputsRead, Processed };

    std::atomic<Stage> stage{Stage::Created};
    std::atomic<int> nodesProcessed{0};

    // The overall landscape's indices are computed once the first node was processed
    // (the engine computes them first) or processing has returned.
    bool overallComputed() const { return nodesProcessed.load() > 0 || stage.load() >= Stage::Processed; }
};

}  // namespace desktop
