// Reads the connection file into the connection matrices, checking each value, and
// looks node IDs up among the nodes read from the node file.
#include <cstdint>
#include <new>
#include <string>

#include "engine/InputFileMessages.h"
#include "engine/InputPrescan.h"
#include "engine/NumberScanner.h"
#include "engine/RepeatedFaultBoxes.h"
#include "engine/tamblorProgram.h"
#include "sysutils/FloatConversion.h"
#include "sysutils/MessageBoxes.h"

namespace engine {
namespace {

void showError(const std::string& text) { sysutils::ShowMessage(text, errorCaption); }

void showLineError(const char* startText, std::int64_t line, const char* columnText) {
    showError(startText + sysutils::IntToStr(line) + columnText + connectionFileStopping);
}

void showPairWarning(RepeatedFaultBoxes& boxes, const char* startText, float firstId, float secondId,
                     const char* endText) {
    boxes.show(startText + sysutils::FloatToStr(static_cast<double>(firstId)) + " and " +
               sysutils::FloatToStr(static_cast<double>(secondId)) + endText + connectionFileWarning);
}

void showUnknownPair(RepeatedFaultBoxes& boxes, std::int32_t firstId, std::int32_t secondId, std::int64_t line) {
    boxes.show("Error in the format of the connection file. \nNodes with IDs " + sysutils::IntToStr(firstId) + " and " +
              sysutils::IntToStr(secondId) + " are found in line " + sysutils::IntToStr(line) +
              " of the connection file, but at least one of them may not be listed in the node file. \nPlease check "
              "that the node file ends with a blank line. \nProcessing will continue without using the connection "
              "information for those two nodes, but the RESULTS will probably BE INVALID because of that error in "
              "the input data.\nPlease cancel and discard the processing and correct the format of the input files.");
}

// The value warnings of the run's connection type, one check per type.
const char* valueFault(bool isDistances, bool isProbabilities) {
    if (isDistances) return "a negative distance value";
    if (isProbabilities) return "a probability value smaller than 0 or bigger than 1";
    return "a link value different from 0 or 1";
}

void fillRows(FloatRows& rows, std::int32_t count, std::int32_t width, float value) {
    if (!rows) return;
    for (std::int32_t row = 0; row < count; ++row) {
        if (!rows[row]) continue;
        for (std::int32_t column = 0; column < width; ++column) rows[row][column] = value;
    }
}

enum class IdOutcome { Read, FileEnded, Stopped };

// Reads one node ID of a record with its checks; `column` names it in the messages.
IdOutcome readId(NumberScanner& scanner, std::int64_t line, const char* columnText, float& value, std::int32_t& id) {
    const ScanResult result = scanner.read(value);
    if (result == ScanResult::EndOfFile) return IdOutcome::FileEnded;
    if (result == ScanResult::NotANumber) {
        showLineError("A non-numerical node ID value has been found in line ", line, columnText);
        return IdOutcome::Stopped;
    }
    if (!integralInt32(value, id)) {
        showLineError("A non-integer node ID value has been found in line ", line, columnText);
        return IdOutcome::Stopped;
    }
    return IdOutcome::Read;
}

}  // namespace

bool tamblorProgram::findNode(std::int32_t id, std::int32_t& index) const {
    if (nodeIdIndex && nodeIdIndex->usable()) return nodeIdIndex->find(id, index);
    for (std::int32_t position = 0; position < nNodes; ++position) {
        if (nodeIds[position] == id) {
            index = position;
            return true;
        }
    }
    index = -1;
    return false;
}

bool tamblorProgram::findAddedNode(std::int32_t id, std::int32_t& index) const {
    if (addedNodeIdIndex && addedNodeIdIndex->usable()) return addedNodeIdIndex->find(id, index);
    for (std::int32_t position = 0; position < nAddedNodes; ++position) {
        if (addedNodeIds[position] == id) {
            index = position;
            return true;
        }
    }
    index = -1;
    return false;
}

void tamblorProgram::readConnectionFile() {
    // Every cell starts as "no connection" of the run's type.
    const float initial = isDistances ? noConnection : 0.0f;
    fillRows(connections, nNodes, nNodes, initial);
    fillRows(addedConnections, nAddedNodes, nNodes, initial);

    // The pre-scan again, for the number of records. It reports a file that cannot be
    // opened or holds no value, and leaves the count unset then.
    int columns = 0;
    int records = -1;
    countColumnsAndLines(connectionFile, columns, records);
    if (records < 0) return;

    NumberScanner scanner(connectionFile);
    if (!scanner.isOpen()) {
        showError(cannotOpenInputFile + connectionFile + scanner.notOpenedReason());
        return;
    }

    // Every record looks up two IDs: index them for the time of reading, and drop the
    // indexes at every way out, so that later lookups see the arrays as they are then.
    struct IndexesWhileReading {
        tamblorProgram& run;
        explicit IndexesWhileReading(tamblorProgram& program) : run(program) {
            // Without memory for an index the lookups scan, as they do outside reading.
            run.nodeIdIndex.reset(new (std::nothrow) IdIndex(run.nodeIds.get(), run.nNodes));
            run.addedNodeIdIndex.reset(new (std::nothrow) IdIndex(run.addedNodeIds.get(), run.nAddedNodes));
        }
        ~IndexesWhileReading() {
            run.nodeIdIndex.reset();
            run.addedNodeIdIndex.reset();
        }
    } indexes(*this);

    RepeatedFaultBoxes valueWarnings(valueFault(isDistances, isProbabilities), connectionFile, errorCaption);
    RepeatedFaultBoxes unknownPairs("IDs that may not be listed in the node file", connectionFile, errorCaption);
    // Every way out of the loop is a break, so that both checks end after it.
    for (std::int64_t line = 1; line <= records; ++line) {
        float firstValue = 0.0f;
        float secondValue = 0.0f;
        float value = 0.0f;
        std::int32_t firstId = 0;
        std::int32_t secondId = 0;
        // The end of the file inside a record ends reading; the incomplete record is dropped.
        IdOutcome idOutcome = readId(scanner, line, " of the connection file (first column).", firstValue, firstId);
        if (idOutcome != IdOutcome::Read) break;
        idOutcome = readId(scanner, line, " of the connection file (second column).", secondValue, secondId);
        if (idOutcome != IdOutcome::Read) break;
        const ScanResult result = scanner.read(value);
        if (result == ScanResult::EndOfFile) break;
        if (result == ScanResult::NotANumber) {
            showLineError("A non-numerical value has been found in line ", line,
                          " of the connection file (third column). \nPlease correct.");
            break;
        }

        if (isDistances && value < 0)
            showPairWarning(valueWarnings, "A negative distance value for the nodes with IDs ", firstValue, secondValue,
                            " has been found in the third column of the connection file. \nPlease correct.");
        if (isProbabilities && (value < 0 || value > 1))
            showPairWarning(valueWarnings,
                            "A probability value smaller than 0 or bigger than 1 for the nodes with IDs ", firstValue,
                            secondValue,
                            " has been found in the third column of the connection file. \nPlease correct or check "
                            "if \u201CDistances\u201D may be the appropriate type of connection for your connection "
                            "file.");
        if (isLinks && value != 0 && value != 1)
            showPairWarning(valueWarnings, "A link value different from 0 or 1 for the nodes with IDs ", firstValue,
                            secondValue,
                            " has been found in the third column of the connection file. \nPlease correct or check "
                            "if \u201CDistances\u201D or \u201CProbabilities\u201D may be the appropriate type of "
                            "connection for your connection file.");

        std::int32_t first = -1;
        std::int32_t second = -1;
        const bool firstExists = findNode(firstId, first);
        const bool secondExists = findNode(secondId, second);
        std::int32_t candidate = -1;
        if (firstExists && secondExists) {
            connections[first][second] = value;
            connections[second][first] = value;
        } else if (firstExists) {
            if (findAddedNode(secondId, candidate))
                addedConnections[candidate][first] = value;
            else
                showUnknownPair(unknownPairs, firstId, secondId, line);
        } else if (secondExists) {
            if (findAddedNode(firstId, candidate))
                addedConnections[candidate][second] = value;
            else
                showUnknownPair(unknownPairs, firstId, secondId, line);
        }
    }
    valueWarnings.finish();
    unknownPairs.finish();
}

}  // namespace engine
