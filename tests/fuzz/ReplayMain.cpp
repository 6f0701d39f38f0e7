// Feeds every file of the folders (or files) given on the command line to the
// harness's entry point once, so that an ordinary build checks the fuzz corpus.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzInput.h"

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> inputs;
    for (int k = 1; k < argc; ++k) {
        const std::filesystem::path given = argv[k];
        if (std::filesystem::is_directory(given)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(given))
                if (entry.is_regular_file()) inputs.push_back(entry.path());
        } else {
            inputs.push_back(given);
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs given\n");
        return 1;
    }
    for (const std::filesystem::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", input.c_str());
            return 1;
        }
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const int result = LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        if (result != 0 && result != -1) {
            std::fprintf(stderr, "%s: the harness returned %d\n", input.c_str(), result);
            return 1;
        }
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
