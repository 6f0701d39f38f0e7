#include "forms/OptionButton.h"

#include <QRadioButton>

namespace forms {

QWidget* OptionButton::createWidget(QWidget* parent) {
    auto* button = new QRadioButton(QString::fromStdString(design().caption), parent);
    button->setAutoExclusive(true);
    applyFont(button, design().font);
    QObject::connect(button, &QRadioButton::toggled, button, [this](bool selected) {
        if (selected && Click) Click();
    });
    return button;
}

QRadioButton* OptionButton::button() { return static_cast<QRadioButton*>(widget()); }

std::string OptionButton::Caption() { return button()->text().toStdString(); }
void OptionButton::put_Caption(const std::string& caption) { button()->setText(QString::fromStdString(caption)); }
bool OptionButton::Value() { return button()->isChecked(); }

void OptionButton::put_Value(bool selected) {
    QRadioButton* radio = button();
    if (selected) {
        radio->setChecked(true);
        return;
    }
    // An exclusive button cannot be cleared on its own: lift the rule for the moment.
    radio->setAutoExclusive(false);
    radio->setChecked(false);
    radio->setAutoExclusive(true);
}

}  // namespace forms
