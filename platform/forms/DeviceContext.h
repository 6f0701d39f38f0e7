#pragma once
// Device contexts as the rich-text box and the printer use them: the resolution and
// unprintable margin of a device and, while a page is being drawn, the painter that
// draws it. CreateDCA gives an information context (metrics, no drawing) for a
// printer; GetDeviceCaps answers PHYSICALOFFSETX and PHYSICALOFFSETY.
#include <cstdint>

#include "winapi/Types.h"

class QPainter;

namespace forms {

struct DeviceContext {
    int dpiX = 96;
    int dpiY = 96;
    int physicalOffsetX = 0;  // the unprintable margin of the page, in device pixels
    int physicalOffsetY = 0;
    QPainter* painter = nullptr;  // the page being drawn; none for an information context
};

using HDC = DeviceContext*;

inline constexpr int PHYSICALOFFSETX = 112;
inline constexpr int PHYSICALOFFSETY = 113;

// The device's capability `index`; 0 for an unknown index or no device context.
int GetDeviceCaps(HDC deviceContext, int index);

// An information context of the printer named `device` (the default printer or another
// printer of the system), or nullptr when there is no such printer. DeleteDC frees it.
HDC CreateDCA(winapi::LPCSTR driver, winapi::LPCSTR device, winapi::LPCSTR output, const void* initData);
// Frees a context from CreateDCA; FALSE for any other value.
winapi::BOOL DeleteDC(HDC deviceContext);

}  // namespace forms
