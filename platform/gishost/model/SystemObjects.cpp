#include "gishost/model/SystemObjects.h"

#include "gishost/model/HostError.h"

namespace gishost::model {

void Array::requirePosition(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= elements_.size())
        throw hostError(HostFailure::Argument, "The array has no element at position " + std::to_string(index));
}

com::ComPtr<com::IUnknown> Array::Element(std::int32_t index) {
    requirePosition(index);
    return elements_[static_cast<std::size_t>(index)];
}

void Array::Remove(std::int32_t index) {
    requirePosition(index);
    elements_.erase(elements_.begin() + index);
}

std::string Templates::Item(std::int32_t index) {
    if (index < 0 || index >= Count())
        throw hostError(HostFailure::Argument, "The template list has no item at position " + std::to_string(index));
    return items_[static_cast<std::size_t>(index)];
}

}  // namespace gishost::model
