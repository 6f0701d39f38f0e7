#include "winapi/Windows.h"

namespace winapi {

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    if (window == nullptr || window == HWND_TOPMOST || window == HWND_NOTOPMOST) return 0;
    if (insertAfter == HWND_TOPMOST) window->setStaysOnTop(true);
    if (insertAfter == HWND_NOTOPMOST) window->setStaysOnTop(false);
    if ((flags & SWP_NOMOVE) == 0) window->moveTo(x, y);
    if ((flags & SWP_NOSIZE) == 0) window->resizeTo(width, height);
    return 1;
}

}  // namespace winapi
