#pragma once
// Ties one control to its anchors: SetAnchors records the control's geometry under a
// mode per axis, DoAnchors re-applies it to the container's size at that moment. The
// control is reached only through its properties by name ("Left", "Top", "Width",
// "Height", "Container"); the container's "ScaleWidth" and "ScaleHeight" (its inner
// size) are the reference. Modes, with L the left edge, W the width, C the container's
// width (the vertical axis alike with Top, Height and the container's height):
//   0  L and W scale with C            4  the centre keeps its share of C, W fixed
//   1  L fixed, W scales with C        5  L keeps its distance from C's right edge
//   2  L and W fixed                   6  the right margin fixed, W scales with C
//   3  L and the right margin fixed: the control stretches
// Values are computed in double precision and kept as floats. SetAnchors lets every
// error pass to its caller (a missing property, a container of size 0 in modes 0, 1, 4
// or 6); DoAnchors never raises: an assignment the control refuses is skipped.
#include <cstdint>

#include "com/ComPtr.h"
#include "forms/IProperties.h"
#include "gis_toolkit/Anchor.h"

namespace gis_toolkit {

class AnchorObject {
public:
    void putref_Control(com::ComPtr<forms::IProperties> control) { control_ = std::move(control); }
    const com::ComPtr<forms::IProperties>& Control() const { return control_; }
    // The horizontal anchor (its AnchorType is the horizontal mode) and the vertical one.
    Anchor& x() { return x_; }
    Anchor& Y() { return y_; }
    Anchor& X2() { return x2_; }
    Anchor& Y2() { return y2_; }

    void SetAnchors(std::int32_t xType, std::int32_t yType);
    void DoAnchors();

private:
    struct Axis {
        const char* position;
        const char* size;
        const char* containerSize;
        Anchor& anchor;
        Anchor& second;
        Anchor& sizeAnchor;
        bool vertical;
    };
    Axis horizontal() { return {"Left", "Width", "ScaleWidth", x_, x2_, widthAnchor_, false}; }
    Axis vertical() { return {"Top", "Height", "ScaleHeight", y_, y2_, heightAnchor_, true}; }
    void record(const Axis& axis, std::int32_t mode);
    void apply(const Axis& axis);
    double containerSize(const char* name) const;
    double read(const char* name) const;

    com::ComPtr<forms::IProperties> control_;
    Anchor x_;
    Anchor y_;
    Anchor x2_;
    Anchor y2_;
    Anchor widthAnchor_;
    Anchor heightAnchor_;
};

}  // namespace gis_toolkit
