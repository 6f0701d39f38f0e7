// The engine object: its constructor's argument order, the start state, and array
// allocation that fails part-way and still leaves an object that deletes cleanly.
#include "engine/tamblorProgram.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/Allocation.h"
#include "engine/OutOfMemory.h"
#include "sysutils/Exception.h"

namespace {

using engine::tamblorProgram;

std::unique_ptr<tamblorProgram> distinctArguments() {
    return std::make_unique<tamblorProgram>(
        /*isDistances=*/true, /*isProbabilities=*/false, /*isLinks=*/true, /*doA=*/true, /*doCCP=*/false,
        /*doLCP=*/true, /*doIIC=*/false, /*doNC=*/true, /*doNL=*/false, /*doH=*/true, /*doF=*/false, /*doAWF=*/true,
        /*doPC=*/false, "nodes.txt", "connections.txt", /*threshold=*/1.5f, /*distance=*/250.0f,
        /*probability=*/0.05f, /*minProbability=*/0.001f, /*allPaths=*/true, /*fullMatrix=*/false,
        /*addNodes=*/true, /*AL=*/1000.7f);
}

TEST(TamblorProgram, ConstructorStoresEveryArgumentWithTheDistanceBeforeTheProbability) {
    const auto engineObject = distinctArguments();
    const tamblorProgram& e = *engineObject;
    EXPECT_TRUE(e.isDistances);
    EXPECT_FALSE(e.isProbabilities);
    EXPECT_TRUE(e.isLinks);
    EXPECT_EQ((std::vector<bool>{e.doA, e.doCCP, e.doLCP, e.doIIC, e.doNC, e.doNL, e.doH, e.doF, e.doAWF, e.doPC}),
              (std::vector<bool>{true, false, true, false, true, false, true, false, true, false}));
    EXPECT_EQ(e.nodeFile, "nodes.txt");
    EXPECT_EQ(e.connectionFile, "connections.txt");
    EXPECT_EQ(e.threshold, 1.5f);
    EXPECT_EQ(e.distance, 250.0f);
    EXPECT_EQ(e.probability, 0.05f);
    EXPECT_EQ(e.minProbability, 0.001f);
    EXPECT_TRUE(e.allPaths);
    EXPECT_FALSE(e.fullMatrix);
    EXPECT_TRUE(e.addNodes);
    EXPECT_EQ(e.AL, 1000.7f);
}

TEST(TamblorProgram, StartsWithNothingAllocatedAndEveryDerivedValueCleared) {
    const auto engineObject = distinctArguments();
    const tamblorProgram& e = *engineObject;
    EXPECT_EQ(e.overall, nullptr);
    EXPECT_EQ(e.withoutNode, nullptr);
    EXPECT_EQ(e.withAddedNode, nullptr);
    EXPECT_EQ(e.nodeIds, nullptr);
    EXPECT_EQ(e.connections, nullptr);
    EXPECT_EQ(e.addedConnections, nullptr);
    EXPECT_EQ(e.totalAttribute, 0.0f);
    EXPECT_FALSE(e.ALValid);
    EXPECT_FALSE(e.hasBinaryIndices());
    EXPECT_FALSE(e.hasProbabilisticIndices());
    EXPECT_FALSE(e.hasComponents());
    EXPECT_FALSE(e.hasMaxProductProbabilities());
    EXPECT_EQ(e.nNodes + e.nAddedNodes + e.nNodeLines, 0);
    EXPECT_EQ(e.ticksNL + e.ticksNC + e.ticksH + e.ticksCCP + e.ticksLCP + e.ticksIIC + e.ticksHIIC + e.ticksF +
                  e.ticksAWF + e.ticksPC,
              0);
}

std::unique_ptr<tamblorProgram> withoutCandidates(int nodeLines) {
    auto e = std::make_unique<tamblorProgram>(true, false, false, true, true, false, false, false, false, false,
                                              false, false, false, "n", "c", 1.0f, 1.0f, 0.5f, 0.0f, true, false,
                                              false, 0.0f);
    e->nNodeLines = nodeLines;
    return e;
}

TEST(TamblorProgram, AllocationWithoutCandidatesGivesEmptyCandidateArrays) {
    auto e = withoutCandidates(3);
    e->allocateArrays();
    EXPECT_EQ(e->nNodes, 3);
    EXPECT_EQ(e->nAddedNodes, 0);
    ASSERT_NE(e->addedConnections, nullptr);
    ASSERT_NE(e->withAddedNode, nullptr);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(e->connections[i], nullptr);
        EXPECT_EQ(e->nodeIds[i], 0);
        EXPECT_EQ(e->attributes[i], 0.0f);
    }
}

// Allocations of allocateArrays for 3 nodes and no candidates, in order: four node
// arrays, the row table, three rows, the candidate row table, the overall landscape,
// the two per-node landscape arrays.
constexpr long allocationsForThreeNodes = 4 + 1 + 3 + 1 + 1 + 2;

TEST(TamblorProgram, AllocationFailureAnywhereRaisesItsMessageAndLeavesADeletableObject) {
    for (long succeeding = 0; succeeding < allocationsForThreeNodes; ++succeeding) {
        SCOPED_TRACE(succeeding);
        auto e = withoutCandidates(3);
        try {
            engine::ScopedAllocationFailure failure(succeeding);
            e->allocateArrays();
            FAIL() << "no exception";
        } catch (const sysutils::Exception& error) {
            EXPECT_EQ(error.Message, succeeding < 5 ? engine::outOfMemoryMessageA : engine::outOfMemoryMessageB);
        }
        // Counts hold their final values; rows that were never allocated are absent.
        EXPECT_EQ(e->nNodes, 3);
        if (succeeding >= 5) {
            for (int row = 0; row < 3; ++row)
                EXPECT_EQ(e->connections[row] != nullptr, row < succeeding - 5) << "row " << row;
        }
        e.reset();  // the sanitizers see any double free or leak here
    }
    auto e = withoutCandidates(3);
    engine::ScopedAllocationFailure failure(allocationsForThreeNodes);
    EXPECT_NO_THROW(e->allocateArrays());
}

TEST(TamblorProgram, AZeroNodeCountIsAnEmptyArrayNotAnError) {
    auto e = withoutCandidates(0);
    EXPECT_NO_THROW(e->allocateArrays());
    EXPECT_NE(e->connections, nullptr);
    EXPECT_NE(e->overall, nullptr);
}

}  // namespace
