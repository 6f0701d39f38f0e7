#include "vcl/Dialogs.h"

#include <filesystem>
#include <system_error>

#include "sysutils/MessageBoxes.h"
#include "vcl/FileDialogs.h"

namespace vcl {

bool TOpenDialog::Execute() {
    FileDialogRequest request;
    request.kind = isSave() ? FileDialogRequest::Kind::Save : FileDialogRequest::Kind::Open;
    request.title = Title;
    request.fileName = FileName;
    request.filter = Filter;
    request.defaultExtension = DefaultExt;
    request.overwritePrompt = OverwritePrompt;
    const std::optional<std::string> chosen = fileDialogs().choose(request);
    if (!chosen) return false;

    std::filesystem::path path(*chosen);
    if (!path.has_extension() && !DefaultExt.empty()) path += "." + DefaultExt;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (!error) path = absolute;
    FileName = path.string();
    if (path.has_parent_path()) std::filesystem::current_path(path.parent_path(), error);
    return true;
}

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int /*helpContext*/) {
    const char* caption = type == TMsgDlgType::mtWarning       ? "Warning"
                          : type == TMsgDlgType::mtError       ? "Error"
                          : type == TMsgDlgType::mtInformation ? "Information"
                                                               : "Confirm";
    const sysutils::MessageButtons shown =
        buttons == TMsgDlgButtons::mbYesNo ? sysutils::MessageButtons::YesNo : sysutils::MessageButtons::Ok;
    switch (sysutils::messageBoxes().show(sysutils::MessageBox{message, caption, shown})) {
    case sysutils::MessageAnswer::Yes:
        return TModalResult::mrYes;
    case sysutils::MessageAnswer::No:
        return TModalResult::mrNo;
    case sysutils::MessageAnswer::Ok:
        break;
    }
    return TModalResult::mrOk;
}

}  // namespace vcl
