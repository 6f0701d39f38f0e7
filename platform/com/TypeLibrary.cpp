#include "com/TypeLibrary.h"

#include <charconv>
#include <sstream>

#include "com/ElfSection.h"
#include "com/Error.h"

namespace com {
namespace {

constexpr std::string_view magic = "TYPELIB 1";

Error malformed(std::size_t line, const std::string& why) {
    return Error(TYPE_E_INVDATAREAD, "", "Type library, line " + std::to_string(line) + ": " + why);
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t position = 0;
    while (position < line.size()) {
        while (position < line.size() && (line[position] == ' ' || line[position] == '\t')) ++position;
        const std::size_t start = position;
        while (position < line.size() && line[position] != ' ' && line[position] != '\t') ++position;
        if (position > start) fields.push_back(line.substr(start, position - start));
    }
    return fields;
}

GUID guidField(std::string_view field, std::size_t line) {
    const std::optional<GUID> parsed = parseGuid(field);
    if (!parsed) throw malformed(line, "not an identifier: " + std::string(field));
    return *parsed;
}

template <class Number>
Number numberField(std::string_view field, std::size_t line, int base = 10) {
    Number value{};
    const char* first = field.data();
    const char* last = field.data() + field.size();
    if (base == 16 && field.size() > 2 && field[0] == '0' && (field[1] == 'x' || field[1] == 'X')) first += 2;
    const auto [end, error] = std::from_chars(first, last, value, base);
    if (error != std::errc() || end != last || first == last) throw malformed(line, "not a number: " + std::string(field));
    return value;
}

TypeLibrary::Version versionField(std::string_view field, std::size_t line) {
    const std::size_t dot = field.find('.');
    if (dot == std::string_view::npos) throw malformed(line, "not a version: " + std::string(field));
    return {numberField<int>(field.substr(0, dot), line), numberField<int>(field.substr(dot + 1), line)};
}

std::vector<std::string> flagsField(std::string_view field) {
    std::vector<std::string> flags;
    if (field == "-") return flags;
    std::size_t position = 0;
    while (position <= field.size()) {
        const std::size_t comma = field.find(',', position);
        const std::string_view flag = field.substr(position, comma - position);
        if (!flag.empty()) flags.emplace_back(flag);
        if (comma == std::string_view::npos) break;
        position = comma + 1;
    }
    return flags;
}

std::string flagsText(const std::vector<std::string>& flags) {
    if (flags.empty()) return "-";
    std::string text;
    for (const std::string& flag : flags) text += (text.empty() ? "" : ",") + flag;
    return text;
}

std::string versionText(const TypeLibrary::Version& version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor);
}

}  // namespace

std::string writeTypeLibrary(const TypeLibrary& library) {
    std::ostringstream out;
    char locale[16];
    std::snprintf(locale, sizeof locale, "0x%X", library.locale);
    out << magic << '\n';
    out << "library " << library.name << ' ' << toString(library.libraryId) << ' ' << versionText(library.version)
        << ' ' << locale << '\n';
    for (const auto& import : library.imports)
        out << "import " << import.file << ' ' << toString(import.libraryId) << ' ' << versionText(import.version)
            << '\n';
    for (const auto& interface : library.interfaces) {
        out << "interface " << interface.name << ' ' << toString(interface.iid) << ' ' << interface.base << ' '
            << flagsText(interface.flags) << '\n';
        for (const auto& member : interface.members)
            out << "member " << member.kind << ' ' << member.name << ' ' << member.dispatchId << ' ' << member.type
                << '\n';
    }
    for (const auto& coclass : library.coclasses) {
        out << "coclass " << coclass.name << ' ' << toString(coclass.clsid) << ' ' << flagsText(coclass.flags) << '\n';
        for (const auto& implemented : coclass.interfaces)
            out << "implements " << implemented.name << ' ' << toString(implemented.iid) << ' '
                << flagsText(implemented.flags) << '\n';
    }
    return out.str();
}

TypeLibrary readTypeLibrary(std::string_view text) {
    TypeLibrary library;
    std::size_t lineNumber = 0;
    bool sawMagic = false;
    bool sawLibrary = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // A carriage return anywhere else would be taken for the line's end once written
        // back, so the library read would not be the library written.
        if (line.find('\r') != std::string_view::npos) throw malformed(lineNumber, "a carriage return inside the line");
        if (!sawMagic) {
            if (line != magic) throw malformed(lineNumber, "not a type library");
            sawMagic = true;
            continue;
        }
        const std::vector<std::string_view> fields = fieldsOf(line);
        if (fields.empty() || fields[0].front() == '#') continue;
        const std::string_view keyword = fields[0];
        const auto expect = [&](std::size_t count) {
            if (fields.size() != count) throw malformed(lineNumber, "expected " + std::to_string(count - 1) + " fields");
        };
        if (keyword == "library") {
            expect(5);
            if (sawLibrary) throw malformed(lineNumber, "a second library line");
            sawLibrary = true;
            library.name = fields[1];
            library.libraryId = guidField(fields[2], lineNumber);
            library.version = versionField(fields[3], lineNumber);
            library.locale = numberField<std::uint32_t>(fields[4], lineNumber, 16);
        } else if (keyword == "import") {
            expect(4);
            library.imports.push_back({std::string(fields[1]), guidField(fields[2], lineNumber),
                                       versionField(fields[3], lineNumber)});
        } else if (keyword == "interface") {
            expect(5);
            library.interfaces.push_back({std::string(fields[1]), guidField(fields[2], lineNumber),
                                          std::string(fields[3]), flagsField(fields[4]), {}});
        } else if (keyword == "member") {
            expect(5);
            if (library.interfaces.empty()) throw malformed(lineNumber, "a member outside an interface");
            library.interfaces.back().members.push_back({std::string(fields[1]), std::string(fields[2]),
                                                         numberField<std::int32_t>(fields[3], lineNumber),
                                                         std::string(fields[4])});
        } else if (keyword == "coclass") {
            expect(4);
            library.coclasses.push_back(
                {std::string(fields[1]), guidField(fields[2], lineNumber), flagsField(fields[3]), {}});
        } else if (keyword == "implements") {
            expect(4);
            if (library.coclasses.empty()) throw malformed(lineNumber, "an interface outside a coclass");
            library.coclasses.back().interfaces.push_back(
                {std::string(fields[1]), guidField(fields[2], lineNumber), flagsField(fields[3])});
        } else {
            throw malformed(lineNumber, "unknown item " + std::string(keyword));
        }
    }
    if (!sawMagic) throw malformed(0, "not a type library");
    if (!sawLibrary) throw malformed(lineNumber, "no library line");
    return library;
}

std::string_view typeLibrarySection(std::string_view image) { return elfSection(image, ".comtypelib"); }

TypeLibrary loadTypeLibrary(const std::string& path) {
    return loadCarried(path, ".comtypelib", TYPE_E_CANTLOADLIBRARY, "type library",
                       [](std::string_view text) { return readTypeLibrary(text); });
}

}  // namespace com
