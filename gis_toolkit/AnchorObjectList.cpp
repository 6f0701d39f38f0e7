#include "gis_toolkit/AnchorObjectList.h"

#include "com/Error.h"

namespace gis_toolkit {

AnchorObjectList::~AnchorObjectList() { putref_Form(nullptr); }

void AnchorObjectList::putref_Form(forms::Form* form) {
    if (form_ != nullptr) form_->removeResizeHandler(resizeHandler_);
    form_ = form;
    resizeHandler_ = 0;
    if (form_ != nullptr) resizeHandler_ = form_->addResizeHandler([this] { DoAnchors(); });
}

AnchorObject& AnchorObjectList::Item(forms::IProperties& control) {
    const std::int32_t index = IndexOf(control);
    if (index > 0) return *entries_[static_cast<std::size_t>(index - 1)];
    auto entry = std::make_unique<AnchorObject>();
    entry->putref_Control(com::ComPtr<forms::IProperties>(&control));
    entries_.push_back(std::move(entry));
    return *entries_.back();
}

std::int32_t AnchorObjectList::IndexOf(forms::IProperties& control) const {
    const com::ComPtr<forms::IProperties> wanted(&control);
    for (std::size_t k = 0; k < entries_.size(); ++k)
        if (com::sameObject(entries_[k]->Control(), wanted)) return static_cast<std::int32_t>(k + 1);
    return 0;
}

void AnchorObjectList::Remove(forms::IProperties& control) {
    const std::int32_t index = IndexOf(control);
    if (index == 0) throw com::runtimeError(com::errors::InvalidProcedureCall);
    entries_.erase(entries_.begin() + (index - 1));
}

void AnchorObjectList::SetAnchors() {
    for (const auto& entry : entries_) entry->SetAnchors(0, 0);
}

void AnchorObjectList::DoAnchors() {
    for (const auto& entry : entries_) entry->DoAnchors();
}

}  // namespace gis_toolkit
