#pragma once
// The seam through which every open and save dialog passes. The program uses the Qt
// dialogs; tests install ScriptedFileDialogs, which records each request and answers
// from a queue (a chosen path, or nothing for a cancelled dialog).
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace vcl {

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    std::string title;
    std::string fileName;
    // In the library's form: description|pattern|description|pattern...
    std::string filter;
    std::string defaultExtension;
    bool overwritePrompt = false;

    bool operator==(const FileDialogRequest&) const = default;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The path of the chosen file, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> choose(const FileDialogRequest& request) = 0;
};

FileDialogs& fileDialogs();
void installFileDialogs(FileDialogs* dialogs);

// "Text files|*.txt|All files|*.*" as Qt's "Text files (*.txt);;All files (*.*)".
std::string qtFilter(const std::string& filter);

class QtFileDialogs : public FileDialogs {
public:
    std::optional<std::string> choose(const FileDialogRequest& request) override;
};

// Installs itself for its lifetime. Without a queued answer a dialog is cancelled.
class ScriptedFileDialogs : public FileDialogs {
public:
    ScriptedFileDialogs();
    ~ScriptedFileDialogs() override;
    ScriptedFileDialogs(const ScriptedFileDialogs&) = delete;
    ScriptedFileDialogs& operator=(const ScriptedFileDialogs&) = delete;

    std::optional<std::string> choose(const FileDialogRequest& request) override;
    void answerNext(std::optional<std::string> path);
    const std::vector<FileDialogRequest>& requests() const { return requests_; }

private:
    std::vector<FileDialogRequest> requests_;
    std::deque<std::optional<std::string>> answers_;
    FileDialogs* previous_;
};

}  // namespace vcl
