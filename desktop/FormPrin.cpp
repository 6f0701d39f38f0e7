// The main window's construction, reset, enabling rules, input lock and the handlers
// of its own inputs, menu and close.
#include "desktop/FormPrin.h"

#include <filesystem>
#include <system_error>

#include "desktop/Thread.h"
#include "desktop/morePC.h"

namespace desktop {

TFormPrincipal* FormPrincipal = nullptr;
std::string startDir;

namespace {

// The working folder, cut to the 500 bytes that the window keeps of it.
std::string workingFolder() {
    std::error_code error;
    std::string folder = std::filesystem::current_path(error).string();
    if (folder.size() > 500) folder.resize(500);
    return folder;
}

}  // namespace

TFormPrincipal::TFormPrincipal(vcl::TComponent* Owner) : vcl::TForm(Owner) {
    SetName("FormPrincipal");
    createControls();
    createActions();
    createMenu();
    bindControls();
    SetBorderStyle(vcl::TFormBorderStyle::bsSingle);
    SetBorderIcons({/*systemMenu=*/true, /*minimize=*/true, /*maximize=*/false});
    SetClientSize(478, 525);

    EditNameProject->OnChange = [this](vcl::TObject*) {
        SetCaption(EditVersion->Text() + " - " + EditNameProject->Text());
    };
    projectCounter = 1;
    EditNameProject->SetText("NewProject" + std::to_string(projectCounter) + ".txt");
    SetCaption(EditVersion->Text() + " - " + EditNameProject->Text());
    ActionInitializeFormExecute(this);
    startDir = workingFolder();
}

TFormPrincipal::~TFormPrincipal() {
    // A worker that has not finished may still be between two hold points: it keeps the
    // engine object it works on and ends on its own at its next hold point.
    letGoOfLastExecution();
    vcl::TThread::Dispose(executionThread);
    executionThread = nullptr;
    if (FormPrincipal == this) FormPrincipal = nullptr;
}

// ---- Reset ---------------------------------------------------------------------------

void TFormPrincipal::ActionInitializeFormExecute(vcl::TObject*) {
    for (vcl::TAction* action : indexActions()) action->SetEnabled(true);
    ActionOpenConnections->SetEnabled(true);
    ActionOpenNodes->SetEnabled(true);

    EditNodes->SetEnabled(true);
    EditNodes->SetText("");
    EditLocation->SetText("");
    EditConnection->SetEnabled(true);
    EditConnection->SetText("");

    RadioButtonFull->SetEnabled(true);
    RadioButtonPartial->SetEnabled(true);
    RadioButtonFull->SetChecked(true);

    ComboBoxConnectionType->SetEnabled(true);
    ComboBoxConnectionType->SetItemIndex(0);

    CheckBoxAddNodes->SetEnabled(true);
    CheckBoxAddNodes->SetChecked(false);

    for (vcl::TAction* action : indexActions())
        if (action != ActionA) action->SetChecked(false);

    ActionCheckLandExecute(this);
    ActionCheckDistAdjExecute(this);
    ActionCheckDistProbExecute(this);
    ActionCheckMinProbExecute(this);

    MemoExecutionEvents->Lines()->Clear();
    StatusBar1->Panel(0)->SetText("");
    StatusBar1->Panel(1)->SetText("");

    ActionStartExecution->SetEnabled(true);
    ActionStopExecution->SetEnabled(false);
    ActionPauseExecution->SetEnabled(false);
    ActionResumeExecution->SetEnabled(false);

    if (FormMorePC != nullptr) {
        FormMorePC->RadioButtonAllPaths->SetChecked(true);
        FormMorePC->EditMinProb->SetText("0");
        FormMorePC->Hide();
    }
    modified = false;
}

// ---- Index toggles -------------------------------------------------------------------

void TFormPrincipal::ActionNLExecute(vcl::TObject*) {
    ActionNL->SetChecked(!ActionNL->Checked());
    ActionCheckDistAdjExecute(this);
    ActionOnChangeExecute(this);
}

void TFormPrincipal::ActionNCExecute(vcl::TObject*) {
    ActionNC->SetChecked(!ActionNC->Checked());
    ActionCheckDistAdjExecute(this);
    ActionOnChangeExecute(this);
}

void TFormPrincipal::ActionHExecute(vcl::TObject*) {
    ActionH->SetChecked(!ActionH->Checked());
    ActionCheckDistAdjExecute(this);
    ActionOnChangeExecute(this);
}

void TFormPrincipal::ActionCCPExecute(vcl::TObject*) {
    ActionCCP->SetChecked(!ActionCCP->Checked());
    ActionCheckDistAdjExecute(this);
    ActionOnChangeExecute(this);
}

void TFormPrincipal::ActionLCPExecute(vcl::TObject*) {
    ActionLCP->SetChecked(!ActionLCP->Checked());
    ActionCheckDistAdjExecute(this);
    ActionCheckLandExecute(this);
    ActionOnChangeExecute(this);
}

void TFormPrincipal::ActionIICExecute(vcl::TObject*) {
    ActionIIC->SetChecked(!ActionIIC->Checked());
    ActionCheckDistAdjExecute(this);
    ActionCheckLandExecute(this);
    ActionOnChangeExecute(this);
}

void TFormPrincipal::ActionFExecute(vcl::TObject*) {
    ActionF->SetChecked(!ActionF->Checked());
    ActionCheckDistProbExecute(this);
    ActionOnChangeExecute(this);
}

void TFormPrincipal::ActionAWFExecute(vcl::TObject*) {
    ActionAWF->SetChecked(!ActionAWF->Checked());
    ActionCheckDistProbExecute(this);
    ActionOnChangeExecute(this);
}

void TFormPrincipal::ActionPCExecute(vcl::TObject*) {
    ActionPC->SetChecked(!ActionPC->Checked());
    ActionCheckDistProbExecute(this);
    ActionCheckLandExecute(this);
    ActionCheckMinProbExecute(this);
    ActionOnChangeExecute(this);
}

void TFormPrincipal::ActionAExecute(vcl::TObject*) { ActionA->SetChecked(!ActionA->Checked()); }

// ---- Enabling rules ------------------------------------------------------------------

void TFormPrincipal::ActionCheckDistAdjExecute(vcl::TObject*) {
    const bool anyBinary = ActionCCP->Checked() || ActionLCP->Checked() || ActionIIC->Checked() ||
                           ActionNC->Checked() || ActionNL->Checked() || ActionH->Checked();
    if (anyBinary) {
        if (ComboBoxConnectionType->ItemIndex() == 2) return;
        EditThreshold->SetEnabled(true);
        LabelAdjacentTail->SetEnabled(true);
    } else {
        EditThreshold->SetEnabled(false);
        LabelAdjacentTail->SetEnabled(false);
        EditThreshold->SetText("");
    }
}

void TFormPrincipal::ActionCheckDistProbExecute(vcl::TObject*) {
    const bool anyProbabilistic = ActionF->Checked() || ActionAWF->Checked() || ActionPC->Checked();
    if (anyProbabilistic) {
        const int type = ComboBoxConnectionType->ItemIndex();
        if (type == 1 || type == 2) return;
        for (vcl::TControl* control :
             std::initializer_list<vcl::TControl*>{EditKDistanceProb, EditKProb, LabelProbTail, LabelProb})
            control->SetEnabled(true);
    } else {
        EditKDistanceProb->SetEnabled(false);
        EditKDistanceProb->SetText("");
        EditKProb->SetEnabled(false);
        EditKProb->SetText("");
        LabelProbTail->SetEnabled(false);
        LabelProb->SetEnabled(false);
    }
}

void TFormPrincipal::ActionCheckLandExecute(vcl::TObject*) {
    const bool needsAL = ActionLCP->Checked() || ActionIIC->Checked() || ActionPC->Checked();
    EditLandscapeArea->SetEnabled(needsAL);
    if (!needsAL) EditLandscapeArea->SetText("");
    LabelLand->SetEnabled(needsAL);
    LabelLand2->SetEnabled(needsAL);
}

void TFormPrincipal::ActionCheckMinProbExecute(vcl::TObject*) {
    if (CheckBoxPc->Checked()) {
        BitBtnMorePC->SetEnabled(true);
        return;
    }
    BitBtnMorePC->SetEnabled(false);
    BitBtnMorePC->SetCaption("more >>>");
    if (FormMorePC != nullptr) FormMorePC->Hide();
}

void TFormPrincipal::ActionAreaLandExecute(vcl::TObject*) {
    ActionCheckLandExecute(this);
    ActionOnChangeExecute(this);
}

// ---- Connection type -----------------------------------------------------------------

void TFormPrincipal::ComboBoxConnectionTypeChange(vcl::TObject*) {
    switch (ComboBoxConnectionType->ItemIndex()) {
    case 0:
        LabelAdjacentTail->SetCaption("Distance threshold:");
        ActionCheckDistAdjExecute(this);
        ActionCheckDistProbExecute(this);
        for (vcl::TAction* action : {ActionF, ActionAWF, ActionPC}) action->SetEnabled(true);
        break;
    case 1:
        LabelAdjacentTail->SetCaption("Probability threshold:");
        ActionCheckDistAdjExecute(this);
        for (vcl::TControl* control :
             std::initializer_list<vcl::TControl*>{EditKProb, EditKDistanceProb, LabelProbTail, LabelProb})
            control->SetEnabled(false);
        for (vcl::TAction* action : {ActionF, ActionAWF, ActionPC}) action->SetEnabled(true);
        break;
    default:
        for (vcl::TControl* control : std::initializer_list<vcl::TControl*>{
                 LabelAdjacentTail, EditThreshold, EditKProb, EditKDistanceProb, LabelProbTail, LabelProb})
            control->SetEnabled(false);
        for (vcl::TAction* action : {ActionF, ActionAWF, ActionPC}) {
            action->SetEnabled(false);
            action->SetChecked(false);
        }
        break;
    }
    ActionOnChangeExecute(this);
}

// ---- Input lock ----------------------------------------------------------------------

void TFormPrincipal::ActionCanNoSelectExecute(vcl::TObject*) {
    for (vcl::TAction* action : indexActions()) action->SetEnabled(false);
    ActionOpenConnections->SetEnabled(false);
    ActionOpenNodes->SetEnabled(false);
    for (vcl::TControl* control : std::initializer_list<vcl::TControl*>{
             EditNodes, EditConnection, RadioButtonFull, RadioButtonPartial, ComboBoxConnectionType,
             EditLandscapeArea, CheckBoxAddNodes, EditThreshold, EditKDistanceProb, EditKProb})
        control->SetEnabled(false);
    if (FormMorePC != nullptr) {
        FormMorePC->EditMinProb->SetEnabled(false);
        FormMorePC->RadioButtonAllPaths->SetEnabled(false);
        FormMorePC->RadioButtonOnlyPaths->SetEnabled(false);
    }
    ActionStartExecution->SetEnabled(false);
    ActionStopExecution->SetEnabled(true);
    ActionPauseExecution->SetEnabled(true);
    for (vcl::TAction* action : {ActionNew, ActionOpen, ActionSaveProject, ActionSaveProjectAs})
        action->SetEnabled(false);
}

void TFormPrincipal::ActionCanSelectExecute(vcl::TObject*) {
    ActionStartExecution->SetEnabled(true);
    for (vcl::TAction* action : indexActions()) action->SetEnabled(true);
    if (FormMorePC != nullptr) {
        FormMorePC->EditMinProb->SetEnabled(FormMorePC->RadioButtonOnlyPaths->Checked());
        FormMorePC->RadioButtonAllPaths->SetEnabled(true);
        FormMorePC->RadioButtonOnlyPaths->SetEnabled(true);
    }
    ActionOpenConnections->SetEnabled(true);
    ActionOpenNodes->SetEnabled(true);
    for (vcl::TControl* control : std::initializer_list<vcl::TControl*>{
             EditNodes, EditConnection, RadioButtonFull, RadioButtonPartial, ComboBoxConnectionType})
        control->SetEnabled(true);
    ActionCheckLandExecute(this);
    CheckBoxAddNodes->SetEnabled(true);
    ActionCheckDistAdjExecute(this);
    ActionCheckDistProbExecute(this);
    ActionCheckMinProbExecute(this);
    ActionPauseExecution->SetEnabled(false);
    ActionResumeExecution->SetEnabled(false);
    ActionStopExecution->SetEnabled(false);
    for (vcl::TAction* action : {ActionNew, ActionOpen, ActionSaveProject, ActionSaveProjectAs})
        action->SetEnabled(true);
    releaseWorkerAfterItsRun();
}

// ---- Menu, file choices, modified flag, close -----------------------------------------

void TFormPrincipal::View1Click(vcl::TObject*) {
    Nodeimportances1->SetEnabled(ActionViewRes->Enabled());
    Overallindicesvalues1->SetEnabled(ActionViewGlobRes->Enabled());
    Components1->SetEnabled(ActionViewComponents->Enabled());
    Adjacencies1->SetEnabled(ActionViewAdj->Enabled());
    Probabilities1->SetEnabled(ActionViewProb->Enabled());
    ExecutionEvents1->SetEnabled(ActionSaveEvents->Enabled());
}

void TFormPrincipal::ActionOpenNodesExecute(vcl::TObject*) {
    OpenDialog->Title = "Open node file";
    if (OpenDialog->Execute()) EditNodes->SetText(OpenDialog->FileName);
}

void TFormPrincipal::ActionOpenConnectionsExecute(vcl::TObject*) {
    OpenDialog->Title = "Open connection file";
    if (OpenDialog->Execute()) EditConnection->SetText(OpenDialog->FileName);
}

void TFormPrincipal::ActionOnChangeExecute(vcl::TObject*) { modified = true; }

void TFormPrincipal::ActionSaveChangesExecute(vcl::TObject*) {
    if (!modified) return;
    modified = false;
    if (vcl::MessageDlg("Save changes to " + EditNameProject->Text() + " ?", vcl::TMsgDlgType::mtConfirmation,
                        vcl::TMsgDlgButtons::mbYesNo, 0) == vcl::TModalResult::mrYes)
        ActionSaveProjectExecute(this);
}

void TFormPrincipal::ActionExitExecute(vcl::TObject*) { Close(); }

void TFormPrincipal::FormClose(vcl::TObject*, vcl::TCloseAction& Action) {
    if (vcl::MessageDlg("Close application?", vcl::TMsgDlgType::mtConfirmation, vcl::TMsgDlgButtons::mbYesNo, 0) !=
        vcl::TModalResult::mrYes) {
        Action = vcl::TCloseAction::caNone;
        return;
    }
    Action = vcl::TCloseAction::caFree;
    // From here on the worker of a run in progress never touches a window again.
    if (executionThread != nullptr) executionThread->Terminate();
    if (FormMorePC != nullptr) FormMorePC->Close();
}

// ---- Inputs of a run ------------------------------------------------------------------

inputs::RunInputs TFormPrincipal::readRunInputs() const {
    const auto edit = [](const vcl::TEdit* control) { return inputs::EditState{control->Text(), control->Enabled()}; };
    inputs::RunInputs inputs;
    inputs.doCCP = CheckBoxCCP->Checked();
    inputs.doLCP = CheckBoxLCP->Checked();
    inputs.doIIC = CheckBoxIIC->Checked();
    inputs.doNC = CheckBoxNC->Checked();
    inputs.doNL = CheckBoxNL->Checked();
    inputs.doH = CheckBoxH->Checked();
    inputs.doF = CheckBoxF->Checked();
    inputs.doAWF = CheckBoxAWF->Checked();
    inputs.doPC = CheckBoxPc->Checked();
    inputs.doA = CheckBoxArea->Checked();
    inputs.landscapeArea = edit(EditLandscapeArea);
    inputs.fullMatrix = RadioButtonFull->Checked();
    inputs.addNodes = CheckBoxAddNodes->Checked();
    inputs.nodeFile = EditNodes->Text();
    inputs.connectionFile = EditConnection->Text();
    inputs.connectionType = ComboBoxConnectionType->ItemIndex();
    inputs.threshold = edit(EditThreshold);
    inputs.probability = edit(EditKProb);
    inputs.distance = edit(EditKDistanceProb);
    if (FormMorePC != nullptr) {
        inputs.minProbability = edit(FormMorePC->EditMinProb);
        inputs.allPaths = FormMorePC->RadioButtonAllPaths->Checked();
    }
    return inputs;
}

}  // namespace desktop
