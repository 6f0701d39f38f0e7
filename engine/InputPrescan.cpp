#include "engine/InputPrescan.h"

#include <cstdint>
#include <cstdio>
#include <limits>

#include "engine/InputFile.h"
#include "engine/InputFileMessages.h"
#include "engine/NumberScanner.h"
#include "engine/RepeatedFaultBoxes.h"
#include "sysutils/FloatConversion.h"
#include "sysutils/MessageBoxes.h"

namespace engine {
namespace {

// Walks a file line by line and counts the values of each line without keeping it,
// so that lines of any length are counted whole. A carriage return right before a
// line feed belongs to the line end; anywhere else it is part of a value.
class LineValueCounter {
public:
    explicit LineValueCounter(std::FILE* file) : file_(file) {}

    // Counts the values of the next line: the maximal runs of characters other than
    // blank, tab and line end. False when the file has no more characters.
    bool nextLine(std::int64_t& values) {
        values = 0;
        int c = std::getc(file_);
        if (c == EOF) return false;
        bool inValue = false;
        while (c != EOF && c != '\n') {
            if (c == '\r') {
                const int next = std::getc(file_);
                if (next == '\n') break;
                if (next != EOF) std::ungetc(next, file_);
            }
            const bool separator = c == ' ' || c == '\t';
            if (!separator && !inValue) ++values;
            inValue = !separator;
            c = std::getc(file_);
        }
        return true;
    }

private:
    std::FILE* file_;
};

int clampedToInt(std::int64_t count) {
    return count > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(count);
}

void showError(const std::string& text) { sysutils::ShowMessage(text, errorCaption); }

}  // namespace

int countColumnsAndLines(const std::string& fileName, int& columns, int& lines) {
    const OpenedInputFile opened = openInputFile(fileName);
    std::FILE* file = opened.file;
    if (file == nullptr) {
        showError(cannotOpenInputFile + fileName + opened.reason);
        return 1;
    }

    LineValueCounter counter(file);
    RepeatedFaultBoxes columnFaults("a number of columns different from that of the first line", fileName,
                                    errorCaption);
    int errors = 0;
    std::int64_t firstCount = 0;
    std::int64_t counted = 0;
    std::int64_t values = 0;
    while (counter.nextLine(values)) {
        if (values == 0) continue;  // blank lines are not counted anywhere
        ++counted;
        if (counted == 1) {
            firstCount = values;
        } else if (values != firstCount) {
            columnFaults.show(
                "Not all the lines within the node or connection file have the same number of columns. \nLine " +
                sysutils::IntToStr(counted) + " in the node or connection file has " + sysutils::IntToStr(values) +
                " columns, which is different from previous lines in the same file.");
            if (errors < std::numeric_limits<int>::max()) ++errors;
        }
    }
    std::fclose(file);
    columnFaults.finish();

    if (counted == 0) {
        showError("The node file or connection file " + fileName + " holds no values.");
        return 1;
    }
    columns = clampedToInt(firstCount);
    lines = clampedToInt(counted);
    return errors;
}

int countNodesToAdd(const std::string& fileName) {
    NumberScanner scanner(fileName);
    if (!scanner.isOpen()) {
        showError("Cannot open node file " + fileName + scanner.notOpenedReason());
        return 0;
    }

    // The first record's messages name line 1, as the node reader's do; later ones name no line.
    struct NonNumerical {
        const char* startText;
        const char* columnText;
        const char* withoutLine;
    };
    const NonNumerical idMessage{nonNumericalNodeId, ofNodeFileFirstColumn,
                                 "A non-numerical node ID value has been found in the node file (first column)."};
    const NonNumerical attributeMessage{
        nonNumericalNodeAttribute, ofNodeFileSecondColumn,
        "A non-numerical node attribute value has been found in the node file (second column)."};
    const NonNumerical thirdMessage{nonNumericalNodeValue, ofNodeFileThirdColumn,
                                    "A non-numerical value has been found in the node file (third column)."};
    auto reportNonNumerical = [](bool firstRecord, const NonNumerical& message) {
        if (firstRecord)
            showError(std::string(message.startText) + "1" + message.columnText + nodeFileStopping);
        else
            showError(std::string(message.withoutLine) + nodeFileStopping);
    };

    std::int64_t candidates = 0;
    float id = 0.0f;
    float attribute = 0.0f;
    float existing = 0.0f;
    for (bool firstRecord = true;; firstRecord = false) {
        ScanResult result = scanner.read(id);
        if (result == ScanResult::EndOfFile) break;
        if (result == ScanResult::NotANumber) {
            reportNonNumerical(firstRecord, idMessage);
            break;
        }
        result = scanner.read(attribute);
        if (result == ScanResult::EndOfFile) break;  // an incomplete record is not counted
        if (result == ScanResult::NotANumber) {
            reportNonNumerical(firstRecord, attributeMessage);
            break;
        }
        result = scanner.read(existing);
        if (result == ScanResult::EndOfFile) break;
        if (result == ScanResult::NotANumber) {
            reportNonNumerical(firstRecord, thirdMessage);
            break;
        }
        if (existing == 0.0f) ++candidates;
    }
    return clampedToInt(candidates);
}

}  // namespace engine
