// The project-file actions of the main window. Their bodies (reading and writing the
// project file, with the save-changes prompt before New and Open) come with the project
// file; until then each handler does nothing.
#include "desktop/FormPrin.h"

namespace desktop {

// Stubs, to be filled by the project file.
void TFormPrincipal::ActionNewExecute(vcl::TObject*) {}
void TFormPrincipal::ActionOpenExecute(vcl::TObject*) {}
void TFormPrincipal::ActionSaveProjectExecute(vcl::TObject*) {}
void TFormPrincipal::ActionSaveProjectAsExecute(vcl::TObject*) {}

}  // namespace desktop
