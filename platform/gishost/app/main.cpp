// The GIS host program: parses its command line and then either installs or removes a
// plug-in, or starts the main window.
#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "gishost/app/CommandLine.h"
#include "gishost/app/HostClasses.h"
#include "gishost/app/HostDialogs.h"
#include "gishost/app/HostMessageBoxes.h"
#include "gishost/app/Installation.h"
#include "gishost/app/MainWindow.h"

namespace {

using gishost::app::CommandLine;

std::vector<std::string> argumentsOf(const QStringList& arguments) {
    std::vector<std::string> result;
    for (qsizetype k = 1; k < arguments.size(); ++k) result.push_back(arguments[k].toStdString());
    return result;
}

int install(const CommandLine& line) {
    std::error_code error;
    const std::string folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
    const gishost::app::InstallationResult result = line.action == CommandLine::Action::Install
                                                        ? gishost::app::installPlugin(line.library, folder)
                                                        : gishost::app::uninstallPlugin(line.library);
    for (const std::string& done : result.done) std::printf("%s\n", done.c_str());
    if (!result.succeeded) {
        std::fprintf(stderr, "gishost: %s\n", result.error.c_str());
        return 1;
    }
    return 0;
}

// Qt's own options (as -platform offscreen) start with a single "-".
bool hasQtOption(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments)
        if (argument.size() > 1 && argument[0] == '-' && argument[1] != '-') return true;
    return false;
}

int refuse(const CommandLine& line) {
    std::fprintf(stderr, "gishost: %s\n%s", line.refusal.c_str(), gishost::app::commandLineUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // Installing, help and mistakes need no window: the command line is read before Qt
    // takes its own options, and again after.
    const std::vector<std::string> raw(argv + 1, argv + argc);
    CommandLine line = gishost::app::parseCommandLine(raw);
    if (line.action == CommandLine::Action::Install || line.action == CommandLine::Action::Uninstall)
        return install(line);
    if (line.action == CommandLine::Action::Help) {
        std::printf("%s", gishost::app::commandLineUsage);
        return 0;
    }
    if (line.action == CommandLine::Action::Refused && !hasQtOption(raw)) return refuse(line);

    QApplication application(argc, argv);
    line = gishost::app::parseCommandLine(argumentsOf(QApplication::arguments()));
    if (line.action != CommandLine::Action::Start) return refuse(line);
    gishost::app::HostMessageBoxes boxes;
    sysutils::installMessageBoxes(&boxes);
    gishost::app::QtHostDialogs dialogs;
    gishost::app::installHostDialogs(&dialogs);
    gishost::app::registerHostProgramClasses();
    int status = 0;
    {
        gishost::app::MainWindow window;
        window.show();
        if (!line.document.empty()) window.openMapDocument(line.document);
        if (!line.files.empty()) window.addData(line.files);
        status = QApplication::exec();
    }
    gishost::app::installHostDialogs(nullptr);
    sysutils::installMessageBoxes(nullptr);
    return status;
}
