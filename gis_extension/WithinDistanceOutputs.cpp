#include "gis_extension/WithinDistanceOutputs.h"

#include <charconv>
#include <cstdio>

#include "sysutils/FormatSettings.h"

namespace gis_extension::WithinDistance {
namespace {

constexpr const char* lineEnd = "\r\n";

const char* Title(Output output) {
    switch (output) {
        case Output::NumberTable: return "] dBASE Table of Number of Features Within Distance:\\b0\\par";
        case Output::DistanceTable: return "] dBASE Table of Distances to Each Feature:\\b0\\par";
        case Output::DistanceFile: return "] ASCII Text File of Distances to Each Feature:\\b0\\par";
        case Output::NodeFile: return "] ASCII Node File:\\b0\\par";
    }
    return "";
}

// The next code point of UTF-8 text; a byte that does not start a valid sequence stands
// for the replacement character.
std::uint32_t nextCodePoint(const std::string& text, std::size_t& position) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(position);
    int length = 0;
    std::uint32_t code = 0;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
        code = first & 0x1Fu;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        code = first & 0x0Fu;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        code = first & 0x07u;
    }
    if (length == 0 || position + static_cast<std::size_t>(length) > text.size()) {
        ++position;
        return 0xFFFD;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(position + static_cast<std::size_t>(i));
        if ((next & 0xC0u) != 0x80u) {
            ++position;
            return 0xFFFD;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++position;
        return 0xFFFD;
    }
    position += static_cast<std::size_t>(length);
    return code;
}

void appendUnicode(std::string& out, std::uint32_t unit) {
    // Rich text writes a UTF-16 unit as a signed 16-bit number, followed by the one
    // character that readers without Unicode show instead.
    out += "\\u" + std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(unit))) + "?";
}

}  // namespace

const char* BaseName(Output output) {
    switch (output) {
        case Output::NumberTable: return "count.dbf";
        case Output::DistanceTable: return "distances.dbf";
        case Output::DistanceFile: return "distances.txt";
        case Output::NodeFile: return "nodes.txt";
    }
    return "";
}

std::string AttributePattern(std::int32_t fieldType, std::int32_t scale) {
    if (fieldType != 2 && fieldType != 3) return "0";
    return "0." + std::string(static_cast<std::size_t>(scale > 0 ? scale : 8), '0');
}

std::string FormatWithPattern(double value, const std::string& pattern) {
    const std::size_t point = pattern.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
    // The exact decimal value of the binary number, rounded to the decimals (as the C
    // library's formatted output rounds it).
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) throw com::runtimeError(com::errors::Overflow);
    std::string text(buffer, end);
    if (const std::size_t dot = text.find('.'); dot != std::string::npos)
        text[dot] = sysutils::formatSettings().DecimalSeparator;
    return text;
}

std::string IdText(const com::Variant& id) { return com::toText(id); }

std::string AttributeText(const com::Variant& attribute, const std::string& pattern, bool floatingPoint) {
    if (floatingPoint) return FormatWithPattern(com::toDouble(attribute), pattern);
    return std::to_string(com::toLong(attribute));
}

std::string DistanceText(double distance) { return FormatWithPattern(distance, "0.000000000"); }

std::string RtfEscaped(const std::string& text) {
    std::string out;
    for (std::size_t position = 0; position < text.size();) {
        const char c = text[position];
        if (static_cast<unsigned char>(c) < 0x80) {
            if (c == '\\' || c == '{' || c == '}') out += '\\';
            out += c;
            ++position;
            continue;
        }
        const std::uint32_t code = nextCodePoint(text, position);
        if (code >= 0x10000) {
            const std::uint32_t offset = code - 0x10000;
            appendUnicode(out, 0xD800 + (offset >> 10));
            appendUnicode(out, 0xDC00 + (offset & 0x3FF));
        } else {
            appendUnicode(out, code);
        }
    }
    return out;
}

std::string AnalysisReport(const std::string& layerName, const std::string& idFieldName,
                           const std::string& radiusText, const std::vector<ReportEntry>& entries,
                           const std::string& elapsedTimeRtf) {
    const std::string rule = " --------------------------------------------------------";
    std::string report;
    report += std::string("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}") +
              lineEnd;
    report += std::string("{\\*\\generator Msftedit 5.41.15.1507;}\\viewkind4\\uc1\\pard\\b\\f0\\fs18 Veltrano Inputs "
                          "Analysis Complete:\\par") +
              lineEnd;
    report += rule + "\\par" + lineEnd;
    report += "Analysis Layer =\\b0  " + RtfEscaped(layerName) + "\\par" + lineEnd;
    report += "\\b ID Field =\\b0  " + RtfEscaped(idFieldName) + "\\par" + lineEnd;
    report += "\\b Search Radius =\\b0  " + RtfEscaped(radiusText) + "\\par" + lineEnd;
    report += "\\b" + rule + "\\b0\\par" + lineEnd;
    report += std::string("\\b Output Generated:\\b0\\par") + lineEnd;
    int number = 0;
    for (const ReportEntry& entry : entries) {
        report += "\\b     " + std::to_string(++number) + Title(entry.output) + lineEnd;
        report += "         \\i Saved to " + RtfEscaped(entry.path) + "\\i0\\par" + lineEnd;
    }
    report += "\\b" + rule + "\\b0\\par" + lineEnd;
    report += elapsedTimeRtf;
    report += "}";
    return report;
}

}  // namespace gis_extension::WithinDistance
