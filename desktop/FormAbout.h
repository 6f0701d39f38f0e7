#pragma once
// The about window: a fixed dialog with a framed panel of texts (the product line and
// its date, credits, conditions of use, references, the notice on adequate use, and
// feedback) and an OK button that closes it. The texts are laid out for the window's
// font, so that each shows whole at any font size.
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

namespace desktop {

class TAboutBox : public vcl::TForm {
public:
    explicit TAboutBox(vcl::TComponent* Owner);
    ~TAboutBox() override;

    vcl::TGroupBox* Panel1;
    vcl::TLabel *ProductName, *Version, *Credits, *References, *Notice, *Feedback;
    vcl::TButton* OKButton;

    void FormCreate(vcl::TObject* Sender);

    // Places the texts one below the other, each as high as its wrapped lines need in the
    // window's font, and makes the window as high as they need (at least its 519 by 391).
    // Runs again whenever the window's font changes.
    void arrangeTexts();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

extern TAboutBox* AboutBox;

}  // namespace desktop
