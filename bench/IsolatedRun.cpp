#include "IsolatedRun.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

namespace bench {

std::optional<IsolatedResult> runIsolated(const std::function<Measurement()>& measure) {
    int channel[2];
    if (pipe(channel) != 0) return std::nullopt;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0) return std::nullopt;
    if (child == 0) {
        close(channel[0]);
        int status = 1;
        try {
            const Measurement m = measure();
            if (write(channel[1], &m, sizeof m) == static_cast<ssize_t>(sizeof m)) status = 0;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "measurement failed: %s\n", error.what());
        } catch (...) {
            std::fprintf(stderr, "measurement failed\n");
        }
        _exit(status);
    }
    close(channel[1]);
    Measurement m;
    const ssize_t got = read(channel[0], &m, sizeof m);
    close(channel[0]);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return std::nullopt;
    if (got != static_cast<ssize_t>(sizeof m) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return IsolatedResult{m, usage.ru_maxrss};
}

}  // namespace bench
