#pragma once
// Shared by the fuzz harnesses: the size bound of an input, and a temporary folder of
// the process (in memory when /dev/shm is there) into which inputs are written as the
// files that the engine reads.
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

// Inputs above this size are skipped, so that a slow reader shows up as a hang of a
// small input instead of a long run of a large one.
inline constexpr std::size_t maxInputSize = 64 * 1024;

// The path of `name` in the process's temporary folder, after writing `size` bytes
// of `data` to it exactly as given.
std::string writeInputFile(const std::string& name, const std::uint8_t* data, std::size_t size);
std::string writeInputFile(const std::string& name, const std::string& contents);

// True when the input, after white space, starts a JSON object and holds no "<": harnesses
// of layers keep to GeoJSON, so that they fuzz the host's reading of layers and not every
// format GDAL knows (its XML drivers recognise a file by a tag anywhere in it).
bool looksLikeGeoJson(const std::uint8_t* data, std::size_t size);

}  // namespace fuzzing

// The libFuzzer entry point that every harness defines.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
