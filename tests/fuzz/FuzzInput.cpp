#include "FuzzInput.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace fuzzing {
namespace {

class ProcessFolder {
public:
    ProcessFolder() {
        std::error_code error;
        const std::filesystem::path memory = "/dev/shm";
        const std::filesystem::path base = access(memory.c_str(), W_OK) == 0 ? memory
                                                                              : std::filesystem::temp_directory_path();
        std::string pattern = (base / "brelmark-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a folder in " + base.string());
        path_ = pattern;
    }
    ~ProcessFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ProcessFolder(const ProcessFolder&) = delete;
    ProcessFolder& operator=(const ProcessFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

const ProcessFolder& processFolder() {
    static const ProcessFolder folder;
    return folder;
}

}  // namespace

std::string writeInputFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    const std::string path = (processFolder().path() / name).string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) throw std::runtime_error("cannot write " + path);
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) throw std::runtime_error("cannot write " + path);
    return path;
}

std::string writeInputFile(const std::string& name, const std::string& contents) {
    return writeInputFile(name, reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size());
}

bool looksLikeGeoJson(const std::uint8_t* data, std::size_t size) {
    std::size_t first = 0;
    while (first < size && std::isspace(data[first])) ++first;
    return first < size && data[first] == '{' && std::find(data, data + size, '<') == data + size;
}

}  // namespace fuzzing
