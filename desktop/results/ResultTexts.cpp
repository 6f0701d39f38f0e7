#include "desktop/results/ResultTexts.h"

#include <charconv>
#include <cstdint>

#include "engine/tamblorProgram.h"
#include "sysutils/FloatConversion.h"

namespace desktop::results {
namespace {

using sysutils::IntToStr;

const char* const lineEnd = "\r\n";

std::string fileOf(const ViewLines& lines) {
    std::string contents;
    for (const std::string& line : lines) contents += line + lineEnd;
    return contents;
}

std::string importanceHeader(const NodeImportanceTable& table, bool view) {
    std::string header = "Node\t";
    for (const ImportanceColumn& column : table.columns) {
        if (column.label == "dA") {
            header += "dA\t";
        } else if (column.label == "dPC") {
            header += view ? "\tdPC\t" : "\tdPC";
        } else {
            header += "\t" + column.label + "\t";
        }
    }
    return header;
}

// Every value but dPC's is followed by a tab.
std::string importanceCell(const ImportanceColumn& column, long double value) {
    return column.label == "dPC" ? F7(static_cast<double>(value)) : F7(static_cast<double>(value)) + "\t";
}

std::string importanceRow(std::int32_t id, const NodeImportanceTable& table, std::int32_t i, bool candidate,
                          const ShowError* guard) {
    std::string row = IntToStr(id) + "\t";
    for (const ImportanceColumn& column : table.columns) {
        const auto& value = candidate ? column.candidate : column.existing;
        if (guard == nullptr) {
            row += importanceCell(column, value(i));
            continue;
        }
        try {
            row += importanceCell(column, value(i));
        } catch (const std::exception& error) {
            (*guard)(error.what());
        } catch (...) {
            (*guard)(std::string());
        }
    }
    return row;
}

ViewLines importanceLines(const NodeImportanceTable& table, bool view, const ShowError* guard) {
    ViewLines lines{importanceHeader(table, view)};
    for (std::size_t i = 0; i < table.existingIds.size(); ++i)
        lines.push_back(importanceRow(table.existingIds[i], table, static_cast<std::int32_t>(i), false, guard));
    for (std::size_t i = 0; i < table.candidateIds.size(); ++i)
        lines.push_back(importanceRow(table.candidateIds[i], table, static_cast<std::int32_t>(i), true, nullptr));
    return lines;
}

enum class Output { View, File };

ViewLines overallLines(const engine::tamblorProgram& p, Output output) {
    ViewLines lines;
    if (!p.overall) return lines;
    const bool view = output == Output::View;
    // LCPnum and IICnum are the only values whose format differs between the outputs.
    auto numerator = [view](double value) { return view ? F7(value) : G15(value); };
    if (p.isNLSelected()) lines.push_back("NL:        " + G15(p.getOverallNL()));
    if (p.isNCSelected()) lines.push_back("NC:        " + G15(p.getOverallNC()));
    if (p.isHSelected()) lines.push_back("H:         " + F7(p.getOverallH()));
    if (p.isCCPSelected()) lines.push_back("CCP:       " + F7(p.getOverallCCP()));
    if (p.isLCPSelected()) lines.push_back("LCPnum:    " + numerator(p.getOverallLCPnum()));
    if (p.isLCPSelected() && p.ALValid) lines.push_back("LCP:       " + F7(p.getOverallLCP()));
    if (p.isIICSelected()) lines.push_back("IICnum:    " + numerator(p.getOverallIICnum()));
    if (p.isIICSelected() && p.ALValid) lines.push_back("IIC:       " + F7(p.getOverallIIC()));
    if (p.isFSelected()) lines.push_back("F:         " + F7(p.getOverallF()));
    if (p.isAWFSelected()) lines.push_back("AWF:       " + F7(p.getOverallAWF()));
    if (p.isPCSelected()) {
        std::string line = "PCnum:     " + F7(p.getOverallPCnum());
        const std::int32_t direct = p.overall->nDirectConnections;
        if (direct != 0) line += " (using " + IntToStr(direct) + " direct internode connections)";
        lines.push_back(line);
    }
    if (p.isPCSelected() && p.ALValid) lines.push_back("PC:        " + F7(p.getOverallPC()));
    return lines;
}

using PairValue = std::function<std::string(std::int32_t i, std::int32_t j)>;

std::string pairFile(const engine::tamblorProgram& p, const PairValue& value) {
    std::string contents;
    for (std::int32_t i = 0; i < p.getNumNodes(); ++i)
        for (std::int32_t j = 0; j < i; ++j)
            contents += IntToStr(p.getNodeId(i)) + "\t" + IntToStr(p.getNodeId(j)) + "\t" + value(i, j) + lineEnd;
    return contents;
}

// One memo line per node i; `lineFeedAfterLast` tells whether the last entry of a line
// is followed by a line feed too.
ViewLines pairView(const engine::tamblorProgram& p, const std::string& separator, bool lineFeedAfterLast,
                   const PairValue& value) {
    ViewLines lines;
    for (std::int32_t i = 0; i < p.getNumNodes(); ++i) {
        std::string line;
        for (std::int32_t j = 0; j < i; ++j) {
            if (j > 0 && !lineFeedAfterLast) line += "\n";
            line += IntToStr(p.getNodeId(i)) + separator + IntToStr(p.getNodeId(j)) + separator + value(i, j);
            if (lineFeedAfterLast) line += "\n";
        }
        lines.push_back(line);
    }
    return lines;
}

PairValue linked(const engine::tamblorProgram& p) {
    return [&p](std::int32_t i, std::int32_t j) { return IntToStr(p.isLinked(i, j) ? 1 : 0); };
}

}  // namespace

std::string F7(double value) { return sysutils::FloatToStrF(value, sysutils::TFloatFormat::ffFixed, 7, 7); }

std::string G15(double value) { return sysutils::FloatToStr(value); }

std::string C6(double value) {
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    if (error != std::errc()) return {};
    return std::string(buffer, end);
}

ViewLines nodeImportanceView(const NodeImportanceTable& table, const ShowError& showError) {
    return importanceLines(table, /*view=*/true, &showError);
}

std::string nodeImportanceFile(const NodeImportanceTable& table) {
    return fileOf(importanceLines(table, /*view=*/false, nullptr));
}

ViewLines nodeImportanceView(const engine::tamblorProgram& program, const ShowError& showError) {
    return nodeImportanceView(nodeImportanceTable(program), showError);
}

std::string nodeImportanceFile(const engine::tamblorProgram& program) {
    return nodeImportanceFile(nodeImportanceTable(program));
}

ViewLines overallValuesView(const engine::tamblorProgram& program) { return overallLines(program, Output::View); }

std::string overallValuesFile(const engine::tamblorProgram& program) {
    return fileOf(overallLines(program, Output::File));
}

ViewLines linksView(const engine::tamblorProgram& program) {
    return pairView(program, "\t", /*lineFeedAfterLast=*/false, linked(program));
}

std::string linksFile(const engine::tamblorProgram& program) { return pairFile(program, linked(program)); }

ViewLines directProbabilitiesView(const engine::tamblorProgram& program) {
    return pairView(program, "\t", /*lineFeedAfterLast=*/true,
                    [&program](std::int32_t i, std::int32_t j) { return F7(program.directProbability(i, j)); });
}

std::string directProbabilitiesFile(const engine::tamblorProgram& program) {
    return pairFile(program,
                    [&program](std::int32_t i, std::int32_t j) { return C6(program.directProbability(i, j)); });
}

ViewLines maximumProductProbabilitiesView(const engine::tamblorProgram& program) {
    return pairView(program, "     ", /*lineFeedAfterLast=*/true,
                    [&program](std::int32_t i, std::int32_t j) { return F7(program.maxProductProbability(i, j)); });
}

std::string maximumProductProbabilitiesFile(const engine::tamblorProgram& program) {
    return pairFile(program,
                    [&program](std::int32_t i, std::int32_t j) { return C6(program.maxProductProbability(i, j)); });
}

ViewLines componentsView(const engine::tamblorProgram& program) {
    ViewLines lines;
    for (std::int32_t i = 0; i < program.getNumNodes(); ++i)
        lines.push_back(IntToStr(program.getNodeId(i)) + "\t" + IntToStr(program.getNodeComponent(i) + 1));
    return lines;
}

std::string componentsFile(const engine::tamblorProgram& program) { return fileOf(componentsView(program)); }

std::string eventLogFile(const std::string& memoText) {
    std::string contents;
    std::size_t start = 0;
    while (start < memoText.size()) {
        std::size_t end = memoText.find('\n', start);
        if (end == std::string::npos) end = memoText.size();
        std::size_t lineEndAt = end;
        if (lineEndAt > start && memoText[lineEndAt - 1] == '\r') --lineEndAt;
        contents.append(memoText, start, lineEndAt - start);
        contents += lineEnd;
        start = end + 1;
    }
    return contents;
}

}  // namespace desktop::results
