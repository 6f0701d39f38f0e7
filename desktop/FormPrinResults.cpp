// The result views and saves of the main window. The views write into the results
// window; the saves write text files and dBASE tables through a temporary file and a
// rename, so that a save that cannot complete leaves an existing file as it was. The
// layouts themselves are desktop/results' ResultTexts and ResultTables.
#include <string>

#include "desktop/FormPan.h"
#include "desktop/FormPrin.h"
#include "desktop/results/ResultTables.h"
#include "desktop/results/ResultTexts.h"
#include "sysutils/MessageBoxes.h"
#include "sysutils/SafeFile.h"
#include "vcl/Application.h"

namespace desktop {
namespace {

void showView(const std::string& caption, const results::ViewLines& lines) {
    if (FormScreen == nullptr) return;
    FormScreen->MemoPantalla->Lines()->Clear();
    FormScreen->SetCaption(caption);
    for (const std::string& line : lines) FormScreen->MemoPantalla->Lines()->Add(line);
    FormScreen->Show();
    FormScreen->SetFocus();
    // Each line added scrolled to the end; every view opens at its first line instead.
    FormScreen->MemoPantalla->SetSelStart(0);
}

// Asks for the file with `defaultName` preset; false when the user cancels.
bool chooseFile(vcl::TSaveDialog& dialog, const char* defaultName) {
    dialog.FileName = defaultName;
    return dialog.Execute();
}

void saveText(vcl::TSaveDialog& dialog, const char* defaultName, const std::string& text) {
    if (!chooseFile(dialog, defaultName)) return;
    const sysutils::SaveResult saved = sysutils::SaveFileSafely(dialog.FileName, text);
    if (!saved) sysutils::ShowMessage(saved.error, "Error!");
}

void reportTableSave(const sysutils::SaveResult& saved) {
    if (!saved) sysutils::ShowMessage(std::string(results::dbfSaveErrorText) + "\n" + saved.error, "Error!");
}

}  // namespace

void TFormPrincipal::ActionViewResExecute(vcl::TObject*) {
    if (!lastExecution) return;
    const auto showError = [](const std::string& message) { vcl::Application->ShowException(message); };
    showView("Node importances", results::nodeImportanceView(*lastExecution, showError));
}

void TFormPrincipal::ActionViewGlobResExecute(vcl::TObject*) {
    if (lastExecution) showView("Overall index values", results::overallValuesView(*lastExecution));
}

void TFormPrincipal::ActionViewComponentsExecute(vcl::TObject*) {
    if (lastExecution) showView("Components", results::componentsView(*lastExecution));
}

void TFormPrincipal::ActionViewAdjExecute(vcl::TObject*) {
    if (lastExecution) showView("Links", results::linksView(*lastExecution));
}

void TFormPrincipal::ActionViewProbExecute(vcl::TObject*) {
    if (lastExecution) showView("Probabilities", results::directProbabilitiesView(*lastExecution));
}

void TFormPrincipal::ActionViewProbMaxExecute(vcl::TObject*) {
    // Enabled from the start, so it may run before PC was computed: then it shows nothing.
    const ResultGates gates = resultGates(executionFacts(lastExecution.get(), executionProgress.get()));
    if (gates[static_cast<std::size_t>(ResultAction::ViewProbMax)])
        showView("Maximum product probabilities", results::maximumProductProbabilitiesView(*lastExecution));
}

void TFormPrincipal::ActionWriteTXTExecute(vcl::TObject*) {
    if (lastExecution) saveText(*SaveDialogTXT, "node_importances.txt", results::nodeImportanceFile(*lastExecution));
}

void TFormPrincipal::ActionSaveGlobResExecute(vcl::TObject*) {
    if (lastExecution) saveText(*SaveDialogTXT, "overall_indices.txt", results::overallValuesFile(*lastExecution));
}

void TFormPrincipal::ActionSaveAdjacenciesExecute(vcl::TObject*) {
    if (lastExecution) saveText(*SaveDialogTXT, "links.txt", results::linksFile(*lastExecution));
}

void TFormPrincipal::ActionSaveProbabilitiesExecute(vcl::TObject*) {
    if (lastExecution)
        saveText(*SaveDialogTXT, "direct_probabilities.txt", results::directProbabilitiesFile(*lastExecution));
}

void TFormPrincipal::ActionSaveProbMaxExecute(vcl::TObject*) {
    if (lastExecution)
        saveText(*SaveDialogTXT, "maximum_product_probabilities.txt",
                 results::maximumProductProbabilitiesFile(*lastExecution));
}

void TFormPrincipal::ActionSaveCompTXTExecute(vcl::TObject*) {
    if (lastExecution) saveText(*SaveDialogTXT, "components.txt", results::componentsFile(*lastExecution));
}

void TFormPrincipal::ActionSaveEventsExecute(vcl::TObject*) {
    saveText(*SaveDialogTXT, "execution_events.txt", results::eventLogFile(MemoExecutionEvents->Text()));
}

void TFormPrincipal::ActionWriteDBFExecute(vcl::TObject*) {
    if (!lastExecution || !chooseFile(*SaveDialogDBF, "node_importances.dbf")) return;
    reportTableSave(results::saveNodeImportanceTable(*lastExecution, SaveDialogDBF->FileName));
}

void TFormPrincipal::ActionSaveCompDBFExecute(vcl::TObject*) {
    if (!lastExecution || !chooseFile(*SaveDialogDBF, "components.dbf")) return;
    reportTableSave(results::saveComponentTable(*lastExecution, SaveDialogDBF->FileName));
}

}  // namespace desktop
