// Reads the input as a type library, as text and as a shared object carrying one, and
// checks that whatever it reads is written and read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "com/Error.h"
#include "com/TypeLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > fuzzing::maxInputSize) return -1;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    (void)com::typeLibrarySection(bytes);
    try {
        const com::TypeLibrary library = com::loadTypeLibrary(fuzzing::writeInputFile("library.tlb", bytes));
        if (com::readTypeLibrary(com::writeTypeLibrary(library)) != library) std::abort();
    } catch (const com::Error&) {
        // a refusal with the run-time's error is the answer to a malformed library
    }
    return 0;
}
