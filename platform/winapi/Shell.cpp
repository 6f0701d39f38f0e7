#include "winapi/Shell.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <thread>

extern char** environ;

namespace winapi {
namespace {

std::atomic<Shell*> installed{nullptr};

constexpr std::intptr_t SE_ERR_FNF = 2;
constexpr std::intptr_t SE_ERR_NOASSOC = 31;
constexpr std::intptr_t handedOn = 42;

}  // namespace

Shell& shell() {
    static SystemShell system;
    Shell* current = installed.load();
    return current != nullptr ? *current : system;
}

void installShell(Shell* replacement) { installed.store(replacement); }

std::intptr_t SystemShell::execute(const ShellRequest& request) {
    if (request.file.empty()) return SE_ERR_FNF;
    const std::string path =
        request.file.front() == '/' || request.directory.empty() ? request.file : request.directory + "/" + request.file;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return SE_ERR_FNF;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!request.directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, request.directory.c_str());
    for (int stream = 0; stream <= 2; ++stream)
        posix_spawn_file_actions_addopen(&actions, stream, "/dev/null", stream == 0 ? O_RDONLY : O_WRONLY, 0);
    std::string program = "xdg-open";
    std::string file = request.file;
    char* arguments[] = {program.data(), file.data(), nullptr};
    pid_t viewer = 0;
    const int started = ::posix_spawnp(&viewer, program.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return SE_ERR_NOASSOC;
    // The opener may run as long as the document is shown; it is reaped when it ends,
    // without the caller waiting for it.
    std::thread([viewer] {
        int ignored = 0;
        while (::waitpid(viewer, &ignored, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return handedOn;
}

RecordingShell::RecordingShell() : previous_(installed.exchange(this)) {}

RecordingShell::~RecordingShell() { installed.store(previous_); }

std::intptr_t RecordingShell::execute(const ShellRequest& request) {
    requests_.push_back(request);
    return handedOn;
}

HINSTANCE ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, int showCommand) {
    return shell().execute(ShellRequest{operation != nullptr ? operation : "", file != nullptr ? file : "",
                                        parameters != nullptr ? parameters : "", directory != nullptr ? directory : "",
                                        showCommand});
}

}  // namespace winapi
