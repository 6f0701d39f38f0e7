#include "gis_extension/DefaultsFile.h"

#include <charconv>
#include <cmath>

#include "com/Error.h"
#include "com/NumberedFiles.h"
#include "sysutils/FloatConversion.h"
#include "sysutils/FormatSettings.h"
#include "sysutils/SafeFile.h"

namespace gis_extension::DefaultsFile {
namespace {

constexpr int fileNumber = 1;

// Closes numbered file 1 when the reading or writing ends, also by an error.
class ClosedAtEnd {
public:
    ClosedAtEnd() = default;
    ~ClosedAtEnd() {
        try {
            com::files::Close(fileNumber);
        } catch (const com::Error&) {
            // the error that ends the reading or writing is the one to report
        }
    }
    ClosedAtEnd(const ClosedAtEnd&) = delete;
    ClosedAtEnd& operator=(const ClosedAtEnd&) = delete;
};

std::string flagText(bool value) { return value ? "T" : "F"; }

// The shortest text that reads back as exactly the same number, with the regional
// decimal separator, so that the file keeps the limit to the last bit.
std::string numberText(double value) {
    if (!std::isfinite(value)) throw com::runtimeError(com::errors::Overflow);
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc()) throw com::runtimeError(com::errors::Overflow);
    std::string text(buffer, end);
    for (char& c : text)
        if (c == '.') c = sysutils::formatSettings().DecimalSeparator;
    return text;
}

void applyLine(const std::string& line, const com::ComPtr<_clsExtension>& settings) {
    if (line.size() < 2) return;
    const std::string key = line.substr(0, 2);
    const std::string value = line.substr(2);
    const bool flag = line.back() == 'T';
    if (key == "1:") {
        settings->put_CalcAllFeatures(flag);
    } else if (key == "2:") {
        settings->put_DistanceLimit(sysutils::StrToFloat(value));
    } else if (key == "3:") {
        settings->put_CalcNumberDBase(flag);
    } else if (key == "4:") {
        settings->put_CalcDistanceDBase(flag);
    } else if (key == "5:") {
        settings->put_CalcDistanceASCII(flag);
    } else if (key == "6:") {
        settings->put_DirectoryPath(value);
    }
}

}  // namespace

std::string SettingsPath(const std::string& folder) {
    if (!folder.empty() && folder.back() == '/') return folder + "defaults.txt";
    return folder + "/defaults.txt";
}

void ReadSettings(const std::string& path, const com::ComPtr<_clsExtension>& settings) {
    com::files::Open(fileNumber, path, com::files::OpenMode::Input);
    ClosedAtEnd closed;
    while (!com::files::Eof(fileNumber)) applyLine(com::files::LineInput(fileNumber), settings);
}

std::vector<std::string> SettingsLines(const com::ComPtr<_clsExtension>& settings) {
    return {"1:" + flagText(settings->CalcAllFeatures()), "2:" + numberText(settings->DistanceLimit()),
            "3:" + flagText(settings->CalcNumberDBase()), "4:" + flagText(settings->CalcDistanceDBase()),
            "5:" + flagText(settings->CalcDistanceASCII()), "6:" + settings->DirectoryPath()};
}

bool WriteSettings(const std::string& path, const com::ComPtr<_clsExtension>& settings) {
    const std::vector<std::string> lines = SettingsLines(settings);
    sysutils::TemporaryFileBeside temporary(path, ".tmp");
    if (!temporary.created()) return false;
    temporary.closeDescriptor();
    try {
        com::files::Open(fileNumber, temporary.path(), com::files::OpenMode::Output);
        ClosedAtEnd closed;
        for (const std::string& line : lines) com::files::PrintLine(fileNumber, line);
        com::files::Close(fileNumber);  // raises when the lines did not reach the file
    } catch (const com::Error&) {
        return false;  // a settings file that cannot be written is no error; the temporary file goes
    }
    return temporary.commit();
}

}  // namespace gis_extension::DefaultsFile
