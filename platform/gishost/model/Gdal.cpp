#include "gishost/model/Gdal.h"

#include <cpl_error.h>
#include <cpl_port.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <system_error>

#include "gishost/model/GdalConfinement.h"
#include "sysutils/NonRegularFiles.h"

namespace gishost::model::gdal {
namespace {

thread_local ErrorScope* innermost = nullptr;

void collect(CPLErr level, CPLErrorNum, const char* message) {
    if (innermost != nullptr && level >= CE_Failure) innermost->record(message);
}

// Why a name that is there cannot be followed to a file, as "too many levels of symbolic
// links"; nothing when it can, or when there is nothing under the name.
std::optional<std::string> unreachable(const std::error_code& error) {
    if (!error || error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory)
        return std::nullopt;
    std::string why = error.message();
    if (!why.empty()) why.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(why.front())));
    return why;
}

// Why GDAL must not be handed `path`: it, a file beside it that a driver opens with it
// (the same name up to its first ".", as x.dbf beside x.shp or x.gpkg-wal beside x.gpkg),
// or an entry of the folder it names (a folder of shapefiles) is a pipe, a device or a
// socket, on which GDAL's open would wait for ever; or it or such a file beside it is
// there but cannot be read (a symbolic link in a loop), which GDAL would pass over in
// silence, opening a shapefile without its table.
std::optional<std::string> refusal(const std::string& path) {
    if (std::optional<std::string> special = sysutils::nonRegularFileReason(path)) return special;
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (const std::optional<std::string> why = unreachable(error)) return "it cannot be read: " + *why;
    const bool folder = fs::is_directory(status);
    if (error || (!folder && !fs::is_regular_file(status))) return std::nullopt;
    const fs::path given(path);
    const std::string name = given.filename().string();
    const std::string stem = name.substr(0, name.find('.'));
    const fs::path searched = folder ? given : (given.has_parent_path() ? given.parent_path() : fs::path("."));
    for (fs::directory_iterator entry(searched, error), end; !error && entry != end; entry.increment(error)) {
        const std::string entryName = entry->path().filename().string();
        const bool companion = entryName.size() > stem.size() && entryName.compare(0, stem.size(), stem) == 0 &&
                               (entryName[stem.size()] == '.' || entryName[stem.size()] == '-');
        if (!folder && !companion) continue;
        const std::string entryPath = entry->path().string();
        if (const std::optional<std::string> kind = sysutils::nonRegularFileKind(entryPath))
            return (folder ? "it holds " : "the file beside it, ") + entryPath + ", which is " + *kind;
        if (folder) continue;
        std::error_code entryError;
        static_cast<void>(fs::status(entry->path(), entryError));
        if (const std::optional<std::string> why = unreachable(entryError))
            return "the file beside it, " + entryPath + ", cannot be read: " + *why;
    }
    return std::nullopt;
}

// Reads every layer's fields and spatial reference, which makes GDAL open what it opens
// only on demand (the sources of a virtual layer, the files a map projection names).
// Why the data set must be refused: a path GDAL was refused on the way, whichever layer
// reached it, or the failure of the layer named `layerName` (the first when it is empty);
// nothing when neither happened.
std::optional<std::string> readLayers(GDALDatasetH dataset, const std::string& layerName) {
    for (int k = 0; k < GDALDatasetGetLayerCount(dataset); ++k) {
        OGRLayerH layer = GDALDatasetGetLayer(dataset, k);
        if (layer == nullptr) continue;
        ErrorScope reading;
        OGR_L_GetLayerDefn(layer);
        OGR_L_GetSpatialRef(layer);
        const bool named = layerName.empty() ? k == 0 : layerName == OGR_L_GetName(layer);
        if (reading.refused() || (named && reading.failed())) return reading.message();
    }
    return std::nullopt;
}

}  // namespace

void registerDrivers() { confine(); }

Dataset open(const std::string& path, unsigned int flags, std::string& error, const std::string& layerName) {
    if (std::optional<std::string> refused = refusal(path)) {
        error = std::move(*refused);
        return {};
    }
    registerDrivers();
    ErrorScope scope;
    Dataset dataset(GDALOpenEx(path.c_str(), flags | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (dataset && scope.refused()) dataset.reset();
    if (!dataset) {
        error = scope.failed() || scope.writeRefused() ? scope.message() : "not a readable data source";
        return dataset;
    }
    if ((flags & GDAL_OF_VECTOR) != 0) {
        if (std::optional<std::string> unreadable = readLayers(dataset.get(), layerName)) {
            error = std::move(*unreadable);
            dataset.reset();
        }
    }
    return dataset;
}

bool isVirtualSource(const std::string& source) {
    if (source.rfind("/vsi", 0) == 0) return true;
    const std::size_t colon = source.find(':');
    if (colon == std::string::npos) return false;
    const std::string prefix = source.substr(0, colon);
    const std::vector<std::string>& drivers = permittedDrivers();
    return std::any_of(drivers.begin(), drivers.end(),
                       [&](const std::string& driver) { return EQUAL(driver.c_str(), prefix.c_str()); });
}

void recordRefusal(const std::string& path, const std::string& what) {
    if (innermost != nullptr) innermost->refuse("it reads " + path + ", which is " + what);
}

void recordWriteRefusal(const std::string& act, const std::string& path) {
    if (innermost != nullptr) innermost->refuseWrite("it would " + act + " " + path);
}

ErrorScope::ErrorScope() : previous_(innermost) {
    innermost = this;
    CPLPushErrorHandler(collect);
    CPLErrorReset();
}

ErrorScope::~ErrorScope() {
    CPLPopErrorHandler();
    innermost = previous_;
}

void ErrorScope::record(const char* message) {
    if (failed_) return;
    failed_ = true;
    first_ = message != nullptr ? message : "unknown failure";
}

// A refusal says more than GDAL's own failure that follows it (or came first, from the
// driver that was refused a file), so the first refusal is the message.
void ErrorScope::refuse(const std::string& reason) {
    if (refused_) return;
    failed_ = true;
    refused_ = true;
    first_ = reason;
}

void ErrorScope::refuseWrite(const std::string& reason) {
    if (writeRefusal_.empty()) writeRefusal_ = reason;
}

const std::string& ErrorScope::message() const { return refused_ || writeRefusal_.empty() ? first_ : writeRefusal_; }

void ErrorScope::clear() {
    failed_ = false;
    refused_ = false;
    first_.clear();
    writeRefusal_.clear();
    CPLErrorReset();
}

}  // namespace gishost::model::gdal
