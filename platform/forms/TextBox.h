#pragma once
// A one-line text box. Change runs whenever the text changes (typed or set by code);
// KeyPress runs for every character typed, before it reaches the box, with its
// character code passed by reference: the handler may replace it, or set it to 0 to
// cancel the key. SelStart is the caret's position (characters before it).
#include <cstdint>
#include <functional>
#include <string>

#include "forms/Control.h"

class QLineEdit;

namespace forms {

class TextBox : public Control {
public:
    using Control::Control;

    std::string Text();
    void put_Text(const std::string& text);
    std::int32_t SelStart();
    void put_SelStart(std::int32_t position);

    std::function<void()> Change;
    std::function<void(std::int16_t& keyAscii)> KeyPress;

protected:
    QWidget* createWidget(QWidget* parent) override;

private:
    QLineEdit* edit();
};

}  // namespace forms
