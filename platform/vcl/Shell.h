#pragma once
// The seam for the system's shell, which opens a document with the program that the
// desktop associates with its type, as a double click on the file would. The program
// uses SystemShell; tests install ScriptedShell, which records each document with the
// working folder it was asked for in.
#include <string>
#include <vector>

namespace vcl {

class Shell {
public:
    virtual ~Shell() = default;
    // Opens the document (relative to the working folder, or absolute) and returns
    // without waiting for the program that shows it. howToGetIt, unless empty, is told on
    // a line of its own when the document does not exist: where the document comes from.
    virtual void openDocument(const std::string& path, const std::string& howToGetIt) = 0;
};

Shell& shell();
void installShell(Shell* shell);

// Opens documents with the desktop's opener (xdg-open). A shell shows what went wrong
// itself: a box captioned "Error!" names a document that does not exist (with how to get
// it, when the caller tells), and, when no program could open it (the opener failed or
// could not be started), says that a viewer for its type is needed. The opener runs on
// its own; the failure is told when it ends, while the window goes on.
class SystemShell : public Shell {
public:
    explicit SystemShell(std::string opener = "xdg-open");
    void openDocument(const std::string& path, const std::string& howToGetIt) override;

    // Waits until every opener started has ended and its failure, if any, was told.
    // For tests: the program never waits for a viewer.
    static void waitForOpeners();

private:
    std::string opener_;
};

// The texts of the shell's boxes.
std::string documentMissingText(const std::string& path, const std::string& howToGetIt = {});
std::string noProgramForDocumentText(const std::string& path);

// Installs itself for its lifetime.
class ScriptedShell : public Shell {
public:
    struct Document {
        std::string path;
        std::string workingFolder;
    };
    ScriptedShell();
    ~ScriptedShell() override;
    ScriptedShell(const ScriptedShell&) = delete;
    ScriptedShell& operator=(const ScriptedShell&) = delete;

    void openDocument(const std::string& path, const std::string& howToGetIt) override;
    const std::vector<Document>& documents() const { return documents_; }

private:
    std::vector<Document> documents_;
    Shell* previous_;
};

}  // namespace vcl
