#include "vcl/Controls.h"

#include <QEvent>
#include <QResizeEvent>

namespace vcl {
namespace {

constexpr const char* alignProperty = "vclAlign";
constexpr const char* objectNameOfLayout = "vclAlignLayout";

// Lays out the aligned children of a container each time it is resized.
class AlignLayout : public QObject {
public:
    explicit AlignLayout(QWidget* container) : QObject(container), container_(container) {
        setObjectName(objectNameOfLayout);
        container->installEventFilter(this);
    }

    void apply() {
        const QRect area = container_->contentsRect();
        int bottom = area.bottom() + 1;
        const auto children = container_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* child : children) {
            if (child->property(alignProperty).toInt() != static_cast<int>(TAlign::alBottom)) continue;
            bottom -= child->height();
            child->setGeometry(area.left(), bottom, area.width(), child->height());
        }
        for (QWidget* child : children) {
            if (child->property(alignProperty).toInt() != static_cast<int>(TAlign::alClient)) continue;
            child->setGeometry(area.left(), area.top(), area.width(), bottom - area.top());
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == container_ && event->type() == QEvent::Resize) apply();
        return false;
    }

private:
    QWidget* container_;
};

AlignLayout* alignLayoutOf(QWidget* container) {
    // Found by name: the class has no meta-object of its own.
    for (QObject* child : container->children())
        if (child->objectName() == objectNameOfLayout) return static_cast<AlignLayout*>(child);
    return new AlignLayout(container);
}

}  // namespace

TControl::TControl(TWinControl* parent, QWidget* widget) : TComponent(parent->ControlOwner()), widget_(widget) {
    widget_->setParent(parent->ClientWidget());
    widget_->show();
}

void TControl::SetBounds(int left, int top, int width, int height) { widget_->setGeometry(left, top, width, height); }
int TControl::Left() const { return widget_->x(); }
int TControl::Top() const { return widget_->y(); }
int TControl::Width() const { return widget_->width(); }
int TControl::Height() const { return widget_->height(); }

bool TControl::Enabled() const { return !widget_->testAttribute(Qt::WA_ForceDisabled); }
void TControl::SetEnabled(bool enabled) { widget_->setEnabled(enabled); }
bool TControl::Visible() const { return !widget_->isHidden(); }
void TControl::SetVisible(bool visible) { widget_->setVisible(visible); }
std::string TControl::Hint() const { return widget_->toolTip().toStdString(); }
void TControl::SetHint(const std::string& hint) { widget_->setToolTip(QString::fromStdString(hint)); }

void TControl::SetAlign(TAlign align) {
    align_ = align;
    widget_->setProperty(alignProperty, static_cast<int>(align));
    if (QWidget* container = widget_->parentWidget()) alignLayoutOf(container)->apply();
}

void TControl::SetFocus() { widget_->setFocus(); }
void TControl::Repaint() { widget_->repaint(); }

}  // namespace vcl
