#include "desktop/results/ProjectFile.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "sysutils/MessageBoxes.h"

namespace desktop::results {
namespace {

constexpr std::size_t lineCount = 21;

const char* const connectionTypeNames[] = {"Distances", "Probabilities", "Links"};

std::string flag(bool value) { return value ? "true" : "false"; }

std::string connectionTypeName(int itemIndex) {
    if (itemIndex < distancesType || itemIndex > linksType) return {};
    return connectionTypeNames[itemIndex];
}

int connectionTypeItem(const std::string& value) {
    for (int item = distancesType; item <= linksType; ++item)
        if (value == connectionTypeNames[item]) return item;
    return noConnectionType;
}

// Lines ended by LF or CR LF; a last line without a line end counts, an empty rest
// after the last line end does not.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool ended = end != std::string::npos;
        if (!ended) end = text.size();
        std::size_t length = end - start;
        if (ended && length > 0 && text[end - 1] == '\r') --length;
        lines.push_back(text.substr(start, length));
        start = end + 1;
    }
    return lines;
}

std::string valueOf(const std::string& line) {
    const std::size_t equals = line.find('=');
    return equals == std::string::npos ? std::string() : line.substr(equals + 1);
}

}  // namespace

std::string projectFileText(const ProjectSettings& s) {
    const std::array<std::string, lineCount> lines{
        "nodesf=" + s.nodesFile,
        "connectionsf=" + s.connectionsFile,
        std::string("structtype=") + (s.fullStructure ? "Full" : "Partial"),
        "contype=" + connectionTypeName(s.connectionType),
        "add=" + flag(s.addNodes),
        "land=" + s.landscapeAttribute,
        "ccp=" + flag(s.ccp),
        "lcp=" + flag(s.lcp),
        "iic=" + flag(s.iic),
        "nc=" + flag(s.nc),
        "nl=" + flag(s.nl),
        "h=" + flag(s.h),
        "distAdj=" + s.threshold,
        "f=" + flag(s.f),
        "awf=" + flag(s.awf),
        "pc=" + flag(s.pc),
        "a=" + flag(s.a),
        "distProb=" + s.distance,
        "prob=" + s.probability,
        "minProb=" + s.minimumProbability,
        "allpaths=" + flag(s.allPaths),
    };
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

sysutils::SaveResult writeProjectFile(const std::string& path, const ProjectSettings& settings) {
    return sysutils::SaveFileSafely(path, projectFileText(settings));
}

ProjectText parseProjectText(const std::string& text) {
    const std::vector<std::string> lines = splitLines(text);
    std::array<std::string, lineCount> v;
    for (std::size_t k = 0; k < lineCount && k < lines.size(); ++k) v[k] = valueOf(lines[k]);
    ProjectText result;
    result.complete = lines.size() >= lineCount;
    ProjectSettings& s = result.settings;
    s.nodesFile = v[0];
    s.connectionsFile = v[1];
    s.fullStructure = v[2] != "Partial";
    s.connectionType = connectionTypeItem(v[3]);
    s.addNodes = v[4] == "true";
    s.landscapeAttribute = v[5];
    s.ccp = v[6] == "true";
    s.lcp = v[7] == "true";
    s.iic = v[8] == "true";
    s.nc = v[9] == "true";
    s.nl = v[10] == "true";
    s.h = v[11] == "true";
    s.threshold = v[12];
    s.f = v[13] == "true";
    s.awf = v[14] == "true";
    s.pc = v[15] == "true";
    s.a = v[16] == "true";
    s.distance = v[17];
    s.probability = v[18];
    s.minimumProbability = v[19];
    s.allPaths = v[20] == "true";
    return result;
}

std::optional<ProjectSettings> readProjectFile(const std::string& path) {
    std::error_code ignored;
    std::ifstream in;
    if (!std::filesystem::is_directory(path, ignored)) in.open(path, std::ios::binary);
    if (!in.is_open()) {
        sysutils::ShowMessage("Error opening file " + path, "Error!");
        return std::nullopt;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    ProjectText read = parseProjectText(text);
    if (!read.complete) sysutils::ShowMessage("Error opening file " + path + "\n Incomplete file", "Error!");
    return read.settings;
}

}  // namespace desktop::results
