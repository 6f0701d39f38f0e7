#pragma once
// Opening a document with the program that the system associates with its type. The
// request goes through a seam: the system's implementation starts xdg-open in the
// given folder and does not wait for it; tests install RecordingShell, which records
// each request and starts nothing.
#include <string>
#include <vector>

#include "winapi/Types.h"
#include "winapi/Windows.h"

namespace winapi {

struct ShellRequest {
    std::string operation;   // empty for the type's default action
    std::string file;
    std::string parameters;
    std::string directory;   // the working folder, against which a relative file name is resolved
    int showCommand = 0;

    bool operator==(const ShellRequest&) const = default;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Greater than 32 when the request was handed on, else an error code.
    virtual std::intptr_t execute(const ShellRequest& request) = 0;
};

Shell& shell();
void installShell(Shell* shell);

// Starts xdg-open on the file in the working folder, in a process of its own.
class SystemShell : public Shell {
public:
    std::intptr_t execute(const ShellRequest& request) override;
};

// Installs itself for its lifetime; answers every request with success (42).
class RecordingShell : public Shell {
public:
    RecordingShell();
    ~RecordingShell() override;
    RecordingShell(const RecordingShell&) = delete;
    RecordingShell& operator=(const RecordingShell&) = delete;

    std::intptr_t execute(const ShellRequest& request) override;
    const std::vector<ShellRequest>& requests() const { return requests_; }

private:
    std::vector<ShellRequest> requests_;
    Shell* previous_;
};

inline constexpr int SW_SHOWNORMAL = 1;
using HINSTANCE = std::intptr_t;

// Asks the shell to carry out `operation` (empty: the default action) on `file`.
HINSTANCE ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        int showCommand);

}  // namespace winapi
