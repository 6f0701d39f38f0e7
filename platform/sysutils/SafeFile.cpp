#include "sysutils/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <random>

namespace sysutils {
namespace {

struct FaultState {
    std::mutex mutex;
    bool active = false;
    FileFault fault = FileFault::Write;
    std::size_t remaining = 0;
    int error = 0;
};

FaultState& faultState() {
    static FaultState state;
    return state;
}

struct RefusingFolder {
    std::mutex mutex;
    std::optional<std::filesystem::path> folder;
    int error = 0;
};

RefusingFolder& refusingFolder() {
    static RefusingFolder state;
    return state;
}

// True, with the error to report, when new files in `folder` are to be refused.
bool creationRefused(const std::string& folder, int& error) {
    RefusingFolder& state = refusingFolder();
    std::lock_guard lock(state.mutex);
    std::error_code ignored;
    if (!state.folder || !std::filesystem::equivalent(*state.folder, folder, ignored)) return false;
    error = state.error;
    return true;
}

std::string folderOf(const std::string& target) {
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// A name that no other save picks: process, counter and random bits.
std::string uniquePart() {
    static std::atomic<std::uint32_t> counter{0};
    static const std::uint32_t seed = std::random_device{}();
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%x-%x-%x", static_cast<unsigned>(getpid()), seed,
                  static_cast<unsigned>(counter.fetch_add(1)));
    return buffer;
}

// Makes a completed rename last across a power failure; a failure here changes nothing
// that the save could still undo, so it is not reported.
void syncFolder(const std::string& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}

}  // namespace

std::string saveErrorText(const std::string& target, const std::string& what, int error) {
    return "Cannot save " + target + ": " + what + ": " + std::strerror(error);
}

TemporaryFileBeside::TemporaryFileBeside(std::string target, const std::string& suffix) : target_(std::move(target)) {
    const std::string folder = folderOf(target_);
    // Long target names are cut so that the temporary name stays within the file-name limit.
    const std::string name = std::filesystem::path(target_).filename().string().substr(0, 100);
    if (int refused = 0; creationRefused(folder, refused)) {
        fail("cannot create a file in the folder " + folder, refused);
        return;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate =
            (std::filesystem::path(folder) / ("." + name + "." + uniquePart() + suffix)).string();
        // 0666 under the process's umask, as a plain file creation would give.
        descriptor_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ >= 0) {
            path_ = candidate;
            break;
        }
        if (errno != EEXIST) {
            fail("cannot create a file in the folder " + folder, errno);
            return;
        }
    }
    if (path_.empty()) {
        fail("cannot create a file in the folder " + folder, EEXIST);
        return;
    }
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(descriptor_, existing.st_mode & 07777);
}

TemporaryFileBeside::~TemporaryFileBeside() { discard(); }

bool TemporaryFileBeside::fail(const std::string& what, int error) {
    error_ = saveErrorText(target_, what, error);
    systemError_ = error;
    return false;
}

bool TemporaryFileBeside::write(std::string_view bytes) {
    if (descriptor_ < 0) return fail("writing failed", EBADF);
    while (!bytes.empty()) {
        int error = 0;
        const std::size_t allowed = writableBytes(bytes.size(), error);
        if (allowed == 0) return fail("writing failed", error);
        const ssize_t written = ::write(descriptor_, bytes.data(), allowed);
        if (written < 0) {
            if (errno == EINTR) continue;
            return fail("writing failed", errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool TemporaryFileBeside::finish() {
    if (descriptor_ < 0) return fail("writing failed", EBADF);
    int syncError = 0;
    bool synced = true;
    if (syncFails(syncError)) {
        synced = false;
    } else if (::fsync(descriptor_) != 0) {
        synced = false;
        syncError = errno;
    }
    const int closed = ::close(descriptor_);
    const int closeError = errno;
    descriptor_ = -1;
    if (!synced) return fail("writing to disk failed", syncError);
    if (closed != 0) return fail("closing the file failed", closeError);
    return true;
}

void TemporaryFileBeside::closeDescriptor() {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
}

bool TemporaryFileBeside::commit() {
    if (!created()) return false;
    closeDescriptor();
    if (std::rename(path_.c_str(), target_.c_str()) != 0) return fail("cannot replace the file", errno);
    committed_ = true;
    syncFolder(folderOf(target_));
    return true;
}

bool TemporaryFileBeside::commitAsNewFile() {
    if (!created()) return false;
    closeDescriptor();
    // An atomic rename that refuses an existing target; where the file system knows no
    // such rename, a link (which never replaces either) and the temporary name removed.
    if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return fail("cannot give the file its name", errno);
        if (::link(path_.c_str(), target_.c_str()) != 0) return fail("cannot give the file its name", errno);
        ::unlink(path_.c_str());
    }
    committed_ = true;
    syncFolder(folderOf(target_));
    return true;
}

void TemporaryFileBeside::discard() {
    closeDescriptor();
    if (created() && !committed_) ::unlink(path_.c_str());
    committed_ = true;
}

SaveResult SaveFileSafely(const std::string& path, std::string_view contents) {
    TemporaryFileBeside file(path, ".tmp");
    if (!file.created() || !file.write(contents) || !file.finish() || !file.commit())
        return SaveResult::failure(file.error());
    return SaveResult::success();
}

// ---- Test seam ----------------------------------------------------------------------

ScopedFileFault::ScopedFileFault(FileFault fault, std::size_t bytesBeforeFailure, int error) {
    FaultState& state = faultState();
    std::lock_guard lock(state.mutex);
    state.active = true;
    state.fault = fault;
    state.remaining = bytesBeforeFailure;
    state.error = error;
}

ScopedFileFault::~ScopedFileFault() {
    FaultState& state = faultState();
    std::lock_guard lock(state.mutex);
    state.active = false;
}

std::size_t writableBytes(std::size_t requested, int& error) {
    FaultState& state = faultState();
    std::lock_guard lock(state.mutex);
    if (!state.active || state.fault != FileFault::Write) return requested;
    const std::size_t allowed = requested < state.remaining ? requested : state.remaining;
    state.remaining -= allowed;
    error = state.error;
    return allowed;
}

ScopedFolderRefusingNewFiles::ScopedFolderRefusingNewFiles(const std::string& folder, int error) {
    RefusingFolder& state = refusingFolder();
    std::lock_guard lock(state.mutex);
    state.folder = folder;
    state.error = error;
}

ScopedFolderRefusingNewFiles::~ScopedFolderRefusingNewFiles() {
    RefusingFolder& state = refusingFolder();
    std::lock_guard lock(state.mutex);
    state.folder.reset();
}

bool syncFails(int& error) {
    FaultState& state = faultState();
    std::lock_guard lock(state.mutex);
    if (!state.active || state.fault != FileFault::Sync) return false;
    error = state.error;
    return true;
}

}  // namespace sysutils
