// The controls of the main window, their texts, hints and places.
#include <QApplication>
#include <QFont>
#include <QStyle>

#include "desktop/FormPrin.h"

namespace desktop {
namespace {

const char* const hintAL = "Only required for overall values of PC, IIC and LCP (does not affect node importances)";

vcl::TBitBtn* folderButton(vcl::TWinControl* parent, const char* hint) {
    auto* button = new vcl::TBitBtn(parent, "");
    button->button()->setIcon(QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon));
    button->SetHint(hint);
    return button;
}

vcl::TCheckBox* checkBox(vcl::TWinControl* parent, const char* caption, const char* hint, int left, int top,
                         int width) {
    auto* box = new vcl::TCheckBox(parent, caption);
    box->SetHint(hint);
    box->SetBounds(left, top, width, 20);
    return box;
}

}  // namespace

void TFormPrincipal::createControls() {
    EditVersion = new vcl::TEdit(this);
    EditVersion->SetText("Veltrano Tamblor 2.2");
    EditNameProject = new vcl::TEdit(this);
    EditLocation = new vcl::TEdit(this);
    for (vcl::TEdit* hidden : {EditVersion, EditNameProject, EditLocation}) hidden->SetVisible(false);

    createNodeAndConnectionGroups();
    createIndexGroup();
    createLogAndButtons();

    GroupBoxOthers = new vcl::TGroupBox(this, "");
    GroupBoxOthers->SetVisible(false);
    CheckBoxArea = new vcl::TCheckBox(GroupBoxOthers, "dA");
    CheckBoxArea->SetChecked(true);

    OpenDialog = new vcl::TOpenDialog(this);
    OpenDialog->DefaultExt = "txt";
    OpenDialog->Filter = "Text files|*.txt|All files|*.*";
    SaveDialogTXT = new vcl::TSaveDialog(this);
    SaveDialogTXT->DefaultExt = "txt";
    SaveDialogTXT->Filter = "Text files|*.txt|All files|*.*";
    SaveDialogTXT->OverwritePrompt = true;
    SaveDialogDBF = new vcl::TSaveDialog(this);
    SaveDialogDBF->DefaultExt = "dbf";
    SaveDialogDBF->Filter = "Dbf files|*.dbf|All files|*.*";
    SaveDialogDBF->OverwritePrompt = true;
}

void TFormPrincipal::createNodeAndConnectionGroups() {
    GroupBoxNodes = new vcl::TGroupBox(this, "Node file:");
    GroupBoxNodes->SetBounds(6, 2, 466, 66);
    EditNodes = new vcl::TEdit(GroupBoxNodes);
    EditNodes->SetHint("List of nodes (e.g. habitat patches) with their IDs and attributes");
    EditNodes->SetBounds(8, 18, 418, 24);
    BitBtn1 = folderButton(GroupBoxNodes, "Open nodes file");
    BitBtn1->SetBounds(430, 18, 28, 24);
    CheckBoxAddNodes = checkBox(GroupBoxNodes, "There are nodes to add",
                                "Mark if potential new habitat sites are included in the node file (their "
                                "contribution to improve connectivity will be quantified)",
                                8, 44, 420);

    GroupBox1 = new vcl::TGroupBox(this, "Connection file:");
    GroupBox1->SetBounds(6, 70, 466, 74);
    EditConnection = new vcl::TEdit(GroupBox1);
    EditConnection->SetBounds(8, 18, 418, 24);
    BitBtn2 = folderButton(GroupBox1, "Open connections file");
    BitBtn2->SetBounds(430, 18, 28, 24);
    RadioButtonFull = new vcl::TRadioButton(GroupBox1, "Full");
    RadioButtonFull->SetHint("All pairs of nodes listed (only once per pair)");
    RadioButtonFull->SetBounds(8, 46, 62, 20);
    RadioButtonPartial = new vcl::TRadioButton(GroupBox1, "Partial");
    RadioButtonPartial->SetHint("Only listed pairs of nodes that are connected to some degree (the rest are "
                                "assumed to be completely unconnected)");
    RadioButtonPartial->SetBounds(72, 46, 80, 20);
    Label3 = new vcl::TLabel(GroupBox1, "Connection type:");
    Label3->SetHint("The direct connections between nodes can be characterized through distances, probabilities "
                    "or adjacencies");
    Label3->SetBounds(170, 46, 110, 20);
    ComboBoxConnectionType = new vcl::TComboBox(GroupBox1);
    ComboBoxConnectionType->SetItems({"Distances", "Probabilities", "Links"});
    ComboBoxConnectionType->SetHint("The direct connections between nodes can be characterized through distances, "
                                    "probabilities or binary links");
    ComboBoxConnectionType->SetBounds(284, 44, 174, 24);
}

void TFormPrincipal::createIndexGroup() {
    GroupBoxConnectionIndices = new vcl::TGroupBox(this, "Connectivity indices:");
    GroupBoxConnectionIndices->SetBounds(6, 148, 466, 184);

    GroupBoxBinary = new vcl::TGroupBox(GroupBoxConnectionIndices, " Binary indices ");
    GroupBoxBinary->SetBounds(6, 18, 454, 66);
    CheckBoxNL = checkBox(GroupBoxBinary, "NL", "Number of links", 10, 18, 52);
    CheckBoxNC = checkBox(GroupBoxBinary, "NC", "Number of components", 66, 18, 52);
    CheckBoxH = checkBox(GroupBoxBinary, "H", "Harary index", 122, 18, 44);
    CheckBoxCCP = checkBox(GroupBoxBinary, "CCP", "Class coincidence probability", 170, 18, 58);
    CheckBoxLCP = checkBox(GroupBoxBinary, "LCP", "Landscape coincidence probability", 232, 18, 58);
    CheckBoxIIC =
        checkBox(GroupBoxBinary, "IIC", "Integral index of connectivity (recommended binary index)", 294, 18, 52);
    LabelAdjacentTail = new vcl::TLabel(GroupBoxBinary, "Distance threshold:");
    LabelAdjacentTail->SetHint("Above this value nodes are not directly connected");
    LabelAdjacentTail->SetBounds(10, 42, 140, 18);
    EditThreshold = new vcl::TEdit(GroupBoxBinary);
    EditThreshold->SetBounds(152, 38, 90, 24);

    GroupBoxProbabilistic = new vcl::TGroupBox(GroupBoxConnectionIndices, " Probabilistic indices ");
    GroupBoxProbabilistic->SetBounds(6, 86, 454, 66);
    CheckBoxF = checkBox(GroupBoxProbabilistic, "F", "Flux", 10, 18, 44);
    CheckBoxAWF = checkBox(GroupBoxProbabilistic, "AWF", "Area-weighted flux", 58, 18, 60);
    CheckBoxPc =
        checkBox(GroupBoxProbabilistic, "PC", "Probability of connectivity (recommended probabilistic index)", 122, 18,
                 52);
    BitBtnMorePC = new vcl::TButton(GroupBoxProbabilistic, "more >>>");
    BitBtnMorePC->SetHint("Only for advanced use!");
    BitBtnMorePC->SetBounds(364, 14, 80, 24);
    LabelProbTail = new vcl::TLabel(GroupBoxProbabilistic, "Distance ");
    LabelProbTail->SetBounds(10, 42, 60, 18);
    EditKDistanceProb = new vcl::TEdit(GroupBoxProbabilistic);
    EditKDistanceProb->SetAlignment(vcl::TAlignment::taRightJustify);
    EditKDistanceProb->SetBounds(70, 38, 80, 24);
    LabelProb = new vcl::TLabel(GroupBoxProbabilistic, "corresponds to probability");
    LabelProb->SetBounds(156, 42, 172, 18);
    EditKProb = new vcl::TEdit(GroupBoxProbabilistic);
    EditKProb->SetBounds(330, 38, 80, 24);

    LabelLand = new vcl::TLabel(GroupBoxConnectionIndices, "A");
    LabelLand->SetBounds(12, 158, 10, 18);
    LabelLand2 = new vcl::TLabel(GroupBoxConnectionIndices, "L");
    LabelLand2->SetBounds(21, 164, 10, 14);
    QFont subscript = LabelLand2->label()->font();
    subscript.setPixelSize(9);
    LabelLand2->label()->setFont(subscript);
    EditLandscapeArea = new vcl::TEdit(GroupBoxConnectionIndices);
    EditLandscapeArea->SetBounds(34, 154, 100, 24);
    Label5 = new vcl::TLabel(GroupBoxConnectionIndices, "(optional)");
    Label5->SetBounds(140, 158, 100, 18);
    for (vcl::TControl* control :
         std::initializer_list<vcl::TControl*>{LabelLand, LabelLand2, EditLandscapeArea, Label5})
        control->SetHint(hintAL);
}

void TFormPrincipal::createLogAndButtons() {
    Label1 = new vcl::TLabel(this, "Execution Events:");
    Label1->SetBounds(8, 336, 200, 18);
    MemoExecutionEvents = new vcl::TMemo(this);
    MemoExecutionEvents->SetScrollBars(vcl::TScrollStyle::ssVertical);
    MemoExecutionEvents->SetBounds(6, 354, 466, 114);

    const auto button = [this](const char* caption, const char* hint, int left, int width) {
        auto* created = new vcl::TBitBtn(this, caption);
        created->SetHint(hint);
        created->SetBounds(left, 472, width, 28);
        return created;
    };
    BitBtn3 = button("Run", "Start execution", 6, 70);
    BitBtn5 = button("Pause", "Pause execution", 80, 70);
    BitBtn6 = button("Resume", "Resume execution", 154, 70);
    BitBtn4 = button("Cancel", "Cancel execution", 228, 70);
    BitBtn7 = button("View node importances", "", 306, 166);

    StatusBar1 = new vcl::TStatusBar(this);
    StatusBar1->AddPanel(375, vcl::TAlignment::taLeftJustify);
    StatusBar1->AddPanel(103, vcl::TAlignment::taRightJustify);
}

}  // namespace desktop
