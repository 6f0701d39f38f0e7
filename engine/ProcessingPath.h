#pragma once
// Which algorithm the processing step runs. Both give the same values to the last bit;
// the choice is internal (tests and benchmarks set it), not offered to the user.
namespace engine {

enum class ProcessingPath {
    // The fast path, except for runs whose inputs it cannot reproduce exactly and runs
    // of a handful of nodes, which the reference finishes before threads would start.
    Automatic,
    // Always the reference algorithm: every per-node landscape built and computed in turn.
    Reference,
    // The fast path for every run it reproduces exactly, whatever its size.
    Fast,
};

}  // namespace engine
