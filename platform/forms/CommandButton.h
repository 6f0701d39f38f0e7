#pragma once
// A command button showing its caption, or its picture when it has one, with an
// optional tool tip. Click runs when the user presses it (or presses Escape, for the
// form's Cancel button).
#include <functional>
#include <string>

#include <QImage>

#include "forms/Control.h"

class QPushButton;

namespace forms {

class CommandButton : public Control {
public:
    using Control::Control;

    std::string Caption();
    void put_Caption(const std::string& caption);
    void put_Picture(const QImage& picture);

    std::function<void()> Click;

protected:
    QWidget* createWidget(QWidget* parent) override;

private:
    QPushButton* button();
};

}  // namespace forms
