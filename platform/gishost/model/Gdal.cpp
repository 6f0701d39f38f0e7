#include "gishost/model/Gdal.h"

#include <cpl_error.h>

#include <filesystem>
#include <mutex>

#include "sysutils/NonRegularFiles.h"

namespace gishost::model::gdal {
namespace {

thread_local ErrorScope* innermost = nullptr;

void collect(CPLErr level, CPLErrorNum, const char* message) {
    if (innermost != nullptr && level >= CE_Failure) innermost->record(message);
}

// Why GDAL must not be handed `path`: it, a file beside it that a driver opens with it
// (the same name up to its first ".", as x.dbf beside x.shp or x.gpkg-wal beside x.gpkg),
// or an entry of the folder it names (a folder of shapefiles) is a pipe, a device or a
// socket, on which GDAL's open would wait for ever.
std::optional<std::string> refusal(const std::string& path) {
    if (std::optional<std::string> special = sysutils::nonRegularFileReason(path)) return special;
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
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
        if (const std::optional<std::string> kind = sysutils::nonRegularFileKind(entry->path().string()))
            return (folder ? "it holds " : "the file beside it, ") + entry->path().string() + ", which is " + *kind;
    }
    return std::nullopt;
}

}  // namespace

void registerDrivers() {
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

Dataset open(const std::string& path, unsigned int flags, std::string& error) {
    if (std::optional<std::string> refused = refusal(path)) {
        error = std::move(*refused);
        return {};
    }
    registerDrivers();
    ErrorScope scope;
    GDALDatasetH dataset = GDALOpenEx(path.c_str(), flags | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
    if (dataset == nullptr) error = scope.failed() ? scope.message() : "not a readable data source";
    return Dataset(dataset);
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

void ErrorScope::clear() {
    failed_ = false;
    first_.clear();
    CPLErrorReset();
}

}  // namespace gishost::model::gdal
