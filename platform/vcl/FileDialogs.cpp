#include "vcl/FileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

namespace vcl {
namespace {

FileDialogs* installed = nullptr;

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
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.title));
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
