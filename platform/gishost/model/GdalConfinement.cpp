#include "gishost/model/GdalConfinement.h"

#include <cpl_conv.h>
#include <cpl_http.h>
#include <cpl_string.h>
#include <cpl_vsi_virtual.h>
#include <gdal.h>
#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "gishost/model/Gdal.h"
#include "sysutils/NonRegularFiles.h"

namespace gishost::model::gdal {
namespace {

// True, and the refusal recorded, when `path` names a pipe, a device or a socket, whose
// open for reading would wait for a writer, perhaps for ever, or never end.
bool refusedAsNoRegularFile(const char* path) {
    if (path == nullptr) return false;
    const std::optional<std::string> kind = sysutils::nonRegularFileKind(path);
    if (kind) recordRefusal(path, *kind);
    return kind.has_value();
}

// Passes every call on to the file system it wraps, and owns it: GDAL deletes the
// installed file systems when it ends, and the wrapped one goes with its wrapper.
class ForwardingFileSystem : public VSIFilesystemHandler {
public:
    explicit ForwardingFileSystem(VSIFilesystemHandler* inner) : inner_(inner) {}

    VSIVirtualHandle* Open(const char* path, const char* access, bool setError, CSLConstList options) override {
        return inner_->Open(path, access, setError, options);
    }
    int Stat(const char* path, VSIStatBufL* status, int flags) override { return inner_->Stat(path, status, flags); }
    int Unlink(const char* path) override { return inner_->Unlink(path); }
    int* UnlinkBatch(CSLConstList paths) override { return inner_->UnlinkBatch(paths); }
    int Mkdir(const char* path, long mode) override { return inner_->Mkdir(path, mode); }
    int Rmdir(const char* path) override { return inner_->Rmdir(path); }
    int RmdirRecursive(const char* path) override { return inner_->RmdirRecursive(path); }
    char** ReadDir(const char* path) override { return inner_->ReadDir(path); }
    char** ReadDirEx(const char* path, int most) override { return inner_->ReadDirEx(path, most); }
    char** SiblingFiles(const char* path) override { return inner_->SiblingFiles(path); }
    int Rename(const char* from, const char* to) override { return inner_->Rename(from, to); }
    int IsCaseSensitive(const char* path) override { return inner_->IsCaseSensitive(path); }
    GIntBig GetDiskFreeSpace(const char* path) override { return inner_->GetDiskFreeSpace(path); }
    int SupportsSparseFiles(const char* path) override { return inner_->SupportsSparseFiles(path); }
    int HasOptimizedReadMultiRange(const char* path) override { return inner_->HasOptimizedReadMultiRange(path); }
    const char* GetActualURL(const char* path) override { return inner_->GetActualURL(path); }
    const char* GetOptions() override { return inner_->GetOptions(); }
    char* GetSignedURL(const char* path, CSLConstList options) override { return inner_->GetSignedURL(path, options); }
    bool Sync(const char* source, const char* target, const char* const* options, GDALProgressFunc progress,
              void* progressData, char*** outputs) override {
        return inner_->Sync(source, target, options, progress, progressData, outputs);
    }
    VSIDIR* OpenDir(const char* path, int depth, const char* const* options) override {
        return inner_->OpenDir(path, depth, options);
    }
    char** GetFileMetadata(const char* path, const char* domain, CSLConstList options) override {
        return inner_->GetFileMetadata(path, domain, options);
    }
    bool SetFileMetadata(const char* path, CSLConstList metadata, const char* domain, CSLConstList options) override {
        return inner_->SetFileMetadata(path, metadata, domain, options);
    }
    bool AbortPendingUploads(const char* path) override { return inner_->AbortPendingUploads(path); }
    std::string GetStreamingFilename(const std::string& path) const override {
        return inner_->GetStreamingFilename(path);
    }
    bool IsLocal(const char* path) override { return inner_->IsLocal(path); }
    bool SupportsSequentialWrite(const char* path, bool localTemporary) override {
        return inner_->SupportsSequentialWrite(path, localTemporary);
    }
    bool SupportsRandomWrite(const char* path, bool localTemporary) override {
        return inner_->SupportsRandomWrite(path, localTemporary);
    }
    bool SupportsRead(const char* path) override { return inner_->SupportsRead(path); }

private:
    std::unique_ptr<VSIFilesystemHandler> inner_;
};

// GDAL's plain files, less pipes, devices and sockets. Only the open is refused; looking
// at a path's kind (Stat) waits on nothing.
class RegularFilesOnly final : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;

    VSIVirtualHandle* Open(const char* path, const char* access, bool setError, CSLConstList options) override {
        if (refusedAsNoRegularFile(path)) {
            errno = EACCES;
            return nullptr;
        }
        return ForwardingFileSystem::Open(path, access, setError, options);
    }
};

// A file system that reaches beyond this machine's files: every path is refused, and
// nothing else answers either.
class RefusedFileSystem final : public VSIFilesystemHandler {
public:
    RefusedFileSystem(VSIFilesystemHandler* inner, std::string what) : inner_(inner), what_(std::move(what)) {}

    VSIVirtualHandle* Open(const char* path, const char*, bool, CSLConstList) override {
        recordRefusal(path, what_);
        errno = EACCES;
        return nullptr;
    }
    int Stat(const char*, VSIStatBufL*, int) override {
        errno = ENOENT;
        return -1;
    }
    bool IsLocal(const char*) override { return false; }
    bool SupportsSequentialWrite(const char*, bool) override { return false; }
    bool SupportsRandomWrite(const char*, bool) override { return false; }
    bool SupportsRead(const char*) override { return false; }

private:
    std::unique_ptr<VSIFilesystemHandler> inner_;  // kept only to be deleted with this one
    std::string what_;
};

std::string refusedFileSystemKind(const std::string& prefix) {
    if (prefix.rfind("/vsistdin", 0) == 0) return "the standard input";
    if (prefix.rfind("/vsistdout", 0) == 0) return "the standard output";
    return "on the network";
}

// GDAL's own network requests (such as the download of a document's schema) fail at
// once: the host reads local files only.
CPLHTTPResult* refuseNetworkRequest(const char*, CSLConstList options, GDALProgressFunc, void*,
                                    CPLHTTPFetchWriteFunc, void*, void*) {
    auto* result = static_cast<CPLHTTPResult*>(CPLCalloc(1, sizeof(CPLHTTPResult)));
    // A request only to close persistent connections asks for nothing.
    if (CSLFetchNameValue(options, "CLOSE_PERSISTENT") != nullptr) return result;
    result->nStatus = 1;
    result->pszErrBuf = CPLStrdup("the host reads no data from the network");
    return result;
}

// SQLite's file layers, which the GeoPackage and SQLite drivers open their databases and
// the journals beside them with, less pipes, devices and sockets. Each file layer SQLite
// has (its default and the others a database address may name with "vfs=") is replaced,
// under its own name, by a copy whose open refuses them; every other call goes to
// SQLite's own functions with the data they expect.
struct ConfinedSqliteFiles {
    sqlite3_vfs confined;
    sqlite3_vfs* native;
};
// A deque, since SQLite keeps the addresses of the copies.
std::deque<ConfinedSqliteFiles> sqliteFileLayers;

sqlite3_vfs* nativeOf(sqlite3_vfs* confined) {
    for (ConfinedSqliteFiles& layer : sqliteFileLayers)
        if (&layer.confined == confined) return layer.native;
    return nullptr;
}

int openRegularFileOnly(sqlite3_vfs* confined, const char* path, sqlite3_file* file, int flags, int* outFlags) {
    // SQLite closes what it could not open only when it has methods.
    file->pMethods = nullptr;
    sqlite3_vfs* native = nativeOf(confined);
    if (native == nullptr) return SQLITE_CANTOPEN;
    if (refusedAsNoRegularFile(path)) return SQLITE_CANTOPEN;
    return native->xOpen(native, path, file, flags, outFlags);
}

void confineSqliteFiles() {
    sqlite3_vfs* const defaultLayer = sqlite3_vfs_find(nullptr);
    std::vector<sqlite3_vfs*> natives;
    for (sqlite3_vfs* layer = defaultLayer; layer != nullptr; layer = layer->pNext) natives.push_back(layer);
    for (sqlite3_vfs* native : natives) {
        ConfinedSqliteFiles& entry = sqliteFileLayers.emplace_back();
        entry.native = native;
        entry.confined = *native;
        entry.confined.pNext = nullptr;
        entry.confined.xOpen = openRegularFileOnly;
        sqlite3_vfs_unregister(native);
        sqlite3_vfs_register(&entry.confined, /*makeDflt=*/native == defaultLayer ? 1 : 0);
    }
}

void keepOnlyPermittedDrivers() {
    const std::vector<std::string>& permitted = permittedDrivers();
    std::string skipped;
    for (int k = GDALGetDriverCount() - 1; k >= 0; --k) {
        GDALDriverH driver = GDALGetDriver(k);
        const std::string name = GDALGetDriverShortName(driver);
        if (std::find(permitted.begin(), permitted.end(), name) != permitted.end()) continue;
        GDALDeregisterDriver(driver);
        GDALDestroyDriver(driver);
        skipped += (skipped.empty() ? "" : ",") + name;
    }
    // A later GDALAllRegister (a test's or a tool's) leaves them out again.
    if (!skipped.empty()) CPLSetConfigOption("GDAL_SKIP", skipped.c_str());
}

void confineFileSystems() {
    // Read under its own name, not that of a file system, an empty path gets GDAL's file
    // system for plain paths.
    VSIFileManager::InstallHandler("", new RegularFilesOnly(VSIFileManager::GetHandler("")));
    const std::vector<std::string>& permitted = permittedFileSystems();
    char** prefixes = VSIGetFileSystemsPrefixes();
    for (char** prefix = prefixes; prefix != nullptr && *prefix != nullptr; ++prefix) {
        const std::string name = *prefix;
        if (std::find(permitted.begin(), permitted.end(), name) != permitted.end()) continue;
        VSIFileManager::InstallHandler(
            name, new RefusedFileSystem(VSIFileManager::GetHandler(name.c_str()), refusedFileSystemKind(name)));
    }
    CSLDestroy(prefixes);
}

}  // namespace

const std::vector<std::string>& permittedDrivers() {
    static const std::vector<std::string> drivers{
        // vector data: the kinds the host's Add Data offers, and the virtual layer
        "ESRI Shapefile", "GPKG", "SQLite", "GeoJSON", "GeoJSONSeq", "ESRIJSON", "TopoJSON", "FlatGeobuf", "GML",
        "LIBKML", "KML", "CSV", "MapInfo File", "OGR_VRT", "Memory",
        // rasters (raster and surface layers) and GDAL's in-memory and virtual rasters
        "GTiff", "VRT", "MEM"};
    return drivers;
}

const std::vector<std::string>& permittedFileSystems() {
    static const std::vector<std::string> fileSystems{"/vsimem/",    "/vsizip/",    "/vsigzip/", "/vsitar/",
                                                      "/vsisubfile/", "/vsisparse/", "/vsicrypt/"};
    return fileSystems;
}

void confine() {
    static std::once_flag once;
    std::call_once(once, [] {
        GDALAllRegister();
        keepOnlyPermittedDrivers();
        confineFileSystems();
        confineSqliteFiles();
        CPLSetConfigOption("SPATIALITE_LOAD", "NO");
        CPLHTTPSetFetchCallback(refuseNetworkRequest, nullptr);
    });
}

}  // namespace gishost::model::gdal
