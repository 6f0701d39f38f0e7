#pragma once
// The model's access to GDAL/OGR: drivers registered and GDAL confined once
// (GdalConfinement.h), data sets closed by RAII, and a scope that silences GDAL's error
// printing and collects the first failure instead, so that every failing read becomes
// the host's error.
#include <gdal.h>
#include <ogr_api.h>

#include <memory>
#include <string>

namespace gishost::model::gdal {

// Registers GDAL's drivers and confines GDAL (once per process).
void registerDrivers();

struct DatasetCloser {
    void operator()(GDALDatasetH dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

// The data set at `path` opened read-only with `flags` (GDAL_OF_VECTOR or
// GDAL_OF_RASTER), or empty; `error` then says why. A pipe, a device or a socket is
// refused before GDAL opens it ("it is a pipe"), and so is a file or folder that has one
// as a companion file or entry, or a companion that is there but cannot be read (a
// symbolic link in a loop); files and folders are GDAL's to read. A vector data set's
// layers are read as far as their fields and spatial references, so that a file that
// GDAL would open only then (the source of a virtual layer, a file its map projection
// names) is refused here too ("it reads /data/src.gpkg, which is a pipe"); and when the
// layer named `layerName` (the first when it is empty) cannot be read so far (a virtual
// layer whose source layer is missing), the data set is refused with GDAL's reason.
Dataset open(const std::string& path, unsigned int flags, std::string& error, const std::string& layerName = {});

// True when `source` is not a plain path but a name that GDAL reads in its own way: a
// path of one of its virtual file systems ("/vsizip//data/x.zip/roads.shp", whose
// slashes count) or a driver's own form, "NAME:..." with NAME the short name of a driver
// the host lets GDAL use ("GPKG:/data/x.gpkg:roads"). Such a name is kept as written,
// never taken from a folder or tidied as a path.
bool isVirtualSource(const std::string& source);

// While it lives, GDAL's errors on this thread are collected, not printed.
class ErrorScope {
public:
    ErrorScope();
    ~ErrorScope();
    ErrorScope(const ErrorScope&) = delete;
    ErrorScope& operator=(const ErrorScope&) = delete;

    // True when a failure was reported since the scope began (or since clear()).
    bool failed() const { return failed_; }
    // True when the failure is a path that GDAL was not let open (recordRefusal).
    bool refused() const { return refused_; }
    // True when GDAL was refused a write (recordWriteRefusal) since the scope began.
    bool writeRefused() const { return !writeRefusal_.empty(); }
    // The first refusal's reason; else, when GDAL was refused a write, that refusal, the
    // cause of whatever failed after it; else the first failure's message.
    const std::string& message() const;
    void clear();

    // Called by GDAL's error handler.
    void record(const char* message);
    void refuse(const std::string& reason);
    void refuseWrite(const std::string& reason);

private:
    bool failed_ = false;
    bool refused_ = false;
    std::string first_;
    std::string writeRefusal_;
    ErrorScope* previous_;
};

// Tells the innermost ErrorScope of this thread, if any, that GDAL was refused `path`,
// which is `what` ("a pipe"): "it reads /data/src.gpkg, which is a pipe".
void recordRefusal(const std::string& path, const std::string& what);

// Tells the innermost ErrorScope of this thread, if any, that GDAL was refused to `act` on
// `path` ("write", "delete"): "it would write /data/copy.gpkg". A refused write does not
// fail what GDAL was doing by itself: a side file it would have written (an index, a
// schema beside a GML file) is simply not written. When GDAL then fails, the refusal is
// the reason given.
void recordWriteRefusal(const std::string& act, const std::string& path);

}  // namespace gishost::model::gdal
