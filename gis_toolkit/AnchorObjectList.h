#pragma once
// A form's list of anchored controls (AnchorObject.h), in the order they were added
// (positions from 1). Handed the form, the list re-applies every anchor at each resize
// of the form's client area. Errors of Item, Remove and SetAnchors pass to the caller;
// DoAnchors never raises.
#include <cstdint>
#include <memory>
#include <vector>

#include "forms/Form.h"
#include "gis_toolkit/AnchorObject.h"

namespace gis_toolkit {

class AnchorObjectList {
public:
    AnchorObjectList() = default;
    ~AnchorObjectList();
    AnchorObjectList(const AnchorObjectList&) = delete;
    AnchorObjectList& operator=(const AnchorObjectList&) = delete;

    // The form whose resize event the list receives (nullptr: none).
    void putref_Form(forms::Form* form);
    forms::Form* Form() const { return form_; }

    std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }
    // The control's entry; a control without one gets a new entry at the end.
    AnchorObject& Item(forms::IProperties& control);
    // The position (from 1) of the control's entry, 0 when it has none.
    std::int32_t IndexOf(forms::IProperties& control) const;
    // Removes the control's entry; a control without one raises 5.
    void Remove(forms::IProperties& control);
    // Records every entry in mode 0 on both axes.
    void SetAnchors();
    void DoAnchors();

private:
    std::vector<std::unique_ptr<AnchorObject>> entries_;
    forms::Form* form_ = nullptr;
    int resizeHandler_ = 0;
};

}  // namespace gis_toolkit
