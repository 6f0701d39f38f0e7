#pragma once
// The window-frame component, a component outside the extension that holds a form in a
// window of its own: created by its class identifier, handed the form, given a caption
// and a height in pixels.
#include <cstdint>
#include <string>

#include "com/IUnknown.h"

namespace forms {

class Form;

inline constexpr com::CLSID CLSID_WindowFrame = com::guid("{9F79BAAE-E23A-4E3E-83F9-6D85B3D1094F}");

struct IWindowFrame : com::IDispatch {
    static constexpr com::IID iid = com::guid("{06861E43-9020-49EB-B949-824552EE2DE0}");
    using Base = com::IDispatch;

    // Holds the form: from now on its window shows inside the frame.
    virtual void Hold(Form& form) = 0;
    virtual std::string Caption() = 0;
    virtual void put_Caption(const std::string& caption) = 0;

protected:
    ~IWindowFrame() = default;
};

struct IWindowFrameSize : com::IDispatch {
    static constexpr com::IID iid = com::guid("{88C995AE-64A7-43F5-BF12-88AC179B25A6}");
    using Base = com::IDispatch;

    // The frame's outer height, in pixels.
    virtual std::int32_t Height() = 0;
    virtual void put_Height(std::int32_t pixels) = 0;

protected:
    ~IWindowFrameSize() = default;
};

}  // namespace forms
