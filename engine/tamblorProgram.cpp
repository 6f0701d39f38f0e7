#include "engine/tamblorProgram.h"

#include <algorithm>
#include <utility>

#include "engine/Allocation.h"
#include "engine/InputPrescan.h"
#include "engine/OutOfMemory.h"

namespace engine {

tamblorProgram::tamblorProgram(bool isDistances_, bool isProbabilities_, bool isLinks_, bool doA_, bool doCCP_,
                               bool doLCP_, bool doIIC_, bool doNC_, bool doNL_, bool doH_, bool doF_, bool doAWF_,
                               bool doPC_, std::string nodeFile_, std::string connectionFile_, float threshold_,
                               float distance_, float probability_, float minProbability_, bool allPaths_,
                               bool fullMatrix_, bool addNodes_, float AL_)
    : AL(AL_),
      doA(doA_),
      doCCP(doCCP_),
      doLCP(doLCP_),
      doIIC(doIIC_),
      doNC(doNC_),
      doNL(doNL_),
      doH(doH_),
      doF(doF_),
      doAWF(doAWF_),
      doPC(doPC_),
      isDistances(isDistances_),
      isProbabilities(isProbabilities_),
      isLinks(isLinks_),
      nodeFile(std::move(nodeFile_)),
      connectionFile(std::move(connectionFile_)),
      threshold(threshold_),
      probability(probability_),
      distance(distance_),
      minProbability(minProbability_),
      allPaths(allPaths_),
      fullMatrix(fullMatrix_),
      addNodes(addNodes_) {}

// Members free themselves: every array, row and landscape that exists, and nothing else.
tamblorProgram::~tamblorProgram() = default;

void tamblorProgram::readInputs() {
    allocateArrays();
    readNodeFile();
    readConnectionFile();
}

namespace {

// Allocates `count` rows of `width` floats into `rows`, in row order.
void allocateRows(FloatRows& rows, std::int32_t count, std::int32_t width) {
    for (std::int32_t row = 0; row < count; ++row) rows[row] = allocateArrayOrThrow<float>(width);
}

}  // namespace

void tamblorProgram::allocateArrays() {
    if (addNodes) {
        // A file that gained candidates since the pre-scan cannot make the count negative.
        nAddedNodes = std::min(countNodesToAdd(nodeFile), nNodeLines);
        nNodes = nNodeLines - nAddedNodes;
    } else {
        nNodes = nNodeLines;
        nAddedNodes = 0;
    }
    const auto existing = static_cast<std::size_t>(nNodes);
    const auto added = static_cast<std::size_t>(nAddedNodes);
    // Before anything is allocated or read: whether the run's large arrays fit at all.
    ensureMemoryFor(memoryNeeded(), outOfMemoryMessageB);

    // The node arrays start at ID 0 and attribute 0, so that a slot the reader leaves
    // unfilled never holds garbage.
    nodeIds = tryAllocateArray<std::int32_t>(existing);
    addedNodeIds = nodeIds ? tryAllocateArray<std::int32_t>(added) : nullptr;
    attributes = addedNodeIds ? tryAllocateArray<float>(existing) : nullptr;
    addedAttributes = attributes ? tryAllocateArray<float>(added) : nullptr;
    connections = addedAttributes ? tryAllocateArray<std::unique_ptr<float[]>>(existing) : nullptr;
    if (!connections) throwOutOfMemory(outOfMemoryMessageA);

    allocateRows(connections, nNodes, nNodes);
    addedConnections = tryAllocateArray<std::unique_ptr<float[]>>(added);
    if (!addedConnections) throwOutOfMemory(outOfMemoryMessageB);
    allocateRows(addedConnections, nAddedNodes, nNodes);

    overall.reset(tryAllocateObject<landscape>());
    withoutNode = overall ? tryAllocateArray<landscape>(existing) : nullptr;
    withAddedNode = withoutNode ? tryAllocateArray<landscape>(added) : nullptr;
    if (!withAddedNode) throwOutOfMemory(outOfMemoryMessageB);
}

}  // namespace engine
