#include "com/VersionInformation.h"

#include <charconv>
#include <set>

#include "com/ElfSection.h"
#include "com/Error.h"

namespace com {
namespace {

constexpr std::string_view magic = "VERSIONINFO 1";
constexpr std::string_view fileVersionName = "FILEVERSION";
constexpr std::string_view productVersionName = "PRODUCTVERSION";

Error malformed(std::size_t line, const std::string& why) {
    return Error(VERSION_E_INVALIDDATA, "", "Version information, line " + std::to_string(line) + ": " + why);
}

VersionInformation::Version versionValue(std::string_view text, std::size_t line) {
    VersionInformation::Version version{};
    std::size_t part = 0;
    const char* position = text.data();
    const char* end = text.data() + text.size();
    for (;;) {
        const auto [next, error] = std::from_chars(position, end, version[part]);
        if (error != std::errc() || next == position) throw malformed(line, "not a version: " + std::string(text));
        position = next;
        if (++part == version.size()) break;
        if (position == end || *position != '.') throw malformed(line, "not a version: " + std::string(text));
        ++position;
    }
    if (position != end) throw malformed(line, "not a version: " + std::string(text));
    return version;
}

std::string versionText(const VersionInformation::Version& version) {
    return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." + std::to_string(version[2]) + "." +
           std::to_string(version[3]);
}

}  // namespace

std::optional<std::string> VersionInformation::text(std::string_view name) const {
    for (const auto& [entry, value] : texts)
        if (entry == name) return value;
    return std::nullopt;
}

std::string writeVersionInformation(const VersionInformation& information) {
    std::string text(magic);
    text += '\n';
    text += std::string(fileVersionName) + "=" + versionText(information.fileVersion) + "\n";
    text += std::string(productVersionName) + "=" + versionText(information.productVersion) + "\n";
    for (const auto& [name, value] : information.texts) text += name + "=" + value + "\n";
    return text;
}

VersionInformation readVersionInformation(std::string_view text) {
    VersionInformation information;
    bool sawMagic = false;
    bool sawFileVersion = false;
    bool sawProductVersion = false;
    std::set<std::string, std::less<>> names;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // CRs before the LF end the line too
        if (!sawMagic) {
            if (line != magic) throw malformed(lineNumber, "not version information");
            sawMagic = true;
            continue;
        }
        if (line.empty()) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) throw malformed(lineNumber, "expected <name>=<text>");
        const std::string_view name = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (name == fileVersionName || name == productVersionName) {
            bool& seen = name == fileVersionName ? sawFileVersion : sawProductVersion;
            if (seen) throw malformed(lineNumber, "a second " + std::string(name));
            seen = true;
            (name == fileVersionName ? information.fileVersion : information.productVersion) =
                versionValue(value, lineNumber);
            continue;
        }
        if (!names.emplace(name).second) throw malformed(lineNumber, "a second " + std::string(name));
        information.texts.emplace_back(name, value);
    }
    if (!sawMagic) throw malformed(0, "not version information");
    if (!sawFileVersion || !sawProductVersion) throw malformed(lineNumber, "no FILEVERSION or PRODUCTVERSION");
    return information;
}

std::string_view versionInformationSection(std::string_view image) { return elfSection(image, ".comversion"); }

VersionInformation loadVersionInformation(const std::string& path) {
    return loadCarried(path, ".comversion", VERSION_E_CANTLOAD, "version information",
                       [](std::string_view text) { return readVersionInformation(text); });
}

}  // namespace com
