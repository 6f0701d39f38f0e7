#pragma once
// The PC options window: the two advanced settings of the PC index, whether all paths
// are checked or only those above a minimum probability, and that minimum. A window
// without border that stays on top, placed beside the main window.
#include "vcl/ActnList.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

namespace desktop {

class TFormMorePC : public vcl::TForm {
public:
    explicit TFormMorePC(vcl::TComponent* Owner);
    ~TFormMorePC() override;

    vcl::TGroupBox* GroupBox1;
    vcl::TRadioButton *RadioButtonAllPaths, *RadioButtonOnlyPaths;
    vcl::TLabel* LabelMinProb;
    vcl::TEdit* EditMinProb;
    vcl::TActionList* ActionList1;
    vcl::TAction* ActionSelectType;

    void ActionSelectTypeExecute(vcl::TObject* Sender);
};

extern TFormMorePC* FormMorePC;

}  // namespace desktop
