#include "forms/CheckBox.h"

#include <QCheckBox>

namespace forms {

QWidget* CheckBox::createWidget(QWidget* parent) {
    auto* box = new QCheckBox(QString::fromStdString(design().caption), parent);
    applyFont(box, design().font);
    QObject::connect(box, &QCheckBox::toggled, box, [this] {
        if (Click) Click();
    });
    return box;
}

QCheckBox* CheckBox::box() { return static_cast<QCheckBox*>(widget()); }

std::string CheckBox::Caption() { return box()->text().toStdString(); }
void CheckBox::put_Caption(const std::string& caption) { box()->setText(QString::fromStdString(caption)); }
std::int16_t CheckBox::Value() { return box()->isChecked() ? CheckBoxChecked : CheckBoxUnchecked; }

void CheckBox::put_Value(std::int16_t value) {
    if (value != CheckBoxUnchecked && value != CheckBoxChecked) throw invalidPropertyValue();
    box()->setChecked(value == CheckBoxChecked);
}

}  // namespace forms
