#include "DriverRun.h"

#include <cstdint>
#include <memory>
#include <string>

#include "desktop/inputs/EditEnabling.h"
#include "desktop/inputs/RunInputs.h"
#include "engine/OutOfMemory.h"
#include "engine/tamblorProgram.h"
#include "sysutils/FormatSettings.h"
#include "sysutils/MessageBoxes.h"
#include "sysutils/Strings.h"

namespace driver {
namespace {

void printValue(std::FILE* out, const char* name, const std::string& key, double value) {
    std::fprintf(out, "%s\t%s\t%.9g\n", name, key.c_str(), value);
}

void printLog(std::FILE* out, const sysutils::TStringList& log) {
    for (const std::string& line : log.lines()) std::fprintf(out, "log\t\t%s\n", line.c_str());
}

// Lines that hold a time or a date change from run to run; they are left out.
bool isTimed(const std::string& line) {
    return line.rfind("Indices processing started at: ", 0) == 0 || line.rfind("NL: ", 0) == 0 ||
           line.rfind("NC: ", 0) == 0 || line.rfind("H: ", 0) == 0 || line.rfind("CCP: ", 0) == 0 ||
           line.rfind("LCP: ", 0) == 0 || line.rfind("IIC: ", 0) == 0 || line.rfind("F: ", 0) == 0 ||
           line.rfind("AWF: ", 0) == 0 || line.rfind("PC: ", 0) == 0;
}

void printOverall(std::FILE* out, const engine::tamblorProgram& run) {
    const struct {
        bool selected;
        const char* name;
        double (engine::tamblorProgram::*value)() const;
    } rows[] = {
        {run.isNLSelected(), "NL", &engine::tamblorProgram::getOverallNL},
        {run.isNCSelected(), "NC", &engine::tamblorProgram::getOverallNC},
        {run.isHSelected(), "H", &engine::tamblorProgram::getOverallH},
        {run.isCCPSelected(), "CCP", &engine::tamblorProgram::getOverallCCP},
        {run.isLCPSelected(), "LCPnum", &engine::tamblorProgram::getOverallLCPnum},
        {run.isLCPSelected(), "LCP", &engine::tamblorProgram::getOverallLCP},
        {run.isIICSelected(), "IICnum", &engine::tamblorProgram::getOverallIICnum},
        {run.isIICSelected(), "IIC", &engine::tamblorProgram::getOverallIIC},
        {run.isFSelected(), "F", &engine::tamblorProgram::getOverallF},
        {run.isAWFSelected(), "AWF", &engine::tamblorProgram::getOverallAWF},
        {run.isPCSelected(), "PCnum", &engine::tamblorProgram::getOverallPCnum},
        {run.isPCSelected(), "PC", &engine::tamblorProgram::getOverallPC},
    };
    for (const auto& row : rows)
        if (row.selected) printValue(out, "overall", row.name, (run.*row.value)());
    if (run.isPCSelected()) printValue(out, "overall", "directConnections", run.overall->nDirectConnections);
}

using Importance = long double (engine::tamblorProgram::*)(std::int32_t) const;

void printImportances(std::FILE* out, const engine::tamblorProgram& run) {
    using P = engine::tamblorProgram;
    const struct {
        bool selected;
        const char* name;
        Importance existing;
        Importance added;
    } columns[] = {
        {run.isASelected(), "dA", &P::nodeImportanceA, &P::addedNodeImportanceA},
        {run.isNLSelected(), "dNL", &P::nodeImportanceNL, &P::addedNodeImportanceNL},
        {run.isNCSelected(), "dNC", &P::nodeImportanceNC, &P::addedNodeImportanceNC},
        {run.isHSelected(), "dH", &P::nodeImportanceH, &P::addedNodeImportanceH},
        {run.isCCPSelected(), "dCCP", &P::nodeImportanceCCP, &P::addedNodeImportanceCCP},
        {run.isLCPSelected(), "dLCP", &P::nodeImportanceLCP, &P::addedNodeImportanceLCP},
        {run.isIICSelected(), "dIIC", &P::nodeImportanceIIC, &P::addedNodeImportanceIIC},
        {run.isFSelected(), "dF", &P::nodeImportanceF, &P::addedNodeImportanceF},
        {run.isAWFSelected(), "dAWF", &P::nodeImportanceAWF, &P::addedNodeImportanceAWF},
        {run.isPCSelected(), "dPC", &P::nodeImportancePC, &P::addedNodeImportancePC},
    };
    for (const auto& column : columns) {
        if (!column.selected) continue;
        for (std::int32_t i = 0; i < run.getNumNodes(); ++i)
            printValue(out, column.name, std::to_string(run.getNodeId(i)),
                       static_cast<double>((run.*column.existing)(i)));
        for (std::int32_t i = 0; i < run.getNumAddedNodes(); ++i)
            printValue(out, column.name, "+" + std::to_string(run.getAddedNodeId(i)),
                       static_cast<double>((run.*column.added)(i)));
    }
}

void printPairs(std::FILE* out, const engine::tamblorProgram& run) {
    for (std::int32_t i = 0; i < run.getNumNodes(); ++i) {
        for (std::int32_t j = 0; j < run.getNumNodes(); ++j) {
            const std::string key = std::to_string(run.getNodeId(i)) + "-" + std::to_string(run.getNodeId(j));
            if (run.hasBinaryIndices()) printValue(out, "linked", key, run.isLinked(i, j) ? 1 : 0);
            if (run.hasProbabilisticIndices()) printValue(out, "directProbability", key, run.directProbability(i, j));
            if (run.hasMaxProductProbabilities())
                printValue(out, "maxProductProbability", key, run.maxProductProbability(i, j));
        }
    }
}

// The inputs checked as the window's worker checks them, with the edits enabled as the
// windows enable them. The window reads its numbers with the regional separator; the
// driver's are read with a point whatever the locale, so the check runs under a point.
// Only the check: the engine's log goes on writing numbers with the regional separator.
desktop::inputs::RunInputCheck checkAsTheWindow(const desktop::inputs::RunInputs& given) {
    desktop::inputs::RunInputs in = given;
    desktop::inputs::enableEditsByTheWindowRules(in);
    const sysutils::ScopedDecimalSeparator point('.');
    return desktop::inputs::checkRunInputs(in);
}

// The printed boxes, installed for the time of one execution, however it ends.
class PrintedBoxesInstalled {
public:
    PrintedBoxesInstalled() { sysutils::installMessageBoxes(&boxes_); }
    ~PrintedBoxesInstalled() { sysutils::installMessageBoxes(nullptr); }
    PrintedBoxesInstalled(const PrintedBoxesInstalled&) = delete;
    PrintedBoxesInstalled& operator=(const PrintedBoxesInstalled&) = delete;

private:
    sysutils::PrintedMessageBoxes boxes_;
};

}  // namespace

int runExecution(const DriverOptions& o, std::FILE* out) {
    const PrintedBoxesInstalled boxes;
    const desktop::inputs::RunInputCheck check = checkAsTheWindow(o.inputs);
    // Each error in a box of its own, as the worker shows them; the run is refused as one
    // that the engine's check refuses.
    for (const std::string& error : check.errors) sysutils::ShowMessage(error, "Error!");
    if (!check.errors.empty()) {
        printValue(out, "errors", "", static_cast<double>(check.errors.size()));
        return 1;
    }
    const std::unique_ptr<engine::tamblorProgram> execution = desktop::inputs::createExecution(check.arguments);
    engine::tamblorProgram& run = *execution;
    const int errors = run.checkParameters();
    printValue(out, "errors", "", errors);
    if (errors != 0) return 1;
    run.readInputs();
    sysutils::TStringList log;
    run.writeSummary(log);
    printLog(out, log);
    printValue(out, "nodes", "", run.getNumNodes());
    printValue(out, "candidates", "", run.getNumAddedNodes());
    printValue(out, "totalAttribute", "", run.totalAttribute);
    printValue(out, "AL", run.ALValid ? "valid" : "not valid", run.AL);

    sysutils::TStringList processingLog;
    sysutils::TwoPanelStatus status;
    run.process(processingLog, status);
    run.writeProcessingTimes(processingLog);
    for (const std::string& line : processingLog.lines())
        if (!isTimed(line)) std::fprintf(out, "log\t\t%s\n", line.c_str());
    printOverall(out, run);
    printImportances(out, run);
    if (o.printComponents && run.hasComponents())
        for (std::int32_t i = 0; i < run.getNumNodes(); ++i)
            printValue(out, "component", std::to_string(run.getNodeId(i)), run.getNodeComponent(i));
    if (o.printPairs) printPairs(out, run);
    return 0;
}

int runExecutionReportingFailure(const DriverOptions& options, std::FILE* out, std::FILE* errors) {
    try {
        return runExecution(options, out);
    } catch (...) {
        std::fprintf(errors, "[Error] %s\n", engine::runFailureText().c_str());
        return 3;
    }
}

}  // namespace driver
