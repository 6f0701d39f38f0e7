#pragma once
// A label: a caption that the user cannot change, in the design's font and alignment,
// wrapped at the label's width.
#include "forms/Control.h"

class QLabel;

namespace forms {

class Label : public Control {
public:
    using Control::Control;

    std::string Caption();
    void put_Caption(const std::string& caption);

protected:
    QWidget* createWidget(QWidget* parent) override;

private:
    QLabel* label();
};

}  // namespace forms
