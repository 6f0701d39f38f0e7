#include "gishost/model/Gdal.h"

#include <cpl_error.h>

#include <mutex>

#include "sysutils/SpecialFiles.h"

namespace gishost::model::gdal {
namespace {

thread_local ErrorScope* innermost = nullptr;

void collect(CPLErr level, CPLErrorNum, const char* message) {
    if (innermost != nullptr && level >= CE_Failure) innermost->record(message);
}

}  // namespace

void registerDrivers() {
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

Dataset open(const std::string& path, unsigned int flags, std::string& error) {
    // GDAL would wait for ever on a pipe: refuse what is neither a file nor a folder before it opens it.
    if (const std::optional<std::string> special = sysutils::specialFileReason(path)) {
        error = *special;
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
