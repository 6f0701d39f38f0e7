#pragma once
// The registry: two hives, current user and local machine, each kept in a text file
// (RegistryHive.h) in the user's XDG folders:
//   current user   $XDG_CONFIG_HOME/platform-registry/current_user.reg
//   local machine  $XDG_DATA_HOME/platform-registry/local_machine.reg
// or both in the folder named by PLATFORM_REGISTRY_DIR (tests). Every change is made
// under a lock on the hive (a lock file beside it) on a fresh read of the file, and the
// file is replaced atomically, so two processes registering at once, or a process
// killed while writing, leave a complete hive. Reads see the file as it was last
// written. HKEY_CLASSES_ROOT reads the current user's "Software\Classes" before the
// local machine's, and writes into the local machine's.
//
// A hive file that cannot be read in full (a damaged line, a file that is not a hive,
// something that is not a file) reads as far as it can and is never overwritten, since a
// write would lose what could not be read: changes to it fail with ERROR_BADDB, and so
// does removing a key that it does not show.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "winapi/RegistryHive.h"
#include "winapi/Types.h"

namespace winapi {

// A hive file that could not be read in full: the first line that could not be read,
// and why; line 0 when the file could not be read at all.
struct DamagedHive {
    std::string file;
    RegistryHiveDamage damage;

    bool operator==(const DamagedHive&) const = default;
};

struct RegistryKeyHandle;
using HKEY = RegistryKeyHandle*;
using PHKEY = HKEY*;
using REGSAM = DWORD;

inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(std::uintptr_t{0x80000000u});
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001u});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002u});

inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_DWORD = 4;

inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Opens an existing key; ERROR_FILE_NOT_FOUND when there is none.
LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result);
// Opens a key, creating it and the keys above it when missing.
LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR className, DWORD options, REGSAM desired,
                     void* securityAttributes, PHKEY result, LPDWORD disposition);
LONG RegCloseKey(HKEY key);
// A value's type, and its data when `data` is given: a text with its terminating NUL
// (the size counts it), a number as four bytes. Without `data` only the size is told;
// with a buffer too small ERROR_MORE_DATA and the size needed.
LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize);
// Sets a text (REG_SZ, up to its first NUL) or a number (REG_DWORD, four bytes).
LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize);
LONG RegDeleteValueA(HKEY key, LPCSTR valueName);
// Removes the sub-key and everything below it.
LONG RegDeleteTreeA(HKEY key, LPCSTR subKey);
// The name of the index-th sub-key; ERROR_NO_MORE_ITEMS past the last.
LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved, LPSTR className,
                   LPDWORD classNameLength, void* lastWriteTime);

// The same services for the platform's own code, by root and key path.
namespace registry {

std::optional<std::string> readString(HKEY root, const std::string& key, const std::string& valueName);
bool keyExists(HKEY root, const std::string& key);
std::vector<std::string> subKeys(HKEY root, const std::string& key);
// Creates the key when missing and sets the value; false when the hive cannot be written.
bool writeString(HKEY root, const std::string& key, const std::string& valueName, const std::string& value);
bool createKey(HKEY root, const std::string& key);
// Removes the key and everything below it (true also when there was none); false when
// the hive cannot be written.
bool deleteTree(HKEY root, const std::string& key);

// The hive files that could not be read in full. Lookups never tell: a program asks
// once and says so.
std::vector<DamagedHive> damagedHives();

// The file that holds the hive of a root key (the local machine's for HKEY_CLASSES_ROOT).
std::string hiveFilePath(HKEY root);

}  // namespace registry

}  // namespace winapi
