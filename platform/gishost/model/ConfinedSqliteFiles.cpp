#include "gishost/model/ConfinedSqliteFiles.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

#include "gishost/model/FileRefusals.h"

namespace gishost::model::gdal {
namespace {

constexpr int writing = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;

// A file opened through a confined layer: its own methods (a sqlite3_file), then, from
// headerSize on, the file of the layer it confines, which does the reading.
constexpr int headerSize = static_cast<int>((sizeof(sqlite3_file) + 7) / 8 * 8);

sqlite3_file* innerOf(sqlite3_file* file) {
    return reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(file) + headerSize);
}

// One of SQLite's file layers and the confined one registered in its place; a deque,
// since SQLite keeps the addresses of the confined ones.
struct ConfinedLayer {
    sqlite3_vfs confined;
    sqlite3_vfs* native;
};
std::deque<ConfinedLayer> confinedLayers;

sqlite3_vfs* nativeOf(sqlite3_vfs* confined) {
    for (ConfinedLayer& layer : confinedLayers)
        if (&layer.confined == confined) return layer.native;
    return nullptr;
}

// The methods of a file opened for reading: every read goes to the file it confines,
// every write is refused, and the shared memory of a logged database is never mapped,
// which makes SQLite build the log's index in its own memory.
int confinedClose(sqlite3_file* file) {
    sqlite3_file* inner = innerOf(file);
    return inner->pMethods->xClose(inner);
}
int confinedRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    sqlite3_file* inner = innerOf(file);
    return inner->pMethods->xRead(inner, buffer, amount, offset);
}
int refusedWrite(sqlite3_file*, const void*, int, sqlite3_int64) { return SQLITE_READONLY; }
int refusedTruncate(sqlite3_file*, sqlite3_int64) { return SQLITE_READONLY; }
int confinedSync(sqlite3_file*, int) { return SQLITE_OK; }
int confinedFileSize(sqlite3_file* file, sqlite3_int64* size) {
    sqlite3_file* inner = innerOf(file);
    return inner->pMethods->xFileSize(inner, size);
}
int confinedLock(sqlite3_file* file, int level) {
    sqlite3_file* inner = innerOf(file);
    return inner->pMethods->xLock(inner, level);
}
int confinedUnlock(sqlite3_file* file, int level) {
    sqlite3_file* inner = innerOf(file);
    return inner->pMethods->xUnlock(inner, level);
}
int confinedCheckReservedLock(sqlite3_file* file, int* reserved) {
    sqlite3_file* inner = innerOf(file);
    return inner->pMethods->xCheckReservedLock(inner, reserved);
}
int confinedFileControl(sqlite3_file* file, int operation, void* argument) {
    sqlite3_file* inner = innerOf(file);
    return inner->pMethods->xFileControl(inner, operation, argument);
}
int confinedSectorSize(sqlite3_file* file) {
    sqlite3_file* inner = innerOf(file);
    return inner->pMethods->xSectorSize(inner);
}
int confinedDeviceCharacteristics(sqlite3_file* file) {
    sqlite3_file* inner = innerOf(file);
    return inner->pMethods->xDeviceCharacteristics(inner);
}
// "Cannot initialise": the shared memory is there but may not be written, and no other
// connection keeps it up to date, so SQLite reads the log into memory of its own.
int unmappedShm(sqlite3_file*, int, int, int, void volatile** memory) {
    *memory = nullptr;
    return SQLITE_READONLY_CANTINIT;
}
int unlockedShm(sqlite3_file*, int, int, int) { return SQLITE_OK; }
// Nothing is shared with another connection, so there is nothing to order.
void shmBarrier(sqlite3_file*) {}
int unmapShm(sqlite3_file*, int) { return SQLITE_OK; }
int confinedFetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** pages) {
    sqlite3_file* inner = innerOf(file);
    if (inner->pMethods->iVersion < 3) {
        *pages = nullptr;
        return SQLITE_OK;
    }
    return inner->pMethods->xFetch(inner, offset, amount, pages);
}
int confinedUnfetch(sqlite3_file* file, sqlite3_int64 offset, void* pages) {
    sqlite3_file* inner = innerOf(file);
    if (inner->pMethods->iVersion < 3) return SQLITE_OK;
    return inner->pMethods->xUnfetch(inner, offset, pages);
}

const sqlite3_io_methods readOnlyMethods = {
    3,
    confinedClose,
    confinedRead,
    refusedWrite,
    refusedTruncate,
    confinedSync,
    confinedFileSize,
    confinedLock,
    confinedUnlock,
    confinedCheckReservedLock,
    confinedFileControl,
    confinedSectorSize,
    confinedDeviceCharacteristics,
    unmappedShm,
    unlockedShm,
    shmBarrier,
    unmapShm,
    confinedFetch,
    confinedUnfetch,
};

// The log of a logged database, read as a plain file with a descriptor of its own (the
// native layer, run by root, would give a log it opens the database's owner, even one it
// only reads), or, when there is none beside the database (all it held is in the
// database), an empty file; either cannot be written, and nothing is made beside the
// database to read it.
struct LogFile {
    sqlite3_file base;
    int descriptor;  // -1: no log
};

LogFile* logOf(sqlite3_file* file) { return reinterpret_cast<LogFile*>(file); }

int logClose(sqlite3_file* file) {
    if (logOf(file)->descriptor >= 0) ::close(logOf(file)->descriptor);
    logOf(file)->descriptor = -1;
    return SQLITE_OK;
}
int logRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    const auto wanted = static_cast<std::size_t>(amount);
    while (logOf(file)->descriptor >= 0 && done < wanted) {
        const ssize_t read = ::pread(logOf(file)->descriptor, bytes + done, wanted - done,
                                     static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) return SQLITE_IOERR_READ;
        if (read == 0) break;
        done += static_cast<std::size_t>(read);
    }
    if (done == wanted) return SQLITE_OK;
    std::memset(bytes + done, 0, wanted - done);
    return SQLITE_IOERR_SHORT_READ;
}
int logFileSize(sqlite3_file* file, sqlite3_int64* size) {
    struct stat status {};
    *size = 0;
    if (logOf(file)->descriptor < 0) return SQLITE_OK;
    if (::fstat(logOf(file)->descriptor, &status) != 0) return SQLITE_IOERR_FSTAT;
    *size = status.st_size;
    return SQLITE_OK;
}
int logLock(sqlite3_file*, int) { return SQLITE_OK; }
int logCheckReservedLock(sqlite3_file*, int* reserved) {
    *reserved = 0;
    return SQLITE_OK;
}
int logFileControl(sqlite3_file*, int, void*) { return SQLITE_NOTFOUND; }
int logSectorSize(sqlite3_file*) { return 4096; }
int logDeviceCharacteristics(sqlite3_file*) { return 0; }

const sqlite3_io_methods logMethods = {
    1,
    logClose,
    logRead,
    refusedWrite,
    refusedTruncate,
    confinedSync,
    logFileSize,
    logLock,
    logLock,
    logCheckReservedLock,
    logFileControl,
    logSectorSize,
    logDeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

// Opens the log at `path` for reading, or an empty one when there is none.
int openLog(const char* path, sqlite3_file* file, int flags, int* outFlags) {
    // Not waiting, should a pipe have taken the name since it was looked at.
    const int descriptor = ::open(path, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (descriptor < 0 && errno != ENOENT) return SQLITE_CANTOPEN;
    logOf(file)->descriptor = descriptor;
    file->pMethods = &logMethods;
    if (outFlags != nullptr) *outFlags = (flags & ~writing) | SQLITE_OPEN_READONLY;
    return SQLITE_OK;
}

int confinedOpen(sqlite3_vfs* confined, const char* path, sqlite3_file* file, int flags, int* outFlags) {
    sqlite3_vfs* native = nativeOf(confined);
    file->pMethods = nullptr;
    if (native == nullptr) return SQLITE_CANTOPEN;
    // A temporary file of a query: SQLite names it, writes it and deletes it itself.
    if (path == nullptr) return native->xOpen(native, path, file, flags, outFlags);
    if (refusedAsNoRegularFile(path)) return SQLITE_CANTOPEN;
    if ((flags & SQLITE_OPEN_WAL) != 0) return openLog(path, file, flags, outFlags);
    if ((flags & writing) != 0) {
        refuseWrite("write", path);
        return SQLITE_CANTOPEN;
    }
    sqlite3_file* inner = innerOf(file);
    inner->pMethods = nullptr;
    const int result = native->xOpen(native, path, inner, flags, outFlags);
    if (result != SQLITE_OK) {
        if (inner->pMethods != nullptr) inner->pMethods->xClose(inner);
        return result;
    }
    file->pMethods = &readOnlyMethods;
    return SQLITE_OK;
}

int refusedDelete(sqlite3_vfs*, const char* path, int) {
    refuseWrite("delete", path);
    return SQLITE_IOERR_DELETE;
}
void* refusedDlOpen(sqlite3_vfs*, const char*) { return nullptr; }
void dlError(sqlite3_vfs*, int size, char* message) {
    if (size > 0) sqlite3_snprintf(size, message, "the host loads no SQLite extension");
}
void (*noSymbol(sqlite3_vfs*, void*, const char*))(void) { return nullptr; }
void dlClose(sqlite3_vfs*, void*) {}

// The confined layer in place of `native`. Its other calls are the native ones: they do
// not depend on the layer they are called through, and another layer that wraps the
// default one (the projection library's) calls them through its own.
sqlite3_vfs confinedLayerOf(sqlite3_vfs* native) {
    sqlite3_vfs layer = *native;
    layer.szOsFile = headerSize + native->szOsFile;
    layer.pNext = nullptr;
    layer.xOpen = confinedOpen;
    layer.xDelete = refusedDelete;
    layer.xDlOpen = refusedDlOpen;
    layer.xDlError = dlError;
    layer.xDlSym = noSymbol;
    layer.xDlClose = dlClose;
    return layer;
}

}  // namespace

void confineSqliteFiles() {
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_initialize();
        sqlite3_vfs* const defaultLayer = sqlite3_vfs_find(nullptr);
        std::vector<sqlite3_vfs*> natives;
        for (sqlite3_vfs* layer = defaultLayer; layer != nullptr; layer = layer->pNext)
            if (std::strcmp(layer->zName, "memdb") != 0) natives.push_back(layer);
        // Every confined layer is made before the first is registered: from then on the list
        // is only read, by whichever thread opens a file.
        for (sqlite3_vfs* native : natives) confinedLayers.push_back(ConfinedLayer{confinedLayerOf(native), native});
        for (ConfinedLayer& layer : confinedLayers) {
            sqlite3_vfs_unregister(layer.native);
            sqlite3_vfs_register(&layer.confined, /*makeDflt=*/layer.native == defaultLayer ? 1 : 0);
        }
    });
}

}  // namespace gishost::model::gdal
