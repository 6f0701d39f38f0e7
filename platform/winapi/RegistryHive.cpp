#include "winapi/RegistryHive.h"

#include <cstdio>

namespace winapi {
namespace {

constexpr std::string_view header = "PLATFORM REGISTRY 1";
constexpr const char* noHeader = "it does not begin with the line \"PLATFORM REGISTRY 1\"";

std::string escaped(std::string_view text) {
    std::string result;
    for (const char c : text) {
        switch (c) {
            case '\\': result += "\\\\"; break;
            case '"': result += "\\\""; break;
            case '\r': result += "\\r"; break;
            case '\n': result += "\\n"; break;
            case '\t': result += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                    char buffer[5];
                    std::snprintf(buffer, sizeof buffer, "\\x%02X", static_cast<unsigned char>(c));
                    result += buffer;
                } else {
                    result += c;
                }
        }
    }
    return result;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted text starting at text[position] == '"'; on success `position` is just
// behind the closing quote.
std::optional<std::string> readQuoted(std::string_view text, std::size_t& position) {
    if (position >= text.size() || text[position] != '"') return std::nullopt;
    std::string result;
    for (std::size_t i = position + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            position = i + 1;
            return result;
        }
        if (c != '\\') {
            result += c;
            continue;
        }
        if (++i >= text.size()) return std::nullopt;
        switch (text[i]) {
            case '\\': result += '\\'; break;
            case '"': result += '"'; break;
            case 'r': result += '\r'; break;
            case 'n': result += '\n'; break;
            case 't': result += '\t'; break;
            case 'x': {
                if (i + 2 >= text.size()) return std::nullopt;
                const int high = hexValue(text[i + 1]);
                const int low = hexValue(text[i + 2]);
                if (high < 0 || low < 0) return std::nullopt;
                result += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default: return std::nullopt;
        }
    }
    return std::nullopt;
}

// "=..." of a value line: a quoted text or dword:hhhhhhhh, and nothing behind it.
std::optional<std::variant<std::string, std::uint32_t>> readData(std::string_view text, std::size_t position) {
    if (position >= text.size() || text[position] != '=') return std::nullopt;
    ++position;
    constexpr std::string_view dword = "dword:";
    if (text.substr(position, dword.size()) == dword) {
        position += dword.size();
        if (text.size() - position != 8) return std::nullopt;
        std::uint32_t number = 0;
        for (std::size_t i = position; i < text.size(); ++i) {
            const int digit = hexValue(text[i]);
            if (digit < 0) return std::nullopt;
            number = number * 16 + static_cast<std::uint32_t>(digit);
        }
        return number;
    }
    std::optional<std::string> quoted = readQuoted(text, position);
    if (!quoted || position != text.size()) return std::nullopt;
    return std::move(*quoted);
}

}  // namespace

std::string RegistryHive::folded(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

bool RegistryHive::validPath(std::string_view path) {
    if (path.empty() || path.front() == '\\' || path.back() == '\\') return false;
    if (path.find("\\\\") != std::string_view::npos) return false;
    return path.find_first_of("\r\n") == std::string_view::npos && path.find('\0') == std::string_view::npos;
}

RegistryHive::Reading RegistryHive::read(std::string_view text) {
    Reading reading;
    RegistryHive& hive = reading.hive;
    const auto damaged = [&](std::size_t line, const char* why) {
        if (!reading.damage) reading.damage = RegistryHiveDamage{line, why};
    };
    bool sawHeader = false;
    std::string currentKey;
    bool inKey = false;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!sawHeader) {
            if (line != header) {
                damaged(lineNumber, noHeader);
                return reading;
            }
            sawHeader = true;
            continue;
        }
        if (line.empty()) continue;
        if (line.front() == '[') {
            if (line.size() <= 2 || line.back() != ']') {
                damaged(lineNumber, "the name of the key cannot be read");
                continue;
            }
            const std::string_view path = line.substr(1, line.size() - 2);
            inKey = validPath(path) && hive.createKey(path);
            if (inKey) {
                currentKey = std::string(path);
            } else {
                damaged(lineNumber, "the name of the key is no key path");
            }
            continue;
        }
        if (line.front() != '@' && line.front() != '"') {
            damaged(lineNumber, "it is neither a key nor a value");
            continue;
        }
        if (!inKey) {
            // Values below a key that could not be read go with it; its line came first.
            damaged(lineNumber, "a value outside any key");
            continue;
        }
        std::size_t position = 0;
        std::string name;
        if (line.front() == '@') {
            position = 1;
        } else {
            std::optional<std::string> quoted = readQuoted(line, position);
            if (!quoted || quoted->empty()) {
                damaged(lineNumber, "the value cannot be read");
                continue;
            }
            name = std::move(*quoted);
        }
        std::optional<std::variant<std::string, std::uint32_t>> data = readData(line, position);
        if (data) {
            hive.setValue(currentKey, RegistryValue{std::move(name), std::move(*data)});
        } else {
            damaged(lineNumber, "the value cannot be read");
        }
    }
    if (!sawHeader) damaged(1, noHeader);
    return reading;
}

std::optional<RegistryHive> RegistryHive::parse(std::string_view text) {
    Reading reading = read(text);
    // Only the header can be damaged on the first line.
    if (reading.damage && reading.damage->line == 1) return std::nullopt;
    return std::move(reading.hive);
}

std::string RegistryHive::write() const {
    std::string result(header);
    result += '\n';
    for (const auto& [folded, key] : keys_) {
        result += '\n';
        result += '[' + key.path + "]\n";
        for (const auto& [foldedName, value] : key.values) {
            result += value.name.empty() ? std::string("@") : '"' + escaped(value.name) + '"';
            if (const auto* number = std::get_if<std::uint32_t>(&value.data)) {
                char buffer[24];
                std::snprintf(buffer, sizeof buffer, "=dword:%08x\n", *number);
                result += buffer;
            } else {
                result += "=\"" + escaped(std::get<std::string>(value.data)) + "\"\n";
            }
        }
    }
    return result;
}

bool RegistryHive::hasKey(std::string_view path) const { return keys_.contains(folded(path)); }

bool RegistryHive::createKey(std::string_view path) {
    if (!validPath(path)) return false;
    std::size_t position = 0;
    while (true) {
        const std::size_t next = path.find('\\', position);
        const std::string_view prefix = path.substr(0, next);
        std::string key = folded(prefix);
        if (!keys_.contains(key)) keys_.emplace(std::move(key), Key{std::string(prefix), {}});
        if (next == std::string_view::npos) return true;
        position = next + 1;
    }
}

bool RegistryHive::deleteTree(std::string_view path) {
    const std::string key = folded(path);
    auto found = keys_.find(key);
    if (found == keys_.end()) return false;
    const std::string below = key + '\\';
    auto last = keys_.lower_bound(below);
    while (last != keys_.end() && last->first.compare(0, below.size(), below) == 0) ++last;
    keys_.erase(keys_.lower_bound(below), last);
    keys_.erase(key);
    return true;
}

const RegistryValue* RegistryHive::value(std::string_view path, std::string_view name) const {
    const auto key = keys_.find(folded(path));
    if (key == keys_.end()) return nullptr;
    const auto found = key->second.values.find(folded(name));
    return found == key->second.values.end() ? nullptr : &found->second;
}

bool RegistryHive::setValue(std::string_view path, RegistryValue value) {
    const auto key = keys_.find(folded(path));
    if (key == keys_.end()) return false;
    std::string name = folded(value.name);
    auto existing = key->second.values.find(name);
    // A value keeps the spelling of its name from when it was first set.
    if (existing != key->second.values.end()) value.name = existing->second.name;
    key->second.values.insert_or_assign(std::move(name), std::move(value));
    return true;
}

bool RegistryHive::deleteValue(std::string_view path, std::string_view name) {
    const auto key = keys_.find(folded(path));
    return key != keys_.end() && key->second.values.erase(folded(name)) > 0;
}

std::vector<std::string> RegistryHive::subKeys(std::string_view path) const {
    std::vector<std::string> result;
    const std::string prefix = path.empty() ? std::string() : folded(path) + '\\';
    for (auto it = keys_.lower_bound(prefix); it != keys_.end(); ++it) {
        if (it->first.compare(0, prefix.size(), prefix) != 0) break;
        const std::string_view rest = std::string_view(it->first).substr(prefix.size());
        if (rest.find('\\') == std::string_view::npos)
            result.push_back(it->second.path.substr(it->second.path.size() - rest.size()));
    }
    return result;
}

std::vector<RegistryValue> RegistryHive::values(std::string_view path) const {
    std::vector<RegistryValue> result;
    const auto key = keys_.find(folded(path));
    if (key == keys_.end()) return result;
    for (const auto& [name, value] : key->second.values) result.push_back(value);
    return result;
}

}  // namespace winapi
