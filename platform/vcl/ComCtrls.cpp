#include "vcl/ComCtrls.h"

#include <QHBoxLayout>

namespace vcl {

std::string TStatusPanel::Text() const { return label_->text().toStdString(); }
void TStatusPanel::SetText(const std::string& text) { label_->setText(QString::fromStdString(text)); }
int TStatusPanel::Width() const { return label_->width(); }

TStatusBar::TStatusBar(TWinControl* parent) : TControl(parent, new QWidget) {
    auto* layout = new QHBoxLayout(widget());
    layout->setContentsMargins(0, 1, 0, 0);
    layout->setSpacing(2);
    panels_.reserve(8);
    widget()->setFixedHeight(21);
    SetAlign(TAlign::alBottom);
}

TStatusPanel* TStatusBar::AddPanel(int width, TAlignment alignment) {
    auto* label = new QLabel(widget());
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment((alignment == TAlignment::taRightJustify ? Qt::AlignRight
                         : alignment == TAlignment::taCenter     ? Qt::AlignHCenter
                                                                 : Qt::AlignLeft) |
                        Qt::AlignVCenter);
    auto* layout = static_cast<QHBoxLayout*>(widget()->layout());
    if (!panels_.empty()) {
        // Only the last panel stretches; earlier ones keep their width.
        QLabel* previous = panels_.back().label();
        previous->setFixedWidth(previous->property("vclPanelWidth").toInt());
        layout->setStretchFactor(previous, 0);
    }
    label->setProperty("vclPanelWidth", width);
    layout->addWidget(label, 1);
    panels_.emplace_back(label);
    return &panels_.back();
}

TStatusPanel* TStatusBar::Panel(int index) {
    if (index < 0 || index >= PanelCount()) return nullptr;
    return &panels_[static_cast<std::size_t>(index)];
}

}  // namespace vcl
