#include "forms/Label.h"

#include <QLabel>

namespace forms {
namespace {

Qt::Alignment horizontalAlignment(Alignment alignment) {
    switch (alignment) {
    case Alignment::Right: return Qt::AlignRight;
    case Alignment::Center: return Qt::AlignHCenter;
    case Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

}  // namespace

QWidget* Label::createWidget(QWidget* parent) {
    auto* label = new QLabel(QString::fromStdString(design().caption), parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(horizontalAlignment(design().alignment) | Qt::AlignTop);
    if (design().border) label->setFrameStyle(QFrame::Box | QFrame::Plain);
    applyFont(label, design().font);
    return label;
}

QLabel* Label::label() { return static_cast<QLabel*>(widget()); }

std::string Label::Caption() { return label()->text().toStdString(); }
void Label::put_Caption(const std::string& caption) { label()->setText(QString::fromStdString(caption)); }

}  // namespace forms
