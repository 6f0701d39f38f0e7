// Reads the input as a project file, through the text reader and through the file
// reader, and checks that what was read is written and read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "FuzzInput.h"
#include "desktop/results/ProjectFile.h"
#include "sysutils/MessageBoxes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > fuzzing::maxInputSize) return -1;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const desktop::results::ProjectText read = desktop::results::parseProjectText(text);

    const desktop::results::ProjectText again =
        desktop::results::parseProjectText(desktop::results::projectFileText(read.settings));
    if (!again.complete || !(again.settings == read.settings)) std::abort();

    sysutils::ScriptedMessageBoxes boxes;
    const std::string path = fuzzing::writeInputFile("project.txt", text);
    const std::optional<desktop::results::ProjectSettings> opened = desktop::results::readProjectFile(path);
    if (!opened || !(*opened == read.settings)) std::abort();
    const std::size_t expectedBoxes = read.complete ? 0 : 1;
    if (boxes.boxes().size() != expectedBoxes) std::abort();
    if (!read.complete && boxes.texts()[0] != "Error opening file " + path + "\n Incomplete file") std::abort();
    return 0;
}
