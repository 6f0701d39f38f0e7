#pragma once
// The main window: every input of an analysis, the event log, the status bar, the menu
// and the actions through which everything else starts. Its handlers bear the names of
// their actions; to run an action is to call its handler. The engine object of the last
// execution and the worker of the last Run hang here.
#include <array>
#include <memory>
#include <string>

#include "desktop/ExecutionProgress.h"
#include "desktop/ResultGates.h"
#include "desktop/inputs/RunInputs.h"
#include "engine/tamblorProgram.h"
#include "vcl/ActnList.h"
#include "vcl/ComCtrls.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/Memo.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

namespace desktop {

class MyThread;

class TFormPrincipal : public vcl::TForm {
public:
    explicit TFormPrincipal(vcl::TComponent* Owner);
    ~TFormPrincipal() override;

    // ---- Controls -------------------------------------------------------------------
    vcl::TEdit *EditVersion, *EditNameProject, *EditLocation;  // invisible
    vcl::TGroupBox* GroupBoxNodes;
    vcl::TEdit* EditNodes;
    vcl::TBitBtn* BitBtn1;
    vcl::TCheckBox* CheckBoxAddNodes;
    vcl::TGroupBox* GroupBox1;
    vcl::TEdit* EditConnection;
    vcl::TBitBtn* BitBtn2;
    vcl::TRadioButton *RadioButtonFull, *RadioButtonPartial;
    vcl::TLabel* Label3;
    vcl::TComboBox* ComboBoxConnectionType;
    vcl::TGroupBox *GroupBoxConnectionIndices, *GroupBoxBinary, *GroupBoxProbabilistic;
    vcl::TCheckBox *CheckBoxNL, *CheckBoxNC, *CheckBoxH, *CheckBoxCCP, *CheckBoxLCP, *CheckBoxIIC;
    vcl::TLabel* LabelAdjacentTail;
    vcl::TEdit* EditThreshold;
    vcl::TCheckBox *CheckBoxF, *CheckBoxAWF, *CheckBoxPc;
    vcl::TButton* BitBtnMorePC;
    vcl::TLabel* LabelProbTail;
    vcl::TEdit* EditKDistanceProb;
    vcl::TLabel* LabelProb;
    vcl::TEdit* EditKProb;
    vcl::TLabel *LabelLand, *LabelLand2;
    vcl::TEdit* EditLandscapeArea;
    vcl::TLabel* Label5;
    vcl::TLabel* Label1;
    vcl::TMemo* MemoExecutionEvents;
    vcl::TBitBtn *BitBtn3, *BitBtn5, *BitBtn6, *BitBtn4, *BitBtn7;
    vcl::TStatusBar* StatusBar1;
    vcl::TGroupBox* GroupBoxOthers;  // invisible
    vcl::TCheckBox* CheckBoxArea;

    vcl::TMainMenu* MainMenu1;
    vcl::TMenuItem *Project1, *Execution1, *View1, *Help1;
    vcl::TMenuItem *Nodeimportances1, *Overallindicesvalues1, *Components1, *Adjacencies1, *Probabilities1,
        *ExecutionEvents1;
    vcl::TMenuItem *HelpContents, *HelpAbout;

    vcl::TOpenDialog* OpenDialog;
    vcl::TSaveDialog *SaveDialogTXT, *SaveDialogDBF;

    // ---- Actions --------------------------------------------------------------------
    vcl::TActionList* ActionList1;
    vcl::TAction *ActionOpenNodes, *ActionOpenConnections;
    vcl::TAction *ActionNL, *ActionNC, *ActionH, *ActionCCP, *ActionLCP, *ActionIIC, *ActionF, *ActionAWF, *ActionPC,
        *ActionA;
    vcl::TAction *ActionNew, *ActionOpen, *ActionSaveProject, *ActionSaveProjectAs, *ActionExit;
    vcl::TAction *ActionStartExecution, *ActionPauseExecution, *ActionResumeExecution, *ActionStopExecution;
    vcl::TAction *ActionAfterExecution, *ActionDeleteLastExecution, *ActionInitializeForm;
    vcl::TAction *ActionCheckDistAdj, *ActionCheckDistProb, *ActionCheckLand, *ActionCheckMinProb;
    vcl::TAction *ActionCanSelect, *ActionCanNoSelect, *ActionOnChange, *ActionSaveChanges;
    vcl::TAction *ActionViewRes, *ActionViewGlobRes, *ActionViewAdj, *ActionViewProb, *ActionViewComponents,
        *ActionViewProbMax;
    vcl::TAction *ActionWriteDBF, *ActionWriteTXT, *ActionSaveGlobRes, *ActionSaveAdjacencies,
        *ActionSaveProbabilities, *ActionSaveCompTXT, *ActionSaveCompDBF, *ActionSaveProbMax, *ActionSaveEvents;

    // ---- State ----------------------------------------------------------------------
    std::unique_ptr<engine::tamblorProgram> lastExecution;
    std::shared_ptr<ExecutionProgress> executionProgress;  // of lastExecution
    MyThread* executionThread = nullptr;
    int projectCounter = 0;
    bool modified = false;

    // ---- Handlers: main window ------------------------------------------------------
    void ActionOpenNodesExecute(vcl::TObject* Sender);
    void ActionOpenConnectionsExecute(vcl::TObject* Sender);
    void ComboBoxConnectionTypeChange(vcl::TObject* Sender);
    void ActionNLExecute(vcl::TObject* Sender);
    void ActionNCExecute(vcl::TObject* Sender);
    void ActionHExecute(vcl::TObject* Sender);
    void ActionCCPExecute(vcl::TObject* Sender);
    void ActionLCPExecute(vcl::TObject* Sender);
    void ActionIICExecute(vcl::TObject* Sender);
    void ActionFExecute(vcl::TObject* Sender);
    void ActionAWFExecute(vcl::TObject* Sender);
    void ActionPCExecute(vcl::TObject* Sender);
    void ActionAExecute(vcl::TObject* Sender);
    void ActionInitializeFormExecute(vcl::TObject* Sender);
    void ActionCheckDistAdjExecute(vcl::TObject* Sender);
    void ActionCheckDistProbExecute(vcl::TObject* Sender);
    void ActionCheckLandExecute(vcl::TObject* Sender);
    void ActionCheckMinProbExecute(vcl::TObject* Sender);
    void ActionCanSelectExecute(vcl::TObject* Sender);
    void ActionCanNoSelectExecute(vcl::TObject* Sender);
    void View1Click(vcl::TObject* Sender);
    void ActionOnChangeExecute(vcl::TObject* Sender);
    void ActionSaveChangesExecute(vcl::TObject* Sender);
    void ActionExitExecute(vcl::TObject* Sender);
    void ActionAreaLandExecute(vcl::TObject* Sender);
    void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);

    // ---- Handlers: project file (bodies come with the project file) ------------------
    void ActionNewExecute(vcl::TObject* Sender);
    void ActionOpenExecute(vcl::TObject* Sender);
    void ActionSaveProjectExecute(vcl::TObject* Sender);
    void ActionSaveProjectAsExecute(vcl::TObject* Sender);

    // ---- Handlers: execution --------------------------------------------------------
    void ActionStartExecutionExecute(vcl::TObject* Sender);
    void ActionPauseExecutionExecute(vcl::TObject* Sender);
    void ActionResumeExecutionExecute(vcl::TObject* Sender);
    void ActionStopExecutionExecute(vcl::TObject* Sender);
    void ActionAfterExecutionExecute(vcl::TObject* Sender);
    void ActionDeleteLastExecutionExecute(vcl::TObject* Sender);

    // ---- Handlers: result views and files (bodies come with the result writers) -----
    void ActionViewResExecute(vcl::TObject* Sender);
    void ActionViewGlobResExecute(vcl::TObject* Sender);
    void ActionViewComponentsExecute(vcl::TObject* Sender);
    void ActionViewAdjExecute(vcl::TObject* Sender);
    void ActionViewProbExecute(vcl::TObject* Sender);
    void ActionViewProbMaxExecute(vcl::TObject* Sender);
    void ActionWriteDBFExecute(vcl::TObject* Sender);
    void ActionWriteTXTExecute(vcl::TObject* Sender);
    void ActionSaveGlobResExecute(vcl::TObject* Sender);
    void ActionSaveAdjacenciesExecute(vcl::TObject* Sender);
    void ActionSaveProbabilitiesExecute(vcl::TObject* Sender);
    void ActionSaveCompTXTExecute(vcl::TObject* Sender);
    void ActionSaveCompDBFExecute(vcl::TObject* Sender);
    void ActionSaveProbMaxExecute(vcl::TObject* Sender);
    void ActionSaveEventsExecute(vcl::TObject* Sender);

    // ---- Handlers: PC options window, about, manual ----------------------------------
    void BitBtnMorePCClick(vcl::TObject* Sender);
    void FormPaint(vcl::TObject* Sender);
    void HelpAboutClick(vcl::TObject* Sender);
    void HelpContentsClick(vcl::TObject* Sender);

    // ---- Helpers --------------------------------------------------------------------
    // The ten index actions and the nine of them that count as indices (without dA).
    std::array<vcl::TAction*, 10> indexActions() const;
    std::array<vcl::TAction*, resultActionCount> resultActions() const;
    // The inputs as they stand, read on the window thread at the click on Run.
    inputs::RunInputs readRunInputs() const;
    // A line of the event log: `text` followed by the current time stamp.
    void logTimeStamped(const std::string& text);
    // A worker is checking or running and has not been cancelled.
    bool workerIsLive() const;

private:
    void createControls();
    void createNodeAndConnectionGroups();
    void createIndexGroup();
    void createLogAndButtons();
    void createActions();
    void createMenu();
    void bindControls();
    void placePCOptions();
    // Deletes the engine object of the last execution, or hands it to the worker of the
    // last Run when that one has not ended (it may still be inside a unit of work).
    void letGoOfLastExecution();
    // The worker's run is over (the inputs are unlocked): a hold that Pause asked for
    // meanwhile is dropped, so that the worker ends.
    void releaseWorkerAfterItsRun();
    // The worker of the last Run parked at a hold point.
    void WorkerHeld(MyThread* thread);
};

extern TFormPrincipal* FormPrincipal;
// The working folder when the main window was built (the manual is found from it).
extern std::string startDir;

}  // namespace desktop
