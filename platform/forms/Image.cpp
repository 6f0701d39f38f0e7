#include "forms/Image.h"

#include <QLabel>
#include <QPixmap>

namespace forms {

QWidget* Image::createWidget(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setScaledContents(design().stretch);
    if (design().border) label->setFrameStyle(QFrame::Box | QFrame::Plain);
    if (!design().picture.isNull()) label->setPixmap(QPixmap::fromImage(design().picture));
    return label;
}

void Image::put_Picture(const QImage& picture) { static_cast<QLabel*>(widget())->setPixmap(QPixmap::fromImage(picture)); }

}  // namespace forms
