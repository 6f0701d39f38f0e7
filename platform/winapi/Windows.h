#pragma once
// Windows as the system services see them: a window handle leads to a window that can
// be kept above all others, moved and sized. The form run-time implements Window for
// its Qt windows and hands out their handles.
#include <cstdint>

#include "winapi/Types.h"

namespace winapi {

class Window {
public:
    virtual void setStaysOnTop(bool onTop) = 0;
    virtual void moveTo(int x, int y) = 0;
    virtual void resizeTo(int width, int height) = 0;

protected:
    ~Window() = default;
};

using HWND = Window*;

inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(std::intptr_t{-1});
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(std::intptr_t{-2});

inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;

// Places the window above all others (HWND_TOPMOST) or among the others again
// (HWND_NOTOPMOST), and moves or sizes it unless the flags say not to. Other
// insert-after values change nothing in the window's stacking.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);

}  // namespace winapi
