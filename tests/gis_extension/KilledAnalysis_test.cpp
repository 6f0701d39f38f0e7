// An analysis killed while it writes: the headless analysis program runs all pairs of a
// generated layer in a process of its own and is killed with SIGKILL once its files hold
// data. Whatever stands under an output's name afterwards must be that output whole, as
// a reader takes it: every node line, every pair, and dBASE tables whose header counts
// every record the file holds.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "patches/PatchLayerGenerator.h"
#include "support/TestFiles.h"

namespace {

constexpr int patchCount = 2000;
constexpr std::uint64_t pairCount = std::uint64_t{patchCount} * (patchCount - 1) / 2;

// A child process, killed and waited for at the latest when the test ends.
class ChildProcess {
public:
    explicit ChildProcess(std::vector<std::string> arguments) {
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
    }
    ~ChildProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            wait(0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    void kill() const { ::kill(pid_, SIGKILL); }
    // The wait status once the process ended (options: WNOHANG not to block), or nothing.
    std::optional<int> wait(int options) {
        int status = 0;
        if (pid_ <= 0 || ::waitpid(pid_, &status, options) != pid_) return std::nullopt;
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_ = -1;
};

std::uintmax_t bytesIn(const std::filesystem::path& folder) {
    std::uintmax_t total = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file(error)) total += entry.file_size(error);
    return total;
}

// Waits, woken by every change in the folder, until its files hold at least `bytes`; false
// when the child ended first (its status then in `ended`).
bool waitUntilTheFolderHolds(const std::filesystem::path& folder, std::uintmax_t bytes, ChildProcess& child,
                             std::optional<int>& ended) {
    const int changes = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (changes < 0 || ::inotify_add_watch(changes, folder.c_str(), IN_CREATE | IN_MODIFY | IN_MOVED_TO) < 0) {
        ADD_FAILURE() << "no inotify: " << std::strerror(errno);
        return false;
    }
    bool holds = false;
    while (!(holds = bytesIn(folder) >= bytes)) {
        if ((ended = child.wait(WNOHANG))) break;
        // Woken by the next change; the limit only lets a child that ended be noticed.
        pollfd watched{changes, POLLIN, 0};
        ::poll(&watched, 1, 1000);
        std::array<char, 4096> events;
        while (::read(changes, events.data(), events.size()) > 0) {
        }
    }
    ::close(changes);
    return holds;
}

// Why the file is not a whole output, or empty when it is one.
using Wholeness = std::function<std::string(const std::string& path)>;

// True when the line is numbers separated by tabs, the k-th with decimals[k] decimals
// (none: a whole number), then a carriage return.
bool numbersLike(const std::string& line, const std::vector<std::size_t>& decimals) {
    const auto digits = [](const std::string& text) {
        return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (line.empty() || line.back() != '\r') return false;
    std::istringstream fields(line.substr(0, line.size() - 1));
    std::size_t k = 0;
    for (std::string field; std::getline(fields, field, '\t'); ++k) {
        if (k == decimals.size()) return false;
        const std::size_t point = field.find('.');
        if (decimals[k] == 0 ? !digits(field)
                             : point == std::string::npos || !digits(field.substr(0, point)) ||
                                   !digits(field.substr(point + 1)) || field.size() - point - 1 != decimals[k])
            return false;
    }
    return k == decimals.size();
}

Wholeness linesLike(const std::vector<std::size_t>& decimals, std::uint64_t expectedLines) {
    return [=](const std::string& path) -> std::string {
        const std::string text = testing_support::readFile(path);
        if (!text.empty() && text.substr(text.size() - 2) != "\r\n") return "its last line is cut";
        std::uint64_t lines = 0;
        std::istringstream stream(text);
        for (std::string each; std::getline(stream, each); ++lines)
            if (!numbersLike(each, decimals)) return "line " + std::to_string(lines + 1) + " reads \"" + each + "\"";
        if (lines != expectedLines) return std::to_string(lines) + " lines of " + std::to_string(expectedLines);
        return "";
    };
}

Wholeness tableOf(std::uint64_t expectedRecords) {
    return [=](const std::string& path) -> std::string {
        std::ifstream file(path, std::ios::binary);
        std::array<unsigned char, 32> header{};
        if (!file.read(reinterpret_cast<char*>(header.data()), header.size())) return "no dBASE header";
        std::uint64_t records = 0;
        for (int k = 3; k >= 0; --k) records = records << 8 | header[4 + k];
        const std::uint64_t headerLength = header[8] | std::uint64_t{header[9]} << 8;
        const std::uint64_t recordLength = header[10] | std::uint64_t{header[11]} << 8;
        const std::uint64_t size = std::filesystem::file_size(path);
        const std::uint64_t counted = headerLength + records * recordLength;
        if (size != counted && size != counted + 1)
            return "its header counts " + std::to_string(records) + " records in " + std::to_string(size) + " bytes";
        if (records != expectedRecords)
            return std::to_string(records) + " records of " + std::to_string(expectedRecords);
        return "";
    };
}

TEST(KilledAnalysis, LeavesNoPartialFileUnderAnOutputsName) {
    testing_support::TemporaryFolder folder;
    const std::string layer = folder.pathOf("patches.gpkg");
    bench::writeGeoPackage(bench::generatePatches(patchCount, 19), layer);
    const std::filesystem::path out = folder.pathOf("out");
    std::filesystem::create_directory(out);

    ChildProcess child({HEADLESS_ANALYSIS_PROGRAM, layer, out.string(), "all"});
    ASSERT_TRUE(child.started());
    // A few megabytes of rows and lines on their way: well inside the pair loop, whose
    // outputs come to some 150 MB.
    std::optional<int> ended;
    ASSERT_TRUE(waitUntilTheFolderHolds(out, std::uintmax_t{4} << 20, child, ended))
        << "the analysis ended before it was killed, status " << ended.value_or(-1);
    child.kill();
    const std::optional<int> status = child.wait(0);
    ASSERT_TRUE(status && WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL);

    const struct {
        const char* name;
        Wholeness whole;
    } outputs[] = {
        {"nodes.txt", linesLike({0, 8}, patchCount)},
        {"distances.txt", linesLike({0, 0, 9}, pairCount)},
        {"count.dbf", tableOf(patchCount)},
        {"distances.dbf", tableOf(pairCount)},
    };
    for (const auto& output : outputs) {
        const std::string path = (out / output.name).string();
        if (std::filesystem::exists(path)) {
            EXPECT_EQ(output.whole(path), "") << output.name;
        }
    }
}

}  // namespace
