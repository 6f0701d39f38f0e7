#pragma once
// Open and save dialogs, and MessageDlg. Execute asks the file-dialog seam; when a
// file is chosen, FileName becomes its full path (with the default extension added
// when the name has none) and the file's folder becomes the working folder.
// MessageDlg asks the message-box seam.
#include <string>

#include "vcl/Classes.h"
#include "vcl/StdCtrls.h"

namespace vcl {

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}

    std::string Title;
    std::string FileName;
    std::string Filter;
    std::string DefaultExt;
    bool OverwritePrompt = false;

    bool Execute();

protected:
    virtual bool isSave() const { return false; }
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

protected:
    bool isSave() const override { return true; }
};

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };
enum class TMsgDlgButtons { mbOK, mbYesNo };

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);

}  // namespace vcl
