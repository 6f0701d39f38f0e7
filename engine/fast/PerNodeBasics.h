#pragma once
// The fields that building a per-node landscape sets, without building it: node count,
// attribute total, AL, the PC options and the link count. Node records and component
// arrays stay absent, as after the reference's processing of each landscape.
#include "engine/fast/FastInputs.h"

namespace engine {
class tamblorProgram;
}

namespace engine::fast {

void setPerNodeBasics(const FastInputs& inputs, tamblorProgram& run, WorkerPool& pool);

}  // namespace engine::fast
