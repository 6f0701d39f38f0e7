#pragma once
// Version information: what a component server says about itself (its file and product
// versions, product and file names, whether it registers itself), for installers and
// hosts that inspect it without loading it. The format is text of our own:
//
//   VERSIONINFO 1
//   FILEVERSION=<major>.<minor>.<release>.<build>
//   PRODUCTVERSION=<major>.<minor>.<release>.<build>
//   <name>=<text>
//
// one entry per line (ending in LF, after any number of CRs), the two numeric versions (each part 0 to 65535) and
// then named texts in their order; a name appears once and holds no "="; a text runs to
// the end of its line and may be empty. A server carries it inside its shared object, in
// the ELF section ".comversion" (COM_VERSION_SECTION), where loadVersionInformation finds
// it by path.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#define COM_VERSION_SECTION __attribute__((section(".comversion"), used))

namespace com {

struct VersionInformation {
    using Version = std::array<std::uint16_t, 4>;

    Version fileVersion{};
    Version productVersion{};
    std::vector<std::pair<std::string, std::string>> texts;

    // The text of an entry, or nothing when there is no entry of that name.
    std::optional<std::string> text(std::string_view name) const;

    bool operator==(const VersionInformation&) const = default;
};

std::string writeVersionInformation(const VersionInformation& information);

// Reads the text form; a malformed text raises com::Error (VERSION_E_INVALIDDATA) naming the line.
VersionInformation readVersionInformation(std::string_view text);

// The version information of a file: a shared object that carries it in its
// ".comversion" section, or a text file of the format above. Raises com::Error
// (VERSION_E_CANTLOAD) when the file cannot be read or holds none.
VersionInformation loadVersionInformation(const std::string& path);

// The bytes of the ".comversion" section of an ELF image; empty when it has none.
std::string_view versionInformationSection(std::string_view image);

inline constexpr std::int32_t VERSION_E_INVALIDDATA = static_cast<std::int32_t>(0x8007000Du);  // invalid data
inline constexpr std::int32_t VERSION_E_CANTLOAD = static_cast<std::int32_t>(0x80070715u);     // no such resource

}  // namespace com
