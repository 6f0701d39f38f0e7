// Reads the node file into the node arrays, checking each value, and settles AL.
#include <cstdint>
#include <string>

#include "engine/InputFileMessages.h"
#include "engine/NumberScanner.h"
#include "engine/RepeatedFaultBoxes.h"
#include "engine/tamblorProgram.h"
#include "sysutils/FloatConversion.h"
#include "sysutils/MessageBoxes.h"

namespace engine {
namespace {

enum class RecordOutcome {
    Complete,   // every value of the record was read and passed the stopping checks
    FileEnded,  // the file ended before the record was complete; nothing more to read
    Stopped,    // a stopping check failed; reading ends here
};

struct NodeRecord {
    std::int32_t id = 0;
    float attribute = 0.0f;
    float existing = 1.0f;  // third column: 1 existing node, 0 candidate
};

void showNodeError(const char* startText, std::int64_t line, const char* columnText, const char* closing) {
    sysutils::ShowMessage(startText + sysutils::IntToStr(line) + columnText + closing, errorCaption);
}

// Reads one record of the node file with the checks that go with each value; the
// warnings that let reading go on pass through `negativeAttributes`.
RecordOutcome readNodeRecord(NumberScanner& scanner, bool withThirdColumn, std::int64_t line, NodeRecord& record,
                             RepeatedFaultBoxes& negativeAttributes) {
    float id = 0.0f;
    ScanResult result = scanner.read(id);
    if (result == ScanResult::EndOfFile) return RecordOutcome::FileEnded;
    if (result == ScanResult::NotANumber) {
        showNodeError(nonNumericalNodeId, line, ofNodeFileFirstColumn, nodeFileStopping);
        return RecordOutcome::Stopped;
    }
    if (!integralInt32(id, record.id)) {
        showNodeError("A non-integer node ID value has been found in line ", line, ofNodeFileFirstColumn,
                      nodeFileStopping);
        return RecordOutcome::Stopped;
    }

    result = scanner.read(record.attribute);
    if (result == ScanResult::EndOfFile) return RecordOutcome::FileEnded;
    if (result == ScanResult::NotANumber) {
        showNodeError(nonNumericalNodeAttribute, line, ofNodeFileSecondColumn, nodeFileStopping);
        return RecordOutcome::Stopped;
    }
    if (record.attribute < 0)
        negativeAttributes.show("A negative node attribute value has been found in line " + sysutils::IntToStr(line) +
                                " of the node file (second column). \nPlease correct." + nodeFileWarning);

    if (!withThirdColumn) return RecordOutcome::Complete;
    result = scanner.read(record.existing);
    if (result == ScanResult::EndOfFile) return RecordOutcome::FileEnded;
    if (result == ScanResult::NotANumber) {
        showNodeError(nonNumericalNodeValue, line, ofNodeFileThirdColumn, nodeFileStopping);
        return RecordOutcome::Stopped;
    }
    std::int32_t whole = 0;
    if (!integralInt32(record.existing, whole)) {
        showNodeError("A non-integer value has been found in line ", line, ofNodeFileThirdColumn, nodeFileStopping);
        return RecordOutcome::Stopped;
    }
    if (record.existing != 0.0f && record.existing != 1.0f) {
        showNodeError("A value different from 0 or 1 has been found in line ", line,
                      " of the node file (third column). \nPlease correct.", nodeFileStopping);
        return RecordOutcome::Stopped;
    }
    return RecordOutcome::Complete;
}

}  // namespace

void tamblorProgram::readNodeFile() {
    totalAttribute = 0.0f;
    NumberScanner scanner(nodeFile);
    if (!scanner.isOpen()) {
        sysutils::ShowMessage(cannotOpenInputFile + nodeFile + scanner.notOpenedReason(), errorCaption);
    } else {
        // Slots that no record fills keep ID 0 and attribute 0 from the allocation.
        std::int32_t stored = 0;
        std::int32_t storedCandidates = 0;
        NodeRecord record;
        RepeatedFaultBoxes negativeAttributes("a negative node attribute value", nodeFile, errorCaption);
        // Never more records than the pre-scans counted, even if the file has grown since.
        while ((stored < nNodes || storedCandidates < nAddedNodes) &&
               readNodeRecord(scanner, addNodes, std::int64_t{stored} + storedCandidates + 1, record,
                              negativeAttributes) == RecordOutcome::Complete) {
            if (addNodes && record.existing == 0.0f) {
                if (storedCandidates >= nAddedNodes) break;
                addedNodeIds[storedCandidates] = record.id;
                addedAttributes[storedCandidates] = record.attribute;
                ++storedCandidates;
            } else {
                if (stored >= nNodes) break;
                nodeIds[stored] = record.id;
                attributes[stored] = record.attribute;
                totalAttribute += record.attribute;
                ++stored;
            }
        }
        negativeAttributes.finish();
    }

    if (totalAttribute > AL && AL != 0) {
        sysutils::ShowMessage(
            " Maximum landscape attribute (AL) is lower than the sum of node attributes.\n Only the "
            "numerators of the overall LCP, IIC and PC values will be computed.",
            warningCaption);
        ALValid = false;
        AL = 1.0f;
    } else if (AL != 0 && AL < 1.0f) {
        // The landscapes take AL as a whole number, and this one would become 0: the
        // normalised values would divide by zero. It is refused like an AL below the sum.
        sysutils::ShowMessage(
            " Maximum landscape attribute (AL) is lower than 1.\n Only the "
            "numerators of the overall LCP, IIC and PC values will be computed.",
            warningCaption);
        ALValid = false;
        AL = 1.0f;
    } else if (AL != 0) {
        ALValid = true;
    } else {
        ALValid = false;
        AL = 1.0f;
    }
}

}  // namespace engine
