#include "gishost/model/ConfinedGdalFiles.h"

#include <cpl_conv.h>
#include <cpl_string.h>
#include <cpl_vsi_virtual.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "gishost/model/FileRefusals.h"
#include "gishost/model/Gdal.h"

namespace gishost::model::gdal {
namespace {

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

// GDAL's plain files, read-only and less pipes, devices and sockets. Looking at a path
// (Stat, ReadDir) waits on nothing and changes nothing, so it is passed on.
class ReadOnlyRegularFiles final : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;

    VSIVirtualHandle* Open(const char* path, const char* access, bool setError, CSLConstList options) override {
        if (writes(access)) {
            refuseWrite("write", path);
            errno = EACCES;
            return nullptr;
        }
        if (refusedAsNoRegularFile(path)) {
            errno = EACCES;
            return nullptr;
        }
        return ForwardingFileSystem::Open(path, access, setError, options);
    }
    int Unlink(const char* path) override { return refused("delete", path); }
    int* UnlinkBatch(CSLConstList paths) override {
        const int count = CSLCount(paths);
        auto* results = static_cast<int*>(CPLCalloc(static_cast<std::size_t>(count) + 1, sizeof(int)));
        for (int k = 0; k < count; ++k) results[k] = refuseWrite("delete", paths[k]);
        return results;
    }
    int Mkdir(const char* path, long) override { return refused("make the folder", path); }
    int Rmdir(const char* path) override { return refused("delete", path); }
    int RmdirRecursive(const char* path) override { return refused("delete", path); }
    int Rename(const char* from, const char*) override { return refused("rename", from); }
    bool Sync(const char*, const char* target, const char* const*, GDALProgressFunc, void*, char***) override {
        return refuseWrite("write", target);
    }
    bool SetFileMetadata(const char* path, CSLConstList, const char*, CSLConstList) override {
        return refuseWrite("write", path);
    }
    bool SupportsSequentialWrite(const char*, bool) override { return false; }
    bool SupportsRandomWrite(const char*, bool) override { return false; }

private:
    // True for an access mode that writes: "w", "a" or an update ("r+").
    static bool writes(const char* access) { return access != nullptr && std::strpbrk(access, "wa+") != nullptr; }
    // The result of a refused call that answers -1 on failure.
    static int refused(const char* act, const char* path) {
        refuseWrite(act, path);
        errno = EACCES;
        return -1;
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

}  // namespace

void confineGdalFiles(const std::vector<std::string>& kept) {
    // Read under its own name, not that of a file system, an empty path gets GDAL's file
    // system for plain paths.
    VSIFileManager::InstallHandler("", new ReadOnlyRegularFiles(VSIFileManager::GetHandler("")));
    char** prefixes = VSIGetFileSystemsPrefixes();
    for (char** prefix = prefixes; prefix != nullptr && *prefix != nullptr; ++prefix) {
        const std::string name = *prefix;
        if (std::find(kept.begin(), kept.end(), name) != kept.end()) continue;
        VSIFileManager::InstallHandler(
            name, new RefusedFileSystem(VSIFileManager::GetHandler(name.c_str()), refusedFileSystemKind(name)));
    }
    CSLDestroy(prefixes);
}

}  // namespace gishost::model::gdal
