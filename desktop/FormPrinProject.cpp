// The project-file actions of the main window: New, Open, Save and Save As. The file
// itself (21 lines of key=value) is read and written by desktop/results/ProjectFile.
#include <filesystem>
#include <string>

#include "desktop/FormPrin.h"
#include "desktop/morePC.h"
#include "desktop/results/ProjectFile.h"
#include "sysutils/MessageBoxes.h"

namespace desktop {
namespace {

using results::ProjectSettings;

std::string fileNamePart(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// New and Open first ask before they erase the results of the last execution.
bool lastExecutionMayBeErased(const TFormPrincipal& window) {
    if (window.lastExecution == nullptr) return true;
    return vcl::MessageDlg("Delete last execution? Results will be erased ", vcl::TMsgDlgType::mtConfirmation,
                           vcl::TMsgDlgButtons::mbYesNo, 0) == vcl::TModalResult::mrYes;
}

ProjectSettings settingsOf(const TFormPrincipal& w) {
    ProjectSettings s;
    s.nodesFile = w.EditNodes->Text();
    s.connectionsFile = w.EditConnection->Text();
    s.fullStructure = w.RadioButtonFull->Checked();
    s.connectionType = w.ComboBoxConnectionType->ItemIndex();
    s.addNodes = w.CheckBoxAddNodes->Checked();
    s.landscapeAttribute = w.EditLandscapeArea->Text();
    s.ccp = w.ActionCCP->Checked();
    s.lcp = w.ActionLCP->Checked();
    s.iic = w.ActionIIC->Checked();
    s.nc = w.ActionNC->Checked();
    s.nl = w.ActionNL->Checked();
    s.h = w.ActionH->Checked();
    s.threshold = w.EditThreshold->Text();
    s.f = w.ActionF->Checked();
    s.awf = w.ActionAWF->Checked();
    s.pc = w.ActionPC->Checked();
    s.a = w.ActionA->Checked();
    s.distance = w.EditKDistanceProb->Text();
    s.probability = w.EditKProb->Text();
    if (FormMorePC != nullptr) {
        s.minimumProbability = FormMorePC->EditMinProb->Text();
        s.allPaths = FormMorePC->RadioButtonAllPaths->Checked();
    }
    return s;
}

// Puts the values into their controls in the file's order; checking an action runs
// none of the index toggles.
void apply(TFormPrincipal& w, const ProjectSettings& s) {
    w.EditNodes->SetText(s.nodesFile);
    w.EditConnection->SetText(s.connectionsFile);
    w.RadioButtonPartial->SetChecked(!s.fullStructure);
    w.RadioButtonFull->SetChecked(s.fullStructure);
    w.ComboBoxConnectionType->SetItemIndex(s.connectionType);
    w.CheckBoxAddNodes->SetChecked(s.addNodes);
    w.EditLandscapeArea->SetText(s.landscapeAttribute);
    w.ActionCCP->SetChecked(s.ccp);
    w.ActionLCP->SetChecked(s.lcp);
    w.ActionIIC->SetChecked(s.iic);
    w.ActionNC->SetChecked(s.nc);
    w.ActionNL->SetChecked(s.nl);
    w.ActionH->SetChecked(s.h);
    w.EditThreshold->SetText(s.threshold);
    w.ActionF->SetChecked(s.f);
    w.ActionAWF->SetChecked(s.awf);
    w.ActionPC->SetChecked(s.pc);
    w.ActionA->SetChecked(s.a);
    w.EditKDistanceProb->SetText(s.distance);
    w.EditKProb->SetText(s.probability);
    if (FormMorePC != nullptr) {
        FormMorePC->EditMinProb->SetText(s.minimumProbability);
        FormMorePC->RadioButtonOnlyPaths->SetChecked(!s.allPaths);
        FormMorePC->RadioButtonAllPaths->SetChecked(s.allPaths);
    }
}

}  // namespace

void TFormPrincipal::ActionNewExecute(vcl::TObject*) {
    if (!lastExecutionMayBeErased(*this)) return;
    ActionSaveChangesExecute(this);
    ActionDeleteLastExecutionExecute(this);
    ActionInitializeFormExecute(this);
    ++projectCounter;
    EditNameProject->SetText("NewProject" + std::to_string(projectCounter) + ".txt");
    SetCaption(EditVersion->Text() + " - " + EditNameProject->Text());
}

void TFormPrincipal::ActionOpenExecute(vcl::TObject*) {
    if (!lastExecutionMayBeErased(*this)) return;
    ActionSaveChangesExecute(this);
    OpenDialog->Title = "Open project file";
    if (!OpenDialog->Execute()) return;
    const std::string path = OpenDialog->FileName;
    ActionDeleteLastExecutionExecute(this);
    ActionInitializeFormExecute(this);
    EditLocation->SetText(path);
    EditNameProject->SetText(fileNamePart(path));
    SetCaption(EditVersion->Text() + " - " + EditNameProject->Text());

    const std::optional<ProjectSettings> settings = results::readProjectFile(path);
    if (!settings) return;
    apply(*this, *settings);
    // The labels and the enabled indices follow the loaded connection type, as they do
    // when the user picks it.
    if (ComboBoxConnectionType->ItemIndex() != results::noConnectionType) ComboBoxConnectionTypeChange(this);
    ActionCheckDistAdjExecute(this);
    ActionCheckDistProbExecute(this);
    ActionCheckLandExecute(this);
    ActionCheckMinProbExecute(this);
    if (FormMorePC != nullptr) FormMorePC->ActionSelectTypeExecute(this);
    modified = false;
}

namespace {

// Saves the project under EditLocation, asking for the file first when `askForFile`
// is set or when the project has no file yet. A save that cannot complete shows the
// reason and leaves `modified` as it was.
void saveProject(TFormPrincipal& w, bool askForFile) {
    w.SaveDialogTXT->FileName = w.EditNameProject->Text();
    if (askForFile || w.EditLocation->Text().empty()) {
        if (!w.SaveDialogTXT->Execute()) return;
        w.EditLocation->SetText(w.SaveDialogTXT->FileName);
        w.EditNameProject->SetText(fileNamePart(w.SaveDialogTXT->FileName));
        w.SetCaption(w.EditVersion->Text() + " - " + w.EditNameProject->Text());
    }
    const sysutils::SaveResult saved = results::writeProjectFile(w.EditLocation->Text(), settingsOf(w));
    if (!saved) {
        sysutils::ShowMessage(saved.error, "Error!");
        return;
    }
    w.modified = false;
}

}  // namespace

void TFormPrincipal::ActionSaveProjectExecute(vcl::TObject*) { saveProject(*this, /*askForFile=*/false); }

void TFormPrincipal::ActionSaveProjectAsExecute(vcl::TObject*) { saveProject(*this, /*askForFile=*/true); }

}  // namespace desktop
