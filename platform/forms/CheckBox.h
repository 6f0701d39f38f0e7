#pragma once
// A check box. Value is CheckBoxUnchecked (0) or CheckBoxChecked (1); Click runs whenever the value
// changes, by the user or by code.
#include <cstdint>
#include <functional>
#include <string>

#include "forms/Control.h"

class QCheckBox;

namespace forms {

enum CheckBoxConstants : std::int16_t { CheckBoxUnchecked = 0, CheckBoxChecked = 1 };

class CheckBox : public Control {
public:
    using Control::Control;

    std::string Caption();
    void put_Caption(const std::string& caption);
    std::int16_t Value();
    // 0 or 1; other values are refused with 380.
    void put_Value(std::int16_t value);

    std::function<void()> Click;

protected:
    QWidget* createWidget(QWidget* parent) override;

private:
    QCheckBox* box();
};

}  // namespace forms
