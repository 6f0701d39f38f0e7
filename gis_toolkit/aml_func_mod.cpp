#include "gis_toolkit/aml_func_mod.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <string_view>

#include "gis_toolkit/ErrorHandler.h"
#include "winapi/FileSystem.h"
#include "winapi/Registry.h"

namespace gis_toolkit::aml_func_mod {
namespace {

const std::string module = "aml_func_mod";
constexpr char separator = '/';

// The 1-based position of `search` in `text` from position `start` on, 0 when it is
// not there; an empty `search` is found at `start`, an empty `text` holds nothing.
std::size_t inStr(std::size_t start, const std::string& text, const std::string& search) {
    if (text.empty()) return 0;
    if (search.empty()) return start <= text.size() ? start : 0;
    if (start > text.size()) return 0;
    const std::size_t found = text.find(search, start - 1);
    return found == std::string::npos ? 0 : found + 1;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void blank(std::string& text, std::size_t position, std::size_t count) {
    for (std::size_t i = position; i < position + count && i < text.size(); ++i) text[i] = ' ';
}

// The parts of a path of the file system between its separators, one trailing separator
// dropped: "/data/out/" gives "", "data" and "out", "a//b" gives "a", "" and "b". A part
// is taken as the file system names it, blanks and quotes included ("it's here" and
// " draft " are folder names like any other). A path of nothing but separators and
// blanks names no file and has no parts.
std::vector<std::string> pathParts(const std::string& path) {
    std::vector<std::string> parts;
    if (path.find_first_not_of(std::string(" ") + separator) == std::string::npos) return parts;
    const std::string_view text =
        path.back() == separator ? std::string_view(path).substr(0, path.size() - 1) : std::string_view(path);
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

void ParseString(const std::string& text, std::vector<std::string>& parts, const std::string& delimiter) {
    // Errors are ignored here: a text of delimiters only ends the procedure at once.
    if (trimmed(Subst(text, delimiter)).empty()) return;
    std::string copy = text;
    parts.assign(1, std::string());
    std::size_t element = 0;
    int quoteState = 0;
    std::size_t opening = 0;
    std::size_t closing = 0;
    // The last character is never examined: a delimiter there stays with its part and is
    // blanked below.
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = copy[i - 1];
        if (c == '\'') {
            if (quoteState == 1) {
                quoteState = 2;
                closing = i;
            } else {
                quoteState = 1;
                opening = i;
            }
        }
        if (quoteState == 2) {
            blank(copy, opening - 1, 1);
            blank(copy, closing - 1, 1);
            parts[element] = trimmed(copy.substr(opening - 1, closing - opening));
            quoteState = 0;
        } else if (quoteState == 0 && delimiter.size() == 1 && c == delimiter[0]) {
            parts[element] = trimmed(copy.substr(0, i));
            if (!parts[element].empty()) {
                blank(copy, 0, i);
                parts.emplace_back();
                ++element;
            }
        }
    }
    parts[element] = trimmed(copy);
    for (std::string& part : parts) {
        if (delimiter.size() == 1 && !part.empty() && part.back() == delimiter[0]) part.back() = ' ';
        part = trimmed(part);
    }
}

std::string Subst(const std::string& text, const std::string& search, const std::optional<std::string>& replacement) {
    std::string result = text;
    ErrorHandler handler("Subst", module);
    handler.run([&] {
        // An empty search text, or an empty replacement, would never move on.
        if (search.empty()) return;
        std::size_t position = inStr(1, result, search);
        if (!replacement || replacement->empty()) {
            while (position > 0) {
                result = Before(result, search) + After(result, search);
                position = inStr(position, result, search);
            }
            return;
        }
        while (position > 0) {
            result.replace(position - 1, std::min(replacement->size(), result.size() - (position - 1)),
                           replacement->substr(0, result.size() - (position - 1)));
            position = inStr(position + replacement->size(), result, search);
        }
    });
    return result;
}

std::string Before(const std::string& text, const std::string& search) {
    std::string result;
    ErrorHandler handler("Before", module);
    handler.run([&] {
        const std::size_t position = inStr(1, text, search);
        if (position > 1) result = text.substr(0, position - 1);
    });
    return result;
}

std::string After(const std::string& text, const std::string& search) {
    std::string result;
    ErrorHandler handler("After", module);
    handler.run([&] {
        const std::size_t position = inStr(1, text, search);
        if (position > 0) result = text.substr(std::min(text.size(), position - 1 + search.size()));
    });
    return result;
}

std::string ReturnDir(const std::string& path) {
    std::string result;
    ErrorHandler handler("ReturnDir", module);
    handler.run([&] {
        const std::vector<std::string> parts = pathParts(path);
        result = parts.at(0);
        for (std::size_t k = 1; k + 1 < parts.size(); ++k) result += separator + parts[k];
        result += separator;
    });
    return result;
}

std::string ReturnFilename(const std::string& path) {
    std::string result;
    ErrorHandler handler("ReturnFilename", module);
    handler.run([&] {
        const std::vector<std::string> parts = pathParts(path);
        result = parts.at(parts.size() - 1);
    });
    return result;
}

bool FileExists(const std::string& path) {
    bool result = false;
    ErrorHandler handler("FileExists", module);
    handler.run([&] {
        if (path.empty()) return;
        const std::size_t last = path.rfind(separator);
        const std::string folder = last == std::string::npos ? "." : (last == 0 ? "/" : path.substr(0, last));
        const std::string pattern = last == std::string::npos ? path : path.substr(last + 1);
        if (pattern.empty()) return;
        const auto ordinaryFile = [&](const std::string& name) {
            struct stat status {};
            return name.front() != '.' && ::stat((folder + separator + name).c_str(), &status) == 0 &&
                   S_ISREG(status.st_mode);
        };
        if (pattern.find_first_of("*?") == std::string::npos) {
            result = ordinaryFile(pattern);
            return;
        }
        DIR* directory = ::opendir(folder.c_str());
        if (directory == nullptr) return;
        while (const dirent* entry = ::readdir(directory)) {
            if (::fnmatch(pattern.c_str(), entry->d_name, FNM_PERIOD) == 0 && ordinaryFile(entry->d_name)) {
                result = true;
                break;
            }
        }
        ::closedir(directory);
    });
    return result;
}

bool ExistFileDir(const std::string& path) {
    struct stat status {};
    return !path.empty() && ::stat(path.c_str(), &status) == 0;
}

std::string MakeUniqueFilename(const std::string& path) {
    std::string result;
    ErrorHandler handler("MakeUniqueFilename", module);
    handler.run([&] {
        if (!ExistFileDir(path)) {
            result = path;
            return;
        }
        const std::string lastFive = path.size() > 5 ? path.substr(path.size() - 5) : path;
        std::string stem = path;
        std::string extension;
        if (lastFive.find('.') != std::string::npos) {
            const std::size_t dot = path.rfind('.');
            stem = path.substr(0, dot);
            extension = path.substr(dot);
        }
        std::string candidate = stem;
        for (std::int32_t k = 1; ExistFileDir(candidate + extension);) {
            if (k == INT32_MAX) throw com::runtimeError(com::errors::Overflow);
            ++k;
            candidate = stem + "_" + std::to_string(k);
        }
        result = candidate + extension;
    });
    return result;
}

std::string TempPathLocation() {
    std::string result;
    ErrorHandler handler("TempPathLocation", module);
    handler.run([&] {
        std::string buffer(260, ' ');
        const winapi::DWORD length = winapi::GetTempPathA(260, buffer.data());
        if (length == 0) return;
        const std::size_t end = buffer.find('\0');
        // A folder too long for the buffer leaves no NUL in it.
        if (end == std::string::npos) throw com::runtimeError(com::errors::InvalidProcedureCall);
        result = buffer.substr(0, end);
    });
    return result;
}

std::string GetFullFileString(const std::string& path) {
    std::string result;
    ErrorHandler handler("GetFullFileString", module);
    handler.run([&] {
        std::string buffer(260, '\0');
        const winapi::DWORD length = winapi::GetLongPathNameA(path.c_str(), buffer.data(), 260);
        result = length < 1 || length >= 260 ? path : buffer.substr(0, length);
    });
    return result;
}

std::string ReturnArcGISGeneralDir(std::int32_t selector) {
    struct Folder {
        winapi::HKEY root;
        const char* key;
        const char* value;
        const char* failure;
    };
    static const Folder folders[] = {
        {winapi::HKEY_CURRENT_USER, "Software\\ESRI\\ArcCatalog\\Settings", "LastBrowseLocation",
         "Unable to determine ArcGIS Last Browsed To location!"},
        {winapi::HKEY_CURRENT_USER, "Software\\ESRI\\ArcCatalog\\Settings", "LastExportToLocation",
         "Unable to determine ArcGIS Last Exported To location!"},
        {winapi::HKEY_CURRENT_USER, "Software\\ESRI\\ArcCatalog\\Settings", "LastLocation",
         "Unable to determine ArcGIS Last location!"},
        {winapi::HKEY_CURRENT_USER, "Software\\ESRI\\ArcCatalog\\Settings", "LastSaveToLocation",
         "Unable to determine ArcGIS Last Saved To location!"},
        {winapi::HKEY_LOCAL_MACHINE, "Software\\ESRI\\ArcGIS", "InstallDir",
         "Unable to determine ArcGIS Install location!"},
    };
    std::string result;
    ErrorHandler handler("ReturnArcGISGeneralDir", module);
    handler.run([&] {
        if (selector < 0 || selector > 4) return;
        const Folder& folder = folders[selector];
        result = folder.failure;
        winapi::HKEY key = nullptr;
        if (winapi::RegOpenKeyExA(folder.root, folder.key, 0, winapi::KEY_READ, &key) != winapi::ERROR_SUCCESS) return;
        winapi::DWORD size = 0;
        if (winapi::RegQueryValueExA(key, folder.value, nullptr, nullptr, nullptr, &size) == winapi::ERROR_SUCCESS &&
            size > 0) {
            std::string buffer(size, ' ');
            if (winapi::RegQueryValueExA(key, folder.value, nullptr, nullptr,
                                         reinterpret_cast<winapi::BYTE*>(buffer.data()),
                                         &size) == winapi::ERROR_SUCCESS) {
                result = buffer.substr(0, size - 1);
                if (!result.empty() && result.back() == separator) result.pop_back();
            }
        }
        winapi::RegCloseKey(key);
    });
    return result;
}

std::string InsertCommas(const com::Variant& value) {
    std::string result;
    ErrorHandler handler("InsertCommas", module);
    handler.run([&] {
        const std::string text = com::toText(value);
        const std::size_t point = text.find('.');
        std::string integer = point == std::string::npos ? text : text.substr(0, point);
        // A sign stands in front of the groups, never in one.
        std::string sign;
        if (!integer.empty() && integer.front() == '-') {
            sign = "-";
            integer.erase(0, 1);
        }
        std::string grouped = integer;
        if (integer.size() >= 4) {
            grouped.clear();
            for (std::int64_t j = static_cast<std::int64_t>(integer.size()) - 2; j >= 1; j -= 3) {
                grouped = integer.substr(static_cast<std::size_t>(j - 1), 3) + "," + grouped;
                if (j < 4) grouped = integer.substr(0, static_cast<std::size_t>(j - 1)) + "," + grouped;
            }
            while (!grouped.empty() && grouped.back() == ',') grouped.pop_back();
            while (!grouped.empty() && grouped.front() == ',') grouped.erase(0, 1);
        }
        result = sign + grouped;
        if (point != std::string::npos) result += "." + text.substr(point + 1);
    });
    return result;
}

}  // namespace gis_toolkit::aml_func_mod
