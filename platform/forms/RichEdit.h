#pragma once
// The rich-edit messages that a rich-text box answers through SendMessageA:
//   EM_SETTARGETDEVICE  wParam a device context, lParam a line width in twips: the box
//                       lays out its lines that long (0 with no device context: the
//                       box's own width; 1 with none: no wrapping).
//   EM_FORMATRANGE      wParam non-zero to draw, lParam a FORMATRANGE: lays out the text
//                       from chrg.cpMin into rc (twips on the device context's page),
//                       draws it when asked and answers the position of the first
//                       character that did not fit (the text's length when all did).
//                       lParam 0 frees the layout kept between calls.
// Other messages and windows that are not rich-text boxes answer 0.
#include <cstdint>

#include "forms/DeviceContext.h"
#include "winapi/Types.h"
#include "winapi/Windows.h"

namespace forms {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

inline constexpr winapi::UINT EM_FORMATRANGE = 1081;
inline constexpr winapi::UINT EM_SETTARGETDEVICE = 1096;

struct RECT {
    winapi::LONG left = 0;
    winapi::LONG top = 0;
    winapi::LONG right = 0;
    winapi::LONG bottom = 0;
};

struct CHARRANGE {
    winapi::LONG cpMin = 0;
    winapi::LONG cpMax = 0;
};

struct FORMATRANGE {
    HDC hdc = nullptr;
    HDC hdcTarget = nullptr;
    RECT rc;
    RECT rcPage;
    CHARRANGE chrg;
};

LRESULT SendMessageA(winapi::HWND window, winapi::UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace forms
