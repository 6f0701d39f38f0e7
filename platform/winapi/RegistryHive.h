#pragma once
// One hive of the registry in memory, and its text file. Keys are paths of names
// joined by "\" and compared without regard to case; each holds named values (the
// unnamed default value has the empty name) of type text or 32-bit number.
//
// The file starts with the line "PLATFORM REGISTRY 1", then each key as "[path]" and
// its values as "@=..." (the default value) or "\"name\"=...", a text written in
// double quotes with \\, \", \r, \n, \t and \xHH escapes, a number as dword:hhhhhhhh.
// Lines that do not read as one of these are skipped, so a damaged file gives what
// can still be read; the first of them is told as the file's damage.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace winapi {

struct RegistryValue {
    std::string name;
    std::variant<std::string, std::uint32_t> data;

    bool operator==(const RegistryValue&) const = default;
};

// The first line of a hive file that could not be read (counted from 1), and why.
struct RegistryHiveDamage {
    std::size_t line = 0;
    std::string why;

    bool operator==(const RegistryHiveDamage&) const = default;
};

class RegistryHive {
public:
    struct Key {
        std::string path;                             // as first written
        std::map<std::string, RegistryValue> values;  // by lower-case name
    };

    // The hive in `text`; nothing when the text does not start like a hive file.
    static std::optional<RegistryHive> parse(std::string_view text);
    // The hive in `text` (empty when the text does not start like a hive file) and the
    // first line that could not be read, if any.
    struct Reading;
    static Reading read(std::string_view text);
    std::string write() const;

    bool hasKey(std::string_view path) const;
    // Creates the key and every missing key above it; false for a malformed path.
    bool createKey(std::string_view path);
    // Removes the key and everything below it; false when there was no such key.
    bool deleteTree(std::string_view path);

    const RegistryValue* value(std::string_view path, std::string_view name) const;
    // Sets a value of an existing key; false when the key does not exist.
    bool setValue(std::string_view path, RegistryValue value);
    bool deleteValue(std::string_view path, std::string_view name);

    // The names of the keys right below `path` ("" for the top), in the order of their lower-case names.
    std::vector<std::string> subKeys(std::string_view path) const;
    std::vector<RegistryValue> values(std::string_view path) const;

    bool empty() const { return keys_.empty(); }

    // A key path without empty parts, without "\" at either end and without line breaks.
    static bool validPath(std::string_view path);
    // The lower-case form under which keys and values are compared.
    static std::string folded(std::string_view text);

private:
    std::map<std::string, Key> keys_;  // by lower-case path
};

struct RegistryHive::Reading {
    RegistryHive hive;
    std::optional<RegistryHiveDamage> damage;
};

}  // namespace winapi
