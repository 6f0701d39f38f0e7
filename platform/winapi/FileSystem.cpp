#include "winapi/FileSystem.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace winapi {
namespace {

DWORD copyOut(const std::string& text, LPSTR buffer, DWORD bufferLength) {
    if (buffer == nullptr || bufferLength <= text.size()) return static_cast<DWORD>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

}  // namespace

DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
    const char* variable = std::getenv("TMPDIR");
    std::string folder = variable != nullptr && variable[0] != '\0' ? variable : "/tmp";
    if (folder.back() != '/') folder += '/';
    return copyOut(folder, buffer, bufferLength);
}

DWORD GetLongPathNameA(LPCSTR shortPath, LPSTR longPath, DWORD bufferLength) {
    if (shortPath == nullptr || shortPath[0] == '\0') return 0;
    struct stat status {};
    if (::stat(shortPath, &status) != 0) return 0;
    return copyOut(shortPath, longPath, bufferLength);
}

}  // namespace winapi
