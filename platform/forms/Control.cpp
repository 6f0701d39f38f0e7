#include "forms/Control.h"

#include <cmath>
#include <utility>

#include <QFont>

#include "forms/Form.h"
#include "forms/Twips.h"

namespace forms {
namespace {

// Widget coordinates are ints; larger values than a few screens' worth are refused.
constexpr double largestTwips = 1.0e8;

double checkedTwips(double twips) {
    if (!std::isfinite(twips) || std::fabs(twips) > largestTwips) throw com::runtimeError(com::errors::Overflow);
    return twips;
}

double checkedSize(double twips) {
    if (checkedTwips(twips) < 0) throw invalidPropertyValue();
    return twips;
}

}  // namespace

Control::Control(Form& form, std::string name, Design design)
    : form_(form), name_(std::move(name)), design_(std::move(design)) {
    form_.add(this);
}

Control::~Control() = default;

IProperties& Control::Container() const {
    if (design_.container != nullptr) return *design_.container;
    return form_;
}

QWidget* Control::widget() {
    form_.Load();
    if (widget_ == nullptr) create();
    return widget_;
}

void Control::create() {
    QWidget* parent = design_.container != nullptr ? design_.container->clientArea() : nullptr;
    if (design_.container != nullptr && parent == nullptr) {
        design_.container->create();
        parent = design_.container->clientArea();
    }
    if (parent == nullptr) parent = form_.clientWidget();
    widget_ = createWidget(parent);
    widget_->setGeometry(pixelsFromTwips(design_.left), pixelsFromTwips(design_.top), pixelsFromTwips(design_.width),
                         pixelsFromTwips(design_.height));
    widget_->setEnabled(design_.enabled);
    if (!design_.toolTipText.empty()) widget_->setToolTip(QString::fromStdString(design_.toolTipText));
    if (design_.tabIndex < 0) widget_->setFocusPolicy(Qt::NoFocus);
    widget_->setVisible(design_.visible);
}

double Control::Left() { return twipsFromPixels(widget()->x()); }
double Control::Top() { return twipsFromPixels(widget()->y()); }
double Control::Width() { return twipsFromPixels(widget()->width()); }
double Control::Height() { return twipsFromPixels(widget()->height()); }

void Control::put_Left(double twips) { widget()->move(pixelsFromTwips(checkedTwips(twips)), widget()->y()); }
void Control::put_Top(double twips) { widget()->move(widget()->x(), pixelsFromTwips(checkedTwips(twips))); }
void Control::put_Width(double twips) { widget()->resize(pixelsFromTwips(checkedSize(twips)), widget()->height()); }
void Control::put_Height(double twips) { widget()->resize(widget()->width(), pixelsFromTwips(checkedSize(twips))); }

void Control::Move(double left, double top, double width, double height) {
    setGeometryTwips(checkedTwips(left), checkedTwips(top), checkedSize(width), checkedSize(height));
}

void Control::setGeometryTwips(double left, double top, double width, double height) {
    widget()->setGeometry(pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width),
                          pixelsFromTwips(height));
}

bool Control::Enabled() { return widget()->isEnabled(); }
void Control::put_Enabled(bool enabled) { widget()->setEnabled(enabled); }
// Visible is the control's own setting: a control of a hidden form still answers True.
bool Control::Visible() { return !widget()->isHidden(); }
void Control::put_Visible(bool visible) { widget()->setVisible(visible); }
std::string Control::ToolTipText() { return widget()->toolTip().toStdString(); }
void Control::put_ToolTipText(const std::string& text) { widget()->setToolTip(QString::fromStdString(text)); }

void Control::SetFocus() { widget()->setFocus(Qt::OtherFocusReason); }
void Control::Refresh() { widget()->repaint(); }
winapi::HWND Control::hWnd() {
    widget();
    return this;
}

void Control::applyFont(QWidget* widget, const FontDesign& font) {
    if (font.name.empty() && font.size <= 0 && !font.bold) return;
    QFont chosen = widget->font();
    if (!font.name.empty()) chosen.setFamilies({QString::fromStdString(font.name)});
    if (font.size > 0) chosen.setPointSizeF(font.size);
    chosen.setBold(font.bold);
    widget->setFont(chosen);
}

void Control::moveTo(int x, int y) { widget()->move(x, y); }
void Control::resizeTo(int width, int height) { widget()->resize(width, height); }

com::Variant Control::property(const std::string& name) {
    if (name == "Left") return Left();
    if (name == "Top") return Top();
    if (name == "Width") return Width();
    if (name == "Height") return Height();
    if (name == "Container") return com::ComPtr<IProperties>(&Container());
    if (name == "Name") return name_;
    if (name == "Enabled") return Enabled();
    if (name == "Visible") return Visible();
    throw unknownProperty(name);
}

void Control::setProperty(const std::string& name, const com::Variant& value) {
    if (name == "Left") return put_Left(com::toDouble(value));
    if (name == "Top") return put_Top(com::toDouble(value));
    if (name == "Width") return put_Width(com::toDouble(value));
    if (name == "Height") return put_Height(com::toDouble(value));
    if (name == "Enabled") return put_Enabled(com::toBoolean(value));
    if (name == "Visible") return put_Visible(com::toBoolean(value));
    throw unknownProperty(name);
}

}  // namespace forms
