#pragma once
// The model's access to GDAL/OGR: drivers registered once, data sets closed by RAII, and
// a scope that silences GDAL's error printing and collects the first failure instead,
// so that every failing read becomes the host's error.
#include <gdal.h>
#include <ogr_api.h>

#include <memory>
#include <string>

namespace gishost::model::gdal {

// Registers GDAL's drivers (once per process).
void registerDrivers();

struct DatasetCloser {
    void operator()(GDALDatasetH dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

// The data set at `path` opened read-only with `flags` (GDAL_OF_VECTOR or
// GDAL_OF_RASTER), or empty; `error` then says why. A pipe, a device or a socket is
// refused before GDAL opens it ("it is a pipe"), and so is a file or folder that has one
// as a companion file or entry; files and folders are GDAL's to read.
Dataset open(const std::string& path, unsigned int flags, std::string& error);

// While it lives, GDAL's errors on this thread are collected, not printed.
class ErrorScope {
public:
    ErrorScope();
    ~ErrorScope();
    ErrorScope(const ErrorScope&) = delete;
    ErrorScope& operator=(const ErrorScope&) = delete;

    // True when a failure was reported since the scope began (or since clear()).
    bool failed() const { return failed_; }
    // The first failure's message.
    const std::string& message() const { return first_; }
    void clear();

    // Called by GDAL's error handler.
    void record(const char* message);

private:
    bool failed_ = false;
    std::string first_;
    ErrorScope* previous_;
};

}  // namespace gishost::model::gdal
