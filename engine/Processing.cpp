// The processing step: the selected indices on the overall landscape, then on one
// landscape per removed existing node and per added candidate, each timed per index,
// with progress in the status bar and the event log.
#include <cstdint>
#include <string>

#include "engine/NumericConversion.h"
#include "engine/fast/FastProcessing.h"
#include "engine/tamblorProgram.h"
#include "sysutils/DateTime.h"
#include "sysutils/FloatConversion.h"

namespace engine {

void tamblorProgram::process(sysutils::TStrings& log, sysutils::StatusPanels& status) {
    std::string selected = "Processed indices:";
    const std::pair<bool, const char*> names[] = {{doNL, " NL"},   {doNC, " NC"},   {doH, " H"},
                                                  {doCCP, " CCP"}, {doLCP, " LCP"}, {doIIC, " IIC"},
                                                  {doF, " F"},     {doAWF, " AWF"}, {doPC, " PC"}};
    for (const auto& [isSelected, name] : names)
        if (isSelected) selected += name;
    log.Add(selected);
    const sysutils::TDateTime started = sysutils::Now();
    log.Add("Indices processing started at: " + sysutils::TimeToStr(started) + " " + sysutils::DateToStr(started));

    status.setPanelText(0, "Processing overall landscape indices");
    processedOn = ProcessingPath::Fast;
    if (!fast::processFast(*this, status)) {
        processedOn = ProcessingPath::Reference;
        ensureProcessingMemory(ProcessingPath::Reference, 1);
        processOnReferencePath(status);
    }
    status.setPanelText(0, "Execution ended");
}

void tamblorProgram::processOnReferencePath(sysutils::StatusPanels& status) {
    computeOverall();

    // The percentage counts processed node records over all node records.
    std::int64_t processed = 1;
    const auto percentDone = [this, &processed]() {
        const std::int64_t percent = nNodeLines > 0 ? processed * 100 / nNodeLines : 100;
        return sysutils::IntToStr(percent) + "% completed";
    };
    for (std::int32_t i = 0; i < nNodes; ++i) {
        computeWithoutNode(i);
        status.setPanelText(0, "Processing importance of node with ID " + sysutils::IntToStr(nodeIds[i]));
        status.setPanelText(1, percentDone());
        ++processed;
    }
    for (std::int32_t i = 0; i < nAddedNodes; ++i) {
        computeWithAddedNode(i);
        status.setPanelText(0, "Processing importances of added nodes with ID " + sysutils::IntToStr(addedNodeIds[i]));
        status.setPanelText(1, percentDone());
        ++processed;
    }
}

void tamblorProgram::computeOverall() {
    overall->landscapeFromMatrix(attributes.get(), nodeIds.get(), connections.get(), nNodes, truncateToInt32(AL),
                                 anyBinary, anyProbabilistic, isDistances, isProbabilities, isLinks, threshold,
                                 probability, distance, minProbability, allPaths);
    computeIndices(*overall);
}

void tamblorProgram::computeWithoutNode(std::int32_t i) {
    landscape& element = withoutNode[i];
    element.landscapeWithoutNode(*overall, i, /*buildLinks=*/anyBinary, /*buildProbabilities=*/anyProbabilistic);
    computeIndices(element);
    element.releaseNodes();
}

void tamblorProgram::computeWithAddedNode(std::int32_t i) {
    landscape& element = withAddedNode[i];
    element.landscapeWithAddedNode(addedAttributes[i], addedNodeIds[i], addedConnections[i].get(), anyBinary,
                                   anyProbabilistic, isDistances, isProbabilities, isLinks, threshold, probability,
                                   distance, *overall);
    computeIndices(element);
    element.releaseNodes();
}

namespace {

// Runs `compute` and adds the milliseconds it took to `total`.
template <class Compute>
void timed(std::int32_t& total, Compute compute) {
    const std::int64_t start = sysutils::GetTickCount();
    compute();
    total = static_cast<std::int32_t>(total + (sysutils::GetTickCount() - start));
}

}  // namespace

void tamblorProgram::computeIndices(landscape& L) {
    if (doNL) timed(ticksNL, [&L] { L.computeNL(); });
    if (doNC) timed(ticksNC, [&L] { L.computeNC(); });
    if (doH && doIIC) timed(ticksHIIC, [&L] { L.computeIICandH(); });
    if (doH && !doIIC) timed(ticksH, [&L] { L.computeH(); });
    if (doCCP) timed(ticksCCP, [&L] { L.computeCCP(); });
    if (doLCP) timed(ticksLCP, [&L] { L.computeLCP(); });
    if (doIIC && !doH) timed(ticksIIC, [&L] { L.computeIIC(); });
    if (doF) timed(ticksF, [&L] { L.computeF(); });
    if (doAWF) timed(ticksAWF, [&L] { L.computeAWF(); });
    if (doPC) timed(ticksPC, [&L] { L.computePC(); });
}

}  // namespace engine
