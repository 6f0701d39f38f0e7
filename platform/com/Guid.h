#pragma once
// Globally unique identifiers of classes, interfaces and type libraries, written
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hexadecimal, either case on input, upper
// case on output). A GUID can be spelled in code as a constant expression:
//   inline constexpr com::GUID IID_IExample = com::guid("{546F3CE0-FC9F-4CF4-9093-86B71AB661DE}");
#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace com {

struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
    friend constexpr auto operator<=>(const GUID&, const GUID&) = default;
};

using CLSID = GUID;
using IID = GUID;

inline constexpr GUID GUID_NULL{};

namespace detail {

constexpr int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads `count` hexadecimal digits at `position`; false when one is not a digit.
constexpr bool readHex(std::string_view text, std::size_t position, std::size_t count, std::uint64_t& value) {
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int digit = hexDigit(text[position + i]);
        if (digit < 0) return false;
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    return true;
}

constexpr std::optional<GUID> parse(std::string_view text) {
    // {8-4-4-4-12}: 38 characters with the braces.
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
    for (std::size_t dash : {9u, 14u, 19u, 24u})
        if (text[dash] != '-') return std::nullopt;
    GUID result;
    std::uint64_t value = 0;
    if (!readHex(text, 1, 8, value)) return std::nullopt;
    result.Data1 = static_cast<std::uint32_t>(value);
    if (!readHex(text, 10, 4, value)) return std::nullopt;
    result.Data2 = static_cast<std::uint16_t>(value);
    if (!readHex(text, 15, 4, value)) return std::nullopt;
    result.Data3 = static_cast<std::uint16_t>(value);
    const std::size_t bytePositions[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (std::size_t i = 0; i < 8; ++i) {
        if (!readHex(text, bytePositions[i], 2, value)) return std::nullopt;
        result.Data4[i] = static_cast<std::uint8_t>(value);
    }
    return result;
}

}  // namespace detail

// The GUID written in `text`, or nothing when the text is not one.
constexpr std::optional<GUID> parseGuid(std::string_view text) { return detail::parse(text); }

// A GUID from a literal; a malformed literal does not compile in a constant expression.
consteval GUID guid(std::string_view text) {
    const std::optional<GUID> parsed = detail::parse(text);
    if (!parsed) throw std::invalid_argument("malformed GUID literal");
    return *parsed;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
std::string toString(const GUID& value);

}  // namespace com
