#pragma once
// The results window: a plain, sizable text window with one fixed-width memo filling
// it, into which the result views write.
#include "vcl/Forms.h"
#include "vcl/Memo.h"

namespace desktop {

class TFormScreen : public vcl::TForm {
public:
    explicit TFormScreen(vcl::TComponent* Owner);
    ~TFormScreen() override;

    vcl::TMemo* MemoPantalla;
};

extern TFormScreen* FormScreen;

}  // namespace desktop
