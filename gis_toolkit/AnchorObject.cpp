#include "gis_toolkit/AnchorObject.h"

#include <functional>

#include "com/Error.h"
#include "com/Variant.h"

namespace gis_toolkit {
namespace {

double quotient(double dividend, double divisor) {
    if (divisor == 0) throw com::Error(11, "", "Division by zero");
    return dividend / divisor;
}

// Runs one assignment of DoAnchors; a value the control refuses leaves it as it was.
void attempt(const std::function<void()>& assignment) {
    try {
        assignment();
    } catch (const com::Error&) {
    }
}

}  // namespace

double AnchorObject::read(const char* name) const { return com::toDouble(control_->property(name)); }

double AnchorObject::containerSize(const char* name) const {
    const com::Variant container = control_->property("Container");
    if (!container.is<com::ComPtr<com::IUnknown>>()) throw com::runtimeError(com::errors::ObjectRequired);
    return com::toDouble(container.get<com::ComPtr<com::IUnknown>>().as<forms::IProperties>()->property(name));
}

void AnchorObject::SetAnchors(std::int32_t xType, std::int32_t yType) {
    x_.AnchorType = xType;
    record(horizontal(), xType);
    y_.AnchorType = yType;
    record(vertical(), yType);
}

void AnchorObject::record(const Axis& axis, std::int32_t mode) {
    if (mode < 0 || mode > 6) return;
    const double position = read(axis.position);
    const double size = read(axis.size);
    const double container = containerSize(axis.containerSize);
    // Vertical modes 2, 4 and 5 never read the size anchor: it is not recorded.
    const bool keepsSize = !(axis.vertical && (mode == 2 || mode == 4 || mode == 5));
    double first = 0;
    double sizeValue = 0;
    switch (mode) {
    case 0:
        first = quotient(position, container);
        sizeValue = quotient(size, container);
        break;
    case 1:
        first = position;
        sizeValue = quotient(size, container);
        break;
    case 2:
        first = position;
        sizeValue = size;
        break;
    case 3:
        first = position;
        sizeValue = container - size;
        break;
    case 4:
        first = quotient(position + size / 2, container);
        axis.second.Value = static_cast<float>(size / 2);
        sizeValue = size;
        break;
    case 5:
        first = container - position;
        sizeValue = size;
        break;
    case 6:
        first = quotient(size, container);
        axis.second.Value = static_cast<float>(container - size - position);
        sizeValue = quotient(size, container);
        break;
    }
    axis.anchor.Value = static_cast<float>(first);
    if (keepsSize) axis.sizeAnchor.Value = static_cast<float>(sizeValue);
}

void AnchorObject::DoAnchors() {
    apply(horizontal());
    apply(vertical());
}

void AnchorObject::apply(const Axis& axis) {
    const double first = axis.anchor.Value;
    const double second = axis.second.Value;
    const double sizeValue = axis.sizeAnchor.Value;
    // The container's size is read in each statement, so that a failing read skips
    // only the statements that need it.
    auto container = [&] { return containerSize(axis.containerSize); };
    auto set = [&](const char* name, const std::function<double()>& value) {
        attempt([&] { control_->setProperty(name, com::Variant(value())); });
    };
    switch (axis.anchor.AnchorType) {
    case 0:
        set(axis.position, [&] { return first * container(); });
        set(axis.size, [&] { return sizeValue * container(); });
        break;
    case 1:
        set(axis.size, [&] { return sizeValue * container(); });
        break;
    case 3:
        set(axis.size, [&] { return container() - sizeValue; });
        break;
    case 4:
        set(axis.position, [&] { return first * container() - second; });
        break;
    case 5:
        set(axis.position, [&] { return container() - first; });
        break;
    case 6:
        set(axis.position, [&] { return container() - first * container() - second; });
        set(axis.size, [&] { return sizeValue * container(); });
        break;
    default:  // mode 2 keeps the control as it is; unknown modes apply nothing
        break;
    }
}

}  // namespace gis_toolkit
