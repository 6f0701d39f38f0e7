// The first run step: the summary flags of the index selection, the run parameters
// against the connection type, and the shape of both input files.
#include <cstdint>
#include <string>

#include "engine/InputFileMessages.h"
#include "engine/InputPrescan.h"
#include "engine/tamblorProgram.h"
#include "sysutils/FloatConversion.h"
#include "sysutils/MessageBoxes.h"

namespace engine {
namespace {

void reportError(int& errors, const std::string& text) {
    sysutils::ShowMessage(text, errorCaption);
    ++errors;
}

}  // namespace

int tamblorProgram::checkParameters() {
    if (doCCP || doLCP || doIIC || doNC || doNL || doH) anyBinary = true;
    if (doCCP || doLCP || doNC) needComponents = true;
    if (doF || doAWF || doPC) anyProbabilistic = true;

    // Every parameter check runs, each failure in its own box.
    int errors = 0;
    if (isDistances && anyBinary && threshold < 0)
        reportError(errors, "The value for the distance threshold cannot be negative (binary indices)");
    if (isDistances && anyProbabilistic) {
        if (probability <= 0 || probability > 1)
            reportError(errors, "The probability value must range between 0 and 1 (probabilistic indices)");
        if (distance <= 0) reportError(errors, "The distance value cannot be negative (probabilistic indices)");
        if (minProbability < 0 || minProbability > 1)
            reportError(errors, "The minimum probability value (PC index) must range between 0 and 1");
    }
    if (isProbabilities && anyBinary && (threshold <= 0 || threshold > 1))
        reportError(errors, "The value for the probability threshold must range between 0 and 1 (binary indices)");
    if (isLinks && anyProbabilistic)
        reportError(errors,
                    "Probabilistic indices (F, AWF, PC) cannot be computed when binary links is the type of "
                    "connection file");
    // Without a type the connection matrices would get no initial values.
    if (!isDistances && !isProbabilities && !isLinks)
        reportError(errors, "No type of connection file has been selected (Distances, Probabilities or Links).");
    if (errors > 0) return errors;

    int columns = 0;
    int lines = 0;
    errors += countColumnsAndLines(nodeFile, columns, lines);
    if (errors > 0) return errors;
    nNodeLines = lines;
    if (addNodes && columns != 3)
        reportError(errors, "Node file must have 3 columns (when there are nodes to add, as selected).");
    if (!addNodes && columns != 2)
        reportError(errors, "Node file must have 2 columns (unless there are nodes to add, which was not selected).");
    if (errors > 0) return errors;

    errors += countColumnsAndLines(connectionFile, columns, lines);
    if (errors > 0) return errors;
    const std::int64_t n = nNodeLines;
    const std::int64_t pairs = n * (n - 1) / 2;
    if (columns != 3)
        reportError(errors,
                    "Error in the format of the connection file. The file may not have three columns (as expected "
                    "for the add nodes option)");
    if (fullMatrix && lines != pairs) {
        const std::string counts = "The connection file has " + sysutils::IntToStr(lines) +
                                   " lines (pairs of nodes), instead of the full " + sysutils::IntToStr(pairs) +
                                   " lines expected from the number of nodes in the node file.";
        reportError(errors,
                    "Error in the format of the connection file. Some of the pairs of nodes may not be listed (as "
                    "required by the full option) or too many pairs may be listed. " +
                        counts);
    }
    if (lines > pairs + 1) reportError(errors, "Error in the format of the connection file. Too many lines");
    return errors;
}

}  // namespace engine
