#include "desktop/FormAbout.h"

#include <algorithm>

#include <QEvent>
#include <QFont>
#include <QFontMetrics>

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
    "chapter 2, \"The indices\".\n\n"
    "How to prepare the node and connection files is described in the same manual, chapter 1, \"Input files\".";

const char* const noticeText =
    "Please read carefully the user’s manual and related papers for an adequate use and interpretation of the "
    "outcomes of this software. The user assumes all the responsibility for the accuracy and suitability of this "
    "software for a particular application. ";

const char* const feedbackText =
    "Comments, reports of problems and suggestions are welcome; new versions and updates of the manual are "
    "announced with each release.";

// The panel, and the texts inside it, in pixels.
constexpr int panelLeft = 8;
constexpr int panelTop = 8;
constexpr int panelWidth = 503;
constexpr int textLeft = 12;
constexpr int textWidth = 476;
constexpr int textTop = 10;
constexpr int dateLeft = 290;  // the date's column, when the product line leaves room for it
constexpr int panelBottomMargin = 12;
// The window: its least client size, and the OK button below the panel.
constexpr int clientWidth = 519;
constexpr int clientHeight = 391;
constexpr int buttonGap = 10;
constexpr int buttonBottomMargin = 9;

vcl::TLabel* paragraph(vcl::TWinControl* parent, const char* text) {
    auto* label = new vcl::TLabel(parent, text);
    label->label()->setWordWrap(true);
    label->label()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// The width a text takes on one line in its label's font.
int oneLineWidth(const vcl::TLabel* text) {
    const QLabel* label = text->label();
    return label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() + 2;
}

}  // namespace

TAboutBox::TAboutBox(vcl::TComponent* Owner) : vcl::TForm(Owner) {
    SetName("AboutBox");
    SetBorderStyle(vcl::TFormBorderStyle::bsDialog);
    SetClientSize(clientWidth, clientHeight);

    Panel1 = new vcl::TGroupBox(this, "");
    ProductName = new vcl::TLabel(Panel1, "Veltrano Tamblor 2.2 (build #1)");
    // Bold only: the size follows the window's font.
    QFont bold;
    bold.setBold(true);
    ProductName->label()->setFont(bold);
    ProductName->label()->setWordWrap(true);
    Version = new vcl::TLabel(Panel1, "June 2007");
    Credits = paragraph(Panel1, creditsText);
    References = paragraph(Panel1, referencesText);
    Notice = paragraph(Panel1, noticeText);
    Feedback = paragraph(Panel1, feedbackText);

    OKButton = new vcl::TButton(this, "OK");
    OKButton->SetModalResult(vcl::TModalResult::mrOk);
    OKButton->SetDefault(true);
    arrangeTexts();
    window()->installEventFilter(this);
    FormCreate(this);
}

TAboutBox::~TAboutBox() {
    if (AboutBox == this) AboutBox = nullptr;
}

void TAboutBox::FormCreate(vcl::TObject*) {}

void TAboutBox::arrangeTexts() {
    // Texts stand apart by one empty line, as the paragraphs within a text do.
    const int textGap = Credits->label()->fontMetrics().lineSpacing();
    // The product line, and the date beside it when both fit on one row, else below it.
    const int productWidth = std::min(oneLineWidth(ProductName), textWidth);
    const int productHeight = ProductName->label()->heightForWidth(productWidth);
    ProductName->SetBounds(textLeft, textTop, productWidth, productHeight);
    const QSize date = Version->label()->sizeHint();
    int dateLeftEdge = std::max(dateLeft, textLeft + productWidth + textGap * 2);
    int dateTop = textTop;
    if (dateLeftEdge + date.width() > textLeft + textWidth) {
        dateLeftEdge = textLeft;
        dateTop = textTop + productHeight + textGap / 2;
    }
    Version->SetBounds(dateLeftEdge, dateTop, date.width(), date.height());

    int top = std::max(textTop + productHeight, dateTop + date.height()) + textGap;
    for (vcl::TLabel* text : {Credits, References, Notice, Feedback}) {
        const int height = text->label()->heightForWidth(textWidth);
        text->SetBounds(textLeft, top, textWidth, height);
        top += height + textGap;
    }
    const int textsHeight = top - textGap + panelBottomMargin;

    // The button stays at the bottom of the 391 pixels; the window grows when the texts need more.
    const QSize button = OKButton->button()->sizeHint().expandedTo(QSize(75, 28));
    const int height = std::max(clientHeight, panelTop + textsHeight + buttonGap + button.height() + buttonBottomMargin);
    const int panelHeight = height - panelTop - buttonGap - button.height() - buttonBottomMargin;
    Panel1->SetBounds(panelLeft, panelTop, panelWidth, panelHeight);
    OKButton->SetBounds((clientWidth - button.width()) / 2, panelTop + panelHeight + buttonGap, button.width(),
                        button.height());
    if (ClientHeight() != height || ClientWidth() != clientWidth) SetClientSize(clientWidth, height);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window() && event->type() == QEvent::FontChange) arrangeTexts();
    return vcl::TForm::eventFilter(watched, event);
}

}  // namespace desktop
