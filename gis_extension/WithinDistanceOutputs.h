#pragma once
// What the within-distance analysis leaves behind: the names of its four outputs, the
// lines of the node and distance files, and the rich-text analysis report. Numbers are
// written under the regional settings (decimal separator), without digit grouping.
#include <cstdint>
#include <string>
#include <vector>

#include "com/Variant.h"

namespace gis_extension::WithinDistance {

// The outputs, in the order the analysis prepares them and the report lists them.
enum class Output { NumberTable, DistanceTable, DistanceFile, NodeFile };

// "count.dbf", "distances.dbf", "distances.txt", "nodes.txt".
const char* BaseName(Output output);

// The number pattern of node attributes: "0." and as many zeros as the field's scale (8
// when the scale is 0) for the floating-point field types 2 and 3, else "0".
std::string AttributePattern(std::int32_t fieldType, std::int32_t scale);

// `value` with as many decimals as `pattern` has zeros after its ".", rounded, at least
// one digit before the separator.
std::string FormatWithPattern(double value, const std::string& pattern);

// An ID as the layer stores it, in the run-time's text form.
std::string IdText(const com::Variant& id);
// An attribute by its pattern: floating-point fields widened to 64 bits and formatted,
// other fields converted to a 32-bit integer.
std::string AttributeText(const com::Variant& attribute, const std::string& pattern, bool floatingPoint);
// A distance with nine decimals.
std::string DistanceText(double distance);

// Text for the rich-text report: "\", "{" and "}" escaped, and every character outside
// ASCII written as \uN? (the text is read as UTF-8). Plain ASCII stays as it is.
std::string RtfEscaped(const std::string& text);

struct ReportEntry {
    Output output;
    std::string path;
};

// The analysis report: its heading, layer, ID field and search radius, one numbered
// entry per output written (in the order given), and the elapsed-time lines.
std::string AnalysisReport(const std::string& layerName, const std::string& idFieldName,
                           const std::string& radiusText, const std::vector<ReportEntry>& entries,
                           const std::string& elapsedTimeRtf);

}  // namespace gis_extension::WithinDistance
