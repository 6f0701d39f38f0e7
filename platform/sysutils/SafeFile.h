#pragma once
// Saving files that users keep without ever losing or half-writing them: the new
// contents go into a fresh temporary file in the folder of the chosen file, are
// flushed to disk and closed, and only then renamed over the chosen name. On any
// failure the chosen file stays as it was and the temporary file is removed.
// A test seam (ScopedFileFault) makes writes or the flush to disk fail on purpose.
#include <cerrno>
#include <cstddef>
#include <string>
#include <string_view>

namespace sysutils {

// The outcome of a save. On failure `error` names the chosen file and the cause.
struct SaveResult {
    bool saved = false;
    std::string error;

    explicit operator bool() const { return saved; }
    static SaveResult success() { return {true, {}}; }
    static SaveResult failure(std::string error) { return {false, std::move(error)}; }
};

// Writes `contents` byte for byte as the whole file `path`, replacing an existing one
// (whose permission bits the new file takes over).
SaveResult SaveFileSafely(const std::string& path, std::string_view contents);

// A new, empty file in the folder of `target`, named after the target and ending in
// `suffix`, that becomes the target only through commit(). Writers that open files by
// name (the dBASE tables) use path() and closeDescriptor(); the others write(), finish().
// Removed on destruction unless committed.
class TemporaryFileBeside {
public:
    TemporaryFileBeside(std::string target, const std::string& suffix);
    ~TemporaryFileBeside();
    TemporaryFileBeside(const TemporaryFileBeside&) = delete;
    TemporaryFileBeside& operator=(const TemporaryFileBeside&) = delete;

    // False when the file could not be created; error() tells why.
    bool created() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    const std::string& target() const { return target_; }
    // Why the last step failed, naming the target, and the system's error number for it.
    const std::string& error() const { return error_; }
    int systemError() const { return systemError_; }

    // Appends all of `bytes` through the open descriptor.
    bool write(std::string_view bytes);
    // Flushes the contents to disk and closes the descriptor.
    bool finish();
    // Closes the descriptor without flushing (for writers that reopen the file by name).
    void closeDescriptor();
    // Renames the temporary file over the target. The target is untouched on failure.
    bool commit();
    // Gives the temporary file the target's name only while no file holds that name, so
    // that a file that appeared there meanwhile is never replaced (EEXIST then). The target
    // is untouched on failure.
    bool commitAsNewFile();
    // Removes the temporary file (nothing once committed).
    void discard();

private:
    bool fail(const std::string& what, int error);

    std::string target_;
    std::string path_;
    std::string error_;
    int descriptor_ = -1;
    int systemError_ = 0;
    bool committed_ = false;
};

// "Cannot save <target>: <what>: <system's text for error>".
std::string saveErrorText(const std::string& target, const std::string& what, int error);

// ---- Test seam ----------------------------------------------------------------------

enum class FileFault {
    Write,  // writes fail with `error` once `bytesBeforeFailure` bytes were written
    Sync,   // the flush to disk fails with `error`
};

// Makes every safe writer fail as stated while the object lives (one at a time).
class ScopedFileFault {
public:
    explicit ScopedFileFault(FileFault fault, std::size_t bytesBeforeFailure = 0, int error = ENOSPC);
    ~ScopedFileFault();
    ScopedFileFault(const ScopedFileFault&) = delete;
    ScopedFileFault& operator=(const ScopedFileFault&) = delete;
};

// Makes the creation of temporary files in `folder` fail with `error` while the object
// lives (one folder at a time), as in a folder that takes no new file, which a test run
// by the superuser cannot otherwise make. Files already there stay writable.
class ScopedFolderRefusingNewFiles {
public:
    explicit ScopedFolderRefusingNewFiles(const std::string& folder, int error = EACCES);
    ~ScopedFolderRefusingNewFiles();
    ScopedFolderRefusingNewFiles(const ScopedFolderRefusingNewFiles&) = delete;
    ScopedFolderRefusingNewFiles& operator=(const ScopedFolderRefusingNewFiles&) = delete;
};

// Used by the writers: how many of `requested` bytes may be written now (all of them
// without a fault), and the error to report for the rest.
std::size_t writableBytes(std::size_t requested, int& error);
// True, with the error to report, when the flush to disk is to fail.
bool syncFails(int& error);

}  // namespace sysutils
