#include "vcl/FileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QSettings>
#include <QStringList>

namespace vcl {
namespace {

FileDialogs* installed = nullptr;

// Qt's file dialog keeps its history, last folder and view in the user's configuration
// folder, read when a dialog opens and written when it closes. The program keeps no
// settings outside its project file, so the user-scope settings of the process are
// pointed at a folder that can never be created: nothing is read from it, and the
// dialog's writes fail without a word.
void keepNoUserSettings() {
    static const bool diverted = [] {
        const QString nowhere = QStringLiteral("/dev/null/no-settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
        return true;
    }();
    (void)diverted;
}

}  // namespace

FileDialogs& fileDialogs() {
    static QtFileDialogs fallback;
    return installed != nullptr ? *installed : fallback;
}

void installFileDialogs(FileDialogs* dialogs) { installed = dialogs; }

std::string qtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        entries << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    return entries.join(";;").toStdString();
}

std::optional<std::string> QtFileDialogs::choose(const FileDialogRequest& request) {
    keepNoUserSettings();
    // The dialog opens in the working folder, which the last chosen file decided; Qt's
    // own memory of the folder last shown does not follow a path typed in whole.
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.title), QDir::currentPath());
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QString::fromStdString(qtFilter(request.filter)));
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

ScriptedFileDialogs::ScriptedFileDialogs() : previous_(installed) { installed = this; }
ScriptedFileDialogs::~ScriptedFileDialogs() { installed = previous_; }

std::optional<std::string> ScriptedFileDialogs::choose(const FileDialogRequest& request) {
    requests_.push_back(request);
    if (answers_.empty()) return std::nullopt;
    std::optional<std::string> answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void ScriptedFileDialogs::answerNext(std::optional<std::string> path) { answers_.push_back(std::move(path)); }

}  // namespace vcl
