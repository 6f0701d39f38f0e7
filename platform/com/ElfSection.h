#pragma once
// Data that a shared object carries in a section of its own (its type library, its
// version information), found by the section's name in the ELF image without loading it.
#include <cstdint>
#include <string>
#include <string_view>

#include "com/Error.h"

namespace com {

// The bytes of the section `name` of a 64-bit ELF image, without trailing NULs; empty
// when the image is not one or has no such section. Never reads outside `image`.
std::string_view elfSection(std::string_view image, std::string_view name);

// The text that a file carries: the section `name` of a shared object, or the whole
// file when it is not an ELF image.
struct CarriedText {
    bool read = false;          // false: the file could not be read
    bool sharedObject = false;  // the file is an ELF image (its text is empty without the section)
    std::string text;
};
CarriedText readCarriedText(const std::string& path, std::string_view name);

// What a file carries in the section `name` (or as a whole), as `read` reads it from
// its text. A file that cannot be read, or a shared object without the section, raises
// com::Error(`cannotLoad`) saying so of `what`.
template <class Reader>
auto loadCarried(const std::string& path, std::string_view name, std::int32_t cannotLoad, const std::string& what,
                 Reader read) {
    const CarriedText carried = readCarriedText(path, name);
    if (!carried.read) throw Error(cannotLoad, "", "Cannot open " + what + " " + path);
    if (carried.sharedObject && carried.text.empty()) throw Error(cannotLoad, "", path + " carries no " + what);
    return read(carried.text);
}

}  // namespace com
