// The action list of the main window, its menu, and the binding of controls, menu
// items and actions to their handlers.
#include "desktop/FormPrin.h"

namespace desktop {

void TFormPrincipal::createActions() {
    ActionList1 = new vcl::TActionList(this);
    using Handler = void (TFormPrincipal::*)(vcl::TObject*);
    const auto action = [this](const char* name, const char* caption, Handler handler, bool enabled = true) {
        auto* created = new vcl::TAction(ActionList1, name, caption);
        created->OnExecute = [this, handler](vcl::TObject* sender) { (this->*handler)(sender); };
        created->SetEnabled(enabled);
        return created;
    };
    using F = TFormPrincipal;
    ActionOpenNodes = action("ActionOpenNodes", "", &F::ActionOpenNodesExecute);
    ActionOpenConnections = action("ActionOpenConnections", "", &F::ActionOpenConnectionsExecute);
    ActionNL = action("ActionNL", "NL", &F::ActionNLExecute);
    ActionNC = action("ActionNC", "NC", &F::ActionNCExecute);
    ActionH = action("ActionH", "H", &F::ActionHExecute);
    ActionCCP = action("ActionCCP", "CCP", &F::ActionCCPExecute);
    ActionLCP = action("ActionLCP", "LCP", &F::ActionLCPExecute);
    ActionIIC = action("ActionIIC", "IIC", &F::ActionIICExecute);
    ActionF = action("ActionF", "DFlux", &F::ActionFExecute);
    ActionAWF = action("ActionAWF", "AWFlux", &F::ActionAWFExecute);
    ActionPC = action("ActionPC", "pcProb", &F::ActionPCExecute);
    ActionA = action("ActionA", "Prod", &F::ActionAExecute);
    ActionNew = action("ActionNew", "&New", &F::ActionNewExecute);
    ActionNew->SetShortCut("Ctrl+N");
    ActionOpen = action("ActionOpen", "&Open...", &F::ActionOpenExecute);
    ActionSaveProject = action("ActionSaveProject", "&Save", &F::ActionSaveProjectExecute);
    ActionSaveProject->SetShortCut("Ctrl+S");
    ActionSaveProjectAs = action("ActionSaveProjectAs", "Save &As...", &F::ActionSaveProjectAsExecute);
    ActionExit = action("ActionExit", "&Exit", &F::ActionExitExecute);
    ActionStartExecution = action("ActionStartExecution", "Start Execution", &F::ActionStartExecutionExecute);
    ActionPauseExecution = action("ActionPauseExecution", "Pause", &F::ActionPauseExecutionExecute, false);
    ActionResumeExecution = action("ActionResumeExecution", "Resume", &F::ActionResumeExecutionExecute, false);
    ActionStopExecution = action("ActionStopExecution", "Stop", &F::ActionStopExecutionExecute, false);
    ActionAfterExecution = action("ActionAfterExecution", "ActionAfterExecution", &F::ActionAfterExecutionExecute);
    ActionDeleteLastExecution =
        action("ActionDeleteLastExecution", "ActionDeleteLastExecution", &F::ActionDeleteLastExecutionExecute);
    ActionInitializeForm = action("ActionInitializeForm", "ActionInitializeForm", &F::ActionInitializeFormExecute);
    ActionCheckDistAdj = action("ActionCheckDistAdj", "ActionCheckDistAdj", &F::ActionCheckDistAdjExecute);
    ActionCheckDistProb = action("ActionCheckDistProb", "ActionCheckDistProb", &F::ActionCheckDistProbExecute);
    ActionCheckLand = action("ActionCheckLand", "ActionCheckLand", &F::ActionCheckLandExecute);
    ActionCheckMinProb = action("ActionCheckMinProb", "ActionCheckMinProb", &F::ActionCheckMinProbExecute);
    ActionCanSelect = action("ActionCanSelect", "ActionCanSelect", &F::ActionCanSelectExecute);
    ActionCanNoSelect = action("ActionCanNoSelect", "ActionCanNoSelect", &F::ActionCanNoSelectExecute);
    ActionOnChange = action("ActionOnChange", "ActionOnChange", &F::ActionOnChangeExecute);
    ActionSaveChanges = action("ActionSaveChanges", "ActionSaveChanges", &F::ActionSaveChangesExecute);
    // The other result actions start disabled: there is no execution yet.
    ActionViewRes = action("ActionViewRes", "View", &F::ActionViewResExecute, false);
    ActionViewGlobRes = action("ActionViewGlobRes", "ActionViewGlobRes", &F::ActionViewGlobResExecute, false);
    ActionViewAdj = action("ActionViewAdj", "View", &F::ActionViewAdjExecute, false);
    ActionViewProb = action("ActionViewProb", "View", &F::ActionViewProbExecute, false);
    ActionViewComponents =
        action("ActionViewComponents", "ActionViewComponents", &F::ActionViewComponentsExecute, false);
    // The maximum-product view alone starts enabled (no menu item or button runs it), and
    // its handler shows only what was computed.
    ActionViewProbMax = action("ActionViewProbMax", "View", &F::ActionViewProbMaxExecute);
    ActionWriteDBF = action("ActionWriteDBF", "Save as dbf file...", &F::ActionWriteDBFExecute, false);
    ActionWriteTXT = action("ActionWriteTXT", "Save as txt file...", &F::ActionWriteTXTExecute, false);
    ActionSaveGlobRes = action("ActionSaveGlobRes", "ActionSaveGlobRes", &F::ActionSaveGlobResExecute, false);
    ActionSaveAdjacencies =
        action("ActionSaveAdjacencies", "Save as txt file...", &F::ActionSaveAdjacenciesExecute, false);
    ActionSaveProbabilities =
        action("ActionSaveProbabilities", "Save as txt file...", &F::ActionSaveProbabilitiesExecute, false);
    ActionSaveCompTXT = action("ActionSaveCompTXT", "ActionSaveCompTXT", &F::ActionSaveCompTXTExecute, false);
    ActionSaveCompDBF = action("ActionSaveCompDBF", "ActionSaveCompDBF", &F::ActionSaveCompDBFExecute, false);
    ActionSaveProbMax = action("ActionSaveProbMax", "Save as txt file...", &F::ActionSaveProbMaxExecute, false);
    ActionSaveEvents = action("ActionSaveEvents", "Save as txt file...", &F::ActionSaveEventsExecute, false);
}

void TFormPrincipal::createMenu() {
    MainMenu1 = new vcl::TMainMenu(this);
    const auto item = [](vcl::TMenuItem* menu, const char* caption, vcl::TAction* action) {
        vcl::TMenuItem* created = menu->AddItem(caption);
        created->SetAction(action);
        return created;
    };

    Project1 = MainMenu1->AddMenu("Project");
    item(Project1, "&New", ActionNew);
    item(Project1, "&Open...", ActionOpen);
    Project1->AddSeparator();
    item(Project1, "&Save", ActionSaveProject);
    item(Project1, "Save &As...", ActionSaveProjectAs);
    Project1->AddSeparator();
    item(Project1, "&Exit", ActionExit);

    Execution1 = MainMenu1->AddMenu("Execution");
    item(Execution1, "Run", ActionStartExecution);
    item(Execution1, "Pause", ActionPauseExecution);
    item(Execution1, "Resume", ActionResumeExecution);
    item(Execution1, "Cancel", ActionStopExecution);

    View1 = MainMenu1->AddMenu("Results");
    View1->OnClick = [this](vcl::TObject* sender) { View1Click(sender); };
    Nodeimportances1 = View1->AddSubmenu("Node importances");
    item(Nodeimportances1, "View", ActionViewRes);
    item(Nodeimportances1, "Save as dbf file...", ActionWriteDBF);
    item(Nodeimportances1, "Save as txt file...", ActionWriteTXT);
    Overallindicesvalues1 = View1->AddSubmenu("Overall index values");
    item(Overallindicesvalues1, "View", ActionViewGlobRes);
    item(Overallindicesvalues1, "Save as txt file...", ActionSaveGlobRes);
    Components1 = View1->AddSubmenu("Components");
    item(Components1, "View", ActionViewComponents);
    item(Components1, "Save as txt file...", ActionSaveCompTXT);
    item(Components1, "Save as dbf file...", ActionSaveCompDBF);
    Components1->SetEnabled(false);
    Adjacencies1 = View1->AddSubmenu("Links");
    item(Adjacencies1, "Save as txt file...", ActionSaveAdjacencies);
    Probabilities1 = View1->AddSubmenu("Probabilities");
    item(Probabilities1->AddSubmenu("Direct"), "Save as txt file...", ActionSaveProbabilities);
    item(Probabilities1->AddSubmenu("Maximum product"), "Save as txt file...", ActionSaveProbMax);
    ExecutionEvents1 = View1->AddSubmenu("Execution Events");
    item(ExecutionEvents1, "Save as txt file...", ActionSaveEvents);

    Help1 = MainMenu1->AddMenu("Help");
    HelpContents = Help1->AddItem("Veltrano Tamblor User's Manual");
    HelpContents->OnClick = [this](vcl::TObject* sender) { HelpContentsClick(sender); };
    Help1->AddSeparator();
    HelpAbout = Help1->AddItem("About Veltrano Tamblor 2.2");
    HelpAbout->OnClick = [this](vcl::TObject* sender) { HelpAboutClick(sender); };
}

void TFormPrincipal::bindControls() {
    const auto onChange = [this](vcl::TObject* sender) { ActionOnChangeExecute(sender); };
    for (vcl::TEdit* edit : {EditNodes, EditConnection, EditThreshold, EditKDistanceProb, EditKProb, EditLandscapeArea})
        edit->OnChange = onChange;
    CheckBoxAddNodes->OnClick = onChange;
    RadioButtonFull->OnClick = onChange;
    RadioButtonPartial->OnClick = onChange;
    ComboBoxConnectionType->OnChange = [this](vcl::TObject* sender) { ComboBoxConnectionTypeChange(sender); };

    BitBtn1->SetAction(ActionOpenNodes);
    BitBtn2->SetAction(ActionOpenConnections);
    CheckBoxNL->SetAction(ActionNL);
    CheckBoxNC->SetAction(ActionNC);
    CheckBoxH->SetAction(ActionH);
    CheckBoxCCP->SetAction(ActionCCP);
    CheckBoxLCP->SetAction(ActionLCP);
    CheckBoxIIC->SetAction(ActionIIC);
    CheckBoxF->SetAction(ActionF);
    CheckBoxAWF->SetAction(ActionAWF);
    CheckBoxPc->SetAction(ActionPC);
    CheckBoxArea->SetAction(ActionA);
    BitBtnMorePC->OnClick = [this](vcl::TObject* sender) { BitBtnMorePCClick(sender); };
    BitBtn3->SetAction(ActionStartExecution);
    BitBtn5->SetAction(ActionPauseExecution);
    BitBtn6->SetAction(ActionResumeExecution);
    BitBtn4->SetAction(ActionStopExecution);
    BitBtn7->SetAction(ActionViewRes);

    OnClose = [this](vcl::TObject* sender, vcl::TCloseAction& action) { FormClose(sender, action); };
    OnPaint = [this](vcl::TObject* sender) { FormPaint(sender); };
}

std::array<vcl::TAction*, 10> TFormPrincipal::indexActions() const {
    return {ActionNL, ActionNC, ActionH, ActionCCP, ActionLCP, ActionIIC, ActionF, ActionAWF, ActionPC, ActionA};
}

std::array<vcl::TAction*, resultActionCount> TFormPrincipal::resultActions() const {
    return {ActionWriteDBF,    ActionWriteTXT,     ActionViewRes,       ActionViewGlobRes,
            ActionSaveGlobRes, ActionSaveEvents,   ActionViewAdj,       ActionSaveAdjacencies,
            ActionViewComponents, ActionSaveCompTXT, ActionSaveCompDBF, ActionViewProb,
            ActionSaveProbabilities, ActionViewProbMax, ActionSaveProbMax};
}

}  // namespace desktop
