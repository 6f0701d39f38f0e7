// The result views and files of the main window. Their bodies come with the result
// writers (text files, dBASE tables and the results window's texts); until then each
// handler does nothing, while the actions' enabling already follows the executions.
#include "desktop/FormPrin.h"

namespace desktop {

// Stubs, to be filled by the result writers.
void TFormPrincipal::ActionViewResExecute(vcl::TObject*) {}
void TFormPrincipal::ActionViewGlobResExecute(vcl::TObject*) {}
void TFormPrincipal::ActionViewComponentsExecute(vcl::TObject*) {}
void TFormPrincipal::ActionViewAdjExecute(vcl::TObject*) {}
void TFormPrincipal::ActionViewProbExecute(vcl::TObject*) {}
void TFormPrincipal::ActionViewProbMaxExecute(vcl::TObject*) {}
void TFormPrincipal::ActionWriteDBFExecute(vcl::TObject*) {}
void TFormPrincipal::ActionWriteTXTExecute(vcl::TObject*) {}
void TFormPrincipal::ActionSaveGlobResExecute(vcl::TObject*) {}
void TFormPrincipal::ActionSaveAdjacenciesExecute(vcl::TObject*) {}
void TFormPrincipal::ActionSaveProbabilitiesExecute(vcl::TObject*) {}
void TFormPrincipal::ActionSaveCompTXTExecute(vcl::TObject*) {}
void TFormPrincipal::ActionSaveCompDBFExecute(vcl::TObject*) {}
void TFormPrincipal::ActionSaveProbMaxExecute(vcl::TObject*) {}
void TFormPrincipal::ActionSaveEventsExecute(vcl::TObject*) {}

}  // namespace desktop
