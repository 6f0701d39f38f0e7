#pragma once
// A picture box: shows its picture (filling the box when stretched) with an optional
// single-line border, and holds other controls. ScaleWidth and ScaleHeight are its
// inner size in twips, also by name.
#include <QImage>

#include "forms/Control.h"

namespace forms {

class PictureBox : public Control {
public:
    using Control::Control;

    void put_Picture(const QImage& picture);
    double ScaleWidth();
    double ScaleHeight();

    com::Variant property(const std::string& name) override;

protected:
    QWidget* createWidget(QWidget* parent) override;
};

}  // namespace forms
