#pragma once
// Runs built in memory for comparing the fast and the reference processing paths: the
// node arrays and connection matrices are filled directly, so that tests choose every
// value (ties, zeros, isolated nodes, components) exactly. Both paths then process the
// same inputs, and every field that a result can show is compared bit for bit.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/tamblorProgram.h"
#include "sysutils/Strings.h"

namespace testing_support {

enum class Kind { Distances, Probabilities, Links };
enum class PathMode { AllPaths, Links, Pruned };

struct RunInputs {
    Kind kind = Kind::Distances;
    bool doA = true, doCCP = true, doLCP = true, doIIC = true, doNC = true, doNL = true, doH = true, doF = true,
         doAWF = true, doPC = true;
    float threshold = 1.0f;
    float distance = 1.0f;
    float probability = 0.5f;
    float minProbability = 0.0f;
    bool allPaths = true;
    float AL = 1.0f;
    std::vector<std::int32_t> ids, addedIds;
    std::vector<float> attributes, addedAttributes;
    std::vector<std::vector<float>> connections;       // n x n, symmetric
    std::vector<std::vector<float>> addedConnections;  // candidates x n

    std::int32_t n() const { return static_cast<std::int32_t>(attributes.size()); }
    std::int32_t candidates() const { return static_cast<std::int32_t>(addedAttributes.size()); }
    float noConnection() const { return kind == Kind::Distances ? 2147483648.0f : 0.0f; }

    // An n-node landscape with `candidates` candidates and no connections yet.
    void resize(std::int32_t nodes, std::int32_t added) {
        ids.resize(static_cast<std::size_t>(nodes));
        addedIds.resize(static_cast<std::size_t>(added));
        for (std::int32_t i = 0; i < nodes; ++i) ids[static_cast<std::size_t>(i)] = 10 + 3 * i;
        for (std::int32_t c = 0; c < added; ++c) addedIds[static_cast<std::size_t>(c)] = 100000 + c;
        attributes.assign(static_cast<std::size_t>(nodes), 1.0f);
        addedAttributes.assign(static_cast<std::size_t>(added), 1.0f);
        connections.assign(static_cast<std::size_t>(nodes), std::vector<float>(static_cast<std::size_t>(nodes), noConnection()));
        addedConnections.assign(static_cast<std::size_t>(added),
                                std::vector<float>(static_cast<std::size_t>(nodes), noConnection()));
    }
    void connect(std::int32_t i, std::int32_t j, float value) {
        connections[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = value;
        connections[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] = value;
    }
    void setPathMode(PathMode mode, float minimum) {
        allPaths = mode == PathMode::AllPaths;
        minProbability = mode == PathMode::Pruned ? minimum : 0.0f;
    }
};

// A band of n patches, each connected to its 20 next ones at distances of 1 to 1000
// (threshold and distance 500, probability 0.5 there): the trees of its searches reach every
// node, and its links and direct connections take memory beside the matrices.
inline RunInputs bandOf(std::int32_t n, std::uint32_t seed) {
    RunInputs in;
    in.resize(n, 0);
    in.threshold = 500.0f;
    in.distance = 500.0f;
    in.probability = 0.5f;
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> distance(1.0f, 1000.0f);
    for (std::int32_t i = 0; i < n; ++i) {
        in.attributes[static_cast<std::size_t>(i)] = 1.0f + static_cast<float>(i % 13);
        for (std::int32_t k = 1; k <= 20 && i + k < n; ++k) in.connect(i, i + k, distance(random));
    }
    return in;
}

// An engine object holding the inputs as readInputs would leave them.
inline std::unique_ptr<engine::tamblorProgram> programOf(const RunInputs& in, engine::ProcessingPath path,
                                                         unsigned threads) {
    auto run = std::make_unique<engine::tamblorProgram>(
        in.kind == Kind::Distances, in.kind == Kind::Probabilities, in.kind == Kind::Links, in.doA, in.doCCP, in.doLCP,
        in.doIIC, in.doNC, in.doNL, in.doH, in.doF, in.doAWF, in.doPC, "nodes", "connections", in.threshold,
        in.distance, in.probability, in.minProbability, in.allPaths, false, in.candidates() > 0, in.AL);
    engine::tamblorProgram& e = *run;
    e.anyBinary = in.doCCP || in.doLCP || in.doIIC || in.doNC || in.doNL || in.doH;
    e.needComponents = in.doCCP || in.doLCP || in.doNC;
    e.anyProbabilistic = in.doF || in.doAWF || in.doPC;
    e.nNodes = in.n();
    e.nAddedNodes = in.candidates();
    e.nNodeLines = e.nNodes + e.nAddedNodes;
    const std::size_t n = static_cast<std::size_t>(e.nNodes);
    const std::size_t c = static_cast<std::size_t>(e.nAddedNodes);
    e.nodeIds = std::make_unique<std::int32_t[]>(n);
    e.addedNodeIds = std::make_unique<std::int32_t[]>(c);
    e.attributes = std::make_unique<float[]>(n);
    e.addedAttributes = std::make_unique<float[]>(c);
    e.connections = std::make_unique<std::unique_ptr<float[]>[]>(n);
    e.addedConnections = std::make_unique<std::unique_ptr<float[]>[]>(c);
    e.totalAttribute = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        e.nodeIds[i] = in.ids[i];
        e.attributes[i] = in.attributes[i];
        e.totalAttribute += in.attributes[i];
        e.connections[i] = std::make_unique<float[]>(n);
        for (std::size_t j = 0; j < n; ++j) e.connections[i][j] = in.connections[i][j];
    }
    for (std::size_t k = 0; k < c; ++k) {
        e.addedNodeIds[k] = in.addedIds[k];
        e.addedAttributes[k] = in.addedAttributes[k];
        e.addedConnections[k] = std::make_unique<float[]>(n);
        for (std::size_t j = 0; j < n; ++j) e.addedConnections[k][j] = in.addedConnections[k][j];
    }
    e.overall = std::make_unique<engine::landscape>();
    e.withoutNode = std::make_unique<engine::landscape[]>(n);
    e.withAddedNode = std::make_unique<engine::landscape[]>(c);
    e.processingPath = path;
    e.processingThreads = threads;
    return run;
}

struct ProcessedInMemory {
    ProcessedInMemory(const RunInputs& in, engine::ProcessingPath path, unsigned threads)
        : program(programOf(in, path, threads)) {
        program->process(log, status);
    }
    std::unique_ptr<engine::tamblorProgram> program;
    sysutils::TStringList log;
    sysutils::TwoPanelStatus status;
};

template <class T>
bool sameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}
// long double holds 80 significant bits in a wider slot: compare those only.
inline bool sameBits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

#define EXPECT_SAME_BITS(a, b, what) EXPECT_TRUE(::testing_support::sameBits((a), (b))) << what << ": " << (a) << " vs " << (b)

// Every field a landscape keeps after processing, bit for bit.
inline void expectSameLandscape(const engine::landscape& a, const engine::landscape& b, const std::string& name) {
    EXPECT_EQ(a.n, b.n) << name;
    EXPECT_EQ(a.nLinks, b.nLinks) << name;
    EXPECT_EQ(a.nDirectConnections, b.nDirectConnections) << name;
    EXPECT_EQ(a.nComponents, b.nComponents) << name;
    EXPECT_EQ(a.NC, b.NC) << name;
    EXPECT_EQ(a.NL, b.NL) << name;
    EXPECT_EQ(a.allPaths, b.allPaths) << name;
    EXPECT_SAME_BITS(a.totalAttribute, b.totalAttribute, name + " totalAttribute");
    EXPECT_SAME_BITS(a.AL, b.AL, name + " AL");
    EXPECT_SAME_BITS(a.minProbability, b.minProbability, name + " minProbability");
    EXPECT_SAME_BITS(a.CCP, b.CCP, name + " CCP");
    EXPECT_SAME_BITS(a.LCP, b.LCP, name + " LCP");
    EXPECT_SAME_BITS(a.LCPnum, b.LCPnum, name + " LCPnum");
    EXPECT_SAME_BITS(a.IIC, b.IIC, name + " IIC");
    EXPECT_SAME_BITS(a.IICnum, b.IICnum, name + " IICnum");
    EXPECT_SAME_BITS(a.H, b.H, name + " H");
    EXPECT_SAME_BITS(a.F, b.F, name + " F");
    EXPECT_SAME_BITS(a.AWF, b.AWF, name + " AWF");
    EXPECT_SAME_BITS(a.PC, b.PC, name + " PC");
    EXPECT_SAME_BITS(a.PCnum, b.PCnum, name + " PCnum");
    EXPECT_EQ(a.nodes == nullptr, b.nodes == nullptr) << name;
    EXPECT_EQ(a.component == nullptr, b.component == nullptr) << name;
}

// Everything the accessors, views and files can show, and the progress texts.
inline void expectSameResults(const ProcessedInMemory& fast, const ProcessedInMemory& reference) {
    const engine::tamblorProgram& f = *fast.program;
    const engine::tamblorProgram& r = *reference.program;
    expectSameLandscape(*f.overall, *r.overall, "overall");
    for (std::int32_t k = 0; k < r.nNodes; ++k)
        expectSameLandscape(f.withoutNode[k], r.withoutNode[k], "without node " + std::to_string(k));
    for (std::int32_t c = 0; c < r.nAddedNodes; ++c)
        expectSameLandscape(f.withAddedNode[c], r.withAddedNode[c], "with candidate " + std::to_string(c));
    if (r.hasComponents()) {
        for (std::int32_t i = 0; i < r.nNodes; ++i) EXPECT_EQ(f.getNodeComponent(i), r.getNodeComponent(i)) << i;
    }
    if (r.hasMaxProductProbabilities()) {
        for (std::int32_t i = 0; i < r.nNodes; ++i)
            for (std::int32_t j = 0; j < r.nNodes; ++j)
                EXPECT_SAME_BITS(f.overall->getMaxProductProbability(i, j), r.overall->getMaxProductProbability(i, j),
                                 "maximum product " + std::to_string(i) + "-" + std::to_string(j));
    }
    using Importance = long double (engine::tamblorProgram::*)(std::int32_t) const;
    using P = engine::tamblorProgram;
    struct Pair {
        const char* name;
        Importance existing, added;
    };
    const Pair importances[] = {{"dA", &P::nodeImportanceA, &P::addedNodeImportanceA},
                                {"dCCP", &P::nodeImportanceCCP, &P::addedNodeImportanceCCP},
                                {"dLCP", &P::nodeImportanceLCP, &P::addedNodeImportanceLCP},
                                {"dIIC", &P::nodeImportanceIIC, &P::addedNodeImportanceIIC},
                                {"dNC", &P::nodeImportanceNC, &P::addedNodeImportanceNC},
                                {"dNL", &P::nodeImportanceNL, &P::addedNodeImportanceNL},
                                {"dH", &P::nodeImportanceH, &P::addedNodeImportanceH},
                                {"dF", &P::nodeImportanceF, &P::addedNodeImportanceF},
                                {"dAWF", &P::nodeImportanceAWF, &P::addedNodeImportanceAWF},
                                {"dPC", &P::nodeImportancePC, &P::addedNodeImportancePC}};
    for (const Pair& importance : importances) {
        for (std::int32_t k = 0; k < r.nNodes; ++k) {
            const long double a = (f.*importance.existing)(k);
            const long double b = (r.*importance.existing)(k);
            EXPECT_SAME_BITS(a, b, std::string(importance.name) + " of node " + std::to_string(k));
        }
        for (std::int32_t c = 0; c < r.nAddedNodes; ++c) {
            const long double a = (f.*importance.added)(c);
            const long double b = (r.*importance.added)(c);
            EXPECT_SAME_BITS(a, b, std::string(importance.name) + " of candidate " + std::to_string(c));
        }
    }
    EXPECT_EQ(fast.status.history(), reference.status.history());
}

}  // namespace testing_support
