#pragma once
// An image control: shows its picture (filling the control when stretched), with an
// optional single-line border; it takes no focus.
#include <QImage>

#include "forms/Control.h"

namespace forms {

class Image : public Control {
public:
    using Control::Control;

    void put_Picture(const QImage& picture);

protected:
    QWidget* createWidget(QWidget* parent) override;
};

}  // namespace forms
