#pragma once
// Type libraries: what a component server's classes and interfaces are, for those who
// register or inspect it without creating anything. The format is text of our own:
//
//   TYPELIB 1
//   library <name> <library id> <major>.<minor> <locale, hexadecimal>
//   import <file> <library id> <major>.<minor>
//   interface <name> <iid> <base> <flags, comma-separated, or ->
//   member <propget|propput|propputref|method> <name> <dispatch id> <type>
//   coclass <name> <clsid> <flags or ->
//   implements <name> <iid> <flags (default, source) or ->
//
// one item per line, fields separated by blanks; "member" lines belong to the interface
// above them and "implements" lines to the coclass above them. A server carries its type
// library inside its shared object, in the ELF section ".comtypelib"
// (COM_TYPE_LIBRARY_SECTION), where loadTypeLibrary finds it by path.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "com/Guid.h"

#define COM_TYPE_LIBRARY_SECTION __attribute__((section(".comtypelib"), used))

namespace com {

struct TypeLibrary {
    struct Version {
        int major = 1;
        int minor = 0;
        bool operator==(const Version&) const = default;
    };
    struct Import {
        std::string file;
        GUID libraryId;
        Version version;
        bool operator==(const Import&) const = default;
    };
    struct Member {
        std::string kind;  // propget, propput, propputref or method
        std::string name;
        std::int32_t dispatchId = 0;
        std::string type;
        bool operator==(const Member&) const = default;
    };
    struct Interface {
        std::string name;
        IID iid;
        std::string base;
        std::vector<std::string> flags;
        std::vector<Member> members;
        bool operator==(const Interface&) const = default;
    };
    struct Implemented {
        std::string name;
        IID iid;
        std::vector<std::string> flags;
        bool operator==(const Implemented&) const = default;
    };
    struct Coclass {
        std::string name;
        CLSID clsid;
        std::vector<std::string> flags;
        std::vector<Implemented> interfaces;
        bool operator==(const Coclass&) const = default;
    };

    std::string name;
    GUID libraryId;
    Version version;
    std::uint32_t locale = 0;
    std::vector<Import> imports;
    std::vector<Interface> interfaces;
    std::vector<Coclass> coclasses;

    bool operator==(const TypeLibrary&) const = default;
};

std::string writeTypeLibrary(const TypeLibrary& library);

// Reads the text form; a malformed text raises com::Error (TYPE_E_INVDATAREAD) naming the line.
TypeLibrary readTypeLibrary(std::string_view text);

// The type library in a file: a shared object that carries one in its ".comtypelib"
// section, or a text file of the format above. Raises com::Error when the file cannot
// be read (TYPE_E_CANTLOADLIBRARY) or holds none.
TypeLibrary loadTypeLibrary(const std::string& path);

// The bytes of the ".comtypelib" section of an ELF image, without trailing NULs;
// empty when it has none. Never reads outside `image`.
std::string_view typeLibrarySection(std::string_view image);

inline constexpr std::int32_t TYPE_E_INVDATAREAD = static_cast<std::int32_t>(0x80028018u);
inline constexpr std::int32_t TYPE_E_CANTLOADLIBRARY = static_cast<std::int32_t>(0x80029C4Au);

}  // namespace com
