// Reads the input as the extension's settings file "defaults.txt", and checks that the
// file is closed again whatever the reading met, and that settings read are written and
// read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzInput.h"
#include "com/Error.h"
#include "com/NumberedFiles.h"
#include "gis_extension/DefaultsFile.h"
#include "gis_extension/clsExtension.h"
#include "sysutils/Exception.h"

namespace {

using gis_extension::_clsExtension;

bool sameSettings(_clsExtension& a, _clsExtension& b) {
    const double limitA = a.DistanceLimit();
    const double limitB = b.DistanceLimit();
    return a.CalcAllFeatures() == b.CalcAllFeatures() && std::memcmp(&limitA, &limitB, sizeof limitA) == 0 &&
           a.CalcNumberDBase() == b.CalcNumberDBase() && a.CalcDistanceDBase() == b.CalcDistanceDBase() &&
           a.CalcDistanceASCII() == b.CalcDistanceASCII() && a.DirectoryPath() == b.DirectoryPath();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > fuzzing::maxInputSize) return -1;
    const std::string path = fuzzing::writeInputFile("defaults.txt", data, size);
    const auto settings = com::make<_clsExtension, gis_extension::clsExtension>();
    bool read = false;
    try {
        gis_extension::DefaultsFile::ReadSettings(path, settings);
        read = true;
    } catch (const com::Error&) {
        // the run-time's errors are the answer to a file that cannot be read
    } catch (const sysutils::EConvertError&) {
        // a "2:" value that is not a number
    }
    if (com::files::IsOpen(1)) std::abort();
    if (!read) return 0;
    const std::string copy = fuzzing::writeInputFile("defaults_copy.txt", "");
    if (!gis_extension::DefaultsFile::WriteSettings(copy, settings)) std::abort();
    const auto again = com::make<_clsExtension, gis_extension::clsExtension>();
    gis_extension::DefaultsFile::ReadSettings(copy, again);
    if (!sameSettings(*settings, *again) || com::files::IsOpen(1)) std::abort();
    return 0;
}
