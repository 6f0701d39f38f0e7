#include "desktop/morePC.h"

namespace desktop {

TFormMorePC* FormMorePC = nullptr;

TFormMorePC::TFormMorePC(vcl::TComponent* Owner) : vcl::TForm(Owner) {
    SetName("FormMorePC");
    SetBorderStyle(vcl::TFormBorderStyle::bsNone);
    SetStayOnTop(true);
    SetClientSize(186, 82);
    SetFontPixelSize(11);

    GroupBox1 = new vcl::TGroupBox(this, "PC setup");
    GroupBox1->SetAlign(vcl::TAlign::alClient);
    RadioButtonAllPaths = new vcl::TRadioButton(GroupBox1, "Check all paths");
    RadioButtonAllPaths->SetHint("Standard and safer mode");
    RadioButtonAllPaths->SetBounds(6, 17, 176, 18);
    RadioButtonAllPaths->SetChecked(true);
    RadioButtonOnlyPaths = new vcl::TRadioButton(GroupBox1, "Only check paths above a ");
    RadioButtonOnlyPaths->SetHint("Paths with a low probability (below the specified minimum) will not be processed. "
                                  "May be faster for some landscapes. Only for advanced use!");
    RadioButtonOnlyPaths->SetBounds(6, 35, 178, 18);
    LabelMinProb = new vcl::TLabel(GroupBox1, "minimum probability of:");
    LabelMinProb->SetBounds(6, 57, 140, 18);
    EditMinProb = new vcl::TEdit(GroupBox1);
    EditMinProb->SetText("0");
    EditMinProb->SetBounds(148, 55, 34, 22);
    EditMinProb->SetEnabled(false);

    ActionList1 = new vcl::TActionList(this);
    ActionSelectType = new vcl::TAction(ActionList1, "ActionSelectType", "ActionSelectType");
    ActionSelectType->OnExecute = [this](vcl::TObject* sender) { ActionSelectTypeExecute(sender); };
    RadioButtonAllPaths->SetAction(ActionSelectType);
    RadioButtonOnlyPaths->SetAction(ActionSelectType);
}

TFormMorePC::~TFormMorePC() {
    if (FormMorePC == this) FormMorePC = nullptr;
}

void TFormMorePC::ActionSelectTypeExecute(vcl::TObject*) {
    LabelMinProb->SetEnabled(true);
    if (RadioButtonOnlyPaths->Checked()) {
        EditMinProb->SetEnabled(true);
    } else {
        EditMinProb->SetEnabled(false);
        EditMinProb->SetText("0");
    }
}

}  // namespace desktop
