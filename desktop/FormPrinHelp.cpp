// The main window's handlers for the PC options window, the about window and the
// user's manual.
#include <filesystem>
#include <system_error>

#include "desktop/FormAbout.h"
#include "desktop/FormPrin.h"
#include "desktop/morePC.h"
#include "vcl/Shell.h"

namespace desktop {
namespace {

// Told under the shell's box when the manual is not there: the build writes it into help/
// beside the program, which finds it from the folder it was started in.
constexpr const char* howToGetTheManual =
    "The build writes it into help/ beside the program (bash scripts/run builds both in build/run): "
    "start brelmark in that folder, for instance cd build/run && ./brelmark";

}  // namespace

void TFormPrincipal::placePCOptions() {
    if (FormMorePC == nullptr) return;
    FormMorePC->SetLeft(Left() + 460);
    FormMorePC->SetTop(Top() + 201);
}

void TFormPrincipal::BitBtnMorePCClick(vcl::TObject*) {
    placePCOptions();
    if (FormMorePC == nullptr) return;
    FormMorePC->SetVisible(!FormMorePC->Visible());
    if (FormMorePC->Visible()) {
        BitBtnMorePC->SetCaption("less <<<");
    } else {
        BitBtnMorePC->SetCaption("more >>>");
        SetFocus();
    }
}

void TFormPrincipal::FormPaint(vcl::TObject*) { placePCOptions(); }

void TFormPrincipal::HelpAboutClick(vcl::TObject*) {
    if (AboutBox == nullptr) return;
    AboutBox->SetCaption("About " + EditVersion->Text());
    AboutBox->ShowModal();
}

void TFormPrincipal::HelpContentsClick(vcl::TObject*) {
    std::error_code error;
    std::string current = std::filesystem::current_path(error).string();
    if (current.size() > 500) current.resize(500);
    std::filesystem::current_path(startDir, error);
    // The shell opens the manual with the viewer of PDF files and tells itself when it
    // cannot; the window does not wait for the viewer.
    vcl::shell().openDocument("help/Brelmarkmanual.pdf", howToGetTheManual);
    std::filesystem::current_path(current, error);
}

}  // namespace desktop
