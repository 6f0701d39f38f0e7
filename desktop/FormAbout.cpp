#include "desktop/FormAbout.h"

#include <QFont>

namespace desktop {

TAboutBox* AboutBox = nullptr;

namespace {

const char* const creditsText =
    "Brelmark quantifies how much each habitat patch contributes to the connectivity of a landscape, with binary "
    "and probabilistic connectivity indices computed on a graph of patches and their connections.\n\n"
    "It was written by the Brelmark team, who maintain it and answer questions about its use.\n\n"
    "The program may be used, copied and given to others free of charge for research, teaching and "
    "conservation planning. It may not be sold, and no changed copy may be passed on under its name.\n\n"
    "It comes without any warranty, to the extent that the law allows.";

const char* const referencesText =
    "The indices and their interpretation are described in the user's manual (help/Brelmarkmanual.pdf), "
    "chapter \"What each index means\".\n\n"
    "How to prepare the node and connection files is described in the same manual, chapter \"Input files\".";

const char* const noticeText =
    "Please read carefully the user’s manual and related papers for an adequate use and interpretation of the "
    "outcomes of this software. The user assumes all the responsibility for the accuracy and suitability of this "
    "software for a particular application. ";

const char* const feedbackText =
    "Comments, reports of problems and suggestions are welcome; new versions and updates of the manual are "
    "announced with each release.";

vcl::TLabel* paragraph(vcl::TWinControl* parent, const char* text, int top, int height) {
    auto* label = new vcl::TLabel(parent, text);
    label->label()->setWordWrap(true);
    label->label()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->SetBounds(12, top, 476, height);
    return label;
}

}  // namespace

TAboutBox::TAboutBox(vcl::TComponent* Owner) : vcl::TForm(Owner) {
    SetName("AboutBox");
    SetBorderStyle(vcl::TFormBorderStyle::bsDialog);
    SetClientSize(519, 391);

    Panel1 = new vcl::TGroupBox(this, "");
    Panel1->SetBounds(8, 8, 503, 336);
    ProductName = new vcl::TLabel(Panel1, "Veltrano Tamblor 2.2 (build #1)");
    QFont bold = ProductName->label()->font();
    bold.setBold(true);
    ProductName->label()->setFont(bold);
    ProductName->SetBounds(12, 10, 260, 18);
    Version = new vcl::TLabel(Panel1, "June 2007");
    Version->SetBounds(290, 10, 120, 18);
    Credits = paragraph(Panel1, creditsText, 36, 128);
    References = paragraph(Panel1, referencesText, 168, 62);
    Notice = paragraph(Panel1, noticeText, 234, 48);
    Feedback = paragraph(Panel1, feedbackText, 286, 40);

    OKButton = new vcl::TButton(this, "OK");
    OKButton->SetModalResult(vcl::TModalResult::mrOk);
    OKButton->SetDefault(true);
    OKButton->SetBounds(222, 354, 75, 28);
    FormCreate(this);
}

TAboutBox::~TAboutBox() {
    if (AboutBox == this) AboutBox = nullptr;
}

void TAboutBox::FormCreate(vcl::TObject*) {}

}  // namespace desktop
