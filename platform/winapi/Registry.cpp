#include "winapi/Registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <sstream>

#include "sysutils/SafeFile.h"
#include "sysutils/NonRegularFiles.h"

struct winapi::RegistryKeyHandle {
    HKEY root;         // one of the three predefined keys
    std::string path;  // below the root
};

namespace winapi {
namespace {

enum class Hive { CurrentUser, LocalMachine };

constexpr const char* classesKey = "Software\\Classes";

bool isPredefined(HKEY key) {
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE;
}

std::string folderFromEnvironment(const char* variable, const char* fallbackBelowHome) {
    if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') return value;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "/tmp") + "/" + fallbackBelowHome;
}

std::string hiveFile(Hive hive) {
    const char* name = hive == Hive::CurrentUser ? "current_user.reg" : "local_machine.reg";
    if (const char* folder = std::getenv("PLATFORM_REGISTRY_DIR"); folder != nullptr && folder[0] != '\0')
        return std::string(folder) + "/" + name;
    const std::string base = hive == Hive::CurrentUser ? folderFromEnvironment("XDG_CONFIG_HOME", ".config")
                                                       : folderFromEnvironment("XDG_DATA_HOME", ".local/share");
    return base + "/platform-registry/" + name;
}

// A path below a root without "\" at either end.
std::string trimmed(std::string_view path) {
    while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    return std::string(path);
}

std::string joined(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return a + '\\' + b;
}

// Where a key lies: the hives to read, in order, and the one to write.
struct Location {
    std::vector<std::pair<Hive, std::string>> reads;
    std::pair<Hive, std::string> write;
};

Location locate(HKEY root, const std::string& path) {
    if (root == HKEY_CURRENT_USER) return {{{Hive::CurrentUser, path}}, {Hive::CurrentUser, path}};
    if (root == HKEY_LOCAL_MACHINE) return {{{Hive::LocalMachine, path}}, {Hive::LocalMachine, path}};
    const std::string below = joined(classesKey, path);
    return {{{Hive::CurrentUser, below}, {Hive::LocalMachine, below}}, {Hive::LocalMachine, below}};
}

// The hives as last read from their files, one entry per file.
struct CachedHive {
    bool present = false;
    struct timespec modified {};
    off_t size = 0;
    ino_t inode = 0;
    RegistryHive hive;
    std::optional<DamagedHive> damage;  // a hive that could not be read in full is never written
};

std::mutex registryMutex;
std::map<std::string, CachedHive>& cache() {
    static std::map<std::string, CachedHive> hives;
    return hives;
}

bool sameStamp(const CachedHive& cached, const struct stat& status) {
    return cached.present && cached.size == status.st_size && cached.inode == status.st_ino &&
           cached.modified.tv_sec == status.st_mtim.tv_sec && cached.modified.tv_nsec == status.st_mtim.tv_nsec;
}

std::optional<std::string> readWholeFile(const std::string& file, int& error) {
    errno = 0;
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream contents;
    if (stream) contents << stream.rdbuf();
    if (!stream || stream.bad()) {
        error = errno != 0 ? errno : EIO;
        return std::nullopt;
    }
    return contents.str();
}

// Reads the file anew unless it is unchanged since the last read. Caller holds the mutex.
CachedHive& current(const std::string& file) {
    CachedHive& cached = cache()[file];
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        cached = CachedHive{};  // no hive yet: the first change makes it
        return cached;
    }
    if (!S_ISREG(status.st_mode)) {
        // Anything but a file is left alone, and never opened: a pipe would not answer.
        cached = CachedHive{};
        const std::optional<std::string> special = sysutils::nonRegularFileReason(file);
        cached.damage = DamagedHive{file, {0, special ? *special : "it is a folder"}};
        return cached;
    }
    if (sameStamp(cached, status)) return cached;
    cached = CachedHive{};
    cached.present = true;
    cached.size = status.st_size;
    cached.inode = status.st_ino;
    cached.modified = status.st_mtim;
    int error = 0;
    const std::optional<std::string> text = readWholeFile(file, error);
    if (!text) {
        cached.damage = DamagedHive{file, {0, std::string("it cannot be read: ") + std::strerror(error)}};
    } else if (!text->empty()) {
        RegistryHive::Reading reading = RegistryHive::read(*text);
        cached.hive = std::move(reading.hive);
        if (reading.damage) cached.damage = DamagedHive{file, *reading.damage};
    }
    return cached;
}

const RegistryHive& readHive(Hive hive) { return current(hiveFile(hive)).hive; }

// Holds the lock file beside a hive file for the lifetime of the object.
class HiveLock {
public:
    explicit HiveLock(const std::string& file) {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
        descriptor_ = ::open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (descriptor_ < 0) return;
        while (::flock(descriptor_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(descriptor_);
                descriptor_ = -1;
                return;
            }
        }
    }
    ~HiveLock() {
        if (descriptor_ >= 0) ::close(descriptor_);  // closing releases the lock
    }
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;
    bool held() const { return descriptor_ >= 0; }

private:
    int descriptor_ = -1;
};

// Applies `change` to a fresh read of the hive under its lock and writes the hive back
// when the change reports that it changed something. Caller holds the mutex.
LONG modify(Hive hive, const std::function<bool(RegistryHive&)>& change) {
    const std::string file = hiveFile(hive);
    HiveLock lock(file);
    if (!lock.held()) return ERROR_CANTWRITE;
    cache().erase(file);  // another process may have written since our last read
    CachedHive& cached = current(file);
    if (cached.damage) return ERROR_BADDB;
    RegistryHive changed = cached.hive;
    if (!change(changed)) return ERROR_SUCCESS;
    if (!sysutils::SaveFileSafely(file, changed.write())) return ERROR_CANTWRITE;
    cache().erase(file);
    current(file);
    return ERROR_SUCCESS;
}

// The root and path that a handle and a sub-key name; nothing for a bad handle.
std::optional<std::pair<HKEY, std::string>> resolve(HKEY key, LPCSTR subKey) {
    const std::string below = trimmed(subKey != nullptr ? subKey : "");
    if (isPredefined(key)) return std::make_pair(key, below);
    if (key == nullptr) return std::nullopt;
    return std::make_pair(key->root, joined(key->path, below));
}

// True when a hive that the location reads could not be read in full: what it does not
// show may still be in its file.
bool anyDamaged(const Location& location) {
    for (const auto& [hive, path] : location.reads)
        if (current(hiveFile(hive)).damage) return true;
    return false;
}

bool exists(const Location& location) {
    for (const auto& [hive, path] : location.reads)
        if (path.empty() || readHive(hive).hasKey(path)) return true;
    return false;
}

const RegistryValue* findValue(const Location& location, const std::string& name) {
    for (const auto& [hive, path] : location.reads)
        if (const RegistryValue* value = readHive(hive).value(path, name)) return value;
    return nullptr;
}

std::vector<std::string> mergedSubKeys(const Location& location) {
    std::map<std::string, std::string> names;
    for (const auto& [hive, path] : location.reads)
        for (std::string& name : readHive(hive).subKeys(path)) names.emplace(RegistryHive::folded(name), name);
    std::vector<std::string> result;
    for (auto& [folded, name] : names) result.push_back(std::move(name));
    return result;
}

HKEY newHandle(HKEY root, std::string path) { return new RegistryKeyHandle{root, std::move(path)}; }

}  // namespace

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM, PHKEY result) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    const auto resolved = resolve(key, subKey);
    if (!resolved) return ERROR_INVALID_HANDLE;
    std::lock_guard lock(registryMutex);
    if (!exists(locate(resolved->first, resolved->second))) return ERROR_FILE_NOT_FOUND;
    *result = newHandle(resolved->first, resolved->second);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM, void*, PHKEY result, LPDWORD disposition) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    const auto resolved = resolve(key, subKey);
    if (!resolved) return ERROR_INVALID_HANDLE;
    std::lock_guard lock(registryMutex);
    const Location location = locate(resolved->first, resolved->second);
    bool created = false;
    if (!exists(location)) {
        const std::string& path = location.write.second;
        if (!RegistryHive::validPath(path)) return ERROR_INVALID_PARAMETER;
        const LONG written =
            modify(location.write.first, [&](RegistryHive& changed) { return created = changed.createKey(path); });
        if (written != ERROR_SUCCESS) return written;
    }
    if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = newHandle(resolved->first, resolved->second);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (isPredefined(key)) return ERROR_SUCCESS;
    if (key == nullptr) return ERROR_INVALID_HANDLE;
    delete key;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    const auto resolved = resolve(key, nullptr);
    if (!resolved) return ERROR_INVALID_HANDLE;
    if (data != nullptr && dataSize == nullptr) return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(registryMutex);
    const RegistryValue* value =
        findValue(locate(resolved->first, resolved->second), valueName != nullptr ? valueName : "");
    if (value == nullptr) return ERROR_FILE_NOT_FOUND;
    std::string bytes;
    DWORD valueType = REG_SZ;
    if (const auto* number = std::get_if<std::uint32_t>(&value->data)) {
        valueType = REG_DWORD;
        bytes.assign(reinterpret_cast<const char*>(number), sizeof *number);
    } else {
        bytes = std::get<std::string>(value->data);
        bytes += '\0';
    }
    if (type != nullptr) *type = valueType;
    if (dataSize == nullptr) return ERROR_SUCCESS;
    const DWORD available = *dataSize;
    *dataSize = static_cast<DWORD>(bytes.size());
    if (data == nullptr) return ERROR_SUCCESS;
    if (available < bytes.size()) return ERROR_MORE_DATA;
    std::memcpy(data, bytes.data(), bytes.size());
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD dataSize) {
    const auto resolved = resolve(key, nullptr);
    if (!resolved) return ERROR_INVALID_HANDLE;
    if (data == nullptr && dataSize > 0) return ERROR_INVALID_PARAMETER;
    RegistryValue value{valueName != nullptr ? valueName : "", std::string()};
    if (type == REG_DWORD) {
        if (dataSize != sizeof(std::uint32_t)) return ERROR_INVALID_PARAMETER;
        std::uint32_t number = 0;
        std::memcpy(&number, data, sizeof number);
        value.data = number;
    } else if (type == REG_SZ) {
        const char* text = reinterpret_cast<const char*>(data);
        std::string_view bytes(text != nullptr ? text : "", dataSize);
        value.data = std::string(bytes.substr(0, bytes.find('\0')));
    } else {
        return ERROR_INVALID_PARAMETER;
    }
    std::lock_guard lock(registryMutex);
    const Location location = locate(resolved->first, resolved->second);
    if (!exists(location)) return ERROR_FILE_NOT_FOUND;
    const std::string& path = location.write.second;
    return modify(location.write.first, [&](RegistryHive& changed) {
        changed.createKey(path);  // the key may so far exist only in the other hive
        const RegistryValue* existing = changed.value(path, value.name);
        if (existing != nullptr && existing->data == value.data) return false;
        return changed.setValue(path, value);
    });
}

LONG RegDeleteValueA(HKEY key, LPCSTR valueName) {
    const auto resolved = resolve(key, nullptr);
    if (!resolved) return ERROR_INVALID_HANDLE;
    std::lock_guard lock(registryMutex);
    const Location location = locate(resolved->first, resolved->second);
    bool found = false;
    for (const auto& [hive, readPath] : location.reads) {
        const std::string& path = readPath;
        const LONG result = modify(hive, [&](RegistryHive& changed) {
            const bool removed = changed.deleteValue(path, valueName != nullptr ? valueName : "");
            found = found || removed;
            return removed;
        });
        if (result != ERROR_SUCCESS) return result;
    }
    return found ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG RegDeleteTreeA(HKEY key, LPCSTR subKey) {
    const auto resolved = resolve(key, subKey);
    if (!resolved) return ERROR_INVALID_HANDLE;
    if (resolved->second.empty()) return ERROR_ACCESS_DENIED;  // a root is never removed
    std::lock_guard lock(registryMutex);
    const Location location = locate(resolved->first, resolved->second);
    // A key that a damaged hive does not show is not known to be gone.
    if (!exists(location)) return anyDamaged(location) ? ERROR_BADDB : ERROR_FILE_NOT_FOUND;
    for (const auto& [hive, readPath] : location.reads) {
        const std::string& path = readPath;
        const LONG result = modify(hive, [&](RegistryHive& changed) { return changed.deleteTree(path); });
        if (result != ERROR_SUCCESS) return result;
    }
    return ERROR_SUCCESS;
}

LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD, LPSTR, LPDWORD, void*) {
    const auto resolved = resolve(key, nullptr);
    if (!resolved) return ERROR_INVALID_HANDLE;
    if (name == nullptr || nameLength == nullptr) return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(registryMutex);
    const std::vector<std::string> names = mergedSubKeys(locate(resolved->first, resolved->second));
    if (index >= names.size()) return ERROR_NO_MORE_ITEMS;
    const std::string& found = names[index];
    if (*nameLength <= found.size()) {
        *nameLength = static_cast<DWORD>(found.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::memcpy(name, found.c_str(), found.size() + 1);
    *nameLength = static_cast<DWORD>(found.size());
    return ERROR_SUCCESS;
}

namespace registry {

std::optional<std::string> readString(HKEY root, const std::string& key, const std::string& valueName) {
    std::lock_guard lock(registryMutex);
    const RegistryValue* value = findValue(locate(root, trimmed(key)), valueName);
    if (value == nullptr) return std::nullopt;
    if (const auto* text = std::get_if<std::string>(&value->data)) return *text;
    return std::to_string(std::get<std::uint32_t>(value->data));
}

bool keyExists(HKEY root, const std::string& key) {
    std::lock_guard lock(registryMutex);
    return exists(locate(root, trimmed(key)));
}

std::vector<std::string> subKeys(HKEY root, const std::string& key) {
    std::lock_guard lock(registryMutex);
    return mergedSubKeys(locate(root, trimmed(key)));
}

bool createKey(HKEY root, const std::string& key) {
    HKEY opened = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

bool writeString(HKEY root, const std::string& key, const std::string& valueName, const std::string& value) {
    HKEY opened = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(opened, valueName.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(opened);
    return result == ERROR_SUCCESS;
}

bool deleteTree(HKEY root, const std::string& key) {
    const LONG result = RegDeleteTreeA(root, key.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

std::vector<DamagedHive> damagedHives() {
    std::lock_guard lock(registryMutex);
    std::vector<DamagedHive> damaged;
    for (const Hive hive : {Hive::CurrentUser, Hive::LocalMachine})
        if (const CachedHive& cached = current(hiveFile(hive)); cached.damage) damaged.push_back(*cached.damage);
    return damaged;
}

std::string hiveFilePath(HKEY root) {
    return hiveFile(root == HKEY_CURRENT_USER ? Hive::CurrentUser : Hive::LocalMachine);
}

}  // namespace registry

}  // namespace winapi
