#include "vcl/Shell.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <utility>

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

#include "sysutils/MessageBoxes.h"

namespace vcl {
namespace {

Shell* installed = nullptr;

constexpr const char* errorCaption = "Error!";
// The opener's status for a document that does not exist.
constexpr int openerFoundNoFile = 2;

// The openers still running. The list is never destroyed: an opener may run as long as
// its viewer shows the document, and one still running when the program ends is left to
// run, with its viewer, rather than killed with the program's objects.
std::vector<QProcess*>& runningOpeners() {
    static auto* running = new std::vector<QProcess*>;
    return *running;
}

// "a PDF viewer" for report.pdf: the kind of program that the type of the file asks for.
std::string viewerFor(const std::string& path) {
    std::string type = std::filesystem::path(path).extension().string();
    if (type.size() < 2) return "a program for this kind of file";
    type.erase(0, 1);
    std::transform(type.begin(), type.end(), type.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return "a " + type + " viewer";
}

}  // namespace

std::string documentMissingText(const std::string& path, const std::string& howToGetIt) {
    std::string text = "Cannot open file " + path + " (the file does not exist)";
    if (!howToGetIt.empty()) text += "\n" + howToGetIt;
    return text;
}

std::string noProgramForDocumentText(const std::string& path) {
    std::string viewer = viewerFor(path);
    viewer.front() = char(std::toupper(static_cast<unsigned char>(viewer.front())));
    return "Cannot open file " + path + " (no program to show it was found)\n" + viewer +
           " is needed: install one and try again";
}

Shell& shell() {
    static SystemShell fallback;
    return installed != nullptr ? *installed : fallback;
}

void installShell(Shell* replacement) { installed = replacement; }

SystemShell::SystemShell(std::string opener) : opener_(std::move(opener)) {}

void SystemShell::openDocument(const std::string& path, const std::string& howToGetIt) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    const std::string document = error ? path : absolute.lexically_normal().string();
    if (!std::filesystem::is_regular_file(document, error)) {
        sysutils::ShowMessage(documentMissingText(document, howToGetIt), errorCaption);
        return;
    }

    auto* process = new QProcess;
    runningOpeners().push_back(process);
    // The opener's status when it ended, or -1 when it crashed or could not be started.
    const auto ended = [process, document, howToGetIt](int status) {
        std::vector<QProcess*>& running = runningOpeners();
        running.erase(std::remove(running.begin(), running.end(), process), running.end());
        process->deleteLater();
        if (status == 0) return;
        sysutils::ShowMessage(status == openerFoundNoFile ? documentMissingText(document, howToGetIt)
                                                          : noProgramForDocumentText(document),
                              errorCaption);
    };
    QObject::connect(process, &QProcess::finished, process, [ended](int status, QProcess::ExitStatus how) {
        ended(how == QProcess::NormalExit ? status : -1);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [ended](QProcess::ProcessError failure) {
        if (failure == QProcess::FailedToStart) ended(-1);
    });
    // No answer can come from the user: an opener that asks which program to use reads
    // an empty input and gives up.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(QString::fromStdString(opener_), QStringList{QString::fromStdString(document)});
}

void SystemShell::waitForOpeners() {
    std::vector<QProcess*>& running = runningOpeners();
    while (!running.empty()) {
        QProcess* process = running.front();
        // An opener that could not be started has told so already, or does with the events.
        if (!process->waitForFinished(-1)) QCoreApplication::processEvents();
        if (!running.empty() && running.front() == process) running.erase(running.begin());
    }
}

ScriptedShell::ScriptedShell() : previous_(installed) { installed = this; }
ScriptedShell::~ScriptedShell() { installed = previous_; }

void ScriptedShell::openDocument(const std::string& path, const std::string&) {
    std::error_code error;
    documents_.push_back({path, std::filesystem::current_path(error).string()});
}

}  // namespace vcl
