// Reads the input as version information, as text and as a shared object carrying it,
// and checks that whatever it reads is written and read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "com/Error.h"
#include "com/VersionInformation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > fuzzing::maxInputSize) return -1;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    (void)com::versionInformationSection(bytes);
    try {
        const com::VersionInformation information =
            com::loadVersionInformation(fuzzing::writeInputFile("version.txt", bytes));
        if (com::readVersionInformation(com::writeVersionInformation(information)) != information) std::abort();
    } catch (const com::Error&) {
        // a refusal with the run-time's error is the answer to malformed version information
    }
    return 0;
}
