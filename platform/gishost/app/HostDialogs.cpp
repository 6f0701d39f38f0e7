#include "gishost/app/HostDialogs.h"

#include <QApplication>
#include <QFileDialog>

#include "gishost/app/QtText.h"

namespace gishost::app {
namespace {

class CancellingDialogs final : public HostDialogs {
public:
    std::optional<std::vector<std::string>> choose(const ChooseRequest&) override { return std::nullopt; }
};

HostDialogs* installed = nullptr;

}  // namespace

HostDialogs& hostDialogs() {
    static CancellingDialogs cancelling;
    return installed != nullptr ? *installed : cancelling;
}

void installHostDialogs(HostDialogs* dialogs) { installed = dialogs; }

std::optional<std::vector<std::string>> QtHostDialogs::choose(const ChooseRequest& request) {
    QWidget* parent =
        QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget() : QApplication::activeWindow();
    QFileDialog dialog(parent, qtText(request.title), qtText(request.startingLocation));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (request.kind == ChooseRequest::Kind::Folders) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        if (!request.filter.empty()) dialog.setNameFilters(qtText(request.filter).split(QStringLiteral(";;")));
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::vector<std::string> chosen;
    for (const QString& path : dialog.selectedFiles()) chosen.push_back(path.toStdString());
    if (chosen.empty()) return std::nullopt;
    return chosen;
}

ScriptedHostDialogs::ScriptedHostDialogs() : previous_(installed) { installed = this; }
ScriptedHostDialogs::~ScriptedHostDialogs() { installed = previous_; }

void ScriptedHostDialogs::chooseNext(std::vector<std::string> paths) { answers_.emplace_back(std::move(paths)); }
void ScriptedHostDialogs::cancelNext() { answers_.emplace_back(std::nullopt); }

std::optional<std::vector<std::string>> ScriptedHostDialogs::choose(const ChooseRequest& request) {
    requests_.push_back(request);
    if (answers_.empty()) return std::nullopt;
    const bool confirmed = answers_.front().has_value();
    std::vector<std::string> paths = confirmed ? std::move(*answers_.front()) : std::vector<std::string>();
    answers_.pop_front();
    if (!confirmed) return std::nullopt;
    return paths;
}

}  // namespace gishost::app
