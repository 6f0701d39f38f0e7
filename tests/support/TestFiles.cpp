#include "support/TestFiles.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <stdlib.h>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support {

TemporaryFolder::TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brelmark-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TemporaryFolder::write(const std::string& name, const std::string& contents) const {
    const std::string file = pathOf(name);
    std::ofstream out(file, std::ios::binary);
    out << contents;
    return file;
}

void writeFile(const std::string& path, std::string_view contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

std::string TemporaryFolder::pathOf(const std::string& name) const { return (path_ / name).string(); }

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

NamedPipe::NamedPipe(std::string path, std::string contents, bool everyReader) : path_(std::move(path)) {
    if (::mkfifo(path_.c_str(), 0600) != 0) throw std::runtime_error("cannot create the pipe " + path_);
    writer_ = std::thread([this, contents = std::move(contents), everyReader] {
        // A reader that only looks (and refuses the pipe) may close it before the write:
        // that write then fails instead of ending the process with SIGPIPE.
        sigset_t pipeSignal;
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
        do {
            const int descriptor = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);  // waits for a reader
            if (descriptor < 0) return;
            [[maybe_unused]] const ssize_t written = ::write(descriptor, contents.data(), contents.size());
            ::close(descriptor);
        } while (everyReader && !stopping_);
    });
}

NamedPipe::~NamedPipe() {
    // A reader that never came: be one, so that the writer's open returns; it stays open
    // until the writer has gone, so that a writer going round again finds it too.
    stopping_ = true;
    const int reader = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    writer_.join();
    if (reader >= 0) ::close(reader);
}

std::unique_ptr<NamedPipe> replaceByFolderOrPipe(const std::string& path, bool pipe, const std::string& contents) {
    std::filesystem::remove(path);
    if (pipe) return std::make_unique<NamedPipe>(path, contents);
    std::filesystem::create_directory(path);
    return nullptr;
}

std::size_t openDescriptors() {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator()));
}

std::set<std::string> everythingIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        names.insert(entry.path().lexically_relative(folder).string());
    return names;
}

}  // namespace testing_support
