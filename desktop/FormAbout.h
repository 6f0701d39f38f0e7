#pragma once
// The about window: a fixed dialog with a framed panel of texts (the product line and
// its date, credits, conditions of use, references, the notice on adequate use, and
// feedback) and an OK button that closes it.
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
};

extern TAboutBox* AboutBox;

}  // namespace desktop
