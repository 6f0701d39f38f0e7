#include "desktop/FormPan.h"

namespace desktop {

TFormScreen* FormScreen = nullptr;

TFormScreen::TFormScreen(vcl::TComponent* Owner) : vcl::TForm(Owner) {
    SetName("FormScreen");
    SetCaption("Results");
    SetBorderStyle(vcl::TFormBorderStyle::bsSizeable);
    SetClientSize(475, 310);
    MemoPantalla = new vcl::TMemo(this);
    MemoPantalla->SetAlign(vcl::TAlign::alClient);
    MemoPantalla->SetFixedWidthFont(8);
    MemoPantalla->SetScrollBars(vcl::TScrollStyle::ssBoth);
    MemoPantalla->SetWordWrap(false);
}

TFormScreen::~TFormScreen() {
    if (FormScreen == this) FormScreen = nullptr;
}

}  // namespace desktop
