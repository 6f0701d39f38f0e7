#include "forms/PictureBox.h"

#include <QFrame>
#include <QPainter>

#include "forms/Twips.h"

namespace forms {
namespace {

class PictureFrame : public QFrame {
public:
    PictureFrame(QWidget* parent, QImage picture, bool stretch)
        : QFrame(parent), picture_(std::move(picture)), stretch_(stretch) {}
    void setPicture(const QImage& picture) {
        picture_ = picture;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        if (picture_.isNull()) return;
        QPainter painter(this);
        const QRect inside = contentsRect();
        if (stretch_) {
            painter.drawImage(inside, picture_);
        } else {
            painter.drawImage(inside.topLeft(), picture_);
        }
    }

private:
    QImage picture_;
    bool stretch_;
};

}  // namespace

QWidget* PictureBox::createWidget(QWidget* parent) {
    auto* frame = new PictureFrame(parent, design().picture, design().stretch);
    if (design().border) frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    return frame;
}

void PictureBox::put_Picture(const QImage& picture) { static_cast<PictureFrame*>(widget())->setPicture(picture); }

double PictureBox::ScaleWidth() { return twipsFromPixels(static_cast<QFrame*>(widget())->contentsRect().width()); }
double PictureBox::ScaleHeight() { return twipsFromPixels(static_cast<QFrame*>(widget())->contentsRect().height()); }

com::Variant PictureBox::property(const std::string& name) {
    if (name == "ScaleWidth") return ScaleWidth();
    if (name == "ScaleHeight") return ScaleHeight();
    return Control::property(name);
}

}  // namespace forms
