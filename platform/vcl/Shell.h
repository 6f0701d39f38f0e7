#pragma once
// The seam for the C library's command runner: the program passes a command line to
// the command interpreter and waits for it to return; tests install ScriptedShell,
// which records each command with the working folder it ran in.
#include <string>
#include <vector>

namespace vcl {

class Shell {
public:
    virtual ~Shell() = default;
    // Runs the command line through the interpreter; returns its status, or -1 when
    // there is no interpreter (then the command is not run).
    virtual int run(const std::string& commandLine) = 0;
};

Shell& shell();
void installShell(Shell* shell);

class SystemShell : public Shell {
public:
    int run(const std::string& commandLine) override;
};

// Installs itself for its lifetime.
class ScriptedShell : public Shell {
public:
    struct Command {
        std::string commandLine;
        std::string workingFolder;
    };
    ScriptedShell();
    ~ScriptedShell() override;
    ScriptedShell(const ScriptedShell&) = delete;
    ScriptedShell& operator=(const ScriptedShell&) = delete;

    int run(const std::string& commandLine) override;
    const std::vector<Command>& commands() const { return commands_; }

private:
    std::vector<Command> commands_;
    Shell* previous_;
};

}  // namespace vcl
