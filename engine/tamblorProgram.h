#pragma once
// The engine object of one execution: the run parameters, the nodes and connection
// matrices read from the input files, the overall landscape and one landscape per
// removed or added node, the index selection and a time total per index.
// The worker calls its run steps in order: checkParameters, readInputs,
// writeSummary, process, writeProcessingTimes; the windows then read the results
// through the accessors. Relies on sysutils for messages, texts and the clock.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/IdIndex.h"
#include "engine/MemoryEstimate.h"
#include "engine/ProcessingPath.h"
#include "engine/landscape.h"
#include "sysutils/Strings.h"

namespace engine {

// Rows of a connection matrix, each allocated on its own; a row never allocated is null.
using FloatRows = std::unique_ptr<std::unique_ptr<float[]>[]>;

class tamblorProgram {
public:
    // Note the order: the distance comes before the probability.
    tamblorProgram(bool isDistances, bool isProbabilities, bool isLinks, bool doA, bool doCCP, bool doLCP,
                   bool doIIC, bool doNC, bool doNL, bool doH, bool doF, bool doAWF, bool doPC, std::string nodeFile,
                   std::string connectionFile, float threshold, float distance, float probability,
                   float minProbability, bool allPaths, bool fullMatrix, bool addNodes, float AL);
    ~tamblorProgram();
    tamblorProgram(const tamblorProgram&) = delete;
    tamblorProgram& operator=(const tamblorProgram&) = delete;

    // ---- Run steps ------------------------------------------------------------------

    // Derives the summary flags, checks the parameters and pre-scans both files.
    // Returns the number of errors; the run goes on only with 0.
    int checkParameters();
    // allocateArrays, readNodeFile, readConnectionFile.
    void readInputs();
    void writeSummary(sysutils::TStrings& log);
    void process(sysutils::TStrings& log, sysutils::StatusPanels& status);
    void writeProcessingTimes(sysutils::TStrings& log);

    // Parts of readInputs, callable on their own. allocateArrays first compares
    // memoryNeeded with the memory available and raises the out-of-memory exception
    // when the run cannot fit.
    void allocateArrays();
    // Bytes that the run allocates at its peak (MemoryEstimate.h), on the path that its
    // parameters lead to: from the counts of nodes and candidates, and once the processing
    // step has counted them, the links and direct connections.
    std::uint64_t memoryNeeded() const;
    // The run as the memory estimate sees it, with `threads` on the fast path.
    RunShape memoryShape(unsigned threads) const;
    // The path that processing takes as far as the run's parameters tell (the inputs may
    // still send an automatic run to the reference).
    ProcessingPath expectedPath() const;
    // The threads of the fast path: processingThreads, or one per core.
    unsigned fastPathThreads() const;
    // Counts the links and the direct connections of the matrices into connectionCounts.
    void countConnections();
    // Before processing on `path`: counts the connections and raises the out-of-memory
    // exception when what the processing step allocates exceeds the memory available.
    void ensureProcessingMemory(ProcessingPath path, unsigned threads);
    void readNodeFile();
    void readConnectionFile();

    // Position of the first occurrence of id in nodeIds (addedNodeIds), or -1.
    bool findNode(std::int32_t id, std::int32_t& index) const;
    bool findAddedNode(std::int32_t id, std::int32_t& index) const;

    // ---- Processing -----------------------------------------------------------------
    // The reference algorithm: computeOverall, then every per-node landscape in turn.
    void processOnReferencePath(sysutils::StatusPanels& status);
    void computeOverall();
    void computeWithoutNode(std::int32_t i);
    void computeWithAddedNode(std::int32_t i);
    void computeIndices(landscape& L);

    // ---- Flag getters ---------------------------------------------------------------
    bool hasBinaryIndices() const { return anyBinary; }
    bool hasComponents() const { return needComponents; }
    bool hasProbabilisticIndices() const { return anyProbabilistic; }
    bool hasMaxProductProbabilities() const { return doPC; }

    // ---- Accessors ------------------------------------------------------------------
    std::int32_t getNumNodes() const { return nNodes; }
    std::int32_t getNumAddedNodes() const { return nAddedNodes; }
    std::int32_t getNodeId(std::int32_t i) const { return nodeIds[i]; }
    std::int32_t getAddedNodeId(std::int32_t i) const { return addedNodeIds[i]; }
    bool isASelected() const { return doA; }
    bool isCCPSelected() const { return doCCP; }
    bool isLCPSelected() const { return doLCP; }
    bool isIICSelected() const { return doIIC; }
    bool isNCSelected() const { return doNC; }
    bool isNLSelected() const { return doNL; }
    bool isHSelected() const { return doH; }
    bool isFSelected() const { return doF; }
    bool isAWFSelected() const { return doAWF; }
    bool isPCSelected() const { return doPC; }

    double getOverallCCP() const;
    double getOverallLCP() const;
    double getOverallLCPnum() const;
    double getOverallIIC() const;
    double getOverallIICnum() const;
    double getOverallH() const;
    double getOverallF() const;
    double getOverallAWF() const;
    double getOverallPC() const;
    double getOverallPCnum() const;
    double getOverallNC() const;
    double getOverallNL() const;
    std::int32_t getNodeComponent(std::int32_t i) const;

    long double nodeImportanceA(std::int32_t i) const;
    long double nodeImportanceCCP(std::int32_t i) const;
    long double nodeImportanceLCP(std::int32_t i) const;
    long double nodeImportanceIIC(std::int32_t i) const;
    long double nodeImportanceNC(std::int32_t i) const;
    long double nodeImportanceNL(std::int32_t i) const;
    long double nodeImportanceH(std::int32_t i) const;
    long double nodeImportanceF(std::int32_t i) const;
    long double nodeImportanceAWF(std::int32_t i) const;
    long double nodeImportancePC(std::int32_t i) const;

    long double addedNodeImportanceA(std::int32_t i) const;
    long double addedNodeImportanceCCP(std::int32_t i) const;
    long double addedNodeImportanceLCP(std::int32_t i) const;
    long double addedNodeImportanceIIC(std::int32_t i) const;
    long double addedNodeImportanceNC(std::int32_t i) const;
    long double addedNodeImportanceNL(std::int32_t i) const;
    long double addedNodeImportanceH(std::int32_t i) const;
    long double addedNodeImportanceF(std::int32_t i) const;
    long double addedNodeImportanceAWF(std::int32_t i) const;
    long double addedNodeImportancePC(std::int32_t i) const;

    double directProbability(std::int32_t i, std::int32_t j) const;
    double maxProductProbability(std::int32_t i, std::int32_t j) const;
    bool isLinked(std::int32_t i, std::int32_t j) const;

    // ---- Fields, in the engine's declared order --------------------------------------
    std::unique_ptr<landscape> overall;
    std::unique_ptr<landscape[]> withoutNode;
    std::unique_ptr<landscape[]> withAddedNode;
    float totalAttribute = 0.0f;
    float AL = 0.0f;
    bool ALValid = false;
    std::int32_t nNodes = 0;
    std::int32_t nAddedNodes = 0;
    std::int32_t nNodeLines = 0;
    std::unique_ptr<std::int32_t[]> nodeIds;
    std::unique_ptr<std::int32_t[]> addedNodeIds;
    std::unique_ptr<float[]> attributes;
    std::unique_ptr<float[]> addedAttributes;
    FloatRows connections;
    FloatRows addedConnections;
    bool doA, doCCP, doLCP, doIIC, doNC, doNL, doH, doF, doAWF, doPC;
    bool anyBinary = false;
    bool anyProbabilistic = false;
    bool needComponents = false;
    bool isDistances, isProbabilities, isLinks;
    std::string nodeFile;
    std::string connectionFile;
    float threshold;
    float probability;
    float distance;
    float minProbability;
    bool allPaths;
    bool fullMatrix;
    bool addNodes;
    std::int32_t ticksNL = 0, ticksNC = 0, ticksH = 0, ticksCCP = 0, ticksLCP = 0, ticksIIC = 0, ticksHIIC = 0,
                 ticksF = 0, ticksAWF = 0, ticksPC = 0;

    // The algorithm of the processing step, and the number of threads of the fast path
    // (0: one per core). Both leave every result unchanged.
    ProcessingPath processingPath = ProcessingPath::Automatic;
    unsigned processingThreads = 0;
    // After process: the path that computed the results (Reference or Fast).
    ProcessingPath processedOn = ProcessingPath::Automatic;
    // The pairs that processing turns into links and graph entries, once it counted them.
    ConnectionCounts connectionCounts;

private:
    // While the connection file is read: hash indexes of nodeIds and addedNodeIds, which
    // findNode and findAddedNode use instead of scanning.
    std::unique_ptr<IdIndex> nodeIdIndex;
    std::unique_ptr<IdIndex> addedNodeIdIndex;

    ConnectionType connectionType() const { return ConnectionType{isDistances, isProbabilities, isLinks}; }
};

}  // namespace engine
