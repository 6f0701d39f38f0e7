#include "gishost/model/ConfinedProjFiles.h"

#include <dlfcn.h>
#include <proj.h>
#include <sys/stat.h>

#include <cstdio>
#include <mutex>

#include "gishost/model/ConfinedSqliteFiles.h"
#include "gishost/model/FileRefusals.h"

namespace gishost::model::gdal {
namespace {

PROJ_FILE_HANDLE* openForReading(PJ_CONTEXT*, const char* path, PROJ_OPEN_ACCESS access, void*) {
    if (access != PROJ_OPEN_ACCESS_READ_ONLY) {
        refuseWrite("write", path);
        return nullptr;
    }
    if (refusedAsNoRegularFile(path)) return nullptr;
    return reinterpret_cast<PROJ_FILE_HANDLE*>(std::fopen(path, "rb"));
}

std::FILE* streamOf(PROJ_FILE_HANDLE* handle) { return reinterpret_cast<std::FILE*>(handle); }

std::size_t readBytes(PJ_CONTEXT*, PROJ_FILE_HANDLE* handle, void* buffer, std::size_t size, void*) {
    return std::fread(buffer, 1, size, streamOf(handle));
}
std::size_t noWrite(PJ_CONTEXT*, PROJ_FILE_HANDLE*, const void*, std::size_t, void*) { return 0; }
int seek(PJ_CONTEXT*, PROJ_FILE_HANDLE* handle, long long offset, int whence, void*) {
    return ::fseeko(streamOf(handle), static_cast<off_t>(offset), whence) == 0;
}
unsigned long long tell(PJ_CONTEXT*, PROJ_FILE_HANDLE* handle, void*) {
    const off_t position = ::ftello(streamOf(handle));
    return position < 0 ? 0 : static_cast<unsigned long long>(position);
}
void closeFile(PJ_CONTEXT*, PROJ_FILE_HANDLE* handle, void*) { std::fclose(streamOf(handle)); }
// Looked at, not opened: a pipe is there, and is refused only when it is opened.
int exists(PJ_CONTEXT*, const char* path, void*) {
    struct stat status {};
    return ::stat(path, &status) == 0;
}
int folderThere(PJ_CONTEXT*, const char* path, void*) {
    struct stat status {};
    if (::stat(path, &status) == 0 && S_ISDIR(status.st_mode)) return 1;
    return refuseWrite("make the folder", path);
}
int noUnlink(PJ_CONTEXT*, const char* path, void*) { return refuseWrite("delete", path); }
int noRename(PJ_CONTEXT*, const char* from, const char*, void*) { return refuseWrite("rename", from); }

const PROJ_FILE_API readOnlyFiles{.version = 1,
                                  .open_cbk = openForReading,
                                  .read_cbk = readBytes,
                                  .write_cbk = noWrite,
                                  .seek_cbk = seek,
                                  .tell_cbk = tell,
                                  .close_cbk = closeFile,
                                  .exists_cbk = exists,
                                  .mkdir_cbk = folderThere,
                                  .unlink_cbk = noUnlink,
                                  .rename_cbk = noRename};

PROJ_NETWORK_HANDLE* refuseNetwork(PJ_CONTEXT*, const char*, unsigned long long, std::size_t, void*,
                                   std::size_t* read, std::size_t errorSize, char* error, void*) {
    *read = 0;
    if (errorSize > 0) std::snprintf(error, errorSize, "the host reads no data from the network");
    return nullptr;
}
void closeNetwork(PJ_CONTEXT*, PROJ_NETWORK_HANDLE*, void*) {}
const char* noHeader(PJ_CONTEXT*, PROJ_NETWORK_HANDLE*, const char*, void*) { return nullptr; }
std::size_t noRange(PJ_CONTEXT*, PROJ_NETWORK_HANDLE*, unsigned long long, std::size_t, void*, std::size_t errorSize,
                    char* error, void*) {
    if (errorSize > 0) std::snprintf(error, errorSize, "the host reads no data from the network");
    return 0;
}

void confineContext(PJ_CONTEXT* context) {
    proj_context_set_fileapi(context, &readOnlyFiles, nullptr);
    proj_context_set_network_callbacks(context, refuseNetwork, closeNetwork, noHeader, noRange, nullptr);
    proj_context_set_enable_network(context, 0);
}

}  // namespace

void confineProjFiles() {
    static std::once_flag once;
    std::call_once(once, [] {
        confineSqliteFiles();
        confineContext(nullptr);
    });
}

}  // namespace gishost::model::gdal

// The library's context maker, in place of its own (this definition comes first in the
// process's symbol lookup): the library's maker builds the context, which is then confined.
extern "C" PJ_CONTEXT* proj_context_create(void) {
    using Maker = PJ_CONTEXT* (*)();
    static const Maker libraryMaker = reinterpret_cast<Maker>(::dlsym(RTLD_NEXT, "proj_context_create"));
    if (libraryMaker == nullptr) return nullptr;
    gishost::model::gdal::confineProjFiles();
    PJ_CONTEXT* context = libraryMaker();
    if (context != nullptr) gishost::model::gdal::confineContext(context);
    return context;
}
