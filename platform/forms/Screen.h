#pragma once
// The run-time's screen object: the primary screen's size in twips and the mouse
// pointer shown over every window of the application (HourglassPointer while busy).
#include <cstdint>

namespace forms {

enum MousePointerConstants : std::int16_t { DefaultPointer = 0, HourglassPointer = 11 };

class ScreenObject {
public:
    double Width();
    double Height();
    std::int16_t MousePointer() const { return pointer_; }
    // DefaultPointer or HourglassPointer; other values are refused with 380.
    void put_MousePointer(std::int16_t pointer);

private:
    std::int16_t pointer_ = DefaultPointer;
};

ScreenObject& Screen();

}  // namespace forms
