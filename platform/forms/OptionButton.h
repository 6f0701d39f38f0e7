#pragma once
// An option button. The option buttons of one container form one group: selecting one
// clears the others. Click runs when the button becomes selected, by the user or by code.
#include <functional>
#include <string>

#include "forms/Control.h"

class QRadioButton;

namespace forms {

class OptionButton : public Control {
public:
    using Control::Control;

    std::string Caption();
    void put_Caption(const std::string& caption);
    bool Value();
    void put_Value(bool selected);

    std::function<void()> Click;

protected:
    QWidget* createWidget(QWidget* parent) override;

private:
    QRadioButton* button();
};

}  // namespace forms
