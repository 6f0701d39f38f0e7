#include "com/ElfSection.h"

#include <elf.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>

namespace com {
namespace {

// True when `size` bytes from `offset` lie inside the image.
bool fits(std::string_view image, std::uint64_t offset, std::uint64_t size) {
    return offset <= image.size() && size <= image.size() - offset;
}

}  // namespace

std::string_view elfSection(std::string_view image, std::string_view name) {
    if (image.size() < sizeof(Elf64_Ehdr) || std::memcmp(image.data(), ELFMAG, SELFMAG) != 0 ||
        image[EI_CLASS] != ELFCLASS64)
        return {};
    Elf64_Ehdr header;
    std::memcpy(&header, image.data(), sizeof header);
    if (header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shstrndx >= header.e_shnum) return {};
    const std::uint64_t tableSize = std::uint64_t{header.e_shnum} * sizeof(Elf64_Shdr);
    if (!fits(image, header.e_shoff, tableSize)) return {};
    const auto section = [&](std::size_t index) {
        Elf64_Shdr entry;
        std::memcpy(&entry, image.data() + header.e_shoff + index * sizeof(Elf64_Shdr), sizeof entry);
        return entry;
    };
    const Elf64_Shdr names = section(header.e_shstrndx);
    if (!fits(image, names.sh_offset, names.sh_size)) return {};
    const std::string_view nameTable = image.substr(names.sh_offset, names.sh_size);
    for (std::size_t index = 0; index < header.e_shnum; ++index) {
        const Elf64_Shdr entry = section(index);
        if (entry.sh_name >= nameTable.size()) continue;
        const std::string_view rest = nameTable.substr(entry.sh_name);
        if (rest.substr(0, rest.find('\0')) != name) continue;
        if (entry.sh_type == SHT_NOBITS || !fits(image, entry.sh_offset, entry.sh_size)) return {};
        std::string_view bytes = image.substr(entry.sh_offset, entry.sh_size);
        while (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);
        return bytes;
    }
    return {};
}

CarriedText readCarriedText(const std::string& path, std::string_view name) {
    CarriedText carried;
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return carried;
    std::ostringstream buffer;
    buffer << stream.rdbuf();
    const std::string image = buffer.str();
    carried.read = true;
    carried.sharedObject = image.compare(0, SELFMAG, ELFMAG) == 0;
    carried.text = carried.sharedObject ? std::string(elfSection(image, name)) : image;
    return carried;
}

}  // namespace com
