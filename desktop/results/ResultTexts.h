#pragma once
// The texts of the result views and the result text files. A view is a list of memo
// lines (the pairwise views hold line feeds inside one line); a file is its whole
// contents, every line ended by CR LF. Numbers:
//   F7  FloatToStrF fixed, precision 7, digits 7 (regional decimal separator)
//   G15 FloatToStr (regional decimal separator)
//   C6  six decimals with a decimal point, whatever the locale
// Values are read through the engine object's result accessors; nothing is changed.
#include <functional>
#include <string>
#include <vector>

#include "desktop/results/NodeImportanceTable.h"

namespace engine {
class tamblorProgram;
}

namespace desktop::results {

using ViewLines = std::vector<std::string>;
// Shows the message of an error raised while a value of a view was computed or formatted.
using ShowError = std::function<void(const std::string& message)>;

std::string F7(double value);
std::string G15(double value);
std::string C6(double value);

// Node importances: a header, then a row per existing node and a row per candidate.
// The file's header ends "\tdPC", the view's "\tdPC\t". In the view each value of an
// existing node is computed and formatted under its own guard: an error is passed to
// `showError` and that value and its tab are left out of the row.
ViewLines nodeImportanceView(const NodeImportanceTable& table, const ShowError& showError);
std::string nodeImportanceFile(const NodeImportanceTable& table);
ViewLines nodeImportanceView(const engine::tamblorProgram& program, const ShowError& showError);
std::string nodeImportanceFile(const engine::tamblorProgram& program);

// Overall values, one "label: value" line each; LCPnum and IICnum in F7 in the view,
// in G15 in the file. LCP, IIC and PC only with ALValid.
ViewLines overallValuesView(const engine::tamblorProgram& program);
std::string overallValuesFile(const engine::tamblorProgram& program);

// Pairs (i, j) of existing nodes with j < i. Files: "ID_i\tID_j\tvalue" per pair. Views:
// one line per node i joining its pairs with line feeds.
ViewLines linksView(const engine::tamblorProgram& program);
std::string linksFile(const engine::tamblorProgram& program);
ViewLines directProbabilitiesView(const engine::tamblorProgram& program);
std::string directProbabilitiesFile(const engine::tamblorProgram& program);
ViewLines maximumProductProbabilitiesView(const engine::tamblorProgram& program);
std::string maximumProductProbabilitiesFile(const engine::tamblorProgram& program);

// "ID\tcomponent" per existing node, components numbered from 1.
ViewLines componentsView(const engine::tamblorProgram& program);
std::string componentsFile(const engine::tamblorProgram& program);

// The event log's text as the memo holds it (lines separated by LF or CR LF) with every
// line ended by CR LF; an empty log gives an empty file.
std::string eventLogFile(const std::string& memoText);

}  // namespace desktop::results
